#pragma once

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

// What the scripted server does once it has read a request, step by step;
// after the last step it closes the connection.
struct ServerStep {
    enum class Kind {
        Send,    // send bytes once
        Drip,    // send bytes one at a time, cycling, one every interval, until the client goes
        Stream,  // send bytes again and again as fast as the client takes them, until it goes
        Hold,    // say nothing until the client goes
        Reset,   // abort the connection (RST instead of FIN)
    };
    Kind kind = Kind::Send;
    std::string bytes;
    std::chrono::milliseconds interval{0};

    static ServerStep Send(std::string b) { return {Kind::Send, std::move(b), {}}; }
    static ServerStep Drip(std::string b, std::chrono::milliseconds every) { return {Kind::Drip, std::move(b), every}; }
    static ServerStep Stream(std::string b) { return {Kind::Stream, std::move(b), {}}; }
    static ServerStep Hold() { return {Kind::Hold, {}, {}}; }
    static ServerStep Reset() { return {Kind::Reset, {}, {}}; }
};

// An HTTP server on 127.0.0.1 (ephemeral port) in a thread of its own: it
// takes one connection at a time, reads the request (head up to the empty
// line, then Content-Length bytes), records it, and plays the script for at
// most 10 s. It stops when destroyed, at any step; every wait is bounded.
class ScriptedHttpServer {
public:
    ScriptedHttpServer() {
        listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (listenFd_ < 0 || ::pipe2(wakePipe_, O_CLOEXEC | O_NONBLOCK) != 0) {
            throw std::runtime_error("scripted server: no socket");
        }
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(listenFd_, 8) != 0 ||
            ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            throw std::runtime_error("scripted server: cannot listen");
        }
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { Run(); });
    }

    ~ScriptedHttpServer() {
        stopping_ = true;
        const char wake = 'x';
        [[maybe_unused]] const auto written = ::write(wakePipe_[1], &wake, 1);
        thread_.join();
        ::close(listenFd_);
        ::close(wakePipe_[0]);
        ::close(wakePipe_[1]);
    }

    ScriptedHttpServer(const ScriptedHttpServer&) = delete;
    ScriptedHttpServer& operator=(const ScriptedHttpServer&) = delete;

    std::uint16_t Port() const { return port_; }
    std::string HostAndPort() const { return "127.0.0.1:" + std::to_string(port_); }

    // What the next connections are answered with.
    void SetScript(std::vector<ServerStep> script) {
        const std::lock_guard lock(mutex_);
        script_ = std::move(script);
    }

    // The bytes of every request read so far, in order of arrival.
    std::vector<std::string> Requests() const {
        const std::lock_guard lock(mutex_);
        return requests_;
    }

    // Waits (bounded) until `count` connections have been played to their end.
    bool WaitForConnectionsDone(std::size_t count, std::chrono::milliseconds limit = std::chrono::seconds(5)) {
        std::unique_lock lock(mutex_);
        return done_.wait_for(lock, limit, [&] { return connectionsDone_ >= count; });
    }

