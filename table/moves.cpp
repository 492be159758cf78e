#include "table/moves.h"

#include <algorithm>

bool CanPlayOntoCentre(const Table& table, const Piles& piles, const std::uint8_t counts[])
{
    for (int k = 0; k < kPlayPiles; ++k) {
        if (table.nPlayCards[k] == 0)
            continue;
        const Card& top = TopCard(table.playPiles[k], table.nPlayCards[k]);
        for (int i = 0; i < kPlayerPiles; ++i) {
            if (counts[i] > 0 && CardsAdjacent(TopCard(piles[i], counts[i]), top))
                return true;
        }
    }
    return false;
}

bool CanFillEmptyPile(const std::uint8_t counts[])
{
    return std::find(counts, counts + kPlayerPiles, 0) != counts + kPlayerPiles && AnyPileAbove(1, counts);
}

bool CanPlayOntoPlayPile(const Table& table, const std::uint8_t counts[], int from, int playPile)
{
    return from >= 0 && from < kPlayerPiles && playPile >= 0 && playPile < kPlayPiles && counts[from] > 0
        && PlayPileHasRoom(table, playPile);
}

bool PlayOntoPlayPile(Table& table, Piles& piles, std::uint8_t counts[], int from, int playPile)
{
    if (!CanPlayOntoPlayPile(table, counts, from, playPile))
        return false;
    table.playPiles[playPile][table.nPlayCards[playPile]++] = piles[from][--counts[from]];
    return true;
}

bool MoveOntoEmptyPile(Piles& piles, std::uint8_t counts[], int from, int to)
{
    if (from < 0 || from >= kPlayerPiles || to < 0 || to >= kPlayerPiles || from == to || counts[from] == 0 || counts[to] != 0)
        return false;
    piles[to][0] = piles[from][--counts[from]];
    counts[to] = 1;
    return true;
}
