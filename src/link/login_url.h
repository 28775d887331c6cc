#pragma once

#include <string>
#include <string_view>

#include "link/clock.h"

// What a request to the login endpoint asks for.
enum class RequestKind { Login, Quit };

// "http://" + host + "/lo.php?"
std::string LoginEndpoint(const std::string& host);

// "yyMMddHHmmss" of one clock reading (two-digit year: year % 100).
std::string RequestTimestamp(const LocalDateTime& time);

// The user name as it goes into the query: bytes that would break or end the
// query are sent as %XX; every other byte, and every multi-byte character of
// the current locale, goes through unchanged.
std::string EncodeUserName(std::string_view userName);

// The full request URL for kind: endpoint, user name, password digest, method
// and the time stamp of one reading of clock.
std::string ComposeLoginUrl(RequestKind kind, const std::string& host, std::string_view userName,
                            std::string_view password, const Clock& clock);
