#include "table/stall_flip.h"

#include "net/protocol.h"
#include "table/game.h"
#include "table/local_play.h"
#include "table/paint_table.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kFlipCountdownSecs = 3;

void StartFlipCountdown(Game& game)
{
    game.hand.nCountdownSecs = kFlipCountdownSecs;
    game.platform.StartTimer(TimerId::FlipCountdown);
}

}  // namespace

void AnnounceFlip(Game& game)
{
    // Not while our own flip counts down: the check after that flip announces
    // the next one itself, so both copies carry out as many flips.
    if (game.hand.nCountdownSecs != 0)
        return;
    SendFlip(game, game.table.nExtraCardsLeft == 0 ? 1 : 0);
    StartFlipCountdown(game);
}

void OnFlipAnnounced(Game& game)
{
    // Announced before the server saw the hand end here.
    if (!game.table.bHandInProgress)
        return;
    ++game.hand.nPendingFlips;
    if (game.hand.nPendingFlips <= 1)
        StartFlipCountdown(game);
}

void FlipCountdownTick(Game& game)
{
    --game.hand.nCountdownSecs;
    if (game.hand.nCountdownSecs >= 1) {
        PaintTable(game);
        char line[32];
        std::snprintf(line, sizeof line, "Flipping in %d sec", game.hand.nCountdownSecs);
        game.platform.DrawLargeText(115, 125, "Can't Proceed");
        game.platform.DrawLargeText(95, 265, line);
        game.platform.InvalidateMainWindow();
        return;
    }
    game.platform.KillTimer(TimerId::FlipCountdown);
    game.hand.nCountdownSecs = 0;
    --game.hand.nPendingFlips;
    FlipExtraCards(game);
}

void FlipExtraCards(Game& game)
{
    Table& table = game.table;
    const int e = table.nExtraCardsLeft;
    // Only a table broken by a rogue message could leave nothing to flip or no room for it.
    if (e > 0 && PlayPileHasRoom(table, 0) && PlayPileHasRoom(table, 1)) {
        for (int k = 0; k < kPlayPiles; ++k)
            table.playPiles[k][table.nPlayCards[k]++] = table.extraCards[k][e - 1];
        table.nExtraCardsLeft = static_cast<std::uint8_t>(e - 1);
        if (table.nExtraCardsLeft == 0)
            RecycleExtraCards(game);
    }
    PaintTable(game);
    if (table.bIsServer) {
        CheckAfterMove(game);
    } else if (game.hand.nPendingFlips > 0) {
        StartFlipCountdown(game);
    }
}

void CatchUpFlips(Game& game)
{
    if (game.hand.nPendingFlips <= 0)
        return;
    const int flips = game.hand.nPendingFlips;
    DropFlips(game);
    for (int i = 0; i < flips; ++i)
        FlipExtraCards(game);
}

void DropFlips(Game& game)
{
    game.platform.KillTimer(TimerId::FlipCountdown);
    game.hand.nCountdownSecs = 0;
    game.hand.nPendingFlips = 0;
}

void RecycleExtraCards(Game& game)
{
    Table& table = game.table;
    const int s = table.nPlayCards[1] < table.nPlayCards[0] ? 1 : 0;
    const int o = 1 - s;
    const int n = table.nPlayCards[o];
    const int m = table.nPlayCards[s] - 1;
    table.nExtraCardsLeft = static_cast<std::uint8_t>(m);
    for (int j = 0; j < kPlayPiles; ++j)
        std::copy_n(table.playPiles[j], m, table.extraCards[j]);
    table.playPiles[s][0] = table.playPiles[s][m];
    table.nPlayCards[s] = 1;
    std::copy(table.playPiles[o] + m, table.playPiles[o] + n, table.playPiles[o]);
    table.nPlayCards[o] = static_cast<std::uint8_t>(n - m);
}
