#pragma once

#include <string>

// What the link controller drives in the main window. TForm1 implements it;
// tests use a recording fake. Texts are byte strings in the code page.
class LinkView {
public:
    virtual ~LinkView() = default;
    virtual std::string UserNameText() const = 0;                  // Edit1
    virtual std::string PasswordText() const = 0;                  // Edit2
    virtual void SetStateText(const std::string& text) = 0;        // Label5
    virtual void SetAddressText(const std::string& text) = 0;      // Label7
    virtual void SetLoginEnabled(bool enabled) = 0;                // Button3
    virtual void SetDisconnectEnabled(bool enabled) = 0;           // Button5
    virtual void StartTimer() = 0;  // Timer1: starts a stopped timer; a running one keeps its period
    virtual void StopTimer() = 0;   // Timer1
};
