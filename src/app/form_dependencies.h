#pragma once

#include <string>

#include "link/clock.h"
#include "link/http_transport.h"
#include "platform/command_launcher.h"
#include "platform/url_opener.h"

class ErrorBox;

// Everything the main window takes from outside. main.cpp passes the real
// ones; tests pass a temporary directory, a fixed clock, fake transports and
// recorders. The referenced objects must outlive the window.
struct FormDependencies {
    static constexpr int kRenewalIntervalMs = 180000;

    std::string systemDirectory;  // holds the settings file
    std::string serviceHost;      // may carry ":port"
    const Clock& clock;
    HttpTransportFactory makeTransport;  // one new transport per request
    CommandLauncher& launcher;
    UrlOpener& opener;
    ErrorBox& errorBox;
    int renewalIntervalMs = kRenewalIntervalMs;  // Timer1; only tests shorten it
};
