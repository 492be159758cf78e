#pragma once

#include "table/table.h"

// Where everything lies on the 460 x 535 client area. The click handling and
// the drawing both take their positions from here.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    friend bool operator==(const Rect&, const Rect&) = default;
};

// Left and top edges inclusive, right and bottom exclusive.
constexpr bool Contains(const Rect& rect, int x, int y)
{
    return rect.left <= x && x < rect.right && rect.top <= y && y < rect.bottom;
}

inline constexpr int kClientWidth = 460;
inline constexpr int kClientHeight = 535;
inline constexpr int kStatusHeight = 32;
inline constexpr int kCardWidth = 71;
inline constexpr int kCardHeight = 96;
inline constexpr int kFanStep = 4;
inline constexpr int kOpponentPilesTop = 20;
inline constexpr int kYourPilesTop = 312;
inline constexpr int kLeftStackX = 20;
inline constexpr int kRightStackX = 364;
inline constexpr int kStackTop = 168;

inline constexpr Rect kCentrePileRects[kCentrePiles] = {{147, 168, 218, 264}, {242, 168, 313, 264}};

constexpr int PileX(int pile)
{
    return 20 + 86 * pile;
}

// The face-up top card of a pile of `count` cards fanned down from `top`,
// or the outline where an empty pile lies.
constexpr Rect PileTopRect(int pile, int top, int count)
{
    const int lowered = count > 0 ? kFanStep * (count - 1) : 0;
    return Rect{PileX(pile), top + lowered, PileX(pile) + kCardWidth, top + lowered + kCardHeight};
}

// A tall stack is lifted and packed tighter so that it stays clear of the local row.
constexpr int StackCardY(int count, int level)
{
    return count > 5 ? kStackTop - 18 + 3 * level : kStackTop + kFanStep * level;
}

// What a click on the board points at.
struct PointedPile {
    enum class Kind { Nothing, YourPile, CentrePile } kind = Kind::Nothing;
    int index = -1;
};

// During a hand: the centre pile or the top card (or place) of our pile under the point.
constexpr PointedPile PileAt(const Table& table, int x, int y)
{
    for (int k = 0; k < kCentrePiles; ++k) {
        if (Contains(kCentrePileRects[k], x, y))
            return {PointedPile::Kind::CentrePile, k};
    }
    for (int p = 0; p < kPlayerPiles; ++p) {
        if (Contains(PileTopRect(p, kYourPilesTop, table.yourPiles[p].count), x, y))
            return {PointedPile::Kind::YourPile, p};
    }
    return {};
}
