#include "request_framing.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace {

using Status = FramedRequest::Status;

std::string_view FirstLine(std::string_view bytes) {
    std::string_view line = bytes.substr(0, std::min(bytes.find('\n'), kMaxRequestHeadBytes));
    if (line.ends_with('\r')) line.remove_suffix(1);
    return line;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
    return text;
}

// The value of Content-Length among the header lines, 0 when there is none,
// or -1 when it is not a whole number.
long long ContentLength(std::string_view headers) {
    long long length = 0;
    while (!headers.empty()) {
        const std::size_t end = headers.find('\n');
        const std::string_view line = headers.substr(0, end);
        headers = end == std::string_view::npos ? std::string_view{} : headers.substr(end + 1);
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos || !EqualsIgnoringCase(Trim(line.substr(0, colon)), "Content-Length")) {
            continue;
        }
        const std::string_view value = Trim(line.substr(colon + 1));
        const auto [ptr, error] = std::from_chars(value.data(), value.data() + value.size(), length);
        if (error != std::errc{} || ptr != value.data() + value.size() || length < 0) return -1;
    }
    return length;
}

}  // namespace

FramedRequest FrameRequest(std::string_view received) {
    FramedRequest framed;
    const std::size_t crlf = received.find("\r\n\r\n");
    const std::size_t lf = received.find("\n\n");
    const std::size_t headEnd = std::min(crlf == std::string_view::npos ? crlf : crlf + 4,
                                         lf == std::string_view::npos ? lf : lf + 2);
    if (headEnd == std::string_view::npos) {
        if (received.size() > kMaxRequestHeadBytes) {
            framed.status = Status::TooLarge;
            framed.request.requestLine = FirstLine(received);
        }
        return framed;
    }
    framed.request.requestLine = FirstLine(received);
    if (headEnd > kMaxRequestHeadBytes) {
        framed.status = Status::TooLarge;
        return framed;
    }

    const std::string_view line = framed.request.requestLine;
    const std::size_t firstBlank = line.find(' ');
    const std::size_t lastBlank = line.rfind(' ');
    const long long length = ContentLength(received.substr(line.size(), headEnd - line.size()));
    if (firstBlank == std::string_view::npos || firstBlank == lastBlank || length < 0) {
        framed.status = Status::Malformed;
        return framed;
    }
    if (static_cast<unsigned long long>(length) > kMaxRequestBodyBytes) {
        framed.status = Status::TooLarge;
        return framed;
    }
    if (received.size() - headEnd < static_cast<std::size_t>(length)) return framed;  // body still coming

    framed.status = Status::Complete;
    framed.request.method = line.substr(0, firstBlank);
    framed.request.target = line.substr(firstBlank + 1, lastBlank - firstBlank - 1);
    framed.request.body = received.substr(headEnd, static_cast<std::size_t>(length));
    return framed;
}
