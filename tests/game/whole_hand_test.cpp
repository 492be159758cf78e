#include "tests/support/bot.h"
#include "table/paint_table.h"
#include "table/stall_flip.h"
#include "tests/support/deal_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Bytes = std::vector<std::uint8_t>;

bool Drew(const RecordedGame& side, const std::string& text)
{
    const auto& history = side.platform.textHistory;
    return std::find(history.begin(), history.end(), text) != history.end();
}

int Count(const std::vector<std::uint8_t>& types, std::uint8_t type)
{
    return static_cast<int>(std::count(types.begin(), types.end(), type));
}

// Plays the hand out, both bots moving in turn, until it is over on both copies.
void PlayOut(TwoCopies& copies, Bot& serverBot, Bot& clientBot)
{
    for (int round = 0; round < 2000 && (copies.server.game.table.bHandInProgress || copies.client.game.table.bHandInProgress); ++round) {
        if (copies.server.game.table.bHandInProgress)
            serverBot.Move(copies.server.game);
        copies.DeliverAll();
        if (copies.client.game.table.bHandInProgress)
            clientBot.Move(copies.client.game);
        copies.DeliverAll();
        if (TwoCopies::RunOut(copies.server, TimerId::FlipCountdown) > 0) {
            copies.DeliverAll();
            TwoCopies::RunOut(copies.client, TimerId::FlipCountdown);
        }
    }
}

TEST(WholeHand, ReadyDealPlayWinAskAndAgain)
{
    TwoCopies copies;
    RecordedGame& server = copies.server;
    RecordedGame& client = copies.client;
    server.platform.CreateReadyButton();
    client.platform.CreateReadyButton();

    // The server presses first and waits; the client's press starts its countdown at once.
    OnReadyPressed(server.game);
    EXPECT_FALSE(server.platform.readyButton);
    EXPECT_TRUE(server.platform.ShowsText("Waiting for Opponent"));
    copies.DeliverAll();
    EXPECT_EQ(client.game.hand.bOppReady, 1);
    EXPECT_TRUE(client.platform.texts.empty()) << "an early ready changes nothing on screen";
    OnReadyPressed(client.game);
    EXPECT_TRUE(client.platform.ShowsText("Game starts in 5 sec"));
    EXPECT_EQ(client.game.hand.nCountdownSecs, 5);
    copies.DeliverAll();
    EXPECT_TRUE(server.platform.ShowsText("Game starts in 5 sec"));

    // The server's countdown ends first; its deal overtakes the client's countdown.
    for (int second = 4; second >= 1; --second) {
        TwoCopies::Tick(server, TimerId::StartCountdown);
        EXPECT_TRUE(server.platform.ShowsText("Game starts in " + std::to_string(second) + " sec"));
    }
    TwoCopies::Tick(client, TimerId::StartCountdown);
    HandleTableClick(client.game, 200, 200);
    TwoCopies::Tick(server, TimerId::StartCountdown);
    EXPECT_FALSE(server.platform.TimerRunning(TimerId::StartCountdown));
    EXPECT_EQ(server.platform.SentTypes().back(), 200);
    copies.DeliverAll();
    EXPECT_EQ(client.game.table.bHandInProgress, 1);
    EXPECT_EQ(client.game.hand.nCountdownSecs, 0) << "the deal stops the client's countdown";
    EXPECT_FALSE(client.platform.TimerRunning(TimerId::StartCountdown));
    EXPECT_TRUE(Mirrored(server.game.table, client.game.table));

    Bot serverBot(1), clientBot(2);
    PlayOut(copies, serverBot, clientBot);
    copies.DeliverAll();

    RecordedGame& winner = Drew(server, "You Won !!!") ? server : client;
    RecordedGame& loser = &winner == &server ? client : server;
    ASSERT_TRUE(Drew(winner, "You Won !!!")) << "somebody won";
    EXPECT_FALSE(Drew(loser, "You Won !!!"));
    EXPECT_EQ(CardsLeft(winner.game.table.nMyPileCards), 0);
    EXPECT_EQ(loser.platform.questions.size(), 1u);
    EXPECT_TRUE(winner.platform.questions.empty());
    // The Yes went out and both are back at the ready button.
    EXPECT_EQ(loser.platform.SentTypes().back(), 208);
    EXPECT_TRUE(loser.platform.readyButton);
    EXPECT_TRUE(winner.platform.readyButton);
    EXPECT_EQ(winner.game.hand.bMyPlayAgain, 0);
    EXPECT_EQ(winner.game.table.bHandInProgress, 0);
    EXPECT_EQ(loser.game.table.bHandInProgress, 0);

    // Clicks between hands do nothing.
    const auto sentBefore = client.platform.sent.size();
    Bot::ClickCentre(client.game, client.game.board.rcMyPiles[4]);
    EXPECT_EQ(client.platform.sent.size(), sentBefore);

    // The server deals the next hand, whoever won.
    const int dealsBefore = Count(server.platform.SentTypes(), 200);
    copies.StartHand();
    EXPECT_EQ(Count(server.platform.SentTypes(), 200), dealsBefore + 1);
    EXPECT_EQ(client.game.table.bHandInProgress, 1);
    EXPECT_TRUE(Mirrored(server.game.table, client.game.table));
    EXPECT_EQ(client.game.table.nMySelectedPile, kNoPile);
}

