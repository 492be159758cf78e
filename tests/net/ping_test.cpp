#include "net/ping.h"
#include "tests/support/two_copies.h"

#include <gtest/gtest.h>

namespace {

// Each side echoes the other's ping and times its own, to the whole millisecond.
// Without a connection nothing is sent or read, and each way says so.
TEST(Ping, EchoTimingTrafficLineAndNoConnection)
{
    TwoCopies copies;
    RecordedGame& client = copies.client;
    for (const auto& [ms, warning] : {std::pair{30, ""}, std::pair{31, "High Network Ping Time"}}) {
        StartPing(client.link);
        EXPECT_EQ(StatusLine2(client.link.status), "Sending 2 bytes  TYPE: 209");
        client.platform.now += std::chrono::microseconds(ms * 1000 + 999);
        copies.DeliverAll();
        EXPECT_EQ(client.link.status.pingText, "Ping: " + std::to_string(ms) + " ms");
        EXPECT_STREQ(client.link.status.pingWarning, warning);
    }
    EXPECT_EQ(client.platform.sent, (std::vector<Bytes>{{209, 0}, {209, 0}}));
    EXPECT_STREQ(copies.server.link.status.pingText, "") << "an echo times nothing";
    StartPing(copies.server.link);
    copies.DeliverAll();
    EXPECT_STREQ(copies.server.link.status.pingText, "Ping: 0 ms");
    EXPECT_EQ(copies.server.platform.sent.back(), (Bytes{209, 1}));

    client.platform.connected = false;
    const std::size_t sent = client.platform.sent.size();
    client.link.Ready();
    Receive(client, {205});
    EXPECT_EQ(client.platform.sent.size(), sent);
    EXPECT_EQ(client.platform.inbox.size(), 1u) << "nothing is read";
    EXPECT_EQ(client.platform.notices, (std::vector<Notice>{Notice::CannotSend, Notice::CannotRead}));
}

}  // namespace
