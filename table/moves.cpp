#include "table/moves.h"

#include <algorithm>

bool CanPlayOntoCentre(const Table& table, const Piles& piles)
{
    for (int k = 0; k < kCentrePiles; ++k) {
        if (table.centrePiles[k].count == 0)
            continue;
        const Card& top = TopCard(table.centrePiles[k]);
        for (int i = 0; i < kPlayerPiles; ++i) {
            if (piles[i].count > 0 && CardsAdjacent(TopCard(piles[i]), top))
                return true;
        }
    }
    return false;
}

bool CanFillEmptyPile(const Piles& piles)
{
    return std::any_of(piles, piles + kPlayerPiles, [](const Pile& pile) { return pile.count == 0; }) && AnyPileAbove(1, piles);
}

bool CanPlayOntoCentrePile(const Table& table, const Piles& piles, int from, int centrePile)
{
    return from >= 0 && from < kPlayerPiles && centrePile >= 0 && centrePile < kCentrePiles && piles[from].count > 0
        && CentrePileHasRoom(table, centrePile);
}

bool PlayOntoCentrePile(Table& table, Piles& piles, int from, int centrePile)
{
    if (!CanPlayOntoCentrePile(table, piles, from, centrePile))
        return false;
    CentrePile& onto = table.centrePiles[centrePile];
    onto.cards[onto.count++] = piles[from].cards[--piles[from].count];
    return true;
}

bool MoveOntoEmptyPile(Piles& piles, int from, int to)
{
    if (from < 0 || from >= kPlayerPiles || to < 0 || to >= kPlayerPiles || from == to || piles[from].count == 0
        || piles[to].count != 0)
        return false;
    piles[to].cards[0] = piles[from].cards[--piles[from].count];
    piles[to].count = 1;
    return true;
}
