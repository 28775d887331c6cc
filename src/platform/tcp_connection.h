#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "platform/byte_stream.h"

// One TCP connection to an IPv4 host, closed when the object goes. Receive
// and Send wait with poll() up to the caller's deadline; EINTR is retried and
// sending never raises SIGPIPE.
class TcpConnection final : public ByteStream {
public:
    enum class ConnectStatus { Connected, NoSocket, Failed };
    struct ConnectResult {
        ConnectStatus status = ConnectStatus::Connected;
        int socketError = 0;  // Windows Sockets number when Failed
    };

    TcpConnection() = default;
    ~TcpConnection() override;
    TcpConnection(TcpConnection&& other) noexcept;
    TcpConnection& operator=(TcpConnection&& other) noexcept;
    TcpConnection(const TcpConnection&) = delete;
    TcpConnection& operator=(const TcpConnection&) = delete;

    // Resolves host (see ResolveIpv4) and connects, giving up with 10060 once
    // connectLimit has passed. Any earlier connection of this object is closed.
    ConnectResult Connect(const std::string& host, std::uint16_t port, std::chrono::milliseconds connectLimit);

    IoResult Receive(std::span<char> into, IoDeadline deadline) override;
    IoResult Send(std::string_view bytes, IoDeadline deadline) override;

    void Close() noexcept;

private:
    int fd_ = -1;
};
