#include "app/error_text.h"

#include <cstddef>
#include <cwchar>

std::string ErrorBoxText(const std::string& message) {
    if (message.empty()) return message;

    // Step over whole characters of the current locale to find where the last
    // one starts. A byte that starts no valid character counts as one.
    std::mbstate_t state{};
    std::size_t lastStart = 0;
    for (std::size_t pos = 0; pos < message.size();) {
        lastStart = pos;
        std::size_t length = std::mbrlen(message.data() + pos, message.size() - pos, &state);
        if (length == 0 || length == static_cast<std::size_t>(-1) || length == static_cast<std::size_t>(-2)) {
            length = 1;
            state = std::mbstate_t{};
        }
        pos += length;
    }

    const auto lead = static_cast<unsigned char>(message[lastStart]);
    return lead > static_cast<unsigned char>('.') ? message + "." : message;
}
