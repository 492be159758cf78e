#include "table/hand_flow.h"
#include "table/local_play.h"
#include "table/phase.h"
#include "table/stall_flip.h"
#include "tests/support/two_copies.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

TEST(HandFlow, EndOfHandScreensAndTheLosersAnswers)
{
    RecordedGame winner;
    SeatOpponent(winner.game);
    SetPiles(winner.game.table, {}, {{C(5, kClubs)}}, {C(5, kHearts)}, {C(2, kHearts)});
    CheckAfterMove(winner.game);
    EXPECT_EQ(PhaseOf(winner.game), Phase::Won);
    EXPECT_EQ((std::pair{winner.game.score.mine, winner.game.score.theirs}), (std::pair{1, 0}));
    Receive(winner, {208});
    EXPECT_TRUE(ViewOf(winner.game).readyOffered);

    // The answer, whether the winner stays (0), is replaced (1) or leaves (2)
    // meanwhile, and what follows: whether the answer still counted (a No then
    // ends the game) and a ready button is shown.
    const std::tuple<bool, int, Bytes, bool, bool> answers[] = {
        {true, 0, {208}, true, true}, {false, 0, {}, false, true}, {true, 1, {}, true, false}, {false, 2, {}, false, true}};
    for (const auto& [yes, gone, sent, ready, counted] : answers) {
        SCOPED_TRACE(testing::Message() << "yes " << yes << ", winner gone " << gone);
        RecordedGame loser;
        SeatOpponent(loser.game);
        SetPiles(loser.game.table, {{C(4, kClubs)}}, {}, {C(5, kHearts)}, {C(2, kHearts)});
        loser.game.hand.opponentIsReady = true;
        CheckAfterMove(loser.game);
        EXPECT_EQ(PhaseOf(loser.game), Phase::LostAndAsked);
        EXPECT_EQ(loser.platform.Shown(ViewPart::PlayAgainQuestion), 1);
        const int buttonShown = loser.platform.Shown(ViewPart::ReadyButton);
        EXPECT_TRUE(loser.platform.sent.empty() && !ViewOf(loser.game).readyOffered) << "nothing until answered";
        EXPECT_FALSE(AcceptOpponent(loser.game)) << "nobody takes over a seat still taken";
        if (gone)
            OnOpponentLeft(loser.game);
        EXPECT_EQ(gone == 1 && AcceptOpponent(loser.game), gone == 1);
        EXPECT_EQ(AnswerPlayAgain(loser.game, yes), counted);
        EXPECT_FALSE(AnswerPlayAgain(loser.game, yes)) << "answered once only";
        EXPECT_EQ(loser.platform.SentTypes(), sent);
        EXPECT_EQ(loser.platform.Shown(ViewPart::ReadyButton) > buttonShown && ViewOf(loser.game).readyOffered, ready);
        EXPECT_EQ(loser.game.hand.opponentIsReady, gone ? 0 : 1) << "a new opponent has not pressed ready";
        EXPECT_EQ(loser.game.score.handsEnded, gone == 1 ? 0 : 1) << "a new opponent starts from nothing";
    }

    RecordedGame notYetAnswered;
    SeatOpponent(notYetAnswered.game);
    Receive(notYetAnswered, {208});
    EXPECT_EQ(PhaseOf(notYetAnswered.game), Phase::OpponentWantsAgain);
    PressReady(notYetAnswered.game);
    EXPECT_EQ(notYetAnswered.platform.SentTypes(), Bytes{205}) << "the ready button still counts";
    EXPECT_EQ(PhaseOf(notYetAnswered.game), Phase::ReadyHandshake) << "and we wait for them";
    RecordedGame tied;
    SeatOpponent(tied.game);
    tied.game.hand.tieShowing = true;
    Receive(tied, {208});
    PressReady(tied.game);
    EXPECT_TRUE(tied.platform.sent.empty()) << "over the tie there is no button yet";
}

