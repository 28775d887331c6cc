#include "link/http_reply_reader.h"

#include <algorithm>
#include <array>

#include "link/http_error.h"
#include "platform/socket_errors.h"

namespace {

constexpr std::size_t kReceiveSize = 16384;

[[noreturn]] void Fail(const std::string& message) {
    throw EHttpError(message);
}

}  // namespace

HttpReplyReader::HttpReplyReader(ByteStream& stream, const HttpLimits& limits, IoDeadline exchangeDeadline)
    : stream_(stream), limits_(limits), exchangeDeadline_(exchangeDeadline), wait_(limits.idleTimeout) {}

std::string_view HttpReplyReader::Pending() const {
    return std::string_view(buffer_).substr(consumed_);
}

bool HttpReplyReader::Fill() {
    if (consumed_ > 0) {
        buffer_.erase(0, consumed_);
        consumed_ = 0;
    }
    std::array<char, kReceiveSize> chunk;
    const IoDeadline deadline = std::min(std::chrono::steady_clock::now() + wait_, exchangeDeadline_);
    const IoResult result = stream_.Receive(chunk, deadline);
    switch (result.status) {
    case IoStatus::Done:
        buffer_.append(chunk.data(), std::min(result.count, chunk.size()));
        return true;
    case IoStatus::Closed:
        return false;
    case IoStatus::TimedOut:
        Fail("Read Timeout");
    case IoStatus::Failed:
        break;
    }
    Fail(SocketErrorMessage(result.socketError));
}

std::optional<std::string> HttpReplyReader::ReadLine() {
    std::size_t searched = 0;
    for (;;) {
        const std::string_view pending = Pending();
        const std::size_t lineFeed = pending.find('\n', searched);
        if (lineFeed != std::string_view::npos) {
            std::string_view line = pending.substr(0, lineFeed);
            if (!line.empty() && line.back() == '\r') {
                line.remove_suffix(1);
            }
            if (line.size() > limits_.maxLineLength) {
                Fail("Max line length exceeded.");
            }
            std::string text(line);
            consumed_ += lineFeed + 1;
            return text;
        }
        // One byte more than the limit may still be the CR of a line end.
        if (pending.size() > limits_.maxLineLength + 1) {
            Fail("Max line length exceeded.");
        }
        searched = pending.size();
        if (!Fill()) {
            return std::nullopt;
        }
    }
}

bool HttpReplyReader::ReadHeaderLines(HttpReplyHead& head) {
    for (;;) {
        std::optional<std::string> line = ReadLine();
        if (!line) {
            return false;
        }
        headBytes_ += line->size() + 2;
        if (headBytes_ > limits_.maxReplySize) {
            Fail("Max reply size exceeded.");
        }
        if (line->empty()) {
            return true;
        }
        head.AddHeaderLine(*line);
    }
}

std::string HttpReplyReader::ReadReply() {
    HttpReplyHead head;
    bool headComplete = false;
    do {
        std::optional<std::string> statusLine = ReadLine();
        if (!statusLine) {
            Fail("Connection Closed Gracefully.");
        }
        headBytes_ += statusLine->size() + 2;
        if (headBytes_ > limits_.maxReplySize) {
            Fail("Max reply size exceeded.");
        }
        head = HttpReplyHead{};
        head.statusCode = ParseStatusCode(*statusLine);
        head.statusLine = std::move(*statusLine);
        // A 100 head cut short leads to the next status line, which the close makes "Connection Closed Gracefully.".
        headComplete = ReadHeaderLines(head);
    } while (head.statusCode == 100);

    const bool success = head.statusCode >= 200 && head.statusCode <= 299;
    if (!headComplete) {
        Fail(success ? "Undefined situation" : head.statusLine);
    }
    const std::optional<std::string_view> location = head.Value("Location");
    if (!success || (location && !location->empty())) {
        // Redirects are not followed; the failing reply's body is read and dropped, with short waits.
        wait_ = std::min(limits_.failingBodyWait, limits_.idleTimeout);
        ReadBody(head, BodyUse::Discard);
        Fail(head.statusLine);
    }
    if (head.statusCode == 204) {
        return {};
    }
    ReadBody(head, BodyUse::Keep);
    return std::move(body_);
}

void HttpReplyReader::ReadBody(const HttpReplyHead& head, BodyUse use) {
    const std::optional<std::string_view> lengthValue = head.Value("Content-Length");
    const std::optional<std::uint64_t> length =
        lengthValue ? ParseContentLength(*lengthValue) : std::optional<std::uint64_t>{};
    if (length && *length > 0) {
        ReadCounted(*length, use);
        return;
    }
    const std::optional<std::string_view> transferEncoding = head.Value("Transfer-Encoding");
    if (transferEncoding && IsChunked(*transferEncoding)) {
        ReadChunked(use);
        return;
    }
    if (!length) {
        ReadToClose(use);
    }
    // A Content-Length of 0: no body.
}

void HttpReplyReader::TakeBody(std::size_t count, BodyUse use) {
    bodyBytes_ += count;
    if (bodyBytes_ > limits_.maxReplySize) {
        Fail("Max reply size exceeded.");
    }
    if (use == BodyUse::Keep) {
        body_.append(Pending().substr(0, count));
    }
    consumed_ += count;
}

void HttpReplyReader::ReadCounted(std::uint64_t count, BodyUse use) {
    // A close before count bytes ends the body with what came.
    std::uint64_t left = count;
    while (left > 0) {
        if (Pending().empty() && !Fill()) {
            return;
        }
        const std::size_t take = static_cast<std::size_t>(std::min<std::uint64_t>(left, Pending().size()));
        TakeBody(take, use);
        left -= take;
    }
}

void HttpReplyReader::ReadChunked(BodyUse use) {
    for (;;) {
        const std::optional<std::string> sizeLine = ReadLine();
        if (!sizeLine) {
            Fail("Connection Closed Gracefully.");
        }
        const std::uint64_t size = ParseChunkSize(*sizeLine);
        if (size == 0) {
            // One more line (the end of an empty trailer); the body is whole even if it never comes.
            ReadLine();
            return;
        }
        std::uint64_t left = size;
        while (left > 0) {
            if (Pending().empty() && !Fill()) {
                Fail("Connection Closed Gracefully.");
            }
            const std::size_t take = static_cast<std::size_t>(std::min<std::uint64_t>(left, Pending().size()));
            TakeBody(take, use);
            left -= take;
        }
        if (!ReadLine()) {
            Fail("Connection Closed Gracefully.");
        }
    }
}

void HttpReplyReader::ReadToClose(BodyUse use) {
    for (;;) {
        if (!Pending().empty()) {
            TakeBody(Pending().size(), use);
        }
        if (!Fill()) {
            return;
        }
    }
}
