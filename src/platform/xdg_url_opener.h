#pragma once

#include <string>

#include "platform/url_opener.h"

// Hands the address to the desktop's chosen browser through "xdg-open"
// (found on PATH), started detached and hidden; nothing when it is missing.
class XdgUrlOpener : public UrlOpener {
public:
    void Open(const std::string& address) override;
};
