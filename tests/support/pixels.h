#pragma once

#include <QImage>
#include <QRect>

#include <utility>

// How many pixels have the colour, and the smallest rectangle holding them.
inline std::pair<int, QRect> Find(const QImage& image, QRgb colour)
{
    std::pair<int, QRect> found;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == colour)
                found = {found.first + 1, found.second | QRect(x, y, 1, 1)};
    return found;
}
