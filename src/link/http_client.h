#pragma once

#include <string>

#include "link/http_limits.h"
#include "link/http_transport.h"

// The HTTP client of the login requests: one new TCP connection per POST,
// closed when the exchange is over; no proxy, no cookies sent, redirects not
// followed. Failures are EHttpError with the user's message.
class HttpClient final : public HttpTransport {
public:
    explicit HttpClient(HttpLimits limits = {});

    std::string PostForm(const std::string& url, const std::string& body) override;

private:
    HttpLimits limits_;
};
