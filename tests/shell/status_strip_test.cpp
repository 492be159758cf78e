#include "shell/status_strip.h"
#include "net/status_texts.h"
#include "shell/board_renderer.h"

#include <QFontMetrics>
#include <QPainter>

#include "shell/pixel_font.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kDarkBlue = qRgb(0, 0, 128);
const QRgb kRed = qRgb(255, 0, 0);

QImage Paint(const StatusTexts& texts)
{
    QWidget parent;
    parent.resize(460, 535);
    StatusStrip strip(texts, &parent);
    return strip.grab().toImage().convertToFormat(QImage::Format_RGB32);
}


// The columns in which a row band holds pixels of the colour.
std::pair<int, int> Extent(const QImage& image, int top, int bottom, QRgb colour)
{
    int first = image.width(), last = -1;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == colour) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    return {first, last};
}

TEST(StatusStrip, TwoLinesOnWhiteUnderTwoGreyEdges)
{
    StatusTexts texts;
    const QImage image = Paint(texts);
    ASSERT_EQ(image.size(), QSize(460, 32));
    for (int x = 0; x < 460; ++x) {
        EXPECT_EQ(image.pixel(x, 0), qRgb(128, 128, 128));
        EXPECT_EQ(image.pixel(x, 1), qRgb(192, 192, 192));
        EXPECT_EQ(image.pixel(x, 2), kWhite);
        EXPECT_EQ(image.pixel(x, 3), kWhite);
    }
    // "Null Status" on the row from y 4, "Quiet" from y 17, both from x 5, nothing on the right.
    const QFontMetrics metrics(PixelFont(11));
    const auto first = Extent(image, 4, 17, kDarkBlue);
    const auto second = Extent(image, 17, 32, kDarkBlue);
    EXPECT_GE(first.first, 5);
    EXPECT_LE(first.first, 6);
    EXPECT_LE(first.second, 5 + metrics.horizontalAdvance("Null Status"));
    EXPECT_GE(first.second, 5 + metrics.horizontalAdvance("Null Status") - 3);
    EXPECT_LE(second.second, 5 + metrics.horizontalAdvance("Quiet"));
    EXPECT_LT(first.second, 100);
    // Only white and dark blue below the edges.
    for (int y = 2; y < 32; ++y)
        for (int x = 0; x < 460; ++x)
            ASSERT_TRUE(image.pixel(x, y) == kWhite || image.pixel(x, y) == kDarkBlue) << x << "," << y;
}

TEST(StatusStrip, PingRightAlignedAndWarningInRed)
{
    StatusTexts texts;
    std::strcpy(texts.pingText, "Ping: 150 ms");
    std::strcpy(texts.pingWarning, "High Network Ping Time");
    const QImage image = Paint(texts);
    const QFontMetrics metrics(PixelFont(11));
    const auto ping = Extent(image, 4, 17, kDarkBlue);
    EXPECT_LE(ping.second, 460 - 12);
    EXPECT_GE(ping.second, 460 - 12 - 3) << "right edge 12 px in";
    const auto rightColumns = Extent(QImage(image).copy(200, 0, 260, 32), 4, 17, kDarkBlue);
    EXPECT_NEAR(200 + rightColumns.first, 460 - 12 - metrics.horizontalAdvance("Ping: 150 ms"), 2);
    const auto warning = Extent(image, 17, 32, kRed);
    EXPECT_GE(warning.second, 460 - 12 - 3);
    EXPECT_LE(warning.second, 460 - 12);
    EXPECT_NEAR(warning.first, 460 - 12 - metrics.horizontalAdvance("High Network Ping Time"), 2);
    EXPECT_EQ(Extent(image, 4, 17, kRed).second, -1) << "the warning sits on the second row only";
}

TEST(StatusStrip, LongLeftTextLiesUnderThePingText)
{
    StatusTexts texts;
    std::memset(texts.statusLine1, 'W', 120);
    texts.statusLine1[120] = '\0';
    std::strcpy(texts.pingText, "Ping: 3 ms");
    const QImage withPing = Paint(texts);
    texts.pingText[0] = '\0';
    const QImage withoutPing = Paint(texts);
    // Where the ping text is drawn, its opaque white cell covers the W's.
    EXPECT_NE(withPing.copy(380, 4, 68, 13), withoutPing.copy(380, 4, 68, 13));
}

}  // namespace
