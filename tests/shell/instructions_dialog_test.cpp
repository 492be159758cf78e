#include "shell/dialog_units.h"
#include "shell/hyperlink.h"
#include "shell/instructions_dialog.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Each edge is mapped and rounded on its own; the dialog sits 32 units into its
// owner's client area. Wherever the press was, letting go over the link opens
// the page, once; neither Escape nor the close box closes the dialog, only OK.
TEST(InstructionsDialog, LaidOutInDialogUnitsOpensThePageOnReleaseOverTheLinkAndOnlyOkCloses)
{
    EXPECT_EQ(DialogUnits(66, 5, 21, 20), QRect(99, 8, 32, 33));
    EXPECT_EQ(DialogUnits(45, 64, 70, 10), QRect(68, 104, 105, 16));
    QWidget owner;
    owner.setGeometry(100, 80, 460, 535);
    owner.show();
    InstructionsDialog dialog(&owner);
    EXPECT_EQ(dialog.geometry(), QRect(owner.mapToGlobal(QPoint(48, 52)), QSize(230, 158)));
    QObject::disconnect(dialog.link(), &Hyperlink::activated, nullptr, nullptr);  // no browser in tests
    int opened = 0;
    QObject::connect(dialog.link(), &Hyperlink::activated, [&] { ++opened; });
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const QPoint overLink = dialog.link()->geometry().center();
    QLabel* label = dialog.findChildren<QLabel*>().last();
    // What is pressed, where, where it is let go, and how often the page has opened since the start.
    const std::tuple<QWidget*, QPoint, QPoint, int> presses[] = {
        {dialog.link(), {5, 5}, {5, 5}, 1},
        {&dialog, {4, 4}, overLink, 2},
        {label, {2, 2}, label->mapFrom(&dialog, overLink), 3},  // a label passes the release on to the dialog
        {dialog.link(), {5, 5}, {-30, 40}, 3},
    };
    for (const auto& [pressed, pressAt, releaseAt, openings] : presses) {
        const int before = opened;
        QTest::mousePress(pressed, Qt::LeftButton, {}, pressAt);
        EXPECT_EQ(opened, before) << "not on the press";
        QTest::mouseRelease(pressed, Qt::LeftButton, {}, releaseAt);
        EXPECT_EQ(opened, openings);
    }
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.close()) << "the close box";
    EXPECT_TRUE(dialog.isVisible());
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
}

}  // namespace
