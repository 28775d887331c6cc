#include "settings/value_reader.h"

#include <algorithm>
#include <cerrno>

#include "settings/file_failure.h"

namespace {

constexpr char kLf = '\x0A';
constexpr char kCr = '\x0D';
constexpr char kCtrlZ = '\x1A';

bool EndsRun(char c) { return c == kLf || c == kCr || c == kCtrlZ; }

}  // namespace

ValueReader::ValueReader(int fd, std::uint64_t size, FileCalls& calls) : fd_(fd), unread_(size), calls_(calls) {}

std::string ValueReader::Next() {
    std::string value;
    while (!ended_) {
        if (pos_ == end_ && !Fill()) {
            ended_ = true;
            break;
        }
        const char* begin = buffer_.data() + pos_;
        const char* stop = std::find_if(begin, static_cast<const char*>(buffer_.data() + end_), EndsRun);
        value.append(begin, stop);
        pos_ = static_cast<std::size_t>(stop - buffer_.data());
        if (pos_ == end_) {
            continue;
        }
        const char c = buffer_[pos_++];
        if (c == kLf) {
            return value;
        }
        if (c == kCtrlZ) {
            ended_ = true;
        }
        // A CR is dropped either way: before LF it belongs to the line break
        // (the LF ends the line), anywhere else it is removed from the value.
    }
    return value;
}

bool ValueReader::Fill() {
    pos_ = 0;
    end_ = 0;
    if (unread_ == 0) {
        return false;
    }
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(unread_, buffer_.size()));
    ssize_t got = 0;
    do {
        got = calls_.Read(fd_, buffer_.data(), want);
    } while (got < 0 && errno == EINTR);
    if (got < 0) {
        ThrowFileFailure(errno);
    }
    end_ = static_cast<std::size_t>(got);
    unread_ -= end_;
    return end_ > 0;
}
