#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// One request as the stand-in received it.
struct HttpRequest {
    std::string requestLine;  // the first line, without its line end
    std::string method;
    std::string target;
    std::string body;
};

// Bounds on what one connection may send; more is refused.
inline constexpr std::size_t kMaxRequestHeadBytes = 16384;
inline constexpr std::size_t kMaxRequestBodyBytes = 65536;

struct FramedRequest {
    enum class Status { Incomplete, Complete, TooLarge, Malformed };
    Status status = Status::Incomplete;
    HttpRequest request;  // filled when Complete; requestLine also when Malformed or TooLarge
};

// Looks for one whole request (head up to the empty line, then as many body
// bytes as Content-Length says) at the start of the bytes received so far.
FramedRequest FrameRequest(std::string_view received);
