#include "tests/support/two_copies.h"

#include <gtest/gtest.h>

namespace {

// Moves no correct peer sends are dropped whole, and so are centre piles of 0
// or 53 cards. Centre tops come as counts, then rank and suit of each pile's
// top card and of the one below it, and overwrite only those slots, if the
// table still holds each card once.
TEST(RemoteMoves, ImpossibleMovesDroppedWholeCentreTopsOverwriteOnlyTheTopSlots)
{
    Deck deck;
    FillFreshDeck(deck);
    Table server;
    RecordedGame client;
    Table& t = client.game.table;
    LayOutDealOnTable(server, deck, false);
    LayOutDealOnTable(t, deck, true);
    server.yourPiles[1].count = t.opponentPiles[1].count = 0;
    t.handInProgress = true;
    Receive(client,
            {201, 5, 0, 201, 0, 2, 201, 1, 0,  // no such pile, no such centre pile, an empty pile
             202, 0, 5, 202, 2, 2, 202, 1, 3, 202, 0, 2,  // no such pile, onto itself, from an empty pile, onto a full one
             207, 0, 1, 0,   0, 0, 0,   0, 0, 0,   0, 207, 1, 53, 0, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_TRUE(Mirrored(server, t));
    EXPECT_TRUE(client.platform.sent.empty());

    t.opponentPiles[1].count = 3;
    Receive(client, {201, 4, 1});  // the centre: the queen of spades; the king of hearts on the king of spades
    const std::pair<Bytes, bool> cases[] = {
        {{207, 1, 2, 11, 3, 0, 0, 12, 2, 12, 2}, false},  // a king twice
        {{207, 1, 1, 11, 3, 0, 0, 12, 2, 0, 0}, false},  // 51 cards
        {{207, 1, 2, 11, 3, 0, 0, 25, 2, 12, 2}, false},  // no such card, where the king of spades would be
        {{207, 1, 2, 11, 3, 0, 0, 12, 3, 12, 2}, true}};  // the kings swapped
    for (const auto& [message, taken] : cases) {
        const Table before = t;
        Receive(client, message);
        EXPECT_EQ(t == before, !taken) << int{message[7]};
    }
    EXPECT_EQ((Cards{t.centrePiles[1].cards[0], t.centrePiles[1].cards[1]}), (Cards{C(kKing, kHearts), C(kKing, kSpades)}));
}

}  // namespace
