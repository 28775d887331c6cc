#include "link/post_login_request.h"

#include "link/form_encoding.h"

std::string PostLoginRequest(HttpTransport& transport, const std::string& url) {
    // The one form field: the main window's object name.
    const std::string body = "name=" + FormEncodeValue("Form1");
    return transport.PostForm(url, body);
}
