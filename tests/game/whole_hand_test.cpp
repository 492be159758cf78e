#include "table/local_play.h"
#include "table/paint_table.h"
#include "table/phase.h"
#include "table/stall_flip.h"
#include "tests/support/two_copies.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

TEST(WholeHand, EndOfHandScreensAndTheLosersAnswers)
{
    RecordedGame winner;
    SetPiles(winner.game.table, {}, {{C(5, kClubs)}}, {C(5, kHearts)}, {C(2, kHearts)});
    CheckAfterMove(winner.game);
    EXPECT_EQ(winner.platform.texts,
              (Texts{{130, 120, "You Won !!!"}, {60, 315, "Waiting for Opponent"}, {125, 365, "to go again.."}}));
    EXPECT_EQ((std::pair{winner.game.score.mine, winner.game.score.theirs}), (std::pair{1, 0}));
    Receive(winner, {208});
    EXPECT_TRUE(winner.platform.readyButton);

    // The answer, whether the winner stays (0), is replaced (1) or leaves (2) meanwhile, and what follows.
    const std::tuple<bool, int, Bytes, bool, int> answers[] = {
        {true, 0, {208}, true, 0}, {false, 0, {}, false, 1}, {true, 1, {}, true, 0}, {false, 2, {}, false, 1}};
    for (const auto& [yes, gone, sent, ready, closes] : answers) {
        SCOPED_TRACE(testing::Message() << "yes " << yes << ", winner gone " << gone);
        RecordedGame loser;
        SetPiles(loser.game.table, {{C(4, kClubs)}}, {}, {C(5, kHearts)}, {C(2, kHearts)});
        loser.game.hand.opponentIsReady = true;
        CheckAfterMove(loser.game);
        EXPECT_EQ(loser.platform.questions,
                  std::vector<std::string>{"Loser: Your Opponent has Won !!\nWould you like to play another hand?"});
        EXPECT_TRUE(loser.platform.sent.empty() && !loser.platform.readyButton) << "nothing until answered";
        if (gone)
            (gone == 1 ? ResetForNewOpponent : OnOpponentLeft)(loser.game);
        for (int twice = 0; twice < 2; ++twice)
            AnswerPlayAgain(loser.game, yes);
        EXPECT_EQ(loser.platform.SentTypes(), sent);
        EXPECT_EQ(loser.platform.readyButton, ready);
        EXPECT_EQ(loser.platform.closeRequests, closes);
        EXPECT_EQ(loser.game.hand.opponentIsReady, gone ? 0 : 1) << "a new opponent has not pressed ready";
        EXPECT_EQ(loser.game.score.handsEnded, gone == 1 ? 0 : 1) << "a new opponent starts from nothing";
    }

    RecordedGame notYetAnswered;
    Receive(notYetAnswered, {208});
    EXPECT_EQ(notYetAnswered.platform.texts, (Texts{{65, 100, "Your Opponent"}, {60, 145, "wants to go again.."}}));
    EXPECT_FALSE(notYetAnswered.platform.readyButton);
}

