#include "shell/dialog_units.h"
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
    QObject::disconnect(dialog.link(), &Hyperlink::activated, nullptr, nullptr);  // no browser in tests
    QObject::connect(dialog.link(), &Hyperlink::activated, [&] { ++opened; });
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

    // Pressed on a label, which passes the release on to the dialog: once only.
    QLabel* label = dialog.findChildren<QLabel*>().last();
    QTest::mousePress(label, Qt::LeftButton, {}, QPoint(2, 2));
    QTest::mouseRelease(label, Qt::LeftButton, {}, label->mapFrom(&dialog, LinkCentreIn(dialog)));
    EXPECT_EQ(opened, 3);

    // Pressed on the link, let go elsewhere: nothing.
    QTest::mousePress(dialog.link(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(dialog.link(), Qt::LeftButton, {}, QPoint(-30, 40));
    EXPECT_EQ(opened, 3);
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
        if (opening == 0) {
            QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        } else {
            dialog.okButton()->setFocus();
            QTest::keyClick(&dialog, Qt::Key_Return);  // the focused button takes Enter
        }
        EXPECT_FALSE(dialog.isVisible()) << "opening " << opening;
        EXPECT_EQ(dialog.result(), 0);
    }
}

TEST(Dialogs, LaidOutInDialogUnitsFromTheOwnersClientArea)
{
    EXPECT_EQ(DialogUnits(66, 5, 21, 20), QRect(99, 8, 32, 33)) << "each edge rounded on its own";
    EXPECT_EQ(DialogUnits(45, 64, 70, 10), QRect(68, 104, 105, 16));
    EXPECT_EQ(DialogUnits(32, 32, 153, 97), QRect(48, 52, 230, 158));

    QWidget owner;
    owner.setGeometry(100, 80, 460, 535);
    owner.show();
    InstructionsDialog dialog(&owner);
    EXPECT_EQ(dialog.pos(), owner.mapToGlobal(QPoint(48, 52)));
    EXPECT_EQ(dialog.size(), QSize(230, 158));
}

}  // namespace
