#include "link/http_client.h"

#include <chrono>

#include "link/http_error.h"
#include "link/http_exchange.h"
#include "link/http_url.h"
#include "platform/socket_errors.h"
#include "platform/tcp_connection.h"

HttpClient::HttpClient(HttpLimits limits) : limits_(limits) {}

std::string HttpClient::PostForm(const std::string& url, const std::string& body) {
    const IoDeadline exchangeDeadline = std::chrono::steady_clock::now() + limits_.totalTimeout;
    const HttpUrl parsed = ParseHttpUrl(url);
    TcpConnection connection;
    const TcpConnection::ConnectResult connected = connection.Connect(parsed.host, parsed.port, limits_.connectTimeout);
    switch (connected.status) {
    case TcpConnection::ConnectStatus::Connected:
        break;
    case TcpConnection::ConnectStatus::NoSocket:
        throw EHttpError("Cannot allocate socket.");
    case TcpConnection::ConnectStatus::Failed:
        throw EHttpError(SocketErrorMessage(connected.socketError));
    }
    return RunHttpExchange(connection, parsed, body, limits_, exchangeDeadline);
}
