#include "table/local_play.h"
#include "table/paint_table.h"
#include "tests/support/deal_fixture.h"

#include <gtest/gtest.h>

namespace {

constexpr SoundClip kPile = SoundClip::PileSelected;
constexpr SoundClip kMoved = SoundClip::CardMoved;

using Bytes = std::vector<std::uint8_t>;

// A click in the middle of a rectangle's top row band.
void ClickIn(Game& game, const Rect& r)
{
    HandleTableClick(game, static_cast<unsigned>(r.left + 10), static_cast<unsigned>(r.top + 10));
}

class LocalPlay : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Pile 0: a lone 7; pile 1: empty; pile 2: 2 cards topped by a 9;
        // pile 3: 6 cards topped by a king; pile 4: 3 cards topped by a 4.
        SetPiles(t(),
                 {{C(6, kClubs)}, {}, {C(1, kHearts), C(8, kDiamonds)},
                  {C(1, kClubs), C(2, kClubs), C(3, kClubs), C(4, kClubs), C(5, kClubs), C(kKing, kHearts)},
                  {C(7, kSpades), C(9, kSpades), C(3, kDiamonds)}},
                 {{C(kQueen, kClubs)}, {C(kJack, kClubs)}, {C(10, kClubs)}, {C(9, kClubs)}, {C(8, kClubs)}},
                 {C(5, kHearts), C(kAce, kDiamonds)}, {C(7, kHearts)});
        PaintTable(game);
        platform.sent.clear();
    }

    Table& t() { return rig.game.table; }
    const Rect& Mine(int p) const { return rig.game.board.rcMyPiles[p]; }
    const Rect& PlayPile(int k) const { return rig.game.board.rcPlayPiles[k]; }

    RecordedGame rig;
    Game& game = rig.game;
    RecordingPlatform& platform = rig.platform;
};

TEST_F(LocalPlay, SelectingReselectingAndSwitchingPiles)
{
    ClickIn(game, Mine(2));
    EXPECT_EQ(t().nMySelectedPile, 2);
    EXPECT_EQ(platform.sent, (std::vector<Bytes>{{204, 2}}));
    EXPECT_EQ(platform.sounds, (std::vector<SoundClip>{kPile}));

    ClickIn(game, Mine(2));
    EXPECT_EQ(t().nMySelectedPile, 2);
    EXPECT_EQ(platform.sent.size(), 1u) << "a reselection sends nothing";
    EXPECT_EQ(platform.sounds, (std::vector<SoundClip>{kPile, kPile}));

    ClickIn(game, Mine(4));
    EXPECT_EQ(t().nMySelectedPile, 4);
    EXPECT_EQ(platform.sent.back(), (Bytes{204, 4}));
    EXPECT_EQ(platform.sounds, (std::vector<SoundClip>{kPile, kPile, kPile}));
}

TEST_F(LocalPlay, PlaysOntoEitherCentrePile)
{
    ClickIn(game, Mine(3));  // king onto the ace
    ClickIn(game, PlayPile(0));
    EXPECT_EQ(t().nPlayCards[0], 3);
    EXPECT_EQ(t().playPiles[0][2], C(kKing, kHearts));
    EXPECT_EQ(t().nMyPileCards[3], 5);
    EXPECT_EQ(t().nMySelectedPile, kNoPile);
    EXPECT_EQ(platform.sent.back(), (Bytes{201, 3, 0}));
    EXPECT_EQ(platform.sounds.back(), kMoved);
    // The pile's rectangle follows its new top card.
    EXPECT_EQ(Mine(3).top, 312 + 4 * 4);

    ClickIn(game, Mine(0));  // 7 onto the 8 of hearts
    ClickIn(game, PlayPile(1));
    EXPECT_EQ(t().nPlayCards[1], 2);
    EXPECT_EQ(t().playPiles[1][1], C(6, kClubs));
    EXPECT_EQ(t().nMyPileCards[0], 0);
    EXPECT_EQ(platform.sent.back(), (Bytes{201, 0, 1}));
    EXPECT_EQ(platform.SentTypes(), (Bytes{204, 201, 204, 201}));
}

