#include "settings/settings_writer.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "settings/file_failure.h"
#include "settings/file_lock.h"
#include "settings/temporary_file.h"
#include "settings/unique_fd.h"

namespace {

std::string FileContent(const std::array<std::string_view, 5>& values) {
    std::string content;
    std::size_t size = 0;
    for (std::string_view value : values) {
        size += value.size() + 2;
    }
    content.reserve(size);
    for (std::string_view value : values) {
        content.append(value);
        content.append("\r\n");
    }
    return content;
}

void WriteAll(int fd, std::string_view bytes, FileCalls& calls) {
    while (!bytes.empty()) {
        const ssize_t written = calls.Write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            ThrowFileFailure(errno);
        }
        if (written == 0) {
            ThrowFileFailure(EIO);  // no progress and no reason: give up rather than spin
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

void Flush(int fd, FileCalls& calls) {
    int result = 0;
    do {
        result = calls.Fsync(fd);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        ThrowFileFailure(errno);
    }
}

}  // namespace

void WriteSettingsFile(const std::string& path, const std::array<std::string_view, 5>& values, FileCalls& calls) {
    // rename() would replace even a read-only file, so first open the old file
    // for writing (not truncated): that is the permission check, and the
    // descriptor that holds the exclusive lock until the new file is in place.
    UniqueFd old(::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    struct stat oldStat {};
    if (old.valid()) {
        LockOrThrow(old.get(), LOCK_EX);
        if (::fstat(old.get(), &oldStat) != 0) {
            ThrowFileFailure(errno);
        }
    } else if (errno != ENOENT) {
        ThrowFileFailure(errno);
    }

    TemporaryFile temp(path);
    if (old.valid()) {
        if (oldStat.st_uid != ::geteuid() || oldStat.st_gid != ::getegid()) {
            if (::fchown(temp.fd(), oldStat.st_uid, oldStat.st_gid) != 0) {
                // Only a privileged writer may give the file back to its owner;
                // otherwise it becomes the writer's, as any new file would.
            }
        }
        if (::fchmod(temp.fd(), oldStat.st_mode & 07777) != 0) {
            ThrowFileFailure(errno);
        }
    } else if (::fchmod(temp.fd(), 0600) != 0) {
        ThrowFileFailure(errno);
    }

    WriteAll(temp.fd(), FileContent(values), calls);
    Flush(temp.fd(), calls);
    temp.CloseAndMoveOver(path, calls);
}
