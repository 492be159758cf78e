#include "table/computer_player.h"

#include "table/local_play.h"
#include "table/phase.h"
#include "tests/support/two_copies.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

namespace {

using std::chrono::milliseconds;

// Ranks only matter to the choice; every player card is a club here.
constexpr Card R(int rank)
{
    return C(rank, kClubs);
}

// It decides from what a person sees: the face-down cards never change its choice.
TEST(ComputerPlayer, ChoosesPlaysThatOpenMorePlaysThenTheTallerPileElseDigsIntoAnEmptyPile)
{
    constexpr auto kPlay = ComputerAction::PlayCard, kMove = ComputerAction::MoveToEmptyPile;
    const ComputerChoice wait{};
    const std::vector<Cards> canPlay = {{R(4)}}, cannotPlay = {{R(kQueen)}, {R(kAce)}};
    const std::vector<Cards> noPlay = {{R(9)}, {}, {R(1), R(2), R(kQueen)}, {R(3), R(10)}};
    const struct {
        const char* what;
        std::vector<Cards> mine, theirs;
        int centre1;
        ComputerChoice expected;
        int selected = kNoPile;
    } cases[] = {
        {"the one play", {{R(1), R(6)}, {R(kJack)}}, canPlay, 8, {kPlay, 0, 0}},
        {"the play after which another top fits", {{R(4)}, {R(6)}, {R(7)}}, canPlay, kKing, {kPlay, 1, 0}},
        {"the centre pile that keeps another play open", {{R(6)}, {R(4)}}, canPlay, 7, {kPlay, 0, 1}},
        {"the play that leaves the taller pile behind", {{R(6)}, {R(2), R(9), R(4)}}, canPlay, kKing, {kPlay, 1, 0}},
        {"the selected one of two equal plays", {{R(6)}, {R(6)}}, canPlay, kKing, {kPlay, 1, 0}, 1},
        {"the tallest pile into the empty one", noPlay, cannotPlay, 7, {kMove, 2, 1}},
        {"that dig even while the opponent can play", noPlay, canPlay, 7, {kMove, 2, 1}},
        {"nothing for a lone card", {{R(9)}, {}, {R(kQueen)}}, cannotPlay, 7, wait},
        {"nothing without an empty pile", {{R(9)}, {R(1), R(2)}, {R(kQueen)}, {R(3)}, {R(2)}}, cannotPlay, 7, wait},
    };
    std::mt19937 random(3);
    for (const auto& c : cases) {
        Table table;
        SetPiles(table, c.mine, c.theirs, {C(5, kDiamonds)}, {C(c.centre1, kDiamonds)});
        table.yourSelectedPile = c.selected;
        for (int look = 0; look < 20; ++look) {
            const ComputerChoice choice = ChooseComputerMove(table);
            EXPECT_TRUE(choice == c.expected)
                << c.what << ": chose " << static_cast<int>(choice.action) << " " << choice.fromPile << " -> " << choice.toPile;
            for (int p = 0; p < kPlayerPiles; ++p) {
                for (int j = 0; j + 1 < table.yourPiles[p].count; ++j)
                    table.yourPiles[p].cards[j] = R(static_cast<int>(random() % kRanks));
            }
        }
    }
}

// Its only play is the seven (pile 0) onto the six; the queen (pile 1) fits nothing.
void LayOutOnePlay(Game& game)
{
    SetPiles(game.table, {{C(1, kClubs), C(6, kHearts)}, {C(kQueen, kClubs)}}, {{C(9, kClubs)}}, {C(5, kSpades)},
             {C(8, kDiamonds)});
}

// Moves the clock on to each of the computer's moments and lets it act until
// `count` messages have been sent in all; false if 20 steps do not do it.
bool StepUntilSent(RecordedGame& side, ComputerPlayer& computer, std::size_t count)
{
    for (int step = 0; step < 20 && side.platform.sent.size() < count; ++step) {
        side.platform.now = std::max(side.platform.now, computer.NextStepAt());
        computer.Act(side.game);
    }
    return side.platform.sent.size() == count;
}

TEST(ComputerPlayer, SelectsThenPlaysAfterAPauseAndNeverDuringACountdownOrBetweenHands)
{
    RecordedGame side;
    LayOutOnePlay(side.game);
    side.platform.sent.clear();
    ComputerPlayer computer(ComputerSpeed::Hard, 7);
    for (const auto& [countdown, inHand] : {std::pair{3, 1}, std::pair{0, 0}}) {
        side.game.hand.countdownSeconds = countdown;
        side.game.table.handInProgress = inHand;
        EXPECT_FALSE(StepUntilSent(side, computer, 1));
    }

    side.game.table.handInProgress = true;
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

    // The centre pile changes under its selection: it picks the pile that fits now.
    LayOutOnePlay(side.game);
    side.platform.sent.clear();
    ASSERT_TRUE(StepUntilSent(side, computer, 1));
    side.game.table.centrePiles[0].cards[0] = C(kKing, kSpades);
    EXPECT_TRUE(StepUntilSent(side, computer, 3));
    EXPECT_EQ(side.platform.sent, (std::vector<Bytes>{{204, 0}, {204, 1}, {201, 1, 0}}));
}

// The gaps between plays average the speed's pace and spread over the whole of +-30 %.
TEST(ComputerPlayer, MovesComeAtTheSpeedsPace)
{
    for (const auto& [speed, average] : {std::pair{ComputerSpeed::Easy, 2400.0}, std::pair{ComputerSpeed::Normal, 1200.0},
                                         std::pair{ComputerSpeed::Hard, 600.0}}) {
        RecordedGame side;
        ComputerPlayer computer(speed, 11);
        std::vector<double> gaps;
        for (auto last = side.platform.now; gaps.size() < 150; last = side.platform.now) {
            LayOutOnePlay(side.game);
            ASSERT_TRUE(StepUntilSent(side, computer, side.platform.sent.size() + 2));
            gaps.push_back(std::chrono::duration<double, std::milli>(side.platform.now - last).count());
        }
        gaps.erase(gaps.begin());
        const auto [shortest, longest] = std::minmax_element(gaps.begin(), gaps.end());
        EXPECT_NEAR(std::accumulate(gaps.begin(), gaps.end(), 0.0) / static_cast<double>(gaps.size()), average, 0.05 * average);
        EXPECT_GE(*shortest, 0.7 * average);
        EXPECT_LT(*shortest, 0.75 * average);
        EXPECT_LE(*longest, 1.3 * average);
        EXPECT_GT(*longest, 1.25 * average);
    }
}

// The loser's question is answered as a person would: late enough that the
// winner sees the win, at moments spread over two to four seconds.
TEST(ComputerPlayer, SaysYesTwoToFourSecondsAfterLosing)
{
    std::srand(9);
    TwoCopies copies;
    SetPiles(copies.server.game.table, {{R(9)}, {R(9)}}, {{C(4, kHearts)}}, {C(5, kSpades)}, {C(kKing, kSpades)});
    SetPiles(copies.client.game.table, {{C(4, kHearts)}}, {{R(9)}, {R(9)}}, {C(5, kSpades)}, {C(kKing, kSpades)});
    SelectPile(copies.client.game, 0);
    PlayOntoCentre(copies.client.game, 0);
    copies.DeliverAll();
    ASSERT_TRUE(copies.server.game.hand.askedToPlayAgain);
    std::vector<int> answeredAfterMs;
    for (std::uint32_t seed = 1; seed <= 30; ++seed) {
        ComputerPlayer computer(ComputerSpeed::Hard, seed);
        copies.server.game.hand.askedToPlayAgain = true;
        int ms = 0;
        for (; ms <= 5000 && copies.server.game.hand.askedToPlayAgain; ms += 10) {
            copies.server.platform.now = std::chrono::steady_clock::time_point(milliseconds(seed * 10000 + ms));
            computer.Act(copies.server.game);
            copies.DeliverAll();
            if (seed == 1 && ms == 1500) {
                EXPECT_EQ(PhaseOf(copies.client.game), Phase::Won) << "the win is still on show";
                EXPECT_FALSE(ViewOf(copies.client.game).readyOffered);
            }
        }
        answeredAfterMs.push_back(ms - 10);
    }
    const auto [first, last] = std::minmax_element(answeredAfterMs.begin(), answeredAfterMs.end());
    EXPECT_TRUE(*first >= 2000 && *first < 2300) << *first;
    EXPECT_TRUE(*last <= 4000 && *last > 3700) << *last;
    EXPECT_EQ(copies.server.platform.SentTypes().back(), 208);
}

}  // namespace
