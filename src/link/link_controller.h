#pragma once

#include <string>

#include "link/clock.h"
#include "link/http_transport.h"
#include "link/link_view.h"
#include "link/login_url.h"
#include "settings/settings.h"

// Log-in, renewal and disconnect: turns replies into the link state shown in
// the window and stored in the settings file. Keeps no state of its own.
class LinkController {
public:
    LinkController(LinkView& view, Settings& settings, std::string settingsPath, std::string serviceHost,
                   const Clock& clock, HttpTransportFactory makeTransport);

    void ApplyReply(const std::string& replyText);
    void Button3Click();  // log in
    void Timer1Timer();   // renew
    void Button5Click();  // disconnect

private:
    std::string LoginUrl(RequestKind kind) const;  // for the fields UserName and Password as they stand
    void SaveCurrentSettings() const;               // the five fields as they stand

    LinkView& view_;
    Settings& settings_;
    std::string settingsPath_;
    std::string serviceHost_;
    const Clock& clock_;
    HttpTransportFactory makeTransport_;
};
