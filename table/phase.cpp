#include "table/phase.h"

#include "table/game.h"

// The first three tests decide what a peer may send (net/receive.cpp); the
// rest only tell apart what is shown between hands.
Phase PhaseOf(const Game& game)
{
    const HandState& hand = game.hand;
    if (game.table.handInProgress)
        return hand.countdownSeconds != 0 ? Phase::FlipCountdown : Phase::InHand;
    if (hand.youWantAnotherHand)
        return Phase::Won;
    if (hand.youAreReady && hand.opponentIsReady)
        return Phase::StartCountdown;
    // The loser's question may outlast the winner; it stays open whatever the phase.
    if (!hand.opponentSeated)
        return Phase::WaitingForOpponent;
    if (hand.opponentWantsAgain)
        return Phase::OpponentWantsAgain;
    if (hand.askedToPlayAgain)
        return Phase::LostAndAsked;
    if (hand.tieShowing)
        return Phase::Tie;
    return Phase::ReadyHandshake;
}
