#pragma once

#include <deque>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "link/http_error.h"
#include "link/http_transport.h"

// Transports for the window tests: each request gets the next scripted
// answer (a reply body, or an EHttpError) and its URL is kept. A request
// with nothing scripted fails with "unscripted request", which the error box
// then shows, so a test sees it.
class ScriptedTransport {
public:
    void Reply(std::string body) { answers_.push_back({false, std::move(body)}); }
    void Fail(std::string message) { answers_.push_back({true, std::move(message)}); }

    HttpTransportFactory Factory() {
        return [this] { return std::unique_ptr<HttpTransport>(new Transport(*this)); };
    }

    std::vector<std::string> urls;

private:
    struct Answer {
        bool fails;
        std::string text;
    };

    class Transport final : public HttpTransport {
    public:
        explicit Transport(ScriptedTransport& script) : script_(script) {}
        std::string PostForm(const std::string& url, const std::string& /*body*/) override {
            return script_.Respond(url);
        }

    private:
        ScriptedTransport& script_;
    };

    std::string Respond(const std::string& url) {
        urls.push_back(url);
        if (answers_.empty()) throw EHttpError("unscripted request");
        auto [fails, text] = std::move(answers_.front());
        answers_.pop_front();
        if (fails) throw EHttpError(text);
        return text;
    }

    std::deque<Answer> answers_;
};
