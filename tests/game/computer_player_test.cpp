#include "table/computer_player.h"

#include "table/paint_table.h"
#include "tests/support/deal_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

namespace {

using std::chrono::milliseconds;

// Ranks only matter to the choice; every player card is a club here.
constexpr Card R(int rank)
{
    return C(rank, kClubs);
}

TEST(ComputerChoice, PlaysThatGoOnFirstThenMovesThatUncoverAPlayElseWaits)
{
    constexpr auto kPlay = ComputerAction::PlayCard, kMove = ComputerAction::MoveToEmptyPile;
    const ComputerChoice wait{};
    const std::vector<Cards> canPlay = {{R(4)}}, cannotPlay = {{R(kQueen)}, {R(kAce)}};
    const std::vector<Cards> nothingUncovers = {{R(1), R(9)}, {}, {R(3), R(2), R(kQueen)}};
    const struct {
        const char* what;
        std::vector<Cards> mine, theirs;
        int play1;
        ComputerChoice expected;
        int selected = kNoPile;
    } cases[] = {
        {"the one play", {{R(1), R(6)}, {R(kJack)}}, canPlay, 8, {kPlay, 0, 0}},
        {"emptying a pile over a taller one", {{R(10), R(9), R(6)}, {R(6)}}, canPlay, kKing, {kPlay, 1, 0}},
        {"a play uncovering a play", {{R(2), R(9)}, {R(7), R(6)}, {R(8)}, {R(8)}, {R(8)}}, canPlay, 10, {kPlay, 1, 0}},
        {"the taller of two equal plays", {{R(9), R(6)}, {R(2), R(9), R(6)}}, canPlay, kKing, {kPlay, 1, 0}},
        {"the selected one of two equal plays", {{R(6)}, {R(6)}}, canPlay, kKing, {kPlay, 1, 0}, 1},
        {"the centre pile that keeps another play open", {{R(6)}, {R(4)}}, canPlay, 7, {kPlay, 0, 1}},
        {"a card to an empty pile to uncover a play", {{R(6), R(9)}, {}, {R(3), R(2), R(kQueen)}}, canPlay, 7, {kMove, 0, 1}},
        {"the tallest pile into the empty one when nobody can play", nothingUncovers, cannotPlay, 7, {kMove, 2, 1}},
        {"nothing while the opponent can still play", nothingUncovers, canPlay, 7, wait},
        {"nothing for a lone card", {{R(9)}, {}, {R(kQueen)}}, cannotPlay, 7, wait},
        {"nothing without an empty pile", {{R(9)}, {R(1), R(2)}, {R(kQueen)}, {R(3)}, {R(2)}}, cannotPlay, 7, wait},
    };
    for (const auto& c : cases) {
        Table table;
        SetPiles(table, c.mine, c.theirs, {C(5, kDiamonds)}, {C(c.play1, kDiamonds)});
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
        side.game.hand.nCountdownSecs = countdown;
        side.game.table.bHandInProgress = inHand;
        EXPECT_FALSE(StepUntilSent(side, computer, 1));
    }

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

// The gaps between plays average the speed's pace and spread over the whole of +-30 %.
TEST(ComputerPlayer, MovesComeAtTheSpeedsPace)
{
    for (const auto& [speed, average] : {std::pair{ComputerSpeed::Easy, 2000.0}, std::pair{ComputerSpeed::Hard, 600.0}}) {
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

}  // namespace
