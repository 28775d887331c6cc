#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// A request URL taken apart the way the client sends it.
struct HttpUrl {
    std::string scheme;       // text before "://", not looked at further: every request is plain HTTP
    std::string host;         // what is resolved and named in the Host header
    std::uint16_t port = 80;  // ":port" of the URL, else 80
    bool portNamed = false;   // the URL carried a valid ":port"
    std::string target;       // path and query as they go into the request line
};

// Every backslash becomes "/", except a 0x5C that is a trail byte of a
// multi-byte character of the current locale.
std::string SlashBackslashes(std::string_view url);

// Scheme before "://"; host up to the next "/", with an optional ":port";
// the rest is the path, then the query from the first "?", which ends before
// its first "#". Nothing is percent-encoded. Never fails: a port that is not
// a number of 1-65535 counts as none named.
HttpUrl ParseHttpUrl(std::string_view url);
