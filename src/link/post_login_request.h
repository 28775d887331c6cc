#pragma once

#include <string>

#include "link/http_transport.h"

// Posts the login form ("name=Form1") to url and returns the reply body.
// Throws EHttpError when the exchange fails.
std::string PostLoginRequest(HttpTransport& transport, const std::string& url);
