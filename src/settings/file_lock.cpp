#include "settings/file_lock.h"

#include <cerrno>

#include <sys/file.h>

#include "settings/file_failure.h"

void LockOrThrow(int fd, int lockOperation) {
    int result = 0;
    do {
        result = ::flock(fd, lockOperation | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        ThrowFileFailure(errno);
    }
}
