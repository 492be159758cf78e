#include "shell/table_clicks.h"
#include "tests/support/deal_fixture.h"

#include <gtest/gtest.h>

namespace {

// Left and top edges belong to a top card, right
// and bottom ones do not; the covered strip above it hits nothing. A click on
// an empty pile moves the picked-up card there, on a centre pile plays it.
TEST(TableClicks, WhatAClickPointsAtAndWhatItDoes)
{
    RecordedGame rig;
    Table& t = rig.game.table;
    LayOutEveryKindOfPile(t);
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
