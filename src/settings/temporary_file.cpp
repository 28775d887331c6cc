#include "settings/temporary_file.h"

#include <cerrno>
#include <cstdlib>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "settings/file_failure.h"

TemporaryFile::TemporaryFile(const std::string& target) : path_(target + ".XXXXXX") {
    std::vector<char> name(path_.begin(), path_.end());
    name.push_back('\0');
    fd_ = UniqueFd(::mkostemp(name.data(), O_CLOEXEC));
    if (!fd_.valid()) {
        ThrowFileFailure(errno);
    }
    path_.assign(name.data());
}

TemporaryFile::~TemporaryFile() {
    if (!moved_) {
        ::unlink(path_.c_str());
    }
}

void TemporaryFile::CloseAndMoveOver(const std::string& target, FileCalls& calls) {
    // Linux releases the descriptor even when close fails; EINTR loses nothing
    // here because the data has been flushed already.
    if (calls.Close(fd_.Release()) != 0 && errno != EINTR) {
        ThrowFileFailure(errno);
    }
    if (calls.Rename(path_.c_str(), target.c_str()) != 0) {
        ThrowFileFailure(errno);
    }
    moved_ = true;
}
