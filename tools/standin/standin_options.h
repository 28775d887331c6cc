#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "reply_mode.h"

// The stand-in's command line.
struct StandinOptions {
    std::uint16_t port = 0;  // 0: the system picks a free port
    std::string logPath;     // empty: no log
    ReplyMode reply;
    int maxSeconds = 3600;   // it ends on its own after this, so it never lingers
};

inline constexpr const char* kStandinUsage =
    "usage: tarnwick-standin [--port N] [--log FILE] [--reply MODE] [--max-seconds N]\n"
    "  MODE: address | empty | close | stall | status=NNN | TEXT (percent-decoded)\n"
    "  GET /control?reply=MODE changes the mode while it runs.\n";

// Throws std::invalid_argument with a short reason for a bad command line.
StandinOptions ParseStandinOptions(const std::vector<std::string>& args);
