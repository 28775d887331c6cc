#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "link/http_limits.h"
#include "link/http_reply_head.h"
#include "platform/byte_stream.h"

// Reads one reply from stream and decides its outcome: returns the body of a
// successful reply as received, or throws EHttpError with the message the
// user sees. Every wait ends by the exchange deadline at the latest.
//
// A close after the status line but before the head's empty line fails with
// "Undefined situation" for a 2xx status, and with the status line for any
// other (that reply had failed already; it just has no body to throw away).
class HttpReplyReader {
public:
    HttpReplyReader(ByteStream& stream, const HttpLimits& limits, IoDeadline exchangeDeadline);

    std::string ReadReply();

private:
    enum class BodyUse { Keep, Discard };

    // One more line without its line end, or nothing when the peer closed first.
    std::optional<std::string> ReadLine();
    // false when the peer closed before the head's empty line.
    bool ReadHeaderLines(HttpReplyHead& head);
    void ReadBody(const HttpReplyHead& head, BodyUse use);
    void ReadCounted(std::uint64_t count, BodyUse use);
    void ReadChunked(BodyUse use);
    void ReadToClose(BodyUse use);
    void TakeBody(std::size_t count, BodyUse use);
    // Receives more bytes into the buffer; false when the peer has closed.
    bool Fill();
    std::string_view Pending() const;

    ByteStream& stream_;
    const HttpLimits limits_;
    const IoDeadline exchangeDeadline_;
    std::chrono::milliseconds wait_;
    std::string buffer_;
    std::size_t consumed_ = 0;  // bytes of buffer_ already taken
    std::size_t headBytes_ = 0;
    std::uint64_t bodyBytes_ = 0;
    std::string body_;
};
