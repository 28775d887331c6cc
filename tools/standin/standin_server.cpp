#include "standin_server.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include "request_framing.h"
#include "service_answer.h"

namespace {

using SteadyClock = std::chrono::steady_clock;

constexpr std::size_t kMaxConnections = 32;
constexpr auto kRequestTimeLimit = std::chrono::seconds(10);  // to send one whole request
constexpr auto kSendTimeLimit = std::chrono::seconds(2);

[[noreturn]] void Fail(const char* what) { throw std::runtime_error(std::string(what) + ": " + std::strerror(errno)); }

timespec Until(SteadyClock::time_point when) {
    const auto left = std::max(SteadyClock::duration::zero(), when - SteadyClock::now());
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(left);
    const auto nanos = std::chrono::duration_cast<std::chrono::nanoseconds>(left - seconds);
    return timespec{static_cast<time_t>(seconds.count()), static_cast<long>(nanos.count())};
}

// Sends all of bytes on a non-blocking socket, waiting a bounded time for room.
void SendAll(int fd, const std::string& bytes) {
    const auto deadline = SteadyClock::now() + kSendTimeLimit;
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            pollfd out{fd, POLLOUT, 0};
            const timespec wait = Until(deadline);
            if (wait.tv_sec == 0 && wait.tv_nsec == 0) return;
            if (::ppoll(&out, 1, &wait, nullptr) < 0 && errno != EINTR) return;
            continue;
        }
        return;  // the caller has gone
    }
}

}  // namespace

StandinServer::StandinServer(std::uint16_t port, ReplyMode mode, RequestLog& log)
    : mode_(std::move(mode)), log_(log) {
    listener_ = UniqueFd(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!listener_.Valid()) Fail("socket");
    const int on = 1;
    ::setsockopt(listener_.Get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(listener_.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) Fail("bind");
    if (::listen(listener_.Get(), 16) != 0) Fail("listen");
    socklen_t length = sizeof address;
    if (::getsockname(listener_.Get(), reinterpret_cast<sockaddr*>(&address), &length) != 0) Fail("getsockname");
    port_ = ntohs(address.sin_port);
}

void StandinServer::Run(SteadyClock::time_point deadline, const volatile std::sig_atomic_t& stop,
                        const sigset_t& waitMask) {
    std::vector<pollfd> fds;
    while (!stop && SteadyClock::now() < deadline) {
        auto wakeUp = deadline;
        fds.clear();
        for (const Connection& connection : connections_) {
            fds.push_back({connection.fd.Get(), POLLIN, 0});
            wakeUp = std::min(wakeUp, connection.deadline);
        }
        const bool listening = connections_.size() < kMaxConnections;
        if (listening) fds.push_back({listener_.Get(), POLLIN, 0});

        const timespec wait = Until(wakeUp);
        if (::ppoll(fds.data(), fds.size(), &wait, &waitMask) < 0) {
            if (errno == EINTR) continue;
            Fail("ppoll");
        }
        const auto now = SteadyClock::now();
        for (std::size_t i = 0; i < connections_.size(); ++i) {
            Connection& connection = connections_[i];
            if (fds[i].revents != 0) Read(connection);
            if (!connection.done && now >= connection.deadline) connection.done = true;  // too slow, or the run ends
        }
        std::erase_if(connections_, [](const Connection& connection) { return connection.done; });
        if (listening && (fds.back().revents & POLLIN) != 0) Accept(deadline);
    }
}

void StandinServer::Accept(SteadyClock::time_point runDeadline) {
    while (connections_.size() < kMaxConnections) {
        sockaddr_in peer{};
        socklen_t length = sizeof peer;
        UniqueFd fd(::accept4(listener_.Get(), reinterpret_cast<sockaddr*>(&peer), &length,
                              SOCK_NONBLOCK | SOCK_CLOEXEC));
        if (!fd.Valid()) return;  // nothing more waiting (or the caller is gone already)
        char text[INET_ADDRSTRLEN] = "";
        ::inet_ntop(AF_INET, &peer.sin_addr, text, sizeof text);
        Connection connection;
        connection.fd = std::move(fd);
        connection.callerAddress = text;
        connection.deadline = std::min(runDeadline, SteadyClock::now() + kRequestTimeLimit);
        connections_.push_back(std::move(connection));
    }
}

void StandinServer::Read(Connection& connection) {
    char buffer[4096];
    while (!connection.done) {
        const ssize_t n = ::recv(connection.fd.Get(), buffer, sizeof buffer, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
        if (n <= 0) {
            connection.done = true;  // the caller hung up
            return;
        }
        if (connection.stalled) continue;  // whatever else comes is dropped
        connection.received.append(buffer, static_cast<std::size_t>(n));
        Handle(connection);
    }
}

void StandinServer::Handle(Connection& connection) {
    using Status = FramedRequest::Status;
    const FramedRequest framed = FrameRequest(connection.received);
    if (framed.status == Status::Incomplete) return;

    log_.Append(framed.request.requestLine);
    ServiceAnswer answer;
    if (framed.status == Status::TooLarge) {
        answer.bytes = HttpReply(413, "too large\n");
    } else if (framed.status == Status::Malformed) {
        answer.bytes = HttpReply(400, "bad request\n");
    } else {
        answer = AnswerRequest(framed.request, mode_, connection.callerAddress);
    }

    connection.received.clear();
    switch (answer.action) {
        case ServiceAnswer::Action::Send:
            SendAll(connection.fd.Get(), answer.bytes);
            ::shutdown(connection.fd.Get(), SHUT_WR);
            connection.done = true;
            break;
        case ServiceAnswer::Action::Close:
            connection.done = true;
            break;
        case ServiceAnswer::Action::Stall:
            connection.stalled = true;
            connection.deadline = SteadyClock::time_point::max();
            break;
    }
}
