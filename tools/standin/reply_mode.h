#pragma once

#include <optional>
#include <string>
#include <string_view>

// How the stand-in answers requests to /lo.php.
struct ReplyMode {
    enum class Kind {
        Address,  // like the service: a login gets the caller's address, a quit an empty body
        Empty,    // 200 with an empty body
        Text,     // 200 with `text` as the body
        Status,   // `status` with its reason phrase and a short body
        Close,    // the request is read, then the connection closed without a reply
        Stall,    // the request is read, then nothing is sent until the caller gives up
    };
    Kind kind = Kind::Address;
    std::string text;
    int status = 200;

    bool operator==(const ReplyMode&) const = default;
};

// "address", "empty", "close", "stall", "status=NNN" (200-599), or any other
// text, which becomes the body after percent-decoding ("%0D%0A" for a line
// break, "%65mpty" for the body "empty"). Nothing (or a bad status) is
// no mode.
std::optional<ReplyMode> ParseReplyMode(std::string_view text);

// "%41" -> "A"; a "%" not followed by two hexadecimal digits stays as it is.
std::string PercentDecode(std::string_view text);
