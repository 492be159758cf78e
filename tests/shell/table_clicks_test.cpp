#include "shell/table_clicks.h"
#include "tests/support/deal_fixture.h"

#include <gtest/gtest.h>

namespace {

// Ours: a lone 7, an empty pile, a 9 on a 2, a king on five cards, a 4 on two;
// the centre: an ace and an 8. Left and top edges belong to a top card, right
// and bottom ones do not; the covered strip above it hits nothing. A click on
// an empty pile moves the picked-up card there, on a centre pile plays it.
TEST(TableClicks, WhatAClickPointsAtAndWhatItDoes)
{
    RecordedGame rig;
    Table& t = rig.game.table;
    SetPiles(t,
             {{C(6, kClubs)},
              {},
              {C(1, kHearts), C(8, kDiamonds)},
              {C(1, kClubs), C(2, kClubs), C(3, kClubs), C(4, kClubs), C(5, kClubs), C(kKing, kHearts)},
              {C(7, kSpades), C(9, kSpades), C(3, kDiamonds)}},
             {{C(kQueen, kClubs)}}, {C(5, kHearts), C(kAce, kDiamonds)}, {C(7, kHearts)});
    const std::tuple<int, int, bool> edges[] = {{278, 380, true},  {277, 380, false}, {300, 332, true},  {300, 331, false},
                                                {300, 312, false}, {348, 427, true},  {349, 380, false}, {300, 428, false}};
    for (const auto& [x, y, hits] : edges) {
        t.yourSelectedPile = kNoPile;
        ClickAt(rig.game, x, y);
        EXPECT_EQ(t.yourSelectedPile == 3, hits) << x << "," << y;
    }
    rig.platform.sent.clear();
    ClickAt(rig.game, 300, 400);  // the king
    ClickAt(rig.game, 157, 178);  // the ace, near the corner: the king goes onto it
    ClickAt(rig.game, 30, 322);  // the 7
    ClickAt(rig.game, 116, 322);  // into the empty pile
    ClickAt(rig.game, 252, 263);  // the centre's 8, at its last row: nothing picked up
    EXPECT_EQ(rig.platform.sent, (std::vector<Bytes>{{204, 3}, {201, 3, 0}, {204, 0}, {202, 0, 1}}));
    EXPECT_EQ(t.yourPiles[1].count, 1);
}

}  // namespace
