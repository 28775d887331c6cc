#pragma once

#include <string>
#include <string_view>

#include "link/http_limits.h"
#include "link/http_url.h"
#include "platform/byte_stream.h"

// One form POST over a connected stream: the head in one write, the body in
// a second, then the reply (see HttpReplyReader). Returns the reply body or
// throws EHttpError.
std::string RunHttpExchange(ByteStream& stream, const HttpUrl& url, std::string_view body, const HttpLimits& limits,
                            IoDeadline exchangeDeadline);
