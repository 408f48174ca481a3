// The TCP client against a listener on 127.0.0.1.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>

#include "platform/net/TcpClient.h"
#include "platform/net/tests/Listener.h"

namespace {

using Bytes = std::vector<uint8_t>;
using nettest::Listener;

// A client with every event recorded.
struct Client {
    TTcpClient tcp{nullptr};
    std::vector<std::string> events;
    Bytes received;

    explicit Client(const Listener& server) {
        tcp.SetRemoteHost("127.0.0.1");
        tcp.SetRemotePort(server.PortText());
        tcp.OnConnect = [this](TObject* s) {
            EXPECT_EQ(s, &tcp);
            EXPECT_TRUE(tcp.Connected()) << "the connection stands when OnConnect runs";
            events.push_back("connect");
        };
        tcp.OnDisconnect = [this](TObject*) { events.push_back("disconnect"); };
        tcp.OnReceive = [this](TObject*, char* buf, int& len) {
            events.push_back("receive " + std::to_string(len));
            received.insert(received.end(), buf, buf + len);
        };
        tcp.OnError = [this](TObject*, int error) { events.push_back("error " + std::to_string(error)); };
    }
};

TEST(TcpClient, ConnectsSendsReceivesAndDisconnects) {
    Listener server;
    Client c(server);
    EXPECT_FALSE(c.tcp.Connected());
    c.tcp.SetActive(true);
    EXPECT_TRUE(c.tcp.Connect()) << "a second connect keeps the connection";
    ASSERT_TRUE(server.Accept());
    EXPECT_TRUE(c.tcp.Active());
    EXPECT_EQ(c.events, std::vector<std::string>{"connect"});

    const Bytes command{0x1B, 0x02, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00};
    EXPECT_EQ(c.tcp.SendBuf(command.data(), 9), 9);
    EXPECT_EQ(server.Received(), command);

    server.Send({1, 2, 3, 4, 5, 6, 7});
    ASSERT_TRUE(c.tcp.WaitForData(2000));
    uint8_t buf[5] = {};
    // One read takes what has arrived, up to the length asked for.
    EXPECT_EQ(c.tcp.ReceiveBuf(buf, 5), 5);
    EXPECT_EQ(Bytes(buf, buf + 5), (Bytes{1, 2, 3, 4, 5}));
    ASSERT_TRUE(c.tcp.WaitForData(2000));
    EXPECT_EQ(c.tcp.ReceiveBuf(buf, 5), 2);
    EXPECT_EQ(c.received, (Bytes{1, 2, 3, 4, 5, 6, 7}));

    c.tcp.Disconnect();
    c.tcp.Disconnect();  // a second one reports nothing
    EXPECT_FALSE(c.tcp.Connected());
    EXPECT_FALSE(c.tcp.Active());
    EXPECT_EQ(c.events, (std::vector<std::string>{"connect", "receive 5", "receive 2", "disconnect"}));
}

TEST(TcpClient, WaitForDataTimesOutOnRealTime) {
    Listener server;
    Client c(server);
    c.tcp.Connect();
    ASSERT_TRUE(server.Accept());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(c.tcp.WaitForData(150));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(150));
    EXPECT_FALSE(TTcpClient(nullptr).WaitForData(10)) << "nothing to wait for without a connection";
}

TEST(TcpClient, ThePeerClosingEndsTheConnection) {
    Listener server;
    Client c(server);
    c.tcp.Connect();
    ASSERT_TRUE(server.Accept());
    server.Send({0x42});
    server.ClosePeer();
    uint8_t buf[10];
    ASSERT_TRUE(c.tcp.WaitForData(2000));
    EXPECT_EQ(c.tcp.ReceiveBuf(buf, 10), 1);
    ASSERT_TRUE(c.tcp.WaitForData(2000)) << "the close is ready to read";
    EXPECT_EQ(c.tcp.ReceiveBuf(buf, 10), 0);
    EXPECT_FALSE(c.tcp.Connected());
    EXPECT_FALSE(c.tcp.WaitForData(10));
    EXPECT_EQ(c.events, (std::vector<std::string>{"connect", "receive 1", "disconnect"}));
}

TEST(TcpClient, FailedCallsReachOnErrorThenRaise) {
    Listener server;
    Client c(server);
    server.Stop();
    EXPECT_THROW(c.tcp.Connect(), ESocketError);
    EXPECT_EQ(c.events, std::vector<std::string>{"error " + std::to_string(ECONNREFUSED)});
    EXPECT_FALSE(c.tcp.Connected());
    EXPECT_FALSE(c.tcp.Active());

    c.events.clear();
    uint8_t byte = 0;
    EXPECT_THROW(c.tcp.SendBuf(&byte, 1), ESocketError);
    EXPECT_THROW(c.tcp.ReceiveBuf(&byte, 1), ESocketError);
    EXPECT_EQ(c.events, (std::vector<std::string>{"error " + std::to_string(ENOTCONN), "error " + std::to_string(ENOTCONN)}));

    // A port that is no number (nor a service) fails in the resolver, with its own code.
    c.events.clear();
    c.tcp.SetRemotePort("no-such-service-here");
    EXPECT_THROW(c.tcp.Connect(), ESocketError);
    ASSERT_EQ(c.events.size(), 1u);
    EXPECT_EQ(c.events[0].rfind("error -", 0), 0u) << c.events[0];
}

}  // namespace
