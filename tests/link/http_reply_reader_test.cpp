#include "link/http_reply_reader.h"

#include <chrono>
#include <string>

#include <gtest/gtest.h>

#include "http_outcome.h"
#include "http_reply_cases.h"
#include "link/http_exchange.h"
#include "link/http_url.h"
#include "memory_byte_stream.h"

namespace {

IoDeadline FarDeadline() {
    return std::chrono::steady_clock::now() + std::chrono::hours(1);
}

std::string ReadFrom(MemoryByteStream& stream, const HttpLimits& limits = {}) {
    return HttpOutcome([&] { return HttpReplyReader(stream, limits, FarDeadline()).ReadReply(); });
}

// The table of replies again, delivered one byte at a time and all at once,
// so that every line end and length can fall on a read boundary.
class ReplyReaderCases : public testing::TestWithParam<std::tuple<ReplyCase, std::size_t>> {};

TEST_P(ReplyReaderCases, GivesTheReplyTextOrTheMessage) {
    const auto& [c, pieceSize] = GetParam();
    MemoryByteStream stream(c.reply, pieceSize);
    if (c.ending == ReplyCase::Ending::Stall) {
        stream.EndWith(IoStatus::TimedOut);
    } else if (c.ending == ReplyCase::Ending::Reset) {
        stream.EndWith(IoStatus::Failed, 10054);
    }
    EXPECT_EQ(ReadFrom(stream), c.outcome);
}

INSTANTIATE_TEST_SUITE_P(Replies, ReplyReaderCases,
                         testing::Combine(testing::ValuesIn(ReplyCases()), testing::Values(1, 65536)),
                         [](const auto& row) {
                             return std::get<0>(row.param).name + "_Pieces" +
                                    std::to_string(std::get<1>(row.param));
                         });

struct CapCase {
    std::string name;
    std::string head;
    std::size_t bodySize;
    std::string outcomePrefix;
};

// The reply cap counts body bytes however the body is framed; exactly the cap is still fine.
class ReplySizeCap : public testing::TestWithParam<CapCase> {};

TEST_P(ReplySizeCap, BodyOverTheCapFails) {
    HttpLimits limits;
    limits.maxReplySize = 1000;
    const CapCase& c = GetParam();
    MemoryByteStream stream(c.head + std::string(c.bodySize, 'b'));
    const std::string outcome = ReadFrom(stream, limits);
    EXPECT_EQ(outcome.substr(0, c.outcomePrefix.size()), c.outcomePrefix);
    if (c.outcomePrefix == "reply:") {
        EXPECT_EQ(outcome.size(), 6 + c.bodySize);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Framings, ReplySizeCap,
    testing::Values(CapCase{"ToCloseAtCap", "HTTP/1.1 200 OK\r\n\r\n", 1000, "reply:"},
                    CapCase{"ToCloseOverCap", "HTTP/1.1 200 OK\r\n\r\n", 1001, "error:Max reply size exceeded."},
                    CapCase{"HugeLengthEarlyCloseUnderCap", "HTTP/1.1 200 OK\r\nContent-Length: 10000000000\r\n\r\n",
                            999, "reply:"},
                    CapCase{"HugeLengthOverCap", "HTTP/1.1 200 OK\r\nContent-Length: 10000000000\r\n\r\n", 1001,
                            "error:Max reply size exceeded."},
                    CapCase{"FailingBodyOverCap", "HTTP/1.1 404 Not Found\r\n\r\n", 1001,
                            "error:Max reply size exceeded."},
                    CapCase{"ChunkOverCap", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3e9\r\n", 1001,
                            "error:Max reply size exceeded."}),
    [](const auto& row) { return row.param.name; });

TEST(HttpReplyReader, EndlessHeadLinesHitTheCap) {
    HttpLimits limits;
    limits.maxReplySize = 1000;
    std::string reply = "HTTP/1.1 200 OK\r\n";
    for (int i = 0; i < 200; ++i) {
        reply += "X: y\r\n";
    }
    MemoryByteStream stream(reply);
    EXPECT_EQ(ReadFrom(stream, limits), "error:Max reply size exceeded.");
}

TEST(RunHttpExchange, SendsHeadAndBodyAsTwoWrites) {
    MemoryByteStream stream("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok");
    const std::string reply =
        RunHttpExchange(stream, ParseHttpUrl("http://h/lo.php?user=u"), "name=Form1", HttpLimits{}, FarDeadline());
    EXPECT_EQ(reply, "ok");
    ASSERT_EQ(stream.Writes().size(), 2u);
    EXPECT_EQ(stream.Writes()[0].substr(0, 34), "POST /lo.php?user=u HTTP/1.0\r\nConn");
    EXPECT_EQ(stream.Writes()[0].substr(stream.Writes()[0].size() - 4), "\r\n\r\n");
    EXPECT_EQ(stream.Writes()[1], "name=Form1");
}

TEST(ParseStatusCode, IsTheSecondBlankSeparatedWordInDecimal) {
    EXPECT_EQ(ParseStatusCode("HTTP/1.1 200 OK"), 200);
    EXPECT_EQ(ParseStatusCode("HTTP/1.1 404"), 404);
    EXPECT_EQ(ParseStatusCode("HTTP/1.1 +200 OK"), 200);
    EXPECT_EQ(ParseStatusCode("HTTP/1.1  200 OK"), -1);
    EXPECT_EQ(ParseStatusCode("HTTP/1.1 99999999999 OK"), -1);
    EXPECT_EQ(ParseStatusCode("garbage"), -1);
    EXPECT_EQ(ParseStatusCode(""), -1);
}

}  // namespace
