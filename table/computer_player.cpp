#include "table/computer_player.h"

#include "table/game.h"
#include "table/hand_flow.h"
#include "table/local_play.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr int kSpreadPermille = 300;  // each move takes its average time, give or take this
constexpr int kPauseShare = 4;  // the selection leads the play by this part of the move
constexpr int kGlanceShare = 8;  // with nothing to do it looks again after this part of a move
// Long enough for the winner to see the win before the next hand is offered.
constexpr int kFewestAnswerMs = 2000;
constexpr int kMostAnswerMs = 4000;

// Set bits of five, without a library call where the target lacks the instruction.
constexpr std::uint8_t kOnes[1 << kPlayerPiles] = {0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4,
                                                   1, 2, 2, 3, 2, 3, 3, 4, 2, 3, 3, 4, 3, 4, 4, 5};

bool FitsCentrePile(const Table& table, const Card& card, int k)
{
    return table.centrePiles[k].count > 0 && CardsAdjacent(card, TopCard(table.centrePiles[k]));
}

}  // namespace

std::chrono::milliseconds AverageMoveTime(ComputerSpeed speed)
{
    switch (speed) {
    case ComputerSpeed::Easy: return std::chrono::milliseconds(2400);
    case ComputerSpeed::Normal: return std::chrono::milliseconds(1200);
    case ComputerSpeed::Hard: break;
    }
    return std::chrono::milliseconds(600);
}

// Play whatever leaves the most plays open; with no play, uncover a card by
// moving the top of the tallest pile into an empty one. It never looks under
// a top card.
//
// A play of the top of pile i onto centre pile k is valued, from what a
// person sees: first how many of our other top cards can be played
// afterwards (the card it uncovers is unknown), then the taller pile, since
// it has more to uncover, then the one already selected. The computer looks
// at every step, so the fits are worked out once and kept as bits.
ComputerChoice ChooseComputerMove(const Table& table)
{
    const Pile* piles = table.yourPiles;
    unsigned fits[kCentrePiles]{};  // bit i: the top of pile i fits centre pile k
    unsigned held = 0;  // bit i: pile i has a card
    for (int i = 0; i < kPlayerPiles; ++i) {
        if (piles[i].count == 0)
            continue;
        held |= 1u << i;
        for (int k = 0; k < kCentrePiles; ++k)
            fits[k] |= static_cast<unsigned>(FitsCentrePile(table, TopCard(piles[i]), k)) << i;
    }
    ComputerChoice best;
    unsigned bestValue = 0;
    for (int i = 0; i < kPlayerPiles; ++i) {
        if (!((fits[0] | fits[1]) >> i & 1u))
            continue;
        unsigned neighbours = 0;  // bit j: the top of pile j is adjacent to the card played
        for (int j = 0; j < kPlayerPiles; ++j)
            neighbours |= static_cast<unsigned>((held >> j & 1u) && CardsAdjacent(TopCard(piles[i]), TopCard(piles[j]))) << j;
        for (int k = 0; k < kCentrePiles; ++k) {
            if (!(fits[k] >> i & 1u))
                continue;
            const unsigned playable = kOnes[(neighbours | fits[1 - k]) & held & ~(1u << i)];
            const unsigned value =
                playable << 9 | static_cast<unsigned>(piles[i].count) << 1 | static_cast<unsigned>(table.yourSelectedPile == i);
            if (best.action == ComputerAction::Wait || value > bestValue) {
                best = {ComputerAction::PlayCard, i, k};
                bestValue = value;
            }
        }
    }
    if (best.action != ComputerAction::Wait)
        return best;

    const Pile* empty = std::find_if(piles, piles + kPlayerPiles, [](const Pile& pile) { return pile.count == 0; });
    const Pile* tallest =
        std::max_element(piles, piles + kPlayerPiles, [](const Pile& a, const Pile& b) { return a.count < b.count; });
    // A lone card moved uncovers nothing.
    if (empty != piles + kPlayerPiles && tallest->count >= 2)
        best = {ComputerAction::MoveToEmptyPile, static_cast<int>(tallest - piles), static_cast<int>(empty - piles)};
    return best;
}

ComputerPlayer::ComputerPlayer(ComputerSpeed speed, std::uint32_t seed) : ComputerPlayer(AverageMoveTime(speed), seed) {}

ComputerPlayer::ComputerPlayer(std::chrono::milliseconds averageMoveTime, std::uint32_t seed, bool steady)
    : averageMoveTime_(averageMoveTime), spreadPermille_(steady ? 0 : kSpreadPermille), random_(seed)
{
}

void ComputerPlayer::BeginMove(std::chrono::steady_clock::time_point now)
{
    const int permille = std::uniform_int_distribution<int>(1000 - spreadPermille_, 1000 + spreadPermille_)(random_);
    const auto moveTime = averageMoveTime_ * permille / 1000;
    pause_ = moveTime / kPauseShare;
    nextStepAt_ = now + moveTime - pause_;
    moving_ = true;
}

bool ComputerPlayer::Answer(Game& game, std::chrono::steady_clock::time_point now)
{
    if (!answering_) {
        answering_ = true;
        moving_ = false;
        nextStepAt_ =
            now + std::chrono::milliseconds(std::uniform_int_distribution<int>(kFewestAnswerMs, kMostAnswerMs)(random_));
        return false;
    }
    if (now < nextStepAt_)
        return false;
    answering_ = false;
    AnswerPlayAgain(game, true);
    return true;
}

bool ComputerPlayer::Act(Game& game)
{
    const auto now = game.platform.Now();
    // Ready as soon as its opponent is (a press not offered does nothing); that alone is no step.
    if (game.hand.opponentIsReady)
        PressReady(game);
    if (game.hand.askedToPlayAgain)
        return Answer(game, now);
    answering_ = false;
    if (now < nextStepAt_)
        return false;
    const Table& table = game.table;
    const bool mayMove = table.handInProgress && game.hand.countdownSeconds == 0;
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
    const bool selecting = table.yourSelectedPile != choice.fromPile;
    if (selecting)
        SelectPile(game, choice.fromPile);
    else if (choice.action == ComputerAction::PlayCard)
        PlayOntoCentre(game, choice.toPile);
    else
        MoveToEmptyPile(game, choice.toPile);
    if (selecting)
        nextStepAt_ = base + pause_;
    else
        BeginMove(base);
    return true;
}
