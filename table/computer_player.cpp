#include "table/computer_player.h"

#include "table/game.h"
#include "table/local_play.h"

#include <algorithm>
#include <tuple>

namespace {

constexpr int kSpreadPermille = 300;  // each move takes its average time, give or take this
constexpr int kPauseShare = 4;  // the selection leads the play by this part of the move
constexpr int kGlanceShare = 8;  // with nothing to do it looks again after this part of a move

bool FitsPlayPile(const Table& table, const Card& card, int k)
{
    return table.nPlayCards[k] > 0 && CardsAdjacent(card, TopCard(table.playPiles[k], table.nPlayCards[k]));
}

bool FitsEitherPlayPile(const Table& table, const Card& card)
{
    return FitsPlayPile(table, card, 0) || FitsPlayPile(table, card, 1);
}

bool CanPlayAny(const Table& table, const Card piles[][kMaxPileCards], const std::uint8_t counts[])
{
    for (int i = 0; i < kPlayerPiles; ++i) {
        if (counts[i] > 0 && FitsEitherPlayPile(table, TopCard(piles[i], counts[i])))
            return true;
    }
    return false;
}

// How good playing the top of pile `from` onto play pile `k` is: first whether
// play can go on from that pile (it empties, or its next card fits too), then
// how many own piles can play afterwards, then the taller pile, then the one
// already selected.
std::tuple<bool, int, int, bool> PlayValue(const Table& table, int from, int k)
{
    const Card& played = TopCard(table.myPiles[from], table.nMyPileCards[from]);
    auto fitsAfter = [&](const Card& card) { return CardsAdjacent(card, played) || FitsPlayPile(table, card, 1 - k); };
    const int left = table.nMyPileCards[from] - 1;
    const bool goesOn = left == 0 || fitsAfter(table.myPiles[from][left - 1]);
    int playable = 0;
    for (int i = 0; i < kPlayerPiles; ++i) {
        const int count = i == from ? left : table.nMyPileCards[i];
        playable += count > 0 && fitsAfter(table.myPiles[i][count - 1]);
    }
    return {goesOn, playable, table.nMyPileCards[from], table.nMySelectedPile == from};
}

// The tallest pile of two or more cards, if `uncoversPlay`, only among those
// whose second card fits a play pile now.
int PileToUncover(const Table& table, bool uncoversPlay)
{
    int best = kNoPile;
    for (int i = 0; i < kPlayerPiles; ++i) {
        const int count = table.nMyPileCards[i];
        if (count < 2 || (uncoversPlay && !FitsEitherPlayPile(table, table.myPiles[i][count - 2])))
            continue;
        if (best == kNoPile || count > table.nMyPileCards[best])
            best = i;
    }
    return best;
}

}  // namespace

std::chrono::milliseconds AverageMoveTime(ComputerSpeed speed)
{
    switch (speed) {
    case ComputerSpeed::Easy: return std::chrono::milliseconds(2000);
    case ComputerSpeed::Normal: return std::chrono::milliseconds(1200);
    case ComputerSpeed::Hard: break;
    }
    return std::chrono::milliseconds(600);
}

// Play whatever keeps play going from the same pile or leaves the most plays
// open; with no play, put a card on an empty pile when that uncovers a play,
// or when nobody can play and the empty pile alone holds back the flip.
ComputerChoice ChooseComputerMove(const Table& table)
{
    ComputerChoice best;
    std::tuple<bool, int, int, bool> bestValue{};
    for (int i = 0; i < kPlayerPiles; ++i) {
        if (table.nMyPileCards[i] == 0)
            continue;
        for (int k = 0; k < kPlayPiles; ++k) {
            if (!FitsPlayPile(table, TopCard(table.myPiles[i], table.nMyPileCards[i]), k))
                continue;
            const auto value = PlayValue(table, i, k);
            if (best.action == ComputerAction::Wait || value > bestValue) {
                best = {ComputerAction::PlayCard, i, k};
                bestValue = value;
            }
        }
    }
    if (best.action != ComputerAction::Wait)
        return best;

    int emptyPile = 0;
    while (emptyPile < kPlayerPiles && table.nMyPileCards[emptyPile] != 0)
        ++emptyPile;
    if (emptyPile == kPlayerPiles)
        return best;
    // The table counts an empty pile beside a taller one as a move left, so
    // while it stays empty the server never flips.
    const bool nobodyCanPlay = !CanPlayAny(table, table.oppPiles, table.nOppPileCards);
    int from = PileToUncover(table, true);
    if (from == kNoPile && nobodyCanPlay)
        from = PileToUncover(table, false);
    if (from != kNoPile)
        best = {ComputerAction::MoveToEmptyPile, from, emptyPile};
    return best;
}

ComputerPlayer::ComputerPlayer(ComputerSpeed speed, std::uint32_t seed) : ComputerPlayer(AverageMoveTime(speed), seed) {}

ComputerPlayer::ComputerPlayer(std::chrono::milliseconds averageMoveTime, std::uint32_t seed)
    : averageMoveTime_(averageMoveTime), random_(seed)
{
}

void ComputerPlayer::BeginMove(std::chrono::steady_clock::time_point now)
{
    const int permille = std::uniform_int_distribution<int>(1000 - kSpreadPermille, 1000 + kSpreadPermille)(random_);
    const auto moveTime = averageMoveTime_ * permille / 1000;
    pause_ = moveTime / kPauseShare;
    nextStepAt_ = now + moveTime - pause_;
    moving_ = true;
}

bool ComputerPlayer::Act(Game& game)
{
    const auto now = game.platform.Now();
    if (now < nextStepAt_)
        return false;
    const Table& table = game.table;
    const bool mayMove = table.bHandInProgress && game.hand.nCountdownSecs == 0;
    const ComputerChoice choice = mayMove ? ChooseComputerMove(table) : ComputerChoice{};
    if (choice.action == ComputerAction::Wait) {
        // Whatever it notices next takes a whole move's time.
        moving_ = false;
        nextStepAt_ = now + averageMoveTime_ / kGlanceShare;
        return false;
    }
    if (!moving_) {
        BeginMove(now);
        if (now < nextStepAt_)
            return false;
    }
    // Steps are timed from when they were due, not from when a look at the
    // table found them due, which would make every move late; a long stall
    // is not caught up, though.
    const auto base = std::max(nextStepAt_, now - averageMoveTime_ / kGlanceShare);
    const bool selecting = table.nMySelectedPile != choice.fromPile;
    if (selecting)
        ClickMyPile(game, choice.fromPile);
    else if (choice.action == ComputerAction::PlayCard)
        ClickPlayPile(game, choice.toPile);
    else
        ClickMyPile(game, choice.toPile);
    if (selecting)
        nextStepAt_ = base + pause_;
    else
        BeginMove(base);
    return true;
}
