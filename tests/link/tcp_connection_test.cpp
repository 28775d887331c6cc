#include "platform/tcp_connection.h"

#include <array>
#include <chrono>
#include <string>

#include <gtest/gtest.h>

#include "scripted_http_server.h"

namespace {

using namespace std::chrono_literals;

IoDeadline In(std::chrono::milliseconds wait) {
    return std::chrono::steady_clock::now() + wait;
}

// A peer that always has more ready must still not outlast the deadline.
TEST(TcpConnection, PassedDeadlineEndsReceiveEvenWithDataWaiting) {
    ScriptedHttpServer server;
    server.SetScript({ServerStep::Send(std::string(256 * 1024, 'x')), ServerStep::Hold()});
    TcpConnection connection;
    ASSERT_EQ(connection.Connect("127.0.0.1", server.Port(), 2s).status, TcpConnection::ConnectStatus::Connected);
    ASSERT_EQ(connection.Send("POST / HTTP/1.0\r\n\r\n", In(2s)).status, IoStatus::Done);

    std::array<char, 1> first{};
    ASSERT_EQ(connection.Receive(first, In(5s)).status, IoStatus::Done);
    std::array<char, 4096> more{};
    EXPECT_EQ(connection.Receive(more, std::chrono::steady_clock::now() - 1ms).status, IoStatus::TimedOut);
    EXPECT_EQ(connection.Receive(more, In(5s)).status, IoStatus::Done);
}

}  // namespace
