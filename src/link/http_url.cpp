#include "link/http_url.h"

#include <cwchar>

std::string SlashBackslashes(std::string_view url) {
    std::string result(url);
    std::mbstate_t state{};
    std::size_t pos = 0;
    while (pos < result.size()) {
        const std::size_t length = std::mbrlen(result.data() + pos, result.size() - pos, &state);
        if (length != static_cast<std::size_t>(-1) && length != static_cast<std::size_t>(-2) && length > 1) {
            pos += length;  // the whole character, trail bytes included
            continue;
        }
        if (length == static_cast<std::size_t>(-1) || length == static_cast<std::size_t>(-2)) {
            state = std::mbstate_t{};
        }
        if (result[pos] == '\\') {
            result[pos] = '/';
        }
        ++pos;
    }
    return result;
}

namespace {

// 1-65535 in decimal digits only, else 0.
std::uint16_t ParsePort(std::string_view text) {
    if (text.empty() || text.size() > 5) {
        return 0;
    }
    unsigned value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return 0;
        }
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    return value <= 65535 ? static_cast<std::uint16_t>(value) : 0;
}

}  // namespace

HttpUrl ParseHttpUrl(std::string_view url) {
    const std::string slashed = SlashBackslashes(url);
    std::string_view rest = slashed;
    HttpUrl parsed;

    const std::size_t schemeEnd = rest.find("://");
    if (schemeEnd != std::string_view::npos) {
        parsed.scheme = rest.substr(0, schemeEnd);
        rest.remove_prefix(schemeEnd + 3);
    }

    const std::size_t hostEnd = rest.find('/');
    std::string_view authority = rest.substr(0, hostEnd);
    rest = (hostEnd == std::string_view::npos) ? std::string_view{} : rest.substr(hostEnd);
    const std::size_t colon = authority.find(':');
    if (colon != std::string_view::npos) {
        const std::uint16_t port = ParsePort(authority.substr(colon + 1));
        if (port != 0) {
            parsed.port = port;
            parsed.portNamed = true;
        }
        authority = authority.substr(0, colon);
    }
    parsed.host = authority;

    const std::size_t queryStart = rest.find('?');
    std::string_view path = rest.substr(0, queryStart);
    std::string_view query = (queryStart == std::string_view::npos) ? std::string_view{} : rest.substr(queryStart);
    query = query.substr(0, query.find('#'));
    parsed.target = std::string(path.empty() ? "/" : path) + std::string(query);
    return parsed;
}
