#pragma once

#include <string>
#include <vector>

// Replies in, outcome out: "reply:" + ReplyText, or "error:" + the message.
// Run both over a real socket and over bytes in memory.
struct ReplyCase {
    enum class Ending { Close, Stall, Reset };  // what the server does after the bytes

    std::string name;
    std::string reply;
    Ending ending;
    std::string outcome;
};

inline std::vector<ReplyCase> ReplyCases() {
    using E = ReplyCase::Ending;
    const std::string longLine(20000, 'x');
    const std::string line16384(16384 - 3, 'v');  // "X: " + value is exactly the limit
    return {
        // Bodies of successful replies.
        {"BodyEndingInCrLf", "HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\n1.2.3.4\r\n", E::Close, "reply:1.2.3.4\r\n"},
        {"NoContent204", "HTTP/1.1 204 No Content\r\nContent-Length: 5\r\n\r\nnever", E::Close, "reply:"},
        {"ContentLengthZero", "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\nnever", E::Close, "reply:"},
        {"NoContentLengthReadsToClose", "HTTP/1.0 200 OK\r\nServer: x\r\n\r\n1.2.3.4\r\nmore", E::Close,
         "reply:1.2.3.4\r\nmore"},
        {"InvalidContentLengthReadsToClose", "HTTP/1.1 200 OK\r\nContent-Length: -5\r\n\r\nabc", E::Close,
         "reply:abc"},
        {"SignedContentLength", "HTTP/1.1 200 OK\r\nContent-Length: +3\r\n\r\nabcdef", E::Close, "reply:abc"},
        {"MinusZeroContentLengthIsNoBody", "HTTP/1.1 200 OK\r\nContent-Length: -0\r\n\r\nnever", E::Close,
         "reply:"},
        {"ContentLengthCutsLongerBody", "HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nabcdef", E::Close,
         "reply:abc"},
        {"EarlyCloseKeepsWhatCame", "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nabc", E::Close, "reply:abc"},
        {"HeaderNameAnyCaseValueTrimmed", "HTTP/1.1 200 OK\r\ncontent-LENGTH: \t 3 \t\r\n\r\nabcdef", E::Close,
         "reply:abc"},
        {"LineFeedOnlyLineEnds", "HTTP/1.1 200 OK\nContent-Length: 2\n\nok", E::Close, "reply:ok"},
        {"BodyBytesUntouched", std::string("HTTP/1.1 200 OK\r\nContent-Length: 6\r\n\r\n\x00\xff\r\n \n", 44),
         E::Close, std::string("reply:\x00\xff\r\n \n", 12)},
        {"Chunked", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n4\r\n1.2.\r\n5 ext\r\n3.4\r\n\r\n0\r\n\r\n",
         E::Close, "reply:1.2.3.4\r\n"},
        {"ChunkedAnyCaseHexSizes", "HTTP/1.1 200 OK\r\nTransfer-Encoding: Chunked\r\n\r\nA\r\n0123456789\r\n0\r\n\r\n",
         E::Close, "reply:0123456789"},
        {"ChunkSizeUnreadableEndsBody", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabc\r\nzz\r\nxyz",
         E::Close, "reply:abc"},
        {"ChunkedTrailerLineMayNeverCome", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n0\r\n",
         E::Close, "reply:abc"},
        {"ChunkedTrailerLineIsAwaited", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n0\r\n",
         E::Stall, "error:Read Timeout"},
        {"TransferEncodingNotChunked", "HTTP/1.1 200 OK\r\nTransfer-Encoding: identity\r\n\r\n3\r\nabc", E::Close,
         "reply:3\r\nabc"},
        {"ChunkedWinsOverZeroLength",
         "HTTP/1.1 200 OK\r\nContent-Length: 0\r\nTransfer-Encoding: chunked\r\n\r\n2\r\nok\r\n0\r\n\r\n", E::Close,
         "reply:ok"},
        {"PositiveLengthWinsOverChunked",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nContent-Length: 4\r\n\r\n2\r\nok\r\n0\r\n\r\n", E::Close,
         "reply:2\r\no"},
        {"ContinueThenOk", "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 100 Continue\r\nX: y\r\n\r\nHTTP/1.1 200 OK\r\n"
                           "Content-Length: 2\r\n\r\nok",
         E::Close, "reply:ok"},
        {"EmptyLocationIsNoRedirect", "HTTP/1.1 200 OK\r\nLocation:  \r\nContent-Length: 2\r\n\r\nok", E::Close,
         "reply:ok"},
        {"HeadLineAtTheLimit", "HTTP/1.1 200 OK\r\nX: " + line16384 + "\r\nContent-Length: 2\r\n\r\nok", E::Close,
         "reply:ok"},

        // Failing statuses: the status line as received.
        {"NotFound", "HTTP/1.1 404 Not Found\r\nContent-Length: 5\r\n\r\nnope.", E::Close,
         "error:HTTP/1.1 404 Not Found"},
        {"NotFoundBodyToClose", "HTTP/1.1 404 Not Found\r\n\r\nsome page", E::Close, "error:HTTP/1.1 404 Not Found"},
        {"FoundWithLocation", "HTTP/1.1 302 Found\r\nLocation: http://elsewhere/\r\nContent-Length: 0\r\n\r\n",
         E::Close, "error:HTTP/1.1 302 Found"},
        {"RedirectStatusWithoutLocation", "HTTP/1.1 307 Temporary Redirect\r\n\r\n", E::Close,
         "error:HTTP/1.1 307 Temporary Redirect"},
        {"NotModified", "HTTP/1.1 304 Not Modified\r\n\r\n", E::Close, "error:HTTP/1.1 304 Not Modified"},
        {"OkWithLocation", "HTTP/1.1 200 OK\r\nLOCATION: /other\r\nContent-Length: 2\r\n\r\nok", E::Close,
         "error:HTTP/1.1 200 OK"},
        {"GarbageStatusLine", "garbage\r\n\r\n", E::Close, "error:garbage"},
        {"StatusNotANumber", "HTTP/1.1 2OO OK\r\nContent-Length: 2\r\n\r\nok", E::Close, "error:HTTP/1.1 2OO OK"},
        {"FailingBodyStalls", "HTTP/1.1 500 Internal Server Error\r\nContent-Length: 50\r\n\r\npartial", E::Stall,
         "error:Read Timeout"},
        {"FailingChunkedBodyCut", "HTTP/1.1 404 Not Found\r\nTransfer-Encoding: chunked\r\n\r\n10\r\nabc", E::Close,
         "error:Connection Closed Gracefully."},

        // The connection ends too soon.
        {"CloseBeforeAnything", "", E::Close, "error:Connection Closed Gracefully."},
        {"CloseInStatusLine", "HTTP/1.1 200", E::Close, "error:Connection Closed Gracefully."},
        {"CloseInHeadOfOk", "HTTP/1.1 200 OK\r\nContent-Len", E::Close, "error:Undefined situation"},
        {"CloseAfterHeaderOfOk", "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n", E::Close, "error:Undefined situation"},
        {"CloseInHeadOfNotFound", "HTTP/1.1 404 Not Found\r\nContent-Len", E::Close, "error:HTTP/1.1 404 Not Found"},
        {"CloseInHeadOfContinue", "HTTP/1.1 100 Continue\r\nX: y\r\n", E::Close, "error:Connection Closed Gracefully."},
        {"CloseInChunkData", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n10\r\nabc", E::Close,
         "error:Connection Closed Gracefully."},
        {"CloseBeforeChunkLineEnd", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabc", E::Close,
         "error:Connection Closed Gracefully."},
        {"CloseBeforeNextChunkSize", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n", E::Close,
         "error:Connection Closed Gracefully."},

        // Lines over the limit.
        {"LongStatusLine", "HTTP/1.1 200 " + longLine + "\r\n\r\n", E::Close, "error:Max line length exceeded."},
        {"LongHeadLine", "HTTP/1.1 200 OK\r\nX: " + longLine + "\r\n\r\n", E::Close,
         "error:Max line length exceeded."},
        {"HeadLineOneOverTheLimit", "HTTP/1.1 200 OK\r\nX: " + line16384 + "v\r\nContent-Length: 2\r\n\r\nok",
         E::Close, "error:Max line length exceeded."},
        {"LineOverTheLimitFailsBeforeItsEnd", "HTTP/1.1 200 OK\r\nX: " + line16384 + "vv", E::Stall,
         "error:Max line length exceeded."},
        {"LongChunkSizeLine", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3 " + longLine + "\r\nabc\r\n",
         E::Close, "error:Max line length exceeded."},

        // The connection breaks.
        {"ResetInBody", "HTTP/1.1 200 OK\r\n\r\npartial", E::Reset,
         "error:Socket Error # 10054\r\nConnection reset by peer."},
        {"ResetBeforeAnything", "", E::Reset, "error:Socket Error # 10054\r\nConnection reset by peer."},

        // No data for too long.
        {"SilentAfterHead", "HTTP/1.1 200 OK\r\n\r\n", E::Stall, "error:Read Timeout"},
    };
}