// Both last cards at once, the client's by way of an empty pile: each copy shows
// the tie over its last table for three seconds and asks nothing. A ready pressed
// early still counts, but one ready player is not enough; the countdown runs
// from 5, and the deal ends the client's too. Then the phases of a hand to its end.
TEST(WholeHand, TieThenReadyHandshakeCountdownAndDeal)
{
    std::srand(42);  // a first deal with a play in it
    TwoCopies copies;
    Game &s = copies.server.game, &c = copies.client.game;
    SeatOpponent(s), SeatOpponent(c);
    RecordingPlatform& server = copies.server.platform;
    RecordingPlatform& client = copies.client.platform;
    SetPiles(copies.server.game.table, {{C(4, kClubs)}}, {{C(6, kClubs)}}, {C(5, kHearts)}, {C(2, kHearts)});
    SetPiles(copies.client.game.table, {{C(6, kClubs)}}, {{C(4, kClubs)}}, {C(5, kHearts)}, {C(2, kHearts)});
    for (const auto& [side, piles] : {std::pair{&copies.server, std::vector{0, -1}}, {&copies.client, {0, 1, 1, -1}}}) {
        side->game.table.stackHeight = 24;
        PaintTable(side->game);
        for (const int pile : piles)  // -1: the centre pile on the left
            pile < 0 ? ClickCentrePile(side->game, 0) : ClickYourPile(side->game, pile);
    }
    copies.DeliverAll();
    for (RecordingPlatform* side : {&server, &client}) {
        EXPECT_EQ(side->texts, (Texts{{170, 120, "Tie !!!"}})) << "still on show after the late snapshot";
        EXPECT_TRUE(side->questions.empty());
    }
    for (const Game* game : {&copies.server.game, &copies.client.game}) {
        EXPECT_EQ(PhaseOf(*game), Phase::Tie);
        EXPECT_EQ((std::array{game->score.mine, game->score.theirs, game->score.handsEnded}), (std::array{0, 0, 1}))
            << "a tie counts for nobody";
    }
    EXPECT_EQ(TwoCopies::RunOut(copies.client, TimerId::TieDisplay), 1);
    OnReadyPressed(copies.client.game);
    EXPECT_EQ(client.texts, (Texts{{40, 250, "Waiting for Opponent"}}));
    copies.DeliverAll();
    EXPECT_EQ((std::pair{PhaseOf(s), PhaseOf(c)}), (std::pair{Phase::Tie, Phase::ReadyHandshake}));
    EXPECT_FALSE(server.TimerRunning(TimerId::StartCountdown));
    EXPECT_EQ(TwoCopies::RunOut(copies.server, TimerId::TieDisplay), 1);
    OnReadyPressed(copies.server.game);
    copies.DeliverAll();
    for (RecordingPlatform* side : {&server, &client})
        EXPECT_EQ(side->texts, (Texts{{40, 250, "Game starts in 5 sec"}}));
    EXPECT_EQ((std::pair{PhaseOf(s), PhaseOf(c)}), (std::pair{Phase::StartCountdown, Phase::StartCountdown}));
    for (int second = 4; second >= 1; --second) {
        OnTimer(copies.server.game, TimerId::StartCountdown);
        EXPECT_EQ(server.texts, (Texts{{40, 250, "Game starts in " + std::to_string(second) + " sec"}}));
    }
    OnTimer(copies.client.game, TimerId::StartCountdown);
    OnTimer(copies.server.game, TimerId::StartCountdown);
    // The deal goes each card rank first; the client lays it out with the players' piles exchanged.
    const Bytes& deal = server.sent.back();
    ASSERT_EQ(deal.size(), 105u);
    const Card first = copies.server.game.table.yourPiles[0].cards[0];
    EXPECT_EQ((Bytes{deal[0], deal[1], deal[2]}), (Bytes{200, first.rank, first.suit}));
    copies.DeliverAll();
    EXPECT_TRUE(Mirrored(copies.server.game.table, copies.client.game.table));
    EXPECT_FALSE(client.TimerRunning(TimerId::StartCountdown));
    ClickYourPile(copies.client.game, 0);
    EXPECT_EQ(copies.client.game.table.yourSelectedPile, 0) << "the deal ended the client's countdown";

    using enum Phase;
    const std::tuple<const char*, std::function<void()>, Phase, Phase> steps[] = {
        {"dealt", [] {}, InHand, InHand},
        {"flip announced", [&] { AnnounceFlip(s); }, FlipCountdown, FlipCountdown},
        {"server flipped", [&] { TwoCopies::RunOut(copies.server, TimerId::FlipCountdown); }, InHand, FlipCountdown},
        {"server's last card",
         [&] {
             SetPiles(s.table, {{C(4, kClubs)}}, {{C(9, kClubs)}}, {C(5, kHearts)}, {C(2, kHearts)});
             SetPiles(c.table, {{C(9, kClubs)}}, {{C(4, kClubs)}}, {C(5, kHearts)}, {C(2, kHearts)});
             PaintTable(s), ClickYourPile(s, 0), ClickCentrePile(s, 0);
         },
         Won, LostAndAsked},
        {"loser goes again", [&] { AnswerPlayAgain(c, true); }, ReadyHandshake, ReadyHandshake},
        {"again, unasked", [&] { Receive(copies.client, {208}); }, ReadyHandshake, OpponentWantsAgain},
        {"both left", [&] { OnOpponentLeft(s), OnOpponentLeft(c); }, WaitingForOpponent, WaitingForOpponent},
    };
    for (const auto& [step, act, serverPhase, clientPhase] : steps) {
        act();
        copies.DeliverAll();
        EXPECT_EQ((std::pair{PhaseOf(s), PhaseOf(c)}), (std::pair{serverPhase, clientPhase})) << step;
    }
}

}  // namespace
