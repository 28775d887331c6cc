#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "link/http_error.h"
#include "link/http_transport.h"

// Scripts what the transports made by Factory() answer, in order, and records
// every post and how many transports were made and are still alive. It must
// outlive everything that holds its factory.
class FakeTransportScript {
public:
    // What a request with nothing scripted for it does.
    enum class Unscripted {
        FailsTest,     // a gtest failure, and the request throws std::logic_error
        FailsRequest,  // the request fails with EHttpError("unscripted request"): where no gtest test
                       // runs (Qt Test), the window's error box shows it, so the test sees it
    };

    struct Post {
        std::string url;
        std::string body;
    };

    explicit FakeTransportScript(Unscripted unscripted = Unscripted::FailsTest) : unscripted_(unscripted) {}

    // The next request gets this reply body.
    void Reply(std::string body) { answers_.push_back({false, std::move(body)}); }
    // The next request fails with EHttpError carrying this message.
    void Fail(std::string message) { answers_.push_back({true, std::move(message)}); }

    // Runs at request time, before the answer is given (e.g. to look at the
    // settings file as it stands when the request goes out).
    std::function<void(const std::string& url)> onPost;

    HttpTransportFactory Factory() {
        return [this]() -> std::unique_ptr<HttpTransport> { return std::make_unique<Transport>(*this); };
    }

    const std::vector<Post>& Posts() const { return posts_; }
    int Made() const { return made_; }
    int Alive() const { return made_ - destroyed_; }
    std::size_t Unanswered() const { return answers_.size(); }

private:
    struct Answer {
        bool fails;
        std::string text;
    };

    class Transport final : public HttpTransport {
    public:
        explicit Transport(FakeTransportScript& script) : script_(script) { ++script_.made_; }
        ~Transport() override { ++script_.destroyed_; }
        Transport(const Transport&) = delete;
        Transport& operator=(const Transport&) = delete;

        std::string PostForm(const std::string& url, const std::string& body) override {
            // A transport serves one request; the next one needs a new transport.
            if (used_) ADD_FAILURE() << "a transport was used for a second request";
            used_ = true;
            return script_.Respond(url, body);
        }

    private:
        FakeTransportScript& script_;
        bool used_ = false;
    };

    std::string Respond(const std::string& url, const std::string& body) {
        posts_.push_back({url, body});
        if (onPost) onPost(url);
        if (answers_.empty()) {
            if (unscripted_ == Unscripted::FailsRequest) throw EHttpError("unscripted request");
            ADD_FAILURE() << "unscripted request: " << url;
            throw std::logic_error("unscripted request");
        }
        Answer answer = std::move(answers_.front());
        answers_.pop_front();
        if (answer.fails) throw EHttpError(answer.text);
        return answer.text;
    }

    Unscripted unscripted_;
    std::deque<Answer> answers_;
    std::vector<Post> posts_;
    int made_ = 0;
    int destroyed_ = 0;
};
