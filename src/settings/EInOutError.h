#pragma once

#include <stdexcept>
#include <string>

// A failed file step: the operating system's error code (Windows numbering)
// and the message chosen by it ("File not found", "I/O error 32", ...).
class EInOutError : public std::runtime_error {
public:
    explicit EInOutError(int code);
    int code() const noexcept { return code_; }

    static std::string MessageFor(int code);

private:
    int code_;
};
