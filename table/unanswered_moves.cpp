#include "table/unanswered_moves.h"

#include "net/messages.h"
#include "table/game.h"
#include "table/moves.h"

#include <algorithm>

namespace {

void DropFront(UnansweredMoves& journal, int count)
{
    std::copy(journal.moves + count, journal.moves + journal.count, journal.moves);
    journal.count -= count;
}

}  // namespace

void RecordOwnMove(Game& game, std::uint8_t type, std::uint8_t from, std::uint8_t to)
{
    if (game.table.bIsServer)
        return;
    UnansweredMoves& journal = game.unanswered;
    // A server that answers nothing any more: the oldest moves no longer matter.
    if (journal.count == UnansweredMoves::kCapacity)
        DropFront(journal, 1);
    journal.moves[journal.count++] = {type, from, to};
}

void ForgetAnsweredMoves(Game& game)
{
    UnansweredMoves& journal = game.unanswered;
    const UnansweredMoves::Move* begin = journal.moves;
    const UnansweredMoves::Move* end = begin + journal.count;
    const UnansweredMoves::Move* play = std::find_if(begin, end, [](const UnansweredMoves::Move& m) { return m.type == MsgPlayCard; });
    DropFront(journal, play == end ? journal.count : static_cast<int>(play - begin) + 1);
}

void ReplayUnansweredMoves(Game& game)
{
    Table& table = game.table;
    const UnansweredMoves& journal = game.unanswered;
    for (int i = 0; i < journal.count; ++i) {
        const UnansweredMoves::Move& move = journal.moves[i];
        if (move.type == MsgPlayCard)
            PlayOntoPlayPile(table, table.myPiles, table.nMyPileCards, move.from, move.to);
        else
            MoveOntoEmptyPile(table.myPiles, table.nMyPileCards, move.from, move.to);
    }
}

void ForgetAllMoves(Game& game)
{
    game.unanswered.count = 0;
}
