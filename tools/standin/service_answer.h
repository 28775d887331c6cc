#pragma once

#include <string>
#include <string_view>

#include "request_framing.h"
#include "reply_mode.h"

// What the stand-in does with one whole request.
struct ServiceAnswer {
    enum class Action { Send, Close, Stall };
    Action action = Action::Send;
    std::string bytes;  // the reply, for Send
};

// POST /lo.php?... is answered by mode (in Address mode a query with q=quit
// gets an empty body, any other the caller's address); GET /control?reply=MODE
// changes mode, whatever it is; anything else is 404.
ServiceAnswer AnswerRequest(const HttpRequest& request, ReplyMode& mode, const std::string& callerAddress);

// A whole reply: status line, headers, body; the connection closes after it.
std::string HttpReply(int status, std::string_view body);
