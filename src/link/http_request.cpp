#include "link/http_request.h"

std::string ComposeRequestHead(const HttpUrl& url, std::size_t bodyLength) {
    std::string host = url.host;
    if (url.portNamed && url.port != 80) {
        host += ':' + std::to_string(url.port);
    }
    // HTTP/1.0 for every request, headers in this fixed order, nothing more.
    return "POST " + url.target + " HTTP/1.0\r\n"
           "Connection: keep-alive\r\n"
           "Content-Type: application/x-www-form-urlencoded\r\n"
           "Content-Length: " + std::to_string(bodyLength) + "\r\n"
           "Host: " + host + "\r\n"
           "Accept: text/html, */*\r\n"
           "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n"
           "\r\n";
}
