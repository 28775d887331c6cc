#include "service_answer.h"

namespace {

std::string_view ReasonPhrase(int status) {
    switch (status) {
        case 200: return "OK";
        case 204: return "No Content";
        case 301: return "Moved Permanently";
        case 302: return "Found";
        case 303: return "See Other";
        case 304: return "Not Modified";
        case 307: return "Temporary Redirect";
        case 400: return "Bad Request";
        case 403: return "Forbidden";
        case 404: return "Not Found";
        case 413: return "Payload Too Large";
        case 431: return "Request Header Fields Too Large";
        case 500: return "Internal Server Error";
        case 502: return "Bad Gateway";
        case 503: return "Service Unavailable";
        default: return "Status";
    }
}

bool IsRedirect(int status) { return status >= 300 && status <= 399 && status != 304; }

// Whether one of the &-separated pairs of the query is exactly "q=quit".
bool AsksToQuit(std::string_view query) {
    while (true) {
        const std::size_t amp = query.find('&');
        if (query.substr(0, amp) == "q=quit") return true;
        if (amp == std::string_view::npos) return false;
        query.remove_prefix(amp + 1);
    }
}

ServiceAnswer Send(int status, std::string_view body) { return {ServiceAnswer::Action::Send, HttpReply(status, body)}; }

}  // namespace

std::string HttpReply(int status, std::string_view body) {
    std::string reply = "HTTP/1.1 " + std::to_string(status) + " " + std::string(ReasonPhrase(status)) + "\r\n";
    reply += "Content-Type: text/html\r\n";
    if (IsRedirect(status)) reply += "Location: http://127.0.0.1/\r\n";
    reply += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    reply += "Connection: close\r\n\r\n";
    reply += body;
    return reply;
}

ServiceAnswer AnswerRequest(const HttpRequest& request, ReplyMode& mode, const std::string& callerAddress) {
    constexpr std::string_view kControl = "/control?reply=";
    constexpr std::string_view kLogin = "/lo.php?";
    const std::string_view target = request.target;

    if (request.method == "GET" && target.starts_with(kControl)) {
        const auto next = ParseReplyMode(target.substr(kControl.size()));
        if (!next) return Send(400, "bad mode\n");
        mode = *next;
        return Send(200, "ok\n");
    }
    if (request.method != "POST" || !target.starts_with(kLogin)) return Send(404, "no such page\n");

    using Kind = ReplyMode::Kind;
    switch (mode.kind) {
        case Kind::Address: return Send(200, AsksToQuit(target.substr(kLogin.size())) ? "" : callerAddress);
        case Kind::Empty: return Send(200, "");
        case Kind::Text: return Send(200, mode.text);
        case Kind::Status: return Send(mode.status, mode.status == 204 ? "" : "<html>refused</html>");
        case Kind::Close: return {ServiceAnswer::Action::Close, {}};
        case Kind::Stall: return {ServiceAnswer::Action::Stall, {}};
    }
    return Send(500, "");
}
