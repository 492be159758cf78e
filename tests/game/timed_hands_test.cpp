#include "tests/support/timed_match.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

struct Tally {
    int hands = 0, hung = 0, endlessDeals = 0, outOfStep = 0, improperEnds = 0, flips = 0;
    std::string fault, firstHung;
};

// Plays the hands asked for by FLINTHAND_TIMED_HANDS, else `hands`, in matches
// of up to 20, with the repairs of the `plain` copy off; a hand that hangs ends its match.
Tally PlayHands(int hands, TimedMatch::Copy TimedMatch::*plain = nullptr)
{
    if (const char* asked = std::getenv("FLINTHAND_TIMED_HANDS"))
        hands = std::max(1, std::atoi(asked) * hands / 2000);
    Tally tally;
    for (unsigned seed = 1; tally.hands < hands && tally.fault.empty(); ++seed) {
        TimedMatch match(seed);
        if (plain)
            (match.*plain).game.repairs = false;
        for (int hand = 0; hand < 20 && tally.hands < hands; ++hand) {
            const HandResult result = match.PlayHand();
            ++tally.hands;
            tally.outOfStep += result.outOfStep;
            tally.endlessDeals += result.endlessDeal;
            tally.improperEnds += result.ended && !result.properEnd;
            if (!match.fault.empty())
                tally.fault = "seed " + std::to_string(seed) + ": " + match.fault;
            else if (!result.ended && !result.endlessDeal && !tally.hung++)
                tally.firstHung = "seed " + std::to_string(seed) + ", hand " + std::to_string(hand);
            if (!match.fault.empty() || !result.ended)
                break;
        }
        tally.flips += match.flips;
    }
    std::printf("%d hands, %d flips: %d out of step, %d hung %s, %d ended wrongly, %d endless deals\n", tally.hands, tally.flips,
                tally.outOfStep, tally.hung, tally.firstHung.c_str(), tally.improperEnds, tally.endlessDeals);
    return tally;
}

// Delays of up to 100 ms each way and timer ticks up to 50 ms early or late:
// countdowns on the two copies end in either order.
TEST(TimedHands, EveryHandEndsAndTheTablesAgreeWhenTheWireIsQuiet)
{
    const Tally tally = PlayHands(2000);
    EXPECT_EQ(tally.fault, "");
    EXPECT_EQ(tally.hung, 0);
    EXPECT_EQ(tally.outOfStep, 0);
    EXPECT_EQ(tally.improperEnds, 0);
    EXPECT_GT(tally.flips, tally.hands) << "stalls were part of the hands";
    EXPECT_LE(tally.endlessDeals, tally.hands / 1000) << "deals the rules let flip for ever are rare";
}

// A peer without our additions (no journal, no flip acknowledgements or
// catch-ups, no quiet-table snapshot) finishes every hand against ours, in
// either seat, though its tables may be out of step for a while.
TEST(TimedHands, APeerWithoutOurRepairsNeverHangs)
{
    for (const auto plain : {&TimedMatch::server, &TimedMatch::client}) {
        const Tally tally = PlayHands(500, plain);
        SCOPED_TRACE(plain == &TimedMatch::server ? "plain server" : "plain client");
        EXPECT_EQ(tally.fault, "");
        EXPECT_EQ(tally.hung, 0);
        EXPECT_EQ(tally.improperEnds, 0);
    }
}

}  // namespace