TEST(WholeHand, CrossingPlaysEndInTheServersOrder)
{
    TwoCopies copies;
    // Both can play onto centre pile 0 (a six): the server a five, the client a seven.
    const std::vector<Cards> serverMine = {{C(4, kClubs)}, {C(kKing, kClubs)}, {C(kKing, kHearts)}, {C(kKing, kSpades)}, {C(kKing, kDiamonds)}};
    const std::vector<Cards> clientMine = {{C(6, kClubs)}, {C(10, kClubs)}, {C(10, kHearts)}, {C(10, kSpades)}, {C(10, kDiamonds)}};
    SetPiles(copies.server.game.table, serverMine, clientMine, {C(5, kHearts)}, {C(2, kHearts)});
    SetPiles(copies.client.game.table, clientMine, serverMine, {C(5, kHearts)}, {C(2, kHearts)});
    copies.server.game.table.nExtraCardsLeft = copies.client.game.table.nExtraCardsLeft = 20;
    for (RecordedGame* side : {&copies.server, &copies.client})
        PaintTable(side->game);

    for (RecordedGame* side : {&copies.server, &copies.client}) {
        Bot::ClickCentre(side->game, side->game.board.rcMyPiles[0]);
        Bot::ClickCentre(side->game, side->game.board.rcPlayPiles[0]);
    }
    EXPECT_EQ(copies.client.game.table.playPiles[0][1], C(6, kClubs)) << "each copy puts its own card first";
    copies.DeliverAll();
    const Table& server = copies.server.game.table;
    const Table& client = copies.client.game.table;
    EXPECT_EQ(server.playPiles[0][1], C(4, kClubs));
    EXPECT_EQ(server.playPiles[0][2], C(6, kClubs));
    EXPECT_TRUE(Mirrored(server, client));
    EXPECT_EQ(Count(copies.server.platform.SentTypes(), 210), 1) << "one snapshot for the client's one play";
}

