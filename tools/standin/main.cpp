// tarnwick-standin: answers on 127.0.0.1 like the dynamic domain-name
// service, for tests and for trying the client without the real service.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

#include <signal.h>

#include "request_log.h"
#include "standin_options.h"
#include "standin_server.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void RequestStop(int) { stopRequested = 1; }

}  // namespace

int main(int argc, char** argv) {
    try {
        const StandinOptions options = ParseStandinOptions(std::vector<std::string>(argv + 1, argv + argc));
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(options.maxSeconds);

        // SIGTERM and SIGINT are blocked except while the server waits, so a
        // stop is seen at once and never lost between two waits.
        sigset_t stopSignals;
        sigemptyset(&stopSignals);
        sigaddset(&stopSignals, SIGTERM);
        sigaddset(&stopSignals, SIGINT);
        sigset_t waitMask;
        sigprocmask(SIG_BLOCK, &stopSignals, &waitMask);
        struct sigaction action {};
        action.sa_handler = RequestStop;
        sigemptyset(&action.sa_mask);
        sigaction(SIGTERM, &action, nullptr);
        sigaction(SIGINT, &action, nullptr);
        std::signal(SIGPIPE, SIG_IGN);

        RequestLog log(options.logPath);
        StandinServer server(options.port, options.reply, log);
        // The first line tells the caller where to connect.
        std::printf("%u\n", static_cast<unsigned>(server.Port()));
        std::fflush(stdout);
        server.Run(deadline, stopRequested, waitMask);
        return 0;
    } catch (const std::invalid_argument& error) {
        std::fprintf(stderr, "tarnwick-standin: %s\n%s", error.what(), kStandinUsage);
        return 2;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tarnwick-standin: %s\n", error.what());
        return 1;
    }
}
