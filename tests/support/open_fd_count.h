#pragma once

#include <cstddef>
#include <filesystem>

// How many file descriptors the process holds open: taken before and after
// an operation, it shows a descriptor left open on some path.
inline std::size_t OpenFdCount() {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        ++count;
    }
    return count;
}
