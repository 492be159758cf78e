#include "net/status_texts.h"
#include "shell/pixel_font.h"
#include "shell/status_strip.h"
#include "tests/support/pixels.h"

#include <gtest/gtest.h>

namespace {

TEST(StatusStrip, TwoLinesOnWhiteUnderTwoGreyEdgesAndThePingOnTheRight)
{
    auto paint = [](const StatusTexts& s) { return StatusStrip(s, nullptr).grab().toImage().convertedTo(QImage::Format_RGB32); };
    const QImage image = paint(StatusTexts{});  // "Null Status" and "Quiet"
    EXPECT_EQ(Find(image, qRgb(128, 128, 128)), std::pair(460, QRect(0, 0, 460, 1)));
    EXPECT_EQ(Find(image, qRgb(192, 192, 192)), std::pair(460, QRect(0, 1, 460, 1)));
    const auto [blue, blueAt] = Find(image, qRgb(0, 0, 128));
    EXPECT_EQ(blueAt, QRect(5, 6, 52, 23));
    EXPECT_EQ(Find(image, qRgb(255, 255, 255)).first + blue, 460 * 30) << "nothing else below the edges";

    // The ping ends 12 px from the right edge, in an opaque cell that hides a long line 1 beneath it.
    StatusTexts texts;
    std::string("Ping: 150 ms").copy(texts.pingText, sizeof texts.pingText - 1);
    const QImage ping = paint(texts);
    EXPECT_EQ(Find(ping.copy(230, 0, 230, 32), qRgb(0, 0, 128)).second, QRect(384 - 230, 6, 63, 10));
    std::string(120, 'W').copy(texts.statusLine1, 120);  // the rest was zero already
    const QImage underneath = paint(texts);
    const int width = QFontMetrics(PixelFont(11)).horizontalAdvance(texts.pingText);
    const QRect cell(460 - 12 - width + 1, 5, width - 2, 9);
    EXPECT_EQ(underneath.copy(cell), ping.copy(cell));
    EXPECT_NE(underneath.copy(cell.translated(-width, 0)), ping.copy(cell.translated(-width, 0))) << "the W's do reach it";
}

}  // namespace