TEST_F(LocalPlay, RefusedPlayChangesNothing)
{
    ClickIn(game, Mine(2));  // a 9 on an ace: refused
    const auto soundsBefore = platform.sounds.size();
    ClickIn(game, PlayPile(0));
    EXPECT_EQ(t().nPlayCards[0], 2);
    EXPECT_EQ(t().nMyPileCards[2], 2);
    EXPECT_EQ(t().nMySelectedPile, 2);
    EXPECT_EQ(platform.sent.size(), 1u);
    EXPECT_EQ(platform.sounds.size(), soundsBefore);

    // Nowhere in particular: the same.
    HandleTableClick(game, 450, 490);
    EXPECT_EQ(t().nMySelectedPile, 2);
    EXPECT_EQ(platform.sent.size(), 1u);
    EXPECT_EQ(platform.sounds.size(), soundsBefore);
}

TEST_F(LocalPlay, MovesToAnEmptyPileEvenALoneCard)
{
    ClickIn(game, Mine(1));  // empty, nothing selected: nothing happens
    EXPECT_EQ(t().nMySelectedPile, kNoPile);
    EXPECT_TRUE(platform.sent.empty());
    EXPECT_TRUE(platform.sounds.empty());

    ClickIn(game, Mine(0));
    ClickIn(game, Mine(1));
    EXPECT_EQ(t().nMyPileCards[0], 0);
    EXPECT_EQ(t().nMyPileCards[1], 1);
    EXPECT_EQ(t().myPiles[1][0], C(6, kClubs));
    EXPECT_EQ(t().nMySelectedPile, kNoPile);
    EXPECT_EQ(platform.sent.back(), (Bytes{202, 0, 1}));
    EXPECT_EQ(platform.sounds, (std::vector<SoundClip>{kPile, kMoved}));

    ClickIn(game, Mine(4));
    ClickIn(game, Mine(0));  // and back into the pile just emptied
    EXPECT_EQ(t().nMyPileCards[0], 1);
    EXPECT_EQ(t().myPiles[0][0], C(3, kDiamonds));
    EXPECT_EQ(t().nMyPileCards[4], 2);
    EXPECT_EQ(platform.sent.back(), (Bytes{202, 4, 0}));
}

TEST_F(LocalPlay, StripOfCoveredCardsHitsNothing)
{
    const Rect top = Mine(3);
    ASSERT_EQ(top, (Rect{278, 332, 349, 428}));
    HandleTableClick(game, 300, 312);  // on the first covered card
    HandleTableClick(game, 300, 331);  // the last row above the top card
    EXPECT_EQ(t().nMySelectedPile, kNoPile);
    EXPECT_TRUE(platform.sounds.empty());
    HandleTableClick(game, 300, 332);
    EXPECT_EQ(t().nMySelectedPile, 3);
    HandleTableClick(game, 348, 427);  // bottom-right corner still inside
    HandleTableClick(game, 349, 427);  // right edge is outside
    EXPECT_EQ(platform.sounds, (std::vector<SoundClip>{kPile, kPile}));
}

TEST_F(LocalPlay, ClicksIgnoredDuringCountdownsAndBetweenHands)
{
    game.hand.nCountdownSecs = 3;
    ClickIn(game, Mine(2));
    EXPECT_EQ(t().nMySelectedPile, kNoPile);

    game.hand.nCountdownSecs = 0;
    t().bHandInProgress = 0;
    ClickIn(game, Mine(2));
    EXPECT_EQ(t().nMySelectedPile, kNoPile);
    EXPECT_TRUE(platform.sent.empty());
    EXPECT_TRUE(platform.sounds.empty());
}

TEST_F(LocalPlay, SelectionEmptiedUnderUsIsDropped)
{
    ClickIn(game, Mine(2));
    t().nMyPileCards[2] = 0;  // as a snapshot from the server may do
    t().nMyPileCards[1] = 2;
    PaintTable(game);
    ClickIn(game, PlayPile(0));
    EXPECT_EQ(t().nMySelectedPile, kNoPile);
    EXPECT_EQ(t().nPlayCards[0], 2);
    ClickIn(game, Mine(2));  // now an empty pile with nothing selected
    EXPECT_EQ(platform.sent.size(), 1u);
    ClickIn(game, Mine(1));
    EXPECT_EQ(t().nMySelectedPile, 1);
}

class AfterMove : public ::testing::Test {
protected:
    RecordedGame server{};
    RecordedGame client{};
    void SetUp() override { server.game.table.bIsServer = 1; }
};

