#pragma once

#include <chrono>
#include <csignal>
#include <exception>
#include <functional>
#include <string>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

// Runs body in a forked child (to change its user or its mount namespace
// without touching the test process) and returns the text it returned, or
// the what() of what it threw. A child that has not finished within 30 s is
// killed and "child timed out" comes back.
inline std::string RunInChild(const std::function<std::string()>& body) {
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        return "pipe failed";
    }
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        return "fork failed";
    }
    if (pid == 0) {
        ::close(pipeFds[0]);
        std::string out;
        try {
            out = body();
        } catch (const std::exception& e) {
            out = e.what();
        }
        const char* p = out.data();
        std::size_t left = out.size();
        while (left > 0) {
            const ssize_t n = ::write(pipeFds[1], p, left);
            if (n <= 0) {
                break;
            }
            p += n;
            left -= static_cast<std::size_t>(n);
        }
        ::_exit(0);
    }

    ::close(pipeFds[1]);
    std::string out;
    bool timedOut = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            timedOut = true;
            break;
        }
        pollfd pfd{pipeFds[0], POLLIN, 0};
        if (::poll(&pfd, 1, static_cast<int>(left.count())) <= 0) {
            continue;
        }
        char buffer[4096];
        const ssize_t n = ::read(pipeFds[0], buffer, sizeof buffer);
        if (n <= 0) {
            break;
        }
        out.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(pipeFds[0]);
    if (timedOut) {
        ::kill(pid, SIGKILL);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return timedOut ? "child timed out" : out;
}
