#pragma once

#include <QRect>

// Dialog layouts are drawn up in dialog units of an 8-point Arial dialog:
// one unit is 1.5 px across and 1.625 px down.
constexpr QRect DialogUnits(int x, int y, int width, int height)
{
    return QRect(x * 3 / 2, y * 13 / 8, width * 3 / 2, height * 13 / 8);
}
