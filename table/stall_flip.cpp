#include "table/stall_flip.h"

#include "table/game.h"

#include <algorithm>

void StartFlipCountdown(Game& game)
{
    game.hand.countdownSeconds = kFlipCountdownSeconds;
    game.platform.StartTimer(TimerId::FlipCountdown);
}

void AnnounceFlip(Game& game)
{
    // Not while our own flip counts down: the check after that flip announces
    // the next one itself, so both copies carry out as many flips.
    if (game.hand.countdownSeconds != 0)
        return;
    ++game.hand.flipsAnnounced;
    game.outbox->Flip(game.table.stackHeight == 0);
    StartFlipCountdown(game);
}

void OnFlipAnnounced(Game& game)
{
    HandState& hand = game.hand;
    if (game.repairs)
        game.outbox->FlipHeard();
    ++hand.pendingFlips;
    if (hand.pendingFlips <= 1)
        StartFlipCountdown(game);
}

void OnFlipHeard(Game& game)
{
    HandState& hand = game.hand;
    // A stray acknowledgement must not stand for a flip still to come.
    if (game.repairs && hand.flipsHeard < hand.flipsAnnounced)
        ++hand.flipsHeard;
}

void DropFlips(Game& game)
{
    game.platform.StopTimer(TimerId::FlipCountdown);
    game.hand.countdownSeconds = 0;
    game.hand.pendingFlips = 0;
}

bool TurnUpStacks(Table& table)
{
    const int e = table.stackHeight;
    // Only a table broken by a rogue message could leave nothing to flip or no room for it.
    if (e == 0 || !CentrePileHasRoom(table, 0) || !CentrePileHasRoom(table, 1))
        return false;
    for (int k = 0; k < kCentrePiles; ++k)
        table.centrePiles[k].cards[table.centrePiles[k].count++] = table.stacks[k][e - 1];
    table.stackHeight = static_cast<std::uint8_t>(e - 1);
    if (table.stackHeight == 0)
        RecycleStacks(table);
    return true;
}

// Only flips change the stacks and each changes their height, so the height
// tells a snapshot's flips from ours. A server that announces a flip only once
// the one before is done sends snapshots at most one flip away: a flip we
// still count down, which the snapshot shows and we must not carry out again,
// or the one we have just carried out, which the server had not yet when it
// built the snapshot. Such a snapshot reaches us within a round trip of our
// flip; a later one lacking it comes from a server that will never carry it
// out (one that announced twice during its countdown) and is taken as it is.
bool SettleSnapshotFlips(Game& game, const Table& snapshot)
{
    constexpr auto kFlipStillComing = std::chrono::milliseconds(1500);
    HandState& hand = game.hand;
    if (!game.repairs)
        return false;
    if (snapshot.stackHeight == game.table.stackHeight) {
        hand.stackHeightBeforeLastFlip = -1;  // the server has shown our flip
        return false;
    }
    if (hand.pendingFlips > 0) {
        if (--hand.pendingFlips == 0) {
            game.platform.StopTimer(TimerId::FlipCountdown);
            hand.countdownSeconds = 0;
        }
        return false;
    }
    return snapshot.stackHeight == hand.stackHeightBeforeLastFlip && game.platform.Now() - hand.lastFlipAt < kFlipStillComing;
}

void RecycleStacks(Table& table)
{
    const int s = table.centrePiles[1].count < table.centrePiles[0].count ? 1 : 0;
    const int o = 1 - s;
    const int n = table.centrePiles[o].count;
    const int m = table.centrePiles[s].count - 1;
    table.stackHeight = static_cast<std::uint8_t>(m);
    for (int j = 0; j < kCentrePiles; ++j)
        std::copy_n(table.centrePiles[j].cards, m, table.stacks[j]);
    table.centrePiles[s].cards[0] = table.centrePiles[s].cards[m];
    table.centrePiles[s].count = 1;
    std::copy(table.centrePiles[o].cards + m, table.centrePiles[o].cards + n, table.centrePiles[o].cards);
    table.centrePiles[o].count = static_cast<std::uint8_t>(n - m);
}
