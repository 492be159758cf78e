#include "net/messages.h"
#include "net/protocol.h"
#include "net/status.h"
#include "table/game.h"

#include <cstdio>

void NetSend(Game& game, const std::uint8_t* bytes, int count)
{
    if (!game.platform.HasDataConnection()) {
        game.platform.ShowMessageBox(BoxOwner::StatusWindow, "Sever-Client Network not established - can't send data", "Error",
                                     BoxIcon::None);
        return;
    }
    game.platform.SendBytes(bytes, count);
    char line[64];
    std::snprintf(line, sizeof line, "Sending %d bytes  TYPE: %d", count, bytes[0]);
    SetStatus(game, nullptr, line);
}

namespace {

// A message of the given type with its fields; the field count must make its length.
template <MsgType type, typename... Fields>
void SendMessage(Game& game, Fields... fields)
{
    static_assert(1 + sizeof...(Fields) == MessageLength(type));
    const std::uint8_t message[] = {type, fields...};
    NetSend(game, message, MessageLength(type));
}

}  // namespace

void SendDeal(Game& game, const Card (&deck)[kDeckSize])
{
    std::uint8_t message[1 + 2 * kDeckSize] = {MsgDeal};
    static_assert(sizeof message == MessageLength(MsgDeal));
    for (int k = 0; k < kDeckSize; ++k) {
        message[1 + 2 * k] = deck[k].rank;
        message[2 + 2 * k] = deck[k].suit;
    }
    NetSend(game, message, MessageLength(MsgDeal));
}

void SendPlayCard(Game& game, std::uint8_t fromPile, std::uint8_t playPile)
{
    SendMessage<MsgPlayCard>(game, fromPile, playPile);
}

void SendMoveToEmptyPile(Game& game, std::uint8_t fromPile, std::uint8_t emptyPile)
{
    SendMessage<MsgMoveToEmptyPile>(game, fromPile, emptyPile);
}

void SendFlip(Game& game, std::uint8_t flag)
{
    SendMessage<MsgFlip>(game, flag);
}

void SendSelectPile(Game& game, std::uint8_t pile)
{
    SendMessage<MsgSelectPile>(game, pile);
}

void SendReady(Game& game)
{
    SendMessage<MsgReady>(game);
}

void SendPlayAgain(Game& game)
{
    SendMessage<MsgPlayAgain>(game);
}

void SendFlipHeard(Game& game)
{
    SendMessage<MsgFlipHeard>(game);
}
