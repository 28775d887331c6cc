#pragma once

#include <string>
#include <vector>

#include "platform/url_opener.h"

// Keeps every address it is asked to open, in order, and opens nothing.
class RecordingUrlOpener final : public UrlOpener {
public:
    void Open(const std::string& address) override { addresses.push_back(address); }

    std::vector<std::string> addresses;
};
