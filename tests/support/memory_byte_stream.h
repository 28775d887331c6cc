#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/byte_stream.h"

// A stream over bytes in memory: Receive hands out the reply in pieces of at
// most pieceSize bytes, then reports how the stream ends (closed by default,
// or a time-out or socket failure). Every Send is recorded as one write.
class MemoryByteStream final : public ByteStream {
public:
    explicit MemoryByteStream(std::string reply, std::size_t pieceSize = 4096)
        : reply_(std::move(reply)), pieceSize_(std::max<std::size_t>(pieceSize, 1)) {}

    // What Receive reports once every byte has been handed out.
    void EndWith(IoStatus status, int socketError = 0) {
        endStatus_ = status;
        endError_ = socketError;
    }

    IoResult Receive(std::span<char> into, IoDeadline) override {
        if (offset_ >= reply_.size()) {
            return IoResult{endStatus_, 0, endError_};
        }
        const std::size_t count = std::min({into.size(), pieceSize_, reply_.size() - offset_});
        std::copy_n(reply_.data() + offset_, count, into.data());
        offset_ += count;
        return IoResult{IoStatus::Done, count, 0};
    }

    IoResult Send(std::string_view bytes, IoDeadline) override {
        writes_.emplace_back(bytes);
        return IoResult{IoStatus::Done, bytes.size(), 0};
    }

    const std::vector<std::string>& Writes() const { return writes_; }

private:
    std::string reply_;
    std::size_t pieceSize_;
    std::size_t offset_ = 0;
    IoStatus endStatus_ = IoStatus::Closed;
    int endError_ = 0;
    std::vector<std::string> writes_;
};
