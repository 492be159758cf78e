#include "table/local_play.h"
#include "table/phase.h"
#include "tests/support/two_copies.h"

#include <gtest/gtest.h>

namespace {

using Sounds = std::vector<SoundClip>;
constexpr SoundClip kPile = SoundClip::PileSelected;
constexpr SoundClip kMoved = SoundClip::CardMoved;

// Every kind of pile. Nothing is taken during a countdown nor between
// hands; a reselection sounds but sends nothing.
TEST(LocalPlay, SelectsRefusesPlaysAndMovesToEmptyPiles)
{
    RecordedGame rig;
    Table& t = rig.game.table;
    LayOutEveryKindOfPile(t);
    rig.game.hand.countdownSeconds = 3;
    SelectPile(rig.game, 2);
    rig.game.hand.countdownSeconds = t.handInProgress = false;
    SelectPile(rig.game, 2);
    t.handInProgress = true;
    PlayOntoCentre(rig.game, 0);  // nothing picked up
    SelectPile(rig.game, 1);  // empty
    SelectPile(rig.game, 5);
    SelectPile(rig.game, 2);
    SelectPile(rig.game, 2);
    PlayOntoCentre(rig.game, 0);  // a 9 on an ace: refused, the selection stays
    EXPECT_EQ(t.yourSelectedPile, 2);
    SelectPile(rig.game, 3);
    PlayOntoCentre(rig.game, 0);  // the king onto the ace
    EXPECT_EQ(t.centrePiles[0].cards[2], C(kKing, kHearts));
    EXPECT_EQ(t.yourSelectedPile, kNoPile);
    SelectPile(rig.game, 0);
    MoveToEmptyPile(rig.game, 2);  // not empty
    MoveToEmptyPile(rig.game, 1);  // even a lone card moves to an empty pile
    SelectPile(rig.game, 4);
    MoveToEmptyPile(rig.game, 0);  // and into the pile just emptied
    EXPECT_EQ((Cards{t.yourPiles[0].cards[0], t.yourPiles[1].cards[0]}), (Cards{C(3, kDiamonds), C(6, kClubs)}));
    EXPECT_EQ(rig.platform.sent,
              (std::vector<Bytes>{{204, 2}, {204, 3}, {201, 3, 0}, {204, 0}, {202, 0, 1}, {204, 4}, {202, 4, 0}}));
    EXPECT_EQ(rig.platform.sounds, (Sounds{kPile, kPile, kPile, kMoved, kPile, kMoved, kPile, kMoved}));
    SelectPile(rig.game, 2);
    t.yourPiles[2].count = 0;  // as a snapshot from the server may do
    PlayOntoCentre(rig.game, 1);
    EXPECT_EQ(t.yourSelectedPile, kNoPile) << "a selection emptied under us is dropped";
    EXPECT_EQ(t.centrePiles[1].count, 1);
}

// What the check after a move finds, from the position alone.
TEST(LocalPlay, AfterAMoveEndsTheHandOrFindsAStall)
{
    const Cards lone = {C(4, kClubs)};  // next to neither the 7 nor the 9 in the centre
    const Cards tall = {C(4, kHearts), C(4, kSpades)};
    // What, our piles, theirs, whether a move is left, and the phase after;
    // for a move left, the hint once nobody has moved for a while.
    const std::tuple<const char*, std::vector<Cards>, std::vector<Cards>, bool, Phase, StallHint> cases[] = {
        {"our last card went", {}, {lone}, false, Phase::Won, StallHint::None},
        {"their last card went", {lone}, {}, false, Phase::LostAndAsked, StallHint::None},
        {"both last cards went", {}, {}, false, Phase::Tie, StallHint::None},
        {"their play is left", {lone}, {{C(8, kClubs)}, {}, tall}, true, Phase::InHand, StallHint::None},
        {"a taller pile beside an empty one", {lone, {}, tall}, {lone}, true, Phase::InHand, StallHint::FillYours},
        {"their taller pile beside an empty one", {lone}, {tall, {}}, true, Phase::InHand, StallHint::OpponentFills},
        {"lone cards beside empty piles", {lone, {}}, {lone, {}, lone}, false, Phase::FlipCountdown, StallHint::None},
        {"no pile empty", {lone, tall, lone, lone, lone}, {lone}, false, Phase::FlipCountdown, StallHint::None},
    };
    for (const auto& [what, mine, theirs, moveLeft, phase, hint] : cases) {
        for (const bool server : {true, false}) {
            SCOPED_TRACE(std::string(what) + (server ? " on the server" : " on the client"));
            RecordedGame side(server ? Role::Server : Role::Client);
            SeatOpponent(side.game);
            SetPiles(side.game.table, mine, theirs, {C(7, kClubs)}, {C(9, kDiamonds)});
            EXPECT_EQ(CheckAfterMove(side.game), moveLeft);
            // Only the server announces a flip.
            EXPECT_EQ(PhaseOf(side.game), phase == Phase::FlipCountdown && !server ? Phase::InHand : phase);
            EXPECT_EQ(side.platform.Shown(ViewPart::PlayAgainQuestion), phase == Phase::LostAndAsked ? 1 : 0);
            EXPECT_EQ(side.platform.SentTypes(), phase == Phase::FlipCountdown && server ? Bytes{203} : Bytes{});
            if (!moveLeft)
                continue;
            EXPECT_EQ(TwoCopies::RunOut(side, TimerId::StallHint), hint == StallHint::None ? 0 : 1);
            EXPECT_EQ(side.game.hand.stallHint, hint);
            CheckAfterMove(side.game);  // as after a move
            EXPECT_EQ(side.game.hand.stallHint, StallHint::None) << "gone with the next move";
        }
    }
}

}  // namespace