TEST_F(AfterMove, WinLossAndMoveFound)
{
    SetPiles(client.game.table, {}, {{C(3, kClubs)}}, {C(kAce, kClubs)}, {C(5, kClubs)});
    EXPECT_FALSE(CheckAfterMove(client.game));
    EXPECT_EQ(client.game.table.bHandInProgress, 0);
    EXPECT_EQ(client.game.hand.bMyPlayAgain, 1);
    EXPECT_TRUE(client.platform.ShowsText("You Won !!!"));
    EXPECT_TRUE(client.platform.sent.empty());

    SetPiles(server.game.table, {{C(3, kClubs)}}, {}, {C(kAce, kClubs)}, {C(5, kClubs)});
    server.platform.answerYes = true;
    EXPECT_FALSE(CheckAfterMove(server.game));
    EXPECT_EQ(server.game.table.bHandInProgress, 0);
    ASSERT_EQ(server.platform.questions.size(), 1u);
    EXPECT_EQ(server.platform.questions[0], "Loser: Your Opponent has Won !!\nWould you like to play another hand?");

    SetPiles(server.game.table, {{C(3, kClubs)}}, {{C(9, kClubs)}}, {C(kAce, kClubs)}, {C(4, kClubs)});
    server.platform.sent.clear();
    EXPECT_TRUE(CheckAfterMove(server.game));
    EXPECT_TRUE(server.platform.sent.empty());
}

TEST_F(AfterMove, StallIsAnnouncedByTheServerOnly)
{
    // Every pile holds one card and no top is next to an 8 or a king... nor to each other's centre piles.
    const std::vector<Cards> lone = {{C(4, kClubs)}, {C(4, kHearts)}, {C(4, kSpades)}, {C(2, kClubs)}, {C(2, kHearts)}};
    SetPiles(server.game.table, lone, lone, {C(7, kClubs)}, {C(9, kDiamonds)});
    SetPiles(client.game.table, lone, lone, {C(7, kClubs)}, {C(9, kDiamonds)});
    server.game.table.nExtraCardsLeft = client.game.table.nExtraCardsLeft = 5;

    EXPECT_FALSE(CheckAfterMove(client.game));
    EXPECT_TRUE(client.platform.sent.empty());
    EXPECT_EQ(client.game.hand.nCountdownSecs, 0);

    EXPECT_FALSE(CheckAfterMove(server.game));
    EXPECT_EQ(server.platform.sent, (std::vector<std::vector<std::uint8_t>>{{203, 0}}));
    EXPECT_EQ(server.game.hand.nCountdownSecs, 3);
    EXPECT_TRUE(server.platform.TimerRunning(TimerId::FlipCountdown));
    EXPECT_EQ(server.game.table.bHandInProgress, 1);
}

TEST_F(AfterMove, EmptyPileCountsOnlyBesideATallerPile)
{
    // One pile of three, four empty: a card can go to an empty pile.
    SetPiles(client.game.table, {{}, {}, {C(4, kClubs), C(4, kHearts), C(4, kSpades)}}, {{C(2, kClubs)}},
             {C(7, kClubs)}, {C(9, kDiamonds)});
    EXPECT_TRUE(CheckAfterMove(client.game));

    // Lone cards beside empty piles free nothing.
    SetPiles(server.game.table, {{C(4, kClubs)}, {}}, {{C(2, kClubs)}, {}, {C(2, kHearts)}}, {C(7, kClubs)},
             {C(9, kDiamonds)});
    EXPECT_FALSE(CheckAfterMove(server.game));
    EXPECT_EQ(server.platform.SentTypes(), (std::vector<std::uint8_t>{203}));

    // The opponent's move counts as much as ours.
    SetPiles(client.game.table, {{C(4, kClubs)}}, {{C(8, kClubs)}}, {C(7, kClubs)}, {C(9, kDiamonds)});
    EXPECT_TRUE(CheckAfterMove(client.game));
}

TEST_F(AfterMove, WinningPlayShowsTheWinAtOnce)
{
    SetPiles(client.game.table, {{C(kAce, kClubs)}}, {{C(5, kClubs)}}, {C(kKing, kClubs)}, {C(9, kDiamonds)});
    PaintTable(client.game);
    ClickIn(client.game, client.game.board.rcMyPiles[0]);
    ClickIn(client.game, client.game.board.rcPlayPiles[0]);
    EXPECT_EQ(client.game.table.bHandInProgress, 0);
    EXPECT_TRUE(client.platform.ShowsText("You Won !!!"));
    EXPECT_TRUE(client.platform.ShowsText("to go again.."));
    EXPECT_EQ(client.platform.sounds, (std::vector<SoundClip>{kPile, kMoved}));
}

}  // namespace
