#include "platform/file_error_codes.h"

#include <cerrno>

int FileErrorCode(int errnoValue) noexcept {
    switch (errnoValue) {
    case ENOENT:
        return kErrorFileNotFound;
    case ENOTDIR:
        return kErrorPathNotFound;
    case EMFILE:
    case ENFILE:
        return kErrorTooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return kErrorAccessDenied;
    case EWOULDBLOCK:  // a non-blocking flock met a conflicting lock
        return kErrorSharingViolation;
    case ENOSPC:
    case EDQUOT:
        return kErrorDiskFull;
    case ENAMETOOLONG:
        return kErrorFilenameTooLong;
    default:
        return kErrorGenFailure;
    }
}
