#include "link/login_url.h"

#include <cwchar>

#include "link/md5.h"

namespace {

// Bytes that would split, end or change the query if sent raw.
bool NeedsPercentEncoding(unsigned char byte) {
    return byte < 0x21 || byte == 0x7f || byte == '#' || byte == '%' || byte == '&' || byte == '+' ||
           byte == '\\';
}

void AppendTwoDigits(std::string& text, int value) {
    value = ((value % 100) + 100) % 100;
    text += static_cast<char>('0' + value / 10);
    text += static_cast<char>('0' + value % 10);
}

}  // namespace

std::string LoginEndpoint(const std::string& host) {
    return "http://" + host + "/lo.php?";
}

std::string RequestTimestamp(const LocalDateTime& time) {
    std::string stamp;
    stamp.reserve(12);
    for (const int field : {time.year, time.month, time.day, time.hour, time.minute, time.second}) {
        AppendTwoDigits(stamp, field);
    }
    return stamp;
}

std::string EncodeUserName(std::string_view userName) {
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(userName.size());
    std::mbstate_t state{};
    std::size_t pos = 0;
    while (pos < userName.size()) {
        const std::size_t length = std::mbrlen(userName.data() + pos, userName.size() - pos, &state);
        if (length != static_cast<std::size_t>(-1) && length != static_cast<std::size_t>(-2) && length > 1) {
            // A whole multi-byte character: its trail bytes may look like ASCII in some code pages.
            encoded.append(userName.substr(pos, length));
            pos += length;
            continue;
        }
        if (length == static_cast<std::size_t>(-1) || length == static_cast<std::size_t>(-2)) {
            state = std::mbstate_t{};
        }
        const auto byte = static_cast<unsigned char>(userName[pos]);
        if (NeedsPercentEncoding(byte)) {
            encoded += '%';
            encoded += kHexDigits[byte >> 4];
            encoded += kHexDigits[byte & 0x0f];
        } else {
            encoded += static_cast<char>(byte);
        }
        ++pos;
    }
    return encoded;
}

std::string ComposeLoginUrl(RequestKind kind, const std::string& host, std::string_view userName,
                            std::string_view password, const Clock& clock) {
    const std::string digest = PasswordDigest(password);
    const std::string stamp = RequestTimestamp(clock.Now());
    const char* const kindLiteral = (kind == RequestKind::Quit) ? "&c=md5&q=quit&str=" : "&c=md5&str=";
    return LoginEndpoint(host) + "user=" + EncodeUserName(userName) + "&pass=" + digest + kindLiteral + stamp;
}
