#include "link/http_reply_head.h"

#include <limits>

namespace {

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

// digits in base (10 or 16), all of them, no sign; nothing on overflow.
std::optional<std::uint64_t> ParseUnsigned(std::string_view digits, unsigned base) {
    if (digits.empty()) {
        return std::nullopt;
    }
    constexpr std::uint64_t kMax = std::numeric_limits<std::int64_t>::max();
    std::uint64_t value = 0;
    for (const char c : digits) {
        unsigned digit = 0;
        if (c >= '0' && c <= '9') {
            digit = static_cast<unsigned>(c - '0');
        } else if (base == 16 && AsciiLower(c) >= 'a' && AsciiLower(c) <= 'f') {
            digit = static_cast<unsigned>(AsciiLower(c) - 'a' + 10);
        } else {
            return std::nullopt;
        }
        if (value > (kMax - digit) / base) {
            return std::nullopt;
        }
        value = value * base + digit;
    }
    return value;
}

// Decimal digits after at most one sign ("+5", "-0"); nothing on overflow.
std::optional<std::int64_t> ParseDecimal(std::string_view text) {
    const bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        text.remove_prefix(1);
    }
    const std::optional<std::uint64_t> magnitude = ParseUnsigned(text, 10);
    if (!magnitude) {
        return std::nullopt;
    }
    const auto value = static_cast<std::int64_t>(*magnitude);
    return negative ? -value : value;
}

}  // namespace

std::optional<std::string_view> HttpReplyHead::Value(std::string_view name) const {
    for (const auto& [headerName, value] : headers) {
        if (EqualsIgnoringCase(headerName, name)) {
            return std::string_view(value);
        }
    }
    return std::nullopt;
}

void HttpReplyHead::AddHeaderLine(std::string_view line) {
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) {
        return;  // not a header: nothing to look up by name
    }
    headers.emplace_back(TrimBlanksAndControls(line.substr(0, colon)),
                         TrimBlanksAndControls(line.substr(colon + 1)));
}

std::string_view TrimBlanksAndControls(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= 0x20) {
        text.remove_prefix(1);
    }
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 0x20) {
        text.remove_suffix(1);
    }
    return text;
}

int ParseStatusCode(std::string_view statusLine) {
    const std::size_t first = statusLine.find(' ');
    if (first == std::string_view::npos) {
        return -1;
    }
    std::string_view code = statusLine.substr(first + 1);
    code = code.substr(0, code.find(' '));
    const auto value = ParseDecimal(code);
    if (!value || *value < std::numeric_limits<int>::min() || *value > std::numeric_limits<int>::max()) {
        return -1;
    }
    return static_cast<int>(*value);
}

std::optional<std::uint64_t> ParseContentLength(std::string_view value) {
    const auto length = ParseDecimal(value);
    if (!length || *length < 0) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(*length);
}

std::uint64_t ParseChunkSize(std::string_view line) {
    return ParseUnsigned(line.substr(0, line.find(' ')), 16).value_or(0);
}

bool IsChunked(std::string_view transferEncoding) {
    static constexpr std::string_view kChunked = "chunked";
    if (transferEncoding.size() < kChunked.size()) {
        return false;
    }
    for (std::size_t start = 0; start + kChunked.size() <= transferEncoding.size(); ++start) {
        if (EqualsIgnoringCase(transferEncoding.substr(start, kChunked.size()), kChunked)) {
            return true;
        }
    }
    return false;
}
