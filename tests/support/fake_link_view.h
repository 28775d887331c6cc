#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "link/link_view.h"

// The window as the link controller sees it. Keeps the state of each control
// and records every call in order as text: "Edit1?" (read), "Label5=已连接",
// "Label7=1.2.3.4", "Button3=off", "Button5=on", "Timer=start", "Timer=stop".
class FakeLinkView final : public LinkView {
public:
    std::string edit1;
    std::string edit2;
    std::string label5;
    std::string label7;
    bool button3 = true;
    bool button5 = true;
    bool timerRunning = true;
    // When set, starting a stopped timer throws this message (the window
    // system has no timer left); a running timer is never restarted.
    std::string timerStartFailure;

    // Reads are recorded too, so that a test sees whether the edit boxes were used.
    mutable std::vector<std::string> calls;

    std::string UserNameText() const override {
        calls.push_back("Edit1?");
        return edit1;
    }
    std::string PasswordText() const override {
        calls.push_back("Edit2?");
        return edit2;
    }
    void SetStateText(const std::string& text) override {
        calls.push_back("Label5=" + text);
        label5 = text;
    }
    void SetAddressText(const std::string& text) override {
        calls.push_back("Label7=" + text);
        label7 = text;
    }
    void SetLoginEnabled(bool enabled) override {
        calls.push_back(std::string("Button3=") + (enabled ? "on" : "off"));
        button3 = enabled;
    }
    void SetDisconnectEnabled(bool enabled) override {
        calls.push_back(std::string("Button5=") + (enabled ? "on" : "off"));
        button5 = enabled;
    }
    void StartTimer() override {
        calls.push_back("Timer=start");
        if (!timerRunning && !timerStartFailure.empty()) throw std::runtime_error(timerStartFailure);
        timerRunning = true;
    }
    void StopTimer() override {
        calls.push_back("Timer=stop");
        timerRunning = false;
    }
};
