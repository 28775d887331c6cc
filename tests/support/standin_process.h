#pragma once

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include "link/http_limits.h"

extern char** environ;

// The stand-in service (tools/tarnwick-standin) run as a child process on a
// free loopback port, for tests that need a real service to talk to. Every
// wait is bounded; the child is killed and reaped at the latest by the
// destructor.
class StandinProcess {
public:
    // Starts `program --port 0 --max-seconds 120 [args...]` and reads the
    // port from its first line. Throws std::runtime_error when it does not start.
    explicit StandinProcess(const std::string& program, const std::vector<std::string>& args = {}) {
        int out[2];
        if (::pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
        std::vector<std::string> argv{program, "--port", "0", "--max-seconds", "120"};
        argv.insert(argv.end(), args.begin(), args.end());
        std::vector<char*> raw;
        for (std::string& arg : argv) raw.push_back(arg.data());
        raw.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        const int spawned = ::posix_spawn(&pid_, program.c_str(), &actions, nullptr, raw.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        if (spawned != 0) {
            ::close(out[0]);
            pid_ = -1;
            throw std::runtime_error("cannot start " + program);
        }
        const std::string line = ReadLine(out[0], std::chrono::seconds(10));
        ::close(out[0]);
        unsigned port = 0;
        for (const char c : line) {
            if (c < '0' || c > '9' || port > 65535) {
                port = 0;
                break;
            }
            port = port * 10 + static_cast<unsigned>(c - '0');
        }
        if (port == 0 || port > 65535) {
            ::kill(pid_, SIGKILL);
            WaitForExit(std::chrono::seconds(10));
            throw std::runtime_error("the stand-in told no port: " + line);
        }
        port_ = static_cast<std::uint16_t>(port);
    }
    StandinProcess(const StandinProcess&) = delete;
    StandinProcess& operator=(const StandinProcess&) = delete;
    ~StandinProcess() {
        if (pid_ > 0 && !WaitForExit(std::chrono::milliseconds(0))) {
            ::kill(pid_, SIGKILL);
            WaitForExit(std::chrono::seconds(10));
        }
    }

    // Limits for the client's HTTP exchanges with the stand-in: short, so that
    // a stalled reply fails within `idle` and a failing test never waits for
    // the program's own limits.
    static HttpLimits ClientLimits(std::chrono::milliseconds idle, std::chrono::milliseconds total) {
        HttpLimits limits;
        limits.connectTimeout = std::chrono::milliseconds(2000);
        limits.idleTimeout = idle;
        limits.totalTimeout = total;
        limits.failingBodyWait = std::chrono::milliseconds(300);
        return limits;
    }

    std::uint16_t Port() const { return port_; }
    std::string Host() const { return "127.0.0.1:" + std::to_string(port_); }
    pid_t Pid() const { return pid_; }

    // Sends a signal and waits for the exit; its status as waitpid gives it,
    // or nullopt when the child is still running at the deadline.
    std::optional<int> Signal(int signal, std::chrono::milliseconds limit = std::chrono::seconds(10)) {
        ::kill(pid_, signal);
        return WaitForExit(limit) ? std::optional<int>(status_) : std::nullopt;
    }

    // Waits for the child to end on its own; true when it has.
    bool WaitForExit(std::chrono::milliseconds limit) {
        if (exited_) return true;
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (true) {
            const pid_t done = ::waitpid(pid_, &status_, WNOHANG);
            if (done == pid_) return exited_ = true;
            if (done < 0 && errno != EINTR) return exited_ = true;
            if (std::chrono::steady_clock::now() >= deadline) return false;
            ::usleep(5000);  // polling the child's end, up to the deadline
        }
    }
    int ExitStatus() const { return status_; }

    // One raw request to the stand-in; the whole reply as received (empty when
    // the connection cannot be made or nothing comes within the limit).
    std::string Exchange(const std::string& request, std::chrono::milliseconds limit = std::chrono::seconds(5)) const {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return {};
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port_);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        std::string reply;
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
            ::send(fd, request.data(), request.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(request.size())) {
            reply = ReadAll(fd, limit);
        }
        ::close(fd);
        return reply;
    }

    // Changes how /lo.php is answered; true when the stand-in took the mode.
    bool SetReply(const std::string& mode) const {
        return Exchange("GET /control?reply=" + mode + " HTTP/1.0\r\n\r\n").starts_with("HTTP/1.1 200 ");
    }

    // The lines of a log file written with --log.
    static std::vector<std::string> LogLines(const std::string& path) {
        std::vector<std::string> lines;
        std::ifstream in(path, std::ios::binary);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

private:
    // Whether fd has data (or its end) before the deadline.
    static bool WaitReadable(int fd, std::chrono::steady_clock::time_point deadline) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd in{fd, POLLIN, 0};
        return left.count() > 0 && ::poll(&in, 1, static_cast<int>(left.count())) > 0;
    }

    static std::string ReadLine(int fd, std::chrono::milliseconds limit) {
        std::string line;
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (line.size() < 64) {
            if (!WaitReadable(fd, deadline)) break;
            char c = 0;
            if (::read(fd, &c, 1) != 1 || c == '\n') break;
            line += c;
        }
        return line;
    }

    static std::string ReadAll(int fd, std::chrono::milliseconds limit) {
        std::string bytes;
        const auto deadline = std::chrono::steady_clock::now() + limit;
        char buffer[4096];
        while (bytes.size() < (1u << 20)) {
            if (!WaitReadable(fd, deadline)) break;
            const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0) break;
            bytes.append(buffer, static_cast<std::size_t>(n));
        }
        return bytes;
    }

    pid_t pid_ = -1;
    std::uint16_t port_ = 0;
    int status_ = 0;
    bool exited_ = false;
};
