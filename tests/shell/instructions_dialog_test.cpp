#include "shell/hyperlink.h"
#include "shell/instructions_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QPoint LinkCentreIn(const InstructionsDialog& dialog)
{
    return dialog.link()->geometry().center();
}

TEST(InstructionsDialog, TextsAndLink)
{
    InstructionsDialog dialog(nullptr);
    EXPECT_EQ(dialog.windowTitle(), "Flinthand - Instructions");
    QStringList texts;
    for (QLabel* label : dialog.findChildren<QLabel*>())
        if (!label->text().isEmpty())
            texts << label->text();
    EXPECT_EQ(texts, (QStringList{"Flinthand", "Beta 0.1", "by the Flinthand developers"}));
    EXPECT_EQ(dialog.link()->windowTitle(), "Click for Instructions");
    EXPECT_EQ(dialog.link()->cursor().shape(), Qt::WhatsThisCursor);
    EXPECT_EQ(dialog.okButton()->text(), "OK");
    EXPECT_FALSE(dialog.okButton()->isDefault());

    // Blue underlined text on light grey.
    dialog.show();
    const QImage link = dialog.link()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    int blue = 0, grey = 0;
    for (int y = 0; y < link.height(); ++y)
        for (int x = 0; x < link.width(); ++x) {
            blue += link.pixel(x, y) == qRgb(0, 0, 192);
            grey += link.pixel(x, y) == qRgb(192, 192, 192);
        }
    EXPECT_GT(blue, 50);
    EXPECT_EQ(blue + grey, link.width() * link.height());
}

TEST(InstructionsDialog, PageOpensOnReleaseOverTheLink)
{
    InstructionsDialog dialog(nullptr);
    int opened = 0;
    dialog.link()->open = [&] { ++opened; };
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));

    QTest::mousePress(dialog.link(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(opened, 0) << "not on the press";
    QTest::mouseRelease(dialog.link(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(opened, 1);

    // Pressed on the dialog itself, let go over the link.
    QTest::mousePress(&dialog, Qt::LeftButton, {}, QPoint(4, 4));
    QTest::mouseRelease(&dialog, Qt::LeftButton, {}, LinkCentreIn(dialog));
    EXPECT_EQ(opened, 2);

    // Pressed on the link, let go elsewhere: nothing.
    QTest::mousePress(dialog.link(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(dialog.link(), Qt::LeftButton, {}, QPoint(-30, 40));
    EXPECT_EQ(opened, 2);
}

TEST(InstructionsDialog, OnlyOkCloses)
{
    for (int opening = 0; opening < 2; ++opening) {
        InstructionsDialog dialog(nullptr);
        dialog.show();
        QTest::keyClick(&dialog, Qt::Key_Escape);
        EXPECT_TRUE(dialog.isVisible()) << "Escape";
        EXPECT_FALSE(dialog.close()) << "the close box";
        EXPECT_TRUE(dialog.isVisible());
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        EXPECT_FALSE(dialog.isVisible()) << "opening " << opening;
        EXPECT_EQ(dialog.result(), 0);
    }
}

}  // namespace
