#pragma once

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>
#include <thread>

#include <unistd.h>

// Counts the zombies whose parent is this process, from /proc/*/stat, without
// reaping any (waiting would hide the very fault looked for).
inline int ZombieChildCount()
{
    const pid_t self = getpid();
    int count = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        if (!std::getline(stat, line)) {
            continue; // gone meanwhile
        }
        // The command name in parentheses may hold blanks; the fields after it do not.
        const auto close = line.rfind(')');
        if (close == std::string::npos) {
            continue;
        }
        std::istringstream fields(line.substr(close + 1));
        char state = 0;
        pid_t parent = 0;
        if (fields >> state >> parent && state == 'Z' && parent == self) {
            ++count;
        }
    }
    return count;
}

// A short grace for a launcher that reaps asynchronously; a lasting zombie fails.
inline int ZombieChildCountAfterGrace(std::chrono::milliseconds grace = std::chrono::seconds(2))
{
    const auto end = std::chrono::steady_clock::now() + grace;
    int count = ZombieChildCount();
    while (count != 0 && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        count = ZombieChildCount();
    }
    return count;
}