private:
    // Waits for fd to be ready for events, or for the stop signal; false on stop or time-out.
    bool WaitReady(int fd, short events, int timeoutMs) {
        pollfd entries[2] = {{fd, events, 0}, {wakePipe_[0], POLLIN, 0}};
        for (;;) {
            if (stopping_) {
                return false;
            }
            const int ready = ::poll(entries, 2, timeoutMs);
            if (ready < 0 && errno == EINTR) {
                continue;
            }
            return ready > 0 && entries[1].revents == 0 && !stopping_;
        }
    }

    void Run() {
        while (!stopping_) {
            if (!WaitReady(listenFd_, POLLIN, -1)) {
                continue;
            }
            const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
            if (fd < 0) {
                continue;
            }
            Serve(fd);
            ::close(fd);
            const std::lock_guard lock(mutex_);
            ++connectionsDone_;
            done_.notify_all();
        }
    }

    void Serve(int fd) {
        std::string request;
        if (!ReadRequest(fd, request)) {
            return;
        }
        std::vector<ServerStep> script;
        {
            const std::lock_guard lock(mutex_);
            requests_.push_back(request);
            script = script_;
        }
        // A client that never lets go must fail its test, not hang it.
        playDeadline_ = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        for (const ServerStep& step : script) {
            if (!Play(fd, step)) {
                return;
            }
        }
    }

    bool PlayTimeLeft() const { return std::chrono::steady_clock::now() < playDeadline_; }

    // Head up to the empty line, then the body that Content-Length announces; at most 5 s and 64 KiB.
    bool ReadRequest(int fd, std::string& request) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        std::size_t wanted = std::string::npos;
        while (request.size() < wanted && request.size() < 65536) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0 || !WaitReady(fd, POLLIN, static_cast<int>(left.count()) + 1)) {
                return false;
            }
            char chunk[4096];
            const ssize_t got = ::recv(fd, chunk, sizeof chunk, 0);
            if (got <= 0) {
                if (got < 0 && (errno == EAGAIN || errno == EINTR)) {
                    continue;
                }
                return !request.empty();
            }
            request.append(chunk, static_cast<std::size_t>(got));
            const std::size_t headEnd = request.find("\r\n\r\n");
            if (wanted == std::string::npos && headEnd != std::string::npos) {
                wanted = headEnd + 4 + ContentLength(std::string_view(request).substr(0, headEnd));
            }
        }
        return true;
    }

    static std::size_t ContentLength(std::string_view head) {
        const std::string_view key = "\r\nContent-Length: ";
        const std::size_t at = head.find(key);
        if (at == std::string_view::npos) {
            return 0;
        }
        std::size_t value = 0;
        for (std::size_t i = at + key.size(); i < head.size() && head[i] >= '0' && head[i] <= '9'; ++i) {
            value = value * 10 + static_cast<std::size_t>(head[i] - '0');
        }
        return value < 65536 ? value : 65536;
    }

    // Sends every byte unless the client goes or the server stops.
    bool SendAll(int fd, std::string_view bytes) {
        while (!bytes.empty()) {
            const ssize_t put = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
            if (put > 0) {
                bytes.remove_prefix(static_cast<std::size_t>(put));
            } else if (put < 0 && (errno == EAGAIN || errno == EINTR)) {
                if (!WaitReady(fd, POLLOUT, 100) && (stopping_ || !PlayTimeLeft())) {
                    return false;
                }
            } else {
                return false;
            }
        }
        return true;
    }

    // True while the client keeps its side open; waits at most timeoutMs.
    bool ClientStaysFor(int fd, int timeoutMs) {
        if (!PlayTimeLeft()) {
            return false;
        }
        if (!WaitReady(fd, POLLIN, timeoutMs)) {
            return !stopping_;
        }
        char sink[4096];
        const ssize_t got = ::recv(fd, sink, sizeof sink, 0);
        return got > 0 || (got < 0 && (errno == EAGAIN || errno == EINTR));
    }

    bool Play(int fd, const ServerStep& step) {
        switch (step.kind) {
        case ServerStep::Kind::Send:
            return SendAll(fd, step.bytes);
        case ServerStep::Kind::Drip:
            for (std::size_t i = 0; !step.bytes.empty(); i = (i + 1) % step.bytes.size()) {
                if (!SendAll(fd, std::string_view(step.bytes).substr(i, 1)) ||
                    !ClientStaysFor(fd, static_cast<int>(step.interval.count()))) {
                    return false;
                }
            }
            return true;
        case ServerStep::Kind::Stream:
            while (!step.bytes.empty() && PlayTimeLeft() && SendAll(fd, step.bytes)) {
            }
            return false;
        case ServerStep::Kind::Hold:
            while (ClientStaysFor(fd, 100)) {
            }
            return false;
        case ServerStep::Kind::Reset: {
            const linger abort{1, 0};
            ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
            return false;
        }
        }
        return false;
    }

    int listenFd_ = -1;
    int wakePipe_[2] = {-1, -1};
    std::uint16_t port_ = 0;
    std::atomic<bool> stopping_{false};
    std::chrono::steady_clock::time_point playDeadline_;
    mutable std::mutex mutex_;
    std::condition_variable done_;
    std::vector<ServerStep> script_;
    std::vector<std::string> requests_;
    std::size_t connectionsDone_ = 0;
    std::thread thread_;
};
