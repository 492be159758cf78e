#pragma once

#include "table/local_play.h"
#include "tests/support/two_copies.h"

#include <random>

// Plays one side through the real click handling, as a quick player would.
class Bot {
public:
    explicit Bot(unsigned seed) : random_(seed) {}

    static void ClickCentre(Game& game, const Rect& r)
    {
        HandleTableClick(game, static_cast<unsigned>((r.left + r.right) / 2), static_cast<unsigned>((r.top + r.bottom) / 2));
    }

    // A legal play if there is one, else (sometimes) a card moved onto an
    // empty pile from a pile it uncovers. False when nothing was done.
    bool Move(Game& game, bool allowMovesToEmpty = true)
    {
        const Table& t = game.table;
        if (!t.bHandInProgress || game.hand.nCountdownSecs != 0)
            return false;
        std::vector<std::pair<int, const Rect*>> moves;
        for (int i = 0; i < kPlayerPiles; ++i) {
            if (t.nMyPileCards[i] == 0)
                continue;
            const Card& top = t.myPiles[i][t.nMyPileCards[i] - 1];
            for (int k = 0; k < kPlayPiles; ++k) {
                if (CardsAdjacent(top, t.playPiles[k][t.nPlayCards[k] - 1]))
                    moves.push_back({i, &game.board.rcPlayPiles[k]});
            }
        }
        if (moves.empty() && allowMovesToEmpty) {
            for (int i = 0; i < kPlayerPiles; ++i) {
                for (int j = 0; j < kPlayerPiles; ++j) {
                    if (t.nMyPileCards[i] >= 2 && t.nMyPileCards[j] == 0)
                        moves.push_back({i, &game.board.rcMyPiles[j]});
                }
            }
        }
        if (moves.empty())
            return false;
        const auto& [pile, target] = moves[std::uniform_int_distribution<std::size_t>(0, moves.size() - 1)(random_)];
        ClickCentre(game, game.board.rcMyPiles[pile]);
        const Rect aim = *target;  // the click may move the rectangles
        ClickCentre(game, aim);
        return true;
    }

    // Anywhere on the table.
    void RandomClick(Game& game)
    {
        HandleTableClick(game, std::uniform_int_distribution<unsigned>(0, kClientWidth - 1)(random_),
                         std::uniform_int_distribution<unsigned>(0, kClientHeight - kStatusHeight - 1)(random_));
    }

private:
    std::mt19937 random_;
};
