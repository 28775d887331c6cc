#pragma once

#include <string>

// Hands an address to the user's browser. Failures are silent by contract.
class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    virtual void Open(const std::string& address) = 0;
};
