#pragma once

#include <cstddef>
#include <string>

#include "link/http_url.h"

// Request line, headers and the empty line of a form POST, byte for byte as
// sent. The Host header names the port only when the URL named one other
// than 80.
std::string ComposeRequestHead(const HttpUrl& url, std::size_t bodyLength);
