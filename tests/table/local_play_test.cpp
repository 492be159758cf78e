#include "table/local_play.h"
#include "table/paint_table.h"
#include "tests/support/two_copies.h"

#include <gtest/gtest.h>

namespace {

using Sounds = std::vector<SoundClip>;
constexpr SoundClip kPile = SoundClip::PileSelected;
constexpr SoundClip kMoved = SoundClip::CardMoved;

// Ours: a lone 7, an empty pile, a 9 on a 2, a king on five cards, a 4 on two;
// the centre: an ace and an 8. Left and top edges belong to the top card, right
// and bottom ones do not; the covered strip above it hits nothing. Clicks do
// nothing during a countdown nor between hands; a reselection sounds but sends nothing.
TEST(LocalPlay, SelectsRefusesPlaysAndMovesToEmptyPiles)
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
    PaintTable(rig.game);
    const Rect* mine = rig.game.board.yourPiles;
    const Rect* centre = rig.game.board.centrePiles;
    ASSERT_EQ(mine[3], (Rect{278, 332, 349, 428}));
    const std::tuple<unsigned, unsigned, bool> edges[] = {{278, 380, true},  {277, 380, false}, {300, 332, true},
                                                          {300, 331, false}, {300, 312, false}, {348, 427, true},
                                                          {349, 380, false}, {300, 428, false}};
    for (const auto& [x, y, hits] : edges) {
        t.yourSelectedPile = kNoPile;
        HandleTableClick(rig.game, x, y);
        EXPECT_EQ(t.yourSelectedPile == 3, hits) << x << "," << y;
    }
    rig.platform.sent.clear();
    rig.platform.sounds.clear();
    t.yourSelectedPile = kNoPile;

    // A click near the top-left corner of a rectangle.
    auto click = [&](const Rect& r) {
        HandleTableClick(rig.game, static_cast<unsigned>(r.left + 10), static_cast<unsigned>(r.top + 10));
    };
    rig.game.hand.countdownSeconds = 3;
    click(mine[2]);
    rig.game.hand.countdownSeconds = t.handInProgress = false;
    click(mine[2]);
    t.handInProgress = true;
    click(mine[2]);
    click(mine[2]);
    click(centre[0]);  // a 9 on an ace: refused, the selection stays
    EXPECT_EQ(t.yourSelectedPile, 2);
    click(mine[3]);
    click(centre[0]);  // the king onto the ace
    EXPECT_EQ(t.centrePiles[0].cards[2], C(kKing, kHearts));
    EXPECT_EQ(t.yourSelectedPile, kNoPile);
    EXPECT_EQ(mine[3].top, 312 + 4 * 4) << "the rectangle follows the new top card";
    click(mine[0]);
    click(mine[1]);  // even a lone card moves to an empty pile
    click(mine[4]);
    click(mine[0]);  // and into the pile just emptied
    EXPECT_EQ((Cards{t.yourPiles[0].cards[0], t.yourPiles[1].cards[0]}), (Cards{C(3, kDiamonds), C(6, kClubs)}));
    EXPECT_EQ(rig.platform.sent,
              (std::vector<Bytes>{{204, 2}, {204, 3}, {201, 3, 0}, {204, 0}, {202, 0, 1}, {204, 4}, {202, 4, 0}}));
    EXPECT_EQ(rig.platform.sounds, (Sounds{kPile, kPile, kPile, kMoved, kPile, kMoved, kPile, kMoved}));
    click(mine[2]);
    t.yourPiles[2].count = 0;  // as a snapshot from the server may do
    click(centre[1]);
    EXPECT_EQ(t.yourSelectedPile, kNoPile) << "a selection emptied under us is dropped";
    EXPECT_EQ(t.centrePiles[1].count, 1);
}

// What the check after a move finds, from the position alone.
TEST(AfterMove, EndsMovesAndStalls)
{
    const Cards lone = {C(4, kClubs)};  // next to neither the 7 nor the 9 in the centre
    const Cards tall = {C(4, kHearts), C(4, kSpades)};
    // What, our piles, theirs, whether a move is left, and the outcome; for a
    // move left, the hint once nobody has moved for a while.
    const std::tuple<const char*, std::vector<Cards>, std::vector<Cards>, bool, std::string> cases[] = {
        {"our last card went", {}, {lone}, false, "You Won !!!"},
        {"their last card went", {lone}, {}, false, "question"},
        {"both last cards went", {}, {}, false, "Tie !!!"},
        {"their play is left", {lone}, {{C(8, kClubs)}, {}, tall}, true, ""},
        {"a taller pile beside an empty one", {lone, {}, tall}, {lone}, true, "Fill your empty pile"},
        {"their taller pile beside an empty one", {lone}, {tall, {}}, true, "Your opponent can fill an empty pile"},
        {"lone cards beside empty piles", {lone, {}}, {lone, {}, lone}, false, "stall"},
        {"no pile empty", {lone, tall, lone, lone, lone}, {lone}, false, "stall"},
    };
    for (const auto& [what, mine, theirs, moveLeft, outcome] : cases) {
        for (const bool server : {true, false}) {
            SCOPED_TRACE(std::string(what) + (server ? " on the server" : " on the client"));
            RecordedGame side;
            side.game.table.role = server ? Role::Server : Role::Client;
            SetPiles(side.game.table, mine, theirs, {C(7, kClubs)}, {C(9, kDiamonds)});
            EXPECT_EQ(CheckAfterMove(side.game), moveLeft);
            EXPECT_EQ(side.game.table.handInProgress, moveLeft || outcome == "stall");
            EXPECT_EQ(side.platform.questions.size(), outcome == "question" ? 1u : 0u);
            EXPECT_EQ(side.platform.SentTypes(), outcome == "stall" && server ? Bytes{203} : Bytes{});
            EXPECT_EQ(side.platform.texts.empty() ? "" : side.platform.texts[0].text,
                      outcome.find('!') != std::string::npos ? outcome : "");
            if (!moveLeft)
                continue;
            EXPECT_EQ(TwoCopies::RunOut(side, TimerId::StallHint), outcome.empty() ? 0 : 1);
            EXPECT_EQ(side.platform.hint, outcome);
            CheckAfterMove(side.game);  // as after a move
            EXPECT_EQ(side.platform.hint, "") << "gone with the next move";
        }
    }
}

}  // namespace
