// libFuzzer target: any bytes as a server's reply, cut into pieces and ended
// in any way, must give a reply text within the limits or an EHttpError,
// never a crash, a leak or undefined behaviour.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

#include "link/http_error.h"
#include "link/http_limits.h"
#include "link/http_reply_reader.h"
#include "memory_byte_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    // Byte 0: piece size. Byte 1: how the stream ends, and tight or default limits.
    const std::size_t pieceSize = static_cast<std::size_t>(data[0]) + 1;
    const std::uint8_t mode = data[1];
    MemoryByteStream stream(std::string(reinterpret_cast<const char*>(data) + 2, size - 2), pieceSize);
    switch (mode % 3) {
    case 0:
        break;
    case 1:
        stream.EndWith(IoStatus::TimedOut);
        break;
    default:
        stream.EndWith(IoStatus::Failed, 10054);
        break;
    }
    HttpLimits limits;
    if ((mode / 3) % 2 == 1) {
        limits.maxLineLength = 40;
        limits.maxReplySize = 200;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::hours(1);
    try {
        const std::string body = HttpReplyReader(stream, limits, deadline).ReadReply();
        if (body.size() > limits.maxReplySize) {
            __builtin_trap();
        }
    } catch (const EHttpError&) {
        // Every refusal of a reply is an EHttpError; anything else escapes and is a finding.
    }
    return 0;
}
