#include "reply_mode.h"

#include <charconv>

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string PercentDecode(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::optional<ReplyMode> ParseReplyMode(std::string_view text) {
    using Kind = ReplyMode::Kind;
    if (text.empty()) return std::nullopt;
    if (text == "address") return ReplyMode{Kind::Address, {}, 200};
    if (text == "empty") return ReplyMode{Kind::Empty, {}, 200};
    if (text == "close") return ReplyMode{Kind::Close, {}, 200};
    if (text == "stall") return ReplyMode{Kind::Stall, {}, 200};
    constexpr std::string_view kStatus = "status=";
    if (text.starts_with(kStatus)) {
        const std::string_view digits = text.substr(kStatus.size());
        int status = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), status);
        if (error != std::errc{} || end != digits.data() + digits.size() || status < 200 || status > 599) {
            return std::nullopt;
        }
        return ReplyMode{Kind::Status, {}, status};
    }
    return ReplyMode{Kind::Text, PercentDecode(text), 200};
}
