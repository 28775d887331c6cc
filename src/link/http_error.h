#pragma once

#include <stdexcept>
#include <string>

// A failed HTTP exchange; what() is the message the user sees, byte for byte
// ("Socket Error # 10061\r\nConnection refused.", "HTTP/1.1 404 Not Found", ...).
class EHttpError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