// Both last cards at once, the client's by way of an empty pile: each copy shows
// the tie over its last table for three seconds and asks nothing. A ready pressed
// early still counts, but one ready player is not enough; the countdown runs
// from 5, and the deal ends the client's too. Then the phases of a hand to its end.
TEST(HandFlow, TieThenReadyHandshakeCountdownAndDeal)
{
    std::srand(42);  // a first deal with a play in it
    TwoCopies copies;
    Game &s = copies.server.game, &c = copies.client.game;
    RecordingPlatform& server = copies.server.platform;
    RecordingPlatform& client = copies.client.platform;
    SetPiles(copies.server.game.table, {{C(4, kClubs)}}, {{C(6, kClubs)}}, {C(5, kHearts)}, {C(2, kHearts)});
    SetPiles(copies.client.game.table, {{C(6, kClubs)}}, {{C(4, kClubs)}}, {C(5, kHearts)}, {C(2, kHearts)});
    s.table.stackHeight = c.table.stackHeight = 24;
    SelectPile(s, 0), PlayOntoCentre(s, 0);
    SelectPile(c, 0), MoveToEmptyPile(c, 1), SelectPile(c, 1), PlayOntoCentre(c, 0);
    copies.DeliverAll();
    for (RecordingPlatform* side : {&server, &client})
        EXPECT_EQ(side->Shown(ViewPart::PlayAgainQuestion), 0);
    for (const Game* game : {&copies.server.game, &copies.client.game}) {
        EXPECT_EQ(PhaseOf(*game), Phase::Tie) << "still on show after the late snapshot";
        EXPECT_EQ((std::array{game->score.mine, game->score.theirs, game->score.handsEnded}), (std::array{0, 0, 1}))
            << "a tie counts for nobody";
    }
    EXPECT_EQ(TwoCopies::RunOut(copies.client, TimerId::TieDisplay), 1);
    PressReady(c);
    EXPECT_TRUE(ViewOf(c).youAreReady && !ViewOf(c).readyOffered);
    copies.DeliverAll();
    EXPECT_EQ((std::pair{PhaseOf(s), PhaseOf(c)}), (std::pair{Phase::Tie, Phase::ReadyHandshake}));
    EXPECT_FALSE(server.TimerRunning(TimerId::StartCountdown));
    EXPECT_EQ(TwoCopies::RunOut(copies.server, TimerId::TieDisplay), 1);
    PressReady(s);
    copies.DeliverAll();
    EXPECT_EQ((std::pair{s.hand.countdownSeconds, c.hand.countdownSeconds}), (std::pair{5, 5}));
    EXPECT_EQ((std::pair{PhaseOf(s), PhaseOf(c)}), (std::pair{Phase::StartCountdown, Phase::StartCountdown}));
    for (int second = 4; second >= 1; --second) {
        const int shown = server.Shown(ViewPart::Board);
        OnTimer(s, TimerId::StartCountdown);
        EXPECT_EQ(std::pair(s.hand.countdownSeconds, server.Shown(ViewPart::Board)), std::pair(second, shown + 1));
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
    SelectPile(c, 0);
    EXPECT_EQ(c.table.yourSelectedPile, 0) << "the deal ended the client's countdown";

    using enum Phase;
    const std::tuple<const char*, std::function<void()>, Phase, Phase> steps[] = {
        {"dealt", [] {}, InHand, InHand},
        {"flip announced", [&] { AnnounceFlip(s); }, FlipCountdown, FlipCountdown},
        {"server flipped", [&] { TwoCopies::RunOut(copies.server, TimerId::FlipCountdown); }, InHand, FlipCountdown},
        {"server's last card",
         [&] {
             SetPiles(s.table, {{C(4, kClubs)}}, {{C(9, kClubs)}}, {C(5, kHearts)}, {C(2, kHearts)});
             SetPiles(c.table, {{C(9, kClubs)}}, {{C(4, kClubs)}}, {C(5, kHearts)}, {C(2, kHearts)});
             SelectPile(s, 0), PlayOntoCentre(s, 0);
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

// Only a copy that neither hosts nor sits opposite anyone, and never joined a
// server, may practise; a practice game ended leaves it free to start another.
TEST(HandFlow, WhoMayPractise)
{
    RecordedGame host(Role::Server), client, practising;
    EXPECT_FALSE(MayPractise(host.game));
    EXPECT_TRUE(MayPractise(client.game));
    JoinedServer(client.game);
    EXPECT_EQ(client.platform.sent, (std::vector<Bytes>{{209, 0}})) << "a join measures the ping";
    OnOpponentLeft(client.game);
    EXPECT_FALSE(MayPractise(client.game)) << "not even once the server is gone";
    SeatOpponent(practising.game);
    EXPECT_FALSE(MayPractise(practising.game));
    ClearTable(practising.game);
    EXPECT_TRUE(MayPractise(practising.game));
}

}  // namespace
