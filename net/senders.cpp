#include "net/messages.h"
#include "net/protocol.h"
#include "net/status.h"
#include "table/game.h"

#include <cstdio>

void NetSend(Game& game, const std::uint8_t* bytes, int count)
{
    if (!game.platform.HasDataConnection()) {
        game.platform.ShowMessageBox(BoxOwner::StatusWindow, "Sever-Client Network not established - can't send data",
                                     "Error", BoxIcon::None);
        return;
    }
    game.platform.SendBytes(bytes, count);
    char line[64];
    std::snprintf(line, sizeof line, "Sending %d bytes  TYPE: %d", count, bytes[0]);
    SetStatus(game, nullptr, line);
}

namespace {

template <std::size_t N>
void SendMessage(Game& game, const std::uint8_t (&message)[N])
{
    static_assert(N >= 1);
    NetSend(game, message, MessageLength(message[0]));
}

}  // namespace

void SendDeal(Game& game, const Card (&deck)[kDeckSize])
{
    std::uint8_t message[1 + 2 * kDeckSize] = {MsgDeal};
    for (int k = 0; k < kDeckSize; ++k) {
        message[1 + 2 * k] = deck[k].rank;
        message[2 + 2 * k] = deck[k].suit;
    }
    SendMessage(game, message);
}

void SendPlayCard(Game& game, std::uint8_t fromPile, std::uint8_t playPile)
{
    SendMessage(game, {MsgPlayCard, fromPile, playPile});
}

void SendMoveToEmptyPile(Game& game, std::uint8_t fromPile, std::uint8_t emptyPile)
{
    SendMessage(game, {MsgMoveToEmptyPile, fromPile, emptyPile});
}

void SendFlip(Game& game, std::uint8_t flag)
{
    SendMessage(game, {MsgFlip, flag});
}

void SendSelectPile(Game& game, std::uint8_t pile)
{
    SendMessage(game, {MsgSelectPile, pile});
}

void SendReady(Game& game)
{
    SendMessage(game, {MsgReady});
}

void SendPlayAgain(Game& game)
{
    SendMessage(game, {MsgPlayAgain});
}
