#pragma once

#include <functional>
#include <string>

#include "link/http_error.h"

// "reply:" + what the exchange returned, or "error:" + the EHttpError message.
inline std::string HttpOutcome(const std::function<std::string()>& exchange) {
    try {
        return "reply:" + exchange();
    } catch (const EHttpError& error) {
        return std::string("error:") + error.what();
    }
}
