#pragma once

#include <functional>
#include <memory>
#include <string>

// One HTTP client: a form POST of body to url, returning the reply body as
// received, or throwing EHttpError. A new one is made for every request.
class HttpTransport {
public:
    virtual ~HttpTransport() = default;
    virtual std::string PostForm(const std::string& url, const std::string& body) = 0;
};

using HttpTransportFactory = std::function<std::unique_ptr<HttpTransport>()>;
