#include "table/computer_player.h"

#include "table/game.h"
#include "table/hand_flow.h"
#include "table/local_play.h"
#include "table/view.h"

#include <algorithm>
#include <tuple>

namespace {

constexpr int kSpreadPermille = 300;  // each move takes its average time, give or take this
constexpr int kPauseShare = 4;  // the selection leads the play by this part of the move
constexpr int kGlanceShare = 8;  // with nothing to do it looks again after this part of a move
// Long enough for the winner to see the win before the next hand is offered.
constexpr int kFewestAnswerMs = 2000;
constexpr int kMostAnswerMs = 4000;

bool FitsCentrePile(const Table& table, const Card& card, int k)
{
    return table.centrePiles[k].count > 0 && CardsAdjacent(card, TopCard(table.centrePiles[k]));
}

// How good playing the top of pile `from` onto centre pile `k` looks from what a
// person sees: first how many of our other top cards can be played afterwards
// (the card it uncovers is unknown), then the taller pile, since it has more
// to uncover, then the one already selected.
std::tuple<int, int, bool> PlayValue(const Table& table, int from, int k)
{
    const Card& played = TopCard(table.yourPiles[from]);
    int playable = 0;
    for (int i = 0; i < kPlayerPiles; ++i) {
        const int count = table.yourPiles[i].count;
        if (i == from || count == 0)
            continue;
        const Card& top = TopCard(table.yourPiles[i]);
        playable += CardsAdjacent(top, played) || FitsCentrePile(table, top, 1 - k);
    }
    return {playable, table.yourPiles[from].count, table.yourSelectedPile == from};
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
ComputerChoice ChooseComputerMove(const Table& table)
{
    ComputerChoice best;
    std::tuple<int, int, bool> bestValue{};
    for (int i = 0; i < kPlayerPiles; ++i) {
        if (table.yourPiles[i].count == 0)
            continue;
        for (int k = 0; k < kCentrePiles; ++k) {
            if (!FitsCentrePile(table, TopCard(table.yourPiles[i]), k))
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

    const Pile* piles = table.yourPiles;
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
    // Ready as soon as its opponent is; that alone is no step.
    if (game.hand.opponentIsReady && ViewOf(game).readyOffered)
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
