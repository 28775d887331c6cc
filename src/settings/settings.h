#pragma once

#include <string>

// The one in-memory record of the five settings, held for the whole run.
// Every field is a byte string in the system's multi-byte code page.
struct Settings {
    std::string UserName;
    std::string Password;
    std::string PreservedFlag;  // carried, never interpreted
    std::string LinkState;      // "1" connected, "0" not connected
    std::string LastAddress;

    bool operator==(const Settings&) const = default;
};
