#pragma once

#include <QImage>

#include <gtest/gtest.h>

// Equal pixels, or where the first difference lies.
inline ::testing::AssertionResult SamePixels(const QImage& actual, const QImage& expected)
{
    if (actual.size() != expected.size())
        return ::testing::AssertionFailure() << "size " << actual.width() << "x" << actual.height() << " instead of "
                                             << expected.width() << "x" << expected.height();
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            if (actual.pixel(x, y) != expected.pixel(x, y))
                return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is " << std::hex
                                                     << actual.pixel(x, y) << " instead of " << expected.pixel(x, y);
        }
    }
    return ::testing::AssertionSuccess();
}
