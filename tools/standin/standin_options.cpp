#include "standin_options.h"

#include <charconv>
#include <stdexcept>

namespace {

long long Number(const std::string& option, const std::string& text, long long low, long long high) {
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value < low || value > high) {
        throw std::invalid_argument(option + " wants a number from " + std::to_string(low) + " to " +
                                    std::to_string(high));
    }
    return value;
}

}  // namespace

StandinOptions ParseStandinOptions(const std::vector<std::string>& args) {
    StandinOptions options;
    for (std::size_t i = 0; i < args.size(); i += 2) {
        const std::string& option = args[i];
        if (i + 1 >= args.size()) throw std::invalid_argument(option + " wants a value");
        const std::string& value = args[i + 1];
        if (option == "--port") {
            options.port = static_cast<std::uint16_t>(Number(option, value, 0, 65535));
        } else if (option == "--log") {
            options.logPath = value;
        } else if (option == "--reply") {
            const auto mode = ParseReplyMode(value);
            if (!mode) throw std::invalid_argument("bad reply mode: " + value);
            options.reply = *mode;
        } else if (option == "--max-seconds") {
            options.maxSeconds = static_cast<int>(Number(option, value, 1, 86400));
        } else {
            throw std::invalid_argument("unknown option " + option);
        }
    }
    return options;
}
