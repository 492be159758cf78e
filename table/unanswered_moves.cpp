#include "table/unanswered_moves.h"

#include "table/game.h"
#include "table/moves.h"
#include "table/stall_flip.h"

#include <algorithm>

namespace {

// The server sends its table after nobody has moved for this long; see below.
constexpr auto kQuietTable = std::chrono::milliseconds(TimerPeriodMs(TimerId::QuietTable));

void DropFront(UnansweredMoves& journal, int count)
{
    std::copy(journal.moves + count, journal.moves + journal.count, journal.moves);
    journal.count -= count;
}

bool OnYourPiles(const Table& table, const Card& card)
{
    for (int p = 0; p < kPlayerPiles; ++p) {
        if (std::find(table.yourPiles[p].cards, table.yourPiles[p].cards + table.yourPiles[p].count, card)
            != table.yourPiles[p].cards + table.yourPiles[p].count)
            return true;
    }
    return false;
}

}  // namespace

void RecordOwnMove(Game& game, MoveKind kind, std::uint8_t from, std::uint8_t to)
{
    if (game.table.role == Role::Server || !game.repairs)
        return;
    UnansweredMoves& journal = game.unanswered;
    // A server that answers nothing any more: the oldest moves no longer matter.
    if (journal.count == UnansweredMoves::kCapacity)
        DropFront(journal, 1);
    const Table& table = game.table;
    const Card played = kind == MoveKind::Play ? table.centrePiles[to].cards[table.centrePiles[to].count - 1] : Card{};
    journal.moves[journal.count++] = {kind, from, to, played, game.platform.Now()};
}

// The server answers a play with its table right after applying it, so a play
// and the moves before it are answered once its card has left our piles.
// Any other snapshot comes after nobody has moved for the quiet time: it shows
// every move we made long before it and none we made since it left.
void ForgetAnsweredMoves(Game& game, const Table& snapshot)
{
    UnansweredMoves& journal = game.unanswered;
    const UnansweredMoves::Move* begin = journal.moves;
    const UnansweredMoves::Move* end = begin + journal.count;
    for (const UnansweredMoves::Move* move = end; move != begin; --move) {
        const UnansweredMoves::Move& last = *(move - 1);
        if (last.kind == MoveKind::Play && !OnYourPiles(snapshot, last.card)) {
            DropFront(journal, static_cast<int>(move - begin));
            return;
        }
    }
    const auto shown = game.platform.Now() - kQuietTable / 2;
    const auto* kept = std::find_if(begin, end, [shown](const UnansweredMoves::Move& m) { return m.made >= shown; });
    DropFront(journal, static_cast<int>(kept - begin));
}

void ReplayUnansweredMoves(Game& game, std::optional<std::chrono::steady_clock::time_point> flipAt)
{
    Table& table = game.table;
    const UnansweredMoves& journal = game.unanswered;
    for (int i = 0; i < journal.count; ++i) {
        const UnansweredMoves::Move& move = journal.moves[i];
        if (flipAt && move.made >= *flipAt) {
            TurnUpStacks(table);
            flipAt.reset();
        }
        if (move.kind == MoveKind::Play)
            PlayOntoCentrePile(table, table.yourPiles, move.from, move.to);
        else
            MoveOntoEmptyPile(table.yourPiles, move.from, move.to);
    }
    if (flipAt)
        TurnUpStacks(table);
}

void ForgetAllMoves(Game& game)
{
    game.unanswered.count = 0;
}
