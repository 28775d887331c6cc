#include "platform/socket_errors.h"

#include <cerrno>
#include <string>

#include <netdb.h>

#include <gtest/gtest.h>

namespace {

struct MappingCase {
    int code;
    bool fromLookup;
    std::string message;
};

// The errors a login meets in practice, a text with its odd trailing blank,
// one without a full stop, and numbers that have no text.
class SocketErrorMessages : public testing::TestWithParam<MappingCase> {};

TEST_P(SocketErrorMessages, MapTheCodeToItsNumberAndText) {
    const MappingCase& c = GetParam();
    const int number = c.fromLookup ? SocketErrorFromLookup(c.code, 0) : SocketErrorFromErrno(c.code);
    EXPECT_EQ(SocketErrorMessage(number), c.message);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, SocketErrorMessages,
    testing::Values(MappingCase{ECONNREFUSED, false, "Socket Error # 10061\r\nConnection refused."},
                    MappingCase{ETIMEDOUT, false, "Socket Error # 10060\r\nConnection timed out."},
                    MappingCase{EHOSTUNREACH, false, "Socket Error # 10065\r\nNo route to host."},
                    MappingCase{ENETUNREACH, false, "Socket Error # 10051\r\nNetwork is unreachable."},
                    MappingCase{ECONNRESET, false, "Socket Error # 10054\r\nConnection reset by peer."},
                    MappingCase{EPIPE, false, "Socket Error # 10054\r\nConnection reset by peer."},
                    MappingCase{EWOULDBLOCK, false, "Socket Error # 10035\r\nOperation would block. "},
                    MappingCase{ENOTEMPTY, false, "Socket Error # 10066\r\nDirectory not empty"},
                    MappingCase{EIO, false, "Socket Error # 10107\r\n"},
                    MappingCase{EAI_NONAME, true, "Socket Error # 11001\r\nHost not found."},
                    MappingCase{EAI_AGAIN, true, "Socket Error # 11002\r\n"},
                    MappingCase{EAI_NODATA, true, "Socket Error # 11004\r\n"}));

TEST(SocketErrorFromLookup, SystemFailureTakesTheErrno) {
    EXPECT_EQ(SocketErrorFromLookup(EAI_SYSTEM, ECONNREFUSED), 10061);
}

}  // namespace
