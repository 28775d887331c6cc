#pragma once

// Windows error codes of file operations, the numbering that EInOutError and
// its messages speak. Linux reports errno values; FileErrorCode maps them.
inline constexpr int kErrorFileNotFound = 2;        // ERROR_FILE_NOT_FOUND
inline constexpr int kErrorPathNotFound = 3;        // ERROR_PATH_NOT_FOUND
inline constexpr int kErrorTooManyOpenFiles = 4;    // ERROR_TOO_MANY_OPEN_FILES
inline constexpr int kErrorAccessDenied = 5;        // ERROR_ACCESS_DENIED
inline constexpr int kErrorGenFailure = 31;         // ERROR_GEN_FAILURE
inline constexpr int kErrorSharingViolation = 32;   // ERROR_SHARING_VIOLATION
inline constexpr int kErrorDiskFull = 112;          // ERROR_DISK_FULL
inline constexpr int kErrorFilenameTooLong = 206;   // ERROR_FILENAME_EXCED_RANGE

// errno of a failed file call -> Windows code:
//   ENOENT                          2
//   ENOTDIR                         3
//   EMFILE, ENFILE                  4
//   EACCES, EPERM, EROFS, EISDIR    5
//   EWOULDBLOCK (flock conflict)    32
//   ENOSPC, EDQUOT                  112
//   ENAMETOOLONG                    206
//   anything else                   31
int FileErrorCode(int errnoValue) noexcept;
