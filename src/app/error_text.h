#pragma once

#include <string>

// The text of the error box for a failure's message: a full stop is appended
// when the message is not empty and the first byte of its last (possibly
// multi-byte) character is above '.' (0x2E); otherwise it is unchanged.
std::string ErrorBoxText(const std::string& message);
