#include "table/computer_player.h"

#include "table/paint_table.h"
#include "tests/support/deal_fixture.h"
#include "tests/support/timed_match.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <utility>

namespace {

using Bytes = std::vector<std::uint8_t>;
using std::chrono::milliseconds;

const Card& Top(const Card pile[], int count)
{
    return pile[count - 1];
}

// Ranks only matter here: C(r, s) is rank r (0 ace .. 12 king).
TEST(ComputerChoice, PlaysThatGoOnFirstThenMovesThatUncoverAPlayElseWaits)
{
    const ComputerChoice wait{};
    const std::vector<Cards> canPlay = {{C(4, kClubs)}};
    const std::vector<Cards> cannotPlay = {{C(kQueen, kClubs)}, {C(kAce, kClubs)}};
    const std::vector<Cards> nothingUncovers = {
        {C(1, kHearts), C(9, kHearts)}, {}, {C(3, kSpades), C(2, kSpades), C(kQueen, kSpades)}};
    struct Case {
        const char* what;
        std::vector<Cards> mine;
        std::vector<Cards> theirs;
        int play0;
        int play1;
        ComputerChoice expected;
        int selected = kNoPile;
    };
    const Case cases[] = {
        {"the one play", {{C(1, kClubs), C(6, kHearts)}, {C(kJack, kClubs)}}, canPlay, 5, 8, {ComputerAction::PlayCard, 0, 0}},
        {"the play that empties a pile over a taller one",
         {{C(10, kClubs), C(9, kClubs), C(6, kClubs)}, {C(6, kHearts)}},
         canPlay,
         5,
         kKing,
         {ComputerAction::PlayCard, 1, 0}},
        {"the play that uncovers another over one that leaves more tops playable",
         {{C(2, kClubs), C(9, kClubs)}, {C(7, kHearts), C(6, kHearts)}, {C(8, kClubs)}, {C(8, kDiamonds)}, {C(8, kHearts)}},
         canPlay,
         5,
         10,
         {ComputerAction::PlayCard, 1, 0}},
        {"the taller of two equal plays",
         {{C(9, kClubs), C(6, kClubs)}, {C(2, kHearts), C(9, kHearts), C(6, kHearts)}},
         canPlay,
         5,
         kKing,
         {ComputerAction::PlayCard, 1, 0}},
        {"the selected one of two equal plays",
         {{C(6, kClubs)}, {C(6, kHearts)}},
         canPlay,
         5,
         kKing,
         {ComputerAction::PlayCard, 1, 0},
         1},
        {"the centre pile that keeps another pile's play open",
         {{C(6, kClubs)}, {C(4, kHearts)}},
         canPlay,
         5,
         7,
         {ComputerAction::PlayCard, 0, 1}},
        {"a card to an empty pile to uncover a play",
         {{C(6, kHearts), C(9, kHearts)}, {}, {C(3, kSpades), C(2, kSpades), C(kQueen, kSpades)}},
         canPlay,
         5,
         7,
         {ComputerAction::MoveToEmptyPile, 0, 1}},
        {"the tallest pile into the empty one when nobody can play",
         nothingUncovers,
         cannotPlay,
         5,
         7,
         {ComputerAction::MoveToEmptyPile, 2, 1}},
        {"nothing while the opponent can still play", nothingUncovers, canPlay, 5, 7, wait},
        {"nothing for a lone card", {{C(9, kHearts)}, {}, {C(kQueen, kSpades)}}, cannotPlay, 5, 7, wait},
        {"nothing without an empty pile",
         {{C(9, kHearts)}, {C(1, kSpades), C(2, kSpades)}, {C(kQueen, kSpades)}, {C(3, kClubs)}, {C(2, kClubs)}},
         cannotPlay,
         5,
         7,
         wait},
    };
    for (const Case& c : cases) {
        Table table;
        SetPiles(table, c.mine, c.theirs, {C(c.play0, kDiamonds)}, {C(c.play1, kDiamonds)});
        table.nMySelectedPile = c.selected;
        const ComputerChoice choice = ChooseComputerMove(table);
        EXPECT_TRUE(choice == c.expected) << c.what << ": chose " << static_cast<int>(choice.action) << " " << choice.fromPile
                                          << " -> " << choice.toPile;
    }
}

// Its only play is the seven (pile 0) onto the six; the queen (pile 1) fits nothing.
void LayOutOnePlay(Game& game)
{
    SetPiles(game.table, {{C(1, kClubs), C(6, kHearts)}, {C(kQueen, kClubs)}}, {{C(9, kClubs)}}, {C(5, kSpades)},
             {C(8, kDiamonds)});
    PaintTable(game);
}

// Moves the clock on to the computer's next moment and lets it act.
bool Step(RecordedGame& side, ComputerPlayer& computer)
{
    side.platform.now = std::max(side.platform.now, computer.NextStepAt());
    return computer.Act(side.game);
}

// Steps until `count` messages have been sent in all; false if 20 steps do not do it.
bool StepUntilSent(RecordedGame& side, ComputerPlayer& computer, std::size_t count)
{
    for (int step = 0; step < 20 && side.platform.sent.size() < count; ++step)
        Step(side, computer);
    return side.platform.sent.size() == count;
}

TEST(ComputerPlayer, SelectsThenPlaysAfterAPauseAndNeverDuringACountdownOrBetweenHands)
{
    RecordedGame side;
    LayOutOnePlay(side.game);
    side.platform.sent.clear();
    ComputerPlayer computer(ComputerSpeed::Hard, 7);
    for (const auto& [countdown, inHand] : {std::pair{3, 1}, std::pair{0, 0}}) {
        side.game.hand.nCountdownSecs = countdown;
        side.game.table.bHandInProgress = inHand;
        for (int i = 0; i < 50; ++i)
            EXPECT_FALSE(Step(side, computer));
    }
    EXPECT_TRUE(side.platform.sent.empty());

    side.game.table.bHandInProgress = 1;
    const auto resumed = side.platform.now;
    ASSERT_TRUE(StepUntilSent(side, computer, 1));
    const auto selectedAt = side.platform.now;
    ASSERT_TRUE(StepUntilSent(side, computer, 2));
    EXPECT_EQ(side.platform.sent, (std::vector<Bytes>{{204, 0}, {201, 0, 0}}));
    // A Hard move takes 420 to 780 ms from the glance (every 75 ms) that saw
    // the play; its selection comes a quarter of that before the play.
    EXPECT_GE(side.platform.now - resumed, milliseconds(420));
    EXPECT_LE(side.platform.now - resumed, milliseconds(855));
    EXPECT_GE(side.platform.now - selectedAt, milliseconds(105));
    EXPECT_LE(side.platform.now - selectedAt, milliseconds(195));

    // The play pile changes under its selection: it picks the pile that fits now.
    LayOutOnePlay(side.game);
    side.platform.sent.clear();
    ASSERT_TRUE(StepUntilSent(side, computer, 1));
    side.game.table.playPiles[0][0] = C(kKing, kSpades);
    EXPECT_TRUE(StepUntilSent(side, computer, 3));
    EXPECT_EQ(side.platform.sent, (std::vector<Bytes>{{204, 0}, {204, 1}, {201, 1, 0}}));
}

TEST(ComputerPlayer, MovesComeAtTheSpeedsPace)
{
    const std::pair<ComputerSpeed, double> speeds[] = {
        {ComputerSpeed::Easy, 2000}, {ComputerSpeed::Normal, 1200}, {ComputerSpeed::Hard, 600}};
    double means[3] = {};
    for (int s = 0; s < 3; ++s) {
        const auto [speed, average] = speeds[s];
        RecordedGame side;
        ComputerPlayer computer(speed, 11);
        std::vector<double> plays;
        for (int move = 0; move <= 200; ++move) {
            LayOutOnePlay(side.game);
            ASSERT_TRUE(StepUntilSent(side, computer, side.platform.sent.size() + 2));
            plays.push_back(std::chrono::duration<double, std::milli>(side.platform.now.time_since_epoch()).count());
        }
        std::vector<double> gaps(plays.size());
        std::adjacent_difference(plays.begin(), plays.end(), gaps.begin());
        gaps.erase(gaps.begin());
        means[s] = std::accumulate(gaps.begin(), gaps.end(), 0.0) / static_cast<double>(gaps.size());
        const auto [shortest, longest] = std::minmax_element(gaps.begin(), gaps.end());
        EXPECT_NEAR(means[s], average, 0.05 * average);
        // Spread over the whole of +-30 %, and no further.
        EXPECT_GE(*shortest, 0.7 * average);
        EXPECT_LT(*shortest, 0.75 * average);
        EXPECT_LE(*longest, 1.3 * average);
        EXPECT_GT(*longest, 1.25 * average);
    }
    EXPECT_LT(means[2], means[0]);
}

Ms VirtualMs(std::chrono::steady_clock::time_point moment)
{
    return std::chrono::ceil<milliseconds>(moment.time_since_epoch()).count();
}

// What a computer's click sent, judged on the table it clicked on: one
// selection of another pile, or a legal move of the selected pile made at a
// later moment than its selection.
bool RightStep(const Table& t, const Bytes& sent, Ms now, Ms& selectedAt)
{
    const int s = t.nMySelectedPile;
    switch (sent.empty() ? 0 : sent[0]) {
    case MsgSelectPile: selectedAt = now; return sent[1] != s && t.nMyPileCards[sent[1]] > 0;
    case MsgPlayCard:
    case MsgMoveToEmptyPile: {
        const Ms selected = std::exchange(selectedAt, -1);
        if (selected < 0 || selected >= now || sent[1] != s)
            return false;
        if (sent[0] == MsgMoveToEmptyPile)
            return t.nMyPileCards[s] >= 2 && t.nMyPileCards[sent[2]] == 0;
        return t.nMyPileCards[s] > 0
            && CardsAdjacent(Top(t.myPiles[s], t.nMyPileCards[s]), Top(t.playPiles[sent[2]], t.nPlayCards[sent[2]]));
    }
    default: return false;
    }
}

TEST(ComputerPlayer, HardAgainstHardEveryHandEndsWithOnlyRightSteps)
{
    int hands = 0, hung = 0, endlessDeals = 0, outOfStep = 0, wrongEnds = 0, wrongSteps = 0, flips = 0, serverWins = 0,
        clientWins = 0;
    for (unsigned seed = 1; hands < 300 && hung == 0; ++seed) {
        TimedMatch match(seed);
        ComputerPlayer computers[2] = {{ComputerSpeed::Hard, seed}, {ComputerSpeed::Hard, seed + 1000}};
        Ms selectedAt[2] = {-1, -1};
        Bytes sent;
        for (int c = 0; c < 2; ++c) {
            TimedCopy& copy = c == 0 ? match.server : match.client;
            copy.onSend = [&sent](const std::uint8_t* bytes, int count) { sent.insert(sent.end(), bytes, bytes + count); };
            copy.player = [&, c](TimedCopy& me) {
                const Table before = me.game.table;
                sent.clear();
                // A click the table ignores (a countdown, no hand) sends nothing and counts as wrong.
                const bool clicked = computers[c].Act(me.game);
                wrongSteps += clicked ? !RightStep(before, sent, match.clock.now, selectedAt[c]) : !sent.empty();
                match.CallPlayerAt(me, VirtualMs(computers[c].NextStepAt()));
            };
        }
        for (int hand = 0; hand < 20 && hands < 300 && match.fault.empty(); ++hand) {
            ++hands;
            const int serverWon = match.server.wins;
            const int clientWon = match.client.wins;
            const HandResult result = match.PlayHand();
            endlessDeals += result.endlessDeal;
            hung += !result.ended && !result.endlessDeal;
            outOfStep += result.outOfStep;
            wrongEnds += result.ended && !result.properEnd;
            serverWins += match.server.wins - serverWon;
            clientWins += match.client.wins - clientWon;
            if (!result.ended)
                break;
        }
        ASSERT_EQ(match.fault, "") << "seed " << seed;
        flips += match.flips;
    }
    std::printf("%d hands, %d flips: server won %d, client %d; %d hung, %d endless deals, %d out of step, %d ended wrongly, %d "
                "wrong steps\n",
                hands, flips, serverWins, clientWins, hung, endlessDeals, outOfStep, wrongEnds, wrongSteps);
    EXPECT_EQ(hung, 0);
    EXPECT_LE(endlessDeals, hands / 100);
    EXPECT_EQ(outOfStep, 0);
    EXPECT_EQ(wrongEnds, 0);
    EXPECT_EQ(wrongSteps, 0);
    EXPECT_GT(flips, hands) << "stalls were part of the hands";
    EXPECT_GT(serverWins, hands / 4);
    EXPECT_GT(clientWins, hands / 4);
}

}  // namespace
