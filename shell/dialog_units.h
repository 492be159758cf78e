#pragma once

#include <QRect>

// Dialog layouts are drawn up in dialog units of an 8-point Arial dialog:
// one unit is 1.5 px across and 1.625 px down. Each edge is mapped and
// rounded on its own, as Windows does.
constexpr int DialogUnitsAcross(int units)
{
    return (units * 3 + 1) / 2;
}

constexpr int DialogUnitsDown(int units)
{
    return (units * 13 + 4) / 8;
}

constexpr QRect DialogUnits(int x, int y, int width, int height)
{
    return QRect(QPoint(DialogUnitsAcross(x), DialogUnitsDown(y)),
                 QPoint(DialogUnitsAcross(x + width) - 1, DialogUnitsDown(y + height) - 1));
}
