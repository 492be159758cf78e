#include "net/ping.h"

#include "net/link.h"
#include "net/messages.h"
#include "net/protocol.h"
#include "table/game.h"

#include <chrono>
#include <cstdio>

namespace {

// 1 on the server, 0 on the client, as the old flag's low byte was.
std::uint8_t RoleByte(const Game& game)
{
    return game.table.role == Role::Server ? 1 : 0;
}

}  // namespace

void StartPing(Link& link)
{
    link.ping.pingStart = link.game.platform.Now();
    const std::uint8_t message[] = {NumberOf(Message::Ping), RoleByte(link.game)};
    NetSend(link, message, MessageLength(Message::Ping));
}

void OnPing(Link& link, const std::uint8_t* message)
{
    if (message[1] != RoleByte(link.game)) {
        NetSend(link, message, MessageLength(Message::Ping));
        return;
    }
    const auto elapsed = link.game.platform.Now() - link.ping.pingStart;
    const long long t = std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
    std::snprintf(link.status.pingWarning, sizeof link.status.pingWarning, "%s", t > kHighPingMs ? "High Network Ping Time" : "");
    std::snprintf(link.status.pingText, sizeof link.status.pingText, "Ping: %lld ms", t);
    link.game.platform.Show(ViewPart::StatusLines);
}