TEST(WholeHand, BothLastCardsAtOnceIsATie)
{
    TwoCopies copies;
    const std::vector<Cards> serverMine = {{C(4, kClubs)}};
    const std::vector<Cards> clientMine = {{C(6, kClubs)}};
    SetPiles(copies.server.game.table, serverMine, clientMine, {C(5, kHearts)}, {C(2, kHearts)});
    SetPiles(copies.client.game.table, clientMine, serverMine, {C(5, kHearts)}, {C(2, kHearts)});
    copies.server.game.table.nExtraCardsLeft = copies.client.game.table.nExtraCardsLeft = 24;
    for (RecordedGame* side : {&copies.server, &copies.client}) {
        PaintTable(side->game);
        Bot::ClickCentre(side->game, side->game.board.rcMyPiles[0]);
        Bot::ClickCentre(side->game, side->game.board.rcPlayPiles[0]);
        EXPECT_TRUE(side->platform.ShowsText("You Won !!!"));
    }
    copies.DeliverAll();
    for (RecordedGame* side : {&copies.server, &copies.client}) {
        EXPECT_TRUE(side->platform.ShowsText("Tie !!!")) << "still on show after the late snapshot";
        EXPECT_TRUE(side->platform.questions.empty());
    }
    // Each copy waits out its own three seconds: the client is back first and
    // presses ready while the server still shows the tie.
    EXPECT_EQ(TwoCopies::RunOut(copies.client, TimerId::TieDisplay), 1);
    EXPECT_TRUE(copies.client.platform.readyButton);
    OnReadyPressed(copies.client.game);
    copies.DeliverAll();
    EXPECT_FALSE(copies.server.platform.TimerRunning(TimerId::StartCountdown)) << "the server has not pressed yet";
    EXPECT_EQ(TwoCopies::RunOut(copies.server, TimerId::TieDisplay), 1);
    EXPECT_TRUE(copies.server.platform.readyButton);
    EXPECT_EQ(copies.server.game.hand.bMyPlayAgain, 0);
    OnReadyPressed(copies.server.game);
    EXPECT_TRUE(copies.server.platform.TimerRunning(TimerId::StartCountdown)) << "the client's early press still counts";
    copies.DeliverAll();
    EXPECT_TRUE(copies.client.platform.TimerRunning(TimerId::StartCountdown));
    EXPECT_EQ(Count(copies.client.platform.SentTypes(), 208), 0);
    EXPECT_EQ(Count(copies.server.platform.SentTypes(), 208), 0);
}

TEST(WholeHand, OpponentWantsToGoAgainBeforeWeAnswered)
{
    RecordedGame side;
    OnOpponentPlayAgain(side.game);
    EXPECT_TRUE(side.platform.ShowsText("Your Opponent"));
    EXPECT_TRUE(side.platform.ShowsText("wants to go again.."));
    EXPECT_FALSE(side.platform.readyButton);

    side.game.hand.bMyPlayAgain = 1;
    OnOpponentPlayAgain(side.game);
    EXPECT_TRUE(side.platform.readyButton);
    EXPECT_TRUE(side.platform.texts.empty());
}

TEST(WholeHand, NewOpponentWhileTheLoserIsAskedGetsNoPlayAgain)
{
    RecordedGame server;
    server.game.table.bIsServer = 1;
    SetPiles(server.game.table, {{C(4, kClubs)}}, {}, {C(5, kHearts)}, {C(2, kHearts)});
    // The question is open when the winner's copy goes and another client joins.
    server.platform.onAsk = [&] { ResetForNewOpponent(server.game); };
    CheckAfterMove(server.game);
    EXPECT_EQ(server.platform.questions.size(), 1u);
    EXPECT_TRUE(server.platform.sent.empty()) << "the new client never lost a hand";
    EXPECT_TRUE(server.platform.readyButton);
}

TEST(WholeHand, LoserWhoSaysNoClosesTheProgram)
{
    RecordedGame side;
    SetPiles(side.game.table, {{C(4, kClubs)}}, {}, {C(5, kHearts)}, {C(2, kHearts)});
    side.platform.answerYes = false;
    CheckAfterMove(side.game);
    EXPECT_EQ(side.platform.closeRequests, 1);
    EXPECT_TRUE(side.platform.sent.empty());
    EXPECT_FALSE(side.platform.readyButton);
}

}  // namespace

