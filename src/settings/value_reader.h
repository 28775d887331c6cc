#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "settings/file_calls.h"

// Reads the settings file's values one line at a time through a fixed buffer,
// so that only as much of the file is read as the lines asked for.
//   - LF ends a line, and so does CR LF; the break is not part of the value.
//   - A CR not followed by LF is dropped and the value goes on.
//   - The end of the file ends a value; past it every value is empty.
//   - A 0x1A byte ends its value, and the rest of the file counts as absent
//     (the old end-of-file mark of text files): later values are empty.
// A failed read raises EInOutError.
class ValueReader {
public:
    // Reads at most size bytes of fd: the file as it stood when opened, so a
    // file that grows under the reader cannot keep it reading.
    ValueReader(int fd, std::uint64_t size, FileCalls& calls);

    // The next value, its line break skipped.
    std::string Next();

private:
    bool Fill();  // false at the end of the file

    int fd_;
    std::uint64_t unread_;
    FileCalls& calls_;
    bool ended_ = false;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    std::array<char, 16384> buffer_{};
};
