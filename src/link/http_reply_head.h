#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The status line and header lines of one reply, as read.
struct HttpReplyHead {
    std::string statusLine;  // without its line end
    int statusCode = -1;
    std::vector<std::pair<std::string, std::string>> headers;  // name, trimmed value; in order

    // Value of the first header of that name, compared without regard to case.
    std::optional<std::string_view> Value(std::string_view name) const;
    void AddHeaderLine(std::string_view line);
};

// Blanks and control characters (bytes up to 0x20) dropped at both ends.
std::string_view TrimBlanksAndControls(std::string_view text);

// The text after the first blank up to the next blank, as a decimal number (a sign allowed); -1 when it is none.
int ParseStatusCode(std::string_view statusLine);

// A whole number of 0 or more in decimal ("+5" and "-0" included), or nothing.
std::optional<std::uint64_t> ParseContentLength(std::string_view value);

// The text before the first blank of a chunk-size line in hexadecimal; 0 when unreadable.
std::uint64_t ParseChunkSize(std::string_view line);

// value holds "chunked", compared in lower case.
bool IsChunked(std::string_view transferEncoding);