namespace {

// A table both copies hold: the client's pile 0 tops a seven over a two,
// its pile 1 is empty; the centre shows an eight and a king.
void SetUpAgreeingTables(TwoCopies& copies)
{
    const std::vector<Cards> serverMine = {{C(2, kClubs)}, {C(2, kHearts)}, {C(2, kSpades)}, {C(2, kDiamonds)}, {C(9, kClubs), C(4, kClubs)}};
    const std::vector<Cards> clientMine = {{C(1, kClubs), C(6, kClubs)}, {}, {C(10, kHearts), C(5, kHearts)}, {C(10, kSpades)}, {C(10, kDiamonds)}};
    SetPiles(copies.server.game.table, serverMine, clientMine, {C(7, kHearts)}, {C(kKing, kHearts)});
    SetPiles(copies.client.game.table, clientMine, serverMine, {C(7, kHearts)}, {C(kKing, kHearts)});
    for (RecordedGame* side : {&copies.server, &copies.client}) {
        side->game.table.nExtraCardsLeft = 19;
        for (int k = 0; k < 2; ++k)
            for (int i = 0; i < 19; ++i)
                side->game.table.extraCards[k][i] = FreshDeckCard(20 + i + k);
        PaintTable(side->game);
        ASSERT_EQ(CardsOnTable(side->game.table), 52);
    }
}

TEST(StaleSnapshot, DoesNotTakeBackTheClientsLaterMoves)
{
    TwoCopies copies;
    SetUpAgreeingTables(copies);
    Game& client = copies.client.game;
    // The seven onto the eight, then the two it uncovers into the empty pile,
    // before the server's answer to the play comes back.
    Bot::ClickCentre(client, client.board.rcMyPiles[0]);
    Bot::ClickCentre(client, client.board.rcPlayPiles[0]);
    TwoCopies::Deliver(copies.server);  // the server has the play, not yet the move
    Bot::ClickCentre(client, client.board.rcMyPiles[0]);
    Bot::ClickCentre(client, client.board.rcMyPiles[1]);
    ASSERT_EQ(copies.client.platform.SentTypes(), (Bytes{204, 201, 204, 202}));
    TwoCopies::Deliver(copies.client);  // the snapshot built before the move
    EXPECT_EQ(client.table.nMyPileCards[0], 0) << "the move stays made";
    EXPECT_EQ(client.table.nMyPileCards[1], 1);
    copies.DeliverAll();
    EXPECT_TRUE(Mirrored(copies.server.game.table, client.table));
}

TEST(FlipRace, ServerPlayAfterItsFlipLandsOnTheFlippedCard)
{
    TwoCopies copies;
    SetUpAgreeingTables(copies);
    Game& server = copies.server.game;
    // A flip announced and carried out on the server, which then plays at once,
    // while the client's countdown has not run out yet.
    AnnounceFlip(server);
    copies.DeliverAll();
    for (int tick = 0; tick < 3; ++tick)
        FlipCountdownTick(server);
    const Card flipped = server.table.playPiles[0][1];
    server.table.myPiles[4][1] = flipped;  // something that goes on the flipped card
    server.table.myPiles[4][1].rank = static_cast<std::uint8_t>((flipped.rank + 1) % kRanks);
    copies.client.game.table.oppPiles[4][1] = server.table.myPiles[4][1];
    PaintTable(server);
    TwoCopies::Tick(copies.client, TimerId::FlipCountdown);
    Bot::ClickCentre(server, server.board.rcMyPiles[4]);
    Bot::ClickCentre(server, server.board.rcPlayPiles[0]);
    ASSERT_EQ(server.table.nPlayCards[0], 3);
    copies.DeliverAll();
    EXPECT_TRUE(Mirrored(server.table, copies.client.game.table)) << "the client flipped first, as the server did";
    EXPECT_FALSE(copies.client.platform.TimerRunning(TimerId::FlipCountdown));
    EXPECT_EQ(copies.client.game.hand.nCountdownSecs, 0);
    EXPECT_EQ(copies.client.game.hand.nPendingFlips, 0);
}

}  // namespace
