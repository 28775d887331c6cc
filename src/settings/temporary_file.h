#pragma once

#include <string>

#include "settings/file_calls.h"
#include "settings/unique_fd.h"

// A new, empty file of mode 0600 beside target (same directory, so that a
// rename can put it in target's place). It is removed again unless it has
// been moved into place.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& target);  // raises EInOutError
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile();

    int fd() const noexcept { return fd_.get(); }

    // Once the content is written and flushed: closes the file, then renames
    // it over target. Raises EInOutError.
    void CloseAndMoveOver(const std::string& target, FileCalls& calls);

private:
    std::string path_;
    UniqueFd fd_;
    bool moved_ = false;
};
