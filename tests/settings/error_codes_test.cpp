#include <cerrno>

#include <gtest/gtest.h>

#include "platform/file_error_codes.h"
#include "settings/EInOutError.h"

namespace {

struct MessageRow {
    int code;
    const char* message;
};

class EInOutErrorMessage : public testing::TestWithParam<MessageRow> {};

TEST_P(EInOutErrorMessage, IsChosenByTheCode) {
    const EInOutError error(GetParam().code);
    EXPECT_STREQ(error.what(), GetParam().message);
    EXPECT_EQ(error.code(), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(Codes, EInOutErrorMessage,
                         testing::Values(MessageRow{2, "File not found"}, MessageRow{3, "Invalid filename"},
                                         MessageRow{4, "Too many open files"}, MessageRow{5, "File access denied"},
                                         MessageRow{100, "Read beyond end of file"}, MessageRow{101, "Disk full"},
                                         MessageRow{106, "Invalid numeric input"}, MessageRow{32, "I/O error 32"},
                                         MessageRow{112, "I/O error 112"}, MessageRow{0, "I/O error 0"},
                                         MessageRow{1, "I/O error 1"}, MessageRow{-7, "I/O error -7"},
                                         MessageRow{206, "I/O error 206"}));

struct ErrnoRow {
    int errnoValue;
    int code;
};

class FileErrorCodeOf : public testing::TestWithParam<ErrnoRow> {};

TEST_P(FileErrorCodeOf, Errno) { EXPECT_EQ(FileErrorCode(GetParam().errnoValue), GetParam().code); }

INSTANTIATE_TEST_SUITE_P(Table, FileErrorCodeOf,
                         testing::Values(ErrnoRow{ENOENT, 2}, ErrnoRow{ENOTDIR, 3}, ErrnoRow{EMFILE, 4},
                                         ErrnoRow{ENFILE, 4}, ErrnoRow{EACCES, 5}, ErrnoRow{EPERM, 5},
                                         ErrnoRow{EROFS, 5}, ErrnoRow{EISDIR, 5}, ErrnoRow{EWOULDBLOCK, 32},
                                         ErrnoRow{ENOSPC, 112}, ErrnoRow{EDQUOT, 112}, ErrnoRow{ENAMETOOLONG, 206},
                                         ErrnoRow{EIO, 31}, ErrnoRow{ELOOP, 31}, ErrnoRow{0, 31}));

}  // namespace
