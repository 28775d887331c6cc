#include "platform/tcp_connection.h"

#include <cerrno>
#include <optional>
#include <utility>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/ipv4_resolver.h"
#include "platform/socket_errors.h"

namespace {

// What poll() reported, EINTR already retried.
enum class Readiness { Ready, TimedOut, Failed };

// Milliseconds left until deadline, rounded up so that we never wake early.
int MillisecondsUntil(IoDeadline deadline) {
    const auto left = deadline - std::chrono::steady_clock::now();
    if (left <= std::chrono::steady_clock::duration::zero()) {
        return 0;
    }
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    return ms > 1'000'000'000 ? 1'000'000'000 : static_cast<int>(ms);
}

Readiness WaitFor(int fd, short events, IoDeadline deadline, int& savedErrno) {
    for (;;) {
        pollfd entry{fd, events, 0};
        const int timeout = MillisecondsUntil(deadline);
        const int ready = ::poll(&entry, 1, timeout);
        if (ready > 0) {
            return Readiness::Ready;  // also on POLLHUP/POLLERR: the next call tells what happened
        }
        if (ready == 0) {
            if (std::chrono::steady_clock::now() >= deadline) {
                return Readiness::TimedOut;
            }
            continue;
        }
        if (errno != EINTR) {
            savedErrno = errno;
            return Readiness::Failed;
        }
    }
}

IoResult FailedWith(int errnoValue) {
    return IoResult{IoStatus::Failed, 0, SocketErrorFromErrno(errnoValue)};
}

// After a recv() or send() on the non-blocking socket returned -1: nullopt
// when the call is to be made again (it was interrupted, or the socket became
// ready for events), else what the operation ends with, done bytes moved.
std::optional<IoResult> AfterFailedCall(int fd, short events, IoDeadline deadline, std::size_t done) {
    const int callErrno = errno;
    if (callErrno == EINTR) {
        return std::nullopt;
    }
    if (callErrno != EAGAIN && callErrno != EWOULDBLOCK) {
        return FailedWith(callErrno);
    }
    int pollErrno = 0;
    switch (WaitFor(fd, events, deadline, pollErrno)) {
    case Readiness::Ready:
        return std::nullopt;
    case Readiness::TimedOut:
        return IoResult{IoStatus::TimedOut, done, 0};
    case Readiness::Failed:
        break;
    }
    return FailedWith(pollErrno);
}

}  // namespace

TcpConnection::~TcpConnection() {
    Close();
}

TcpConnection::TcpConnection(TcpConnection&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

TcpConnection& TcpConnection::operator=(TcpConnection&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

void TcpConnection::Close() noexcept {
    if (fd_ >= 0) {
        ::close(fd_);  // not retried on EINTR: Linux has released the descriptor either way
        fd_ = -1;
    }
}

TcpConnection::ConnectResult TcpConnection::Connect(const std::string& host, std::uint16_t port,
                                                    std::chrono::milliseconds connectLimit) {
    Close();
    const Ipv4Lookup lookup = ResolveIpv4(host);
    if (lookup.socketError != 0) {
        return {ConnectStatus::Failed, lookup.socketError};
    }
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_TCP);
    if (fd_ < 0) {
        return {ConnectStatus::NoSocket, 0};
    }
    // The head and the body go out as two writes; without this the second waits for an ACK.
    const int on = 1;
    ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);

    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr = lookup.address;
    const IoDeadline deadline = std::chrono::steady_clock::now() + connectLimit;
    if (::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
        return {};
    }
    // EINTR on a non-blocking connect: the attempt goes on in the background like EINPROGRESS.
    if (errno != EINPROGRESS && errno != EINTR) {
        const int error = errno;
        Close();
        return {ConnectStatus::Failed, SocketErrorFromErrno(error)};
    }
    int pollErrno = 0;
    switch (WaitFor(fd_, POLLOUT, deadline, pollErrno)) {
    case Readiness::Ready:
        break;
    case Readiness::TimedOut:
        Close();
        return {ConnectStatus::Failed, kSocketErrorTimedOut};
    case Readiness::Failed:
        Close();
        return {ConnectStatus::Failed, SocketErrorFromErrno(pollErrno)};
    }
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &length) != 0) {
        error = errno;
    }
    if (error != 0) {
        Close();
        return {ConnectStatus::Failed, SocketErrorFromErrno(error)};
    }
    return {};
}

IoResult TcpConnection::Receive(std::span<char> into, IoDeadline deadline) {
    if (fd_ < 0) {
        return FailedWith(ENOTCONN);
    }
    if (into.empty()) {
        return {};
    }
    for (;;) {
        // Checked before every call: a peer that always has data ready must not outlast the deadline.
        if (std::chrono::steady_clock::now() >= deadline) {
            return IoResult{IoStatus::TimedOut, 0, 0};
        }
        const ssize_t got = ::recv(fd_, into.data(), into.size(), 0);
        if (got > 0) {
            return IoResult{IoStatus::Done, static_cast<std::size_t>(got), 0};
        }
        if (got == 0) {
            return IoResult{IoStatus::Closed, 0, 0};
        }
        if (const std::optional<IoResult> end = AfterFailedCall(fd_, POLLIN, deadline, 0)) {
            return *end;
        }
    }
}

IoResult TcpConnection::Send(std::string_view bytes, IoDeadline deadline) {
    if (fd_ < 0) {
        return FailedWith(ENOTCONN);
    }
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return IoResult{IoStatus::TimedOut, sent, 0};
        }
        const ssize_t put = ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (put >= 0) {
            sent += static_cast<std::size_t>(put);
            continue;
        }
        if (const std::optional<IoResult> end = AfterFailedCall(fd_, POLLOUT, deadline, sent)) {
            return *end;
        }
    }
    return IoResult{IoStatus::Done, sent, 0};
}
