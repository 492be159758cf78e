#include "table/view.h"

#include "table/game.h"

View ViewOf(const Game& game)
{
    const Phase phase = PhaseOf(game);
    const HandState& hand = game.hand;
    return View{
        .phase = phase,
        .table = game.table,
        .countdownSeconds = hand.countdownSeconds,
        .hint = hand.stallHint,
        .youAreReady = hand.youAreReady,
        .readyOffered = Counts(game, Intent::PressReady),
        .score = game.score,
    };
}
