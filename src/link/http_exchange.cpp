#include "link/http_exchange.h"

#include "link/http_error.h"
#include "link/http_reply_reader.h"
#include "link/http_request.h"
#include "platform/socket_errors.h"

namespace {

void SendAll(ByteStream& stream, std::string_view bytes, IoDeadline deadline) {
    const IoResult result = stream.Send(bytes, deadline);
    switch (result.status) {
    case IoStatus::Done:
        return;
    case IoStatus::TimedOut:
        throw EHttpError("Read Timeout");  // the exchange ran out of time while the peer did not read
    case IoStatus::Closed:
        throw EHttpError("Connection Closed Gracefully.");
    case IoStatus::Failed:
        break;
    }
    throw EHttpError(SocketErrorMessage(result.socketError));
}

}  // namespace

std::string RunHttpExchange(ByteStream& stream, const HttpUrl& url, std::string_view body, const HttpLimits& limits,
                            IoDeadline exchangeDeadline) {
    SendAll(stream, ComposeRequestHead(url, body.size()), exchangeDeadline);
    SendAll(stream, body, exchangeDeadline);
    HttpReplyReader reader(stream, limits, exchangeDeadline);
    return reader.ReadReply();
}
