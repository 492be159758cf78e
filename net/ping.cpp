#include "net/ping.h"

#include "net/messages.h"
#include "net/protocol.h"
#include "table/game.h"

#include <chrono>
#include <cstdio>

namespace {

// The low byte of bIsServer: 1 on the server, 0 on the client.
std::uint8_t RoleByte(const Game& game)
{
    return static_cast<std::uint8_t>(game.table.bIsServer & 0xFF);
}

}  // namespace

void StartPing(Game& game)
{
    game.ping.pingStart = game.platform.Now();
    const std::uint8_t message[] = {MsgPing, RoleByte(game)};
    NetSend(game, message, MessageLength(MsgPing));
}

void OnPing(Game& game, const std::uint8_t* message)
{
    if (message[1] != RoleByte(game)) {
        NetSend(game, message, MessageLength(MsgPing));
        return;
    }
    const auto elapsed = game.platform.Now() - game.ping.pingStart;
    const long long t = std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
    std::snprintf(game.status.pingWarning, sizeof game.status.pingWarning, "%s", t > kHighPingMs ? "High Network Ping Time" : "");
    std::snprintf(game.status.pingText, sizeof game.status.pingText, "Ping: %lld ms", t);
    game.platform.InvalidateStatusWindow(true);
}
