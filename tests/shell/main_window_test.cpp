#include "shell/status_strip.h"
#include "shell/board_view.h"
#include "shell/main_window.h"
#include "shell/shell_platform.h"

#include <QAction>
#include <QMenuBar>
#include <QPushButton>
#include <QAbstractButton>
#include <QApplication>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

std::vector<std::pair<QString, QString>> MenuItems(QMainWindow& window)
{
    std::vector<std::pair<QString, QString>> items;
    for (QAction* menu : window.menuBar()->actions())
        for (QAction* item : menu->menu()->actions())
            if (item->isVisible())
                items.emplace_back(menu->text(), item->isSeparator() ? QString("-") : item->text());
    return items;
}

TEST(MainWindow, MenuTitleAndFixedClientArea)
{
    ShellPlatform platform(41790);
    MainWindow window(platform);
    window.show();
    EXPECT_EQ(window.windowTitle(), "Flinthand");
    const std::vector<std::pair<QString, QString>> expected = {
        {"&Network", "&Host a Game"}, {"&Network", "&Join a Game"}, {"&Network", "&Practice against the Computer"}, {"&Network", "-"},    {"&Network", "&Ping Test"},
        {"&Network", "-"},            {"&Network", "E&xit"},        {"&Help", "&Instructions"}, {"&Help", "&About"}};
    EXPECT_EQ(MenuItems(window), expected);
    EXPECT_FALSE(window.pingAction()->isEnabled());
    EXPECT_TRUE(window.hostAction()->isEnabled());
    EXPECT_TRUE(window.joinAction()->isEnabled());

    EXPECT_EQ(window.centralWidget()->size(), QSize(460, 535));
    EXPECT_EQ(window.minimumSize(), window.maximumSize()) << "not resizable";
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(window.statusStrip()->geometry(), QRect(0, 503, 460, 32));
    EXPECT_EQ(window.boardView()->geometry(), QRect(0, 0, 460, 503));
    EXPECT_EQ(window.readyButton(), nullptr);
}

TEST(MainWindow, PlainGreenTableAndIgnoredRightClicks)
{
    ShellPlatform platform(41791);
    MainWindow window(platform);
    window.show();
    const QImage shown = window.boardView()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), QSize(460, 503));
    for (int y = 0; y < shown.height(); y += 7)
        for (int x = 0; x < shown.width(); x += 7)
            ASSERT_EQ(shown.pixel(x, y), qRgb(0, 128, 0));

    QTest::mouseClick(window.boardView(), Qt::RightButton, {}, QPoint(200, 200));
    QTest::mouseClick(window.boardView(), Qt::LeftButton, {}, QPoint(200, 200));
    EXPECT_EQ(platform.game().table.nMySelectedPile, kNoPile);
    EXPECT_TRUE(window.isVisible());
}

TEST(MainWindow, ReadyButtonComesAndGoes)
{
    ShellPlatform platform(41792);
    MainWindow window(platform);
    window.show();
    platform.CreateReadyButton();
    platform.CreateReadyButton();  // a second call shows the same button
    ASSERT_NE(window.readyButton(), nullptr);
    EXPECT_EQ(window.centralWidget()->findChildren<QPushButton*>().size(), 1);
    EXPECT_EQ(window.readyButton()->text(), "Push when ready to play..");
    EXPECT_EQ(window.readyButton()->geometry(), QRect(130, 252, 200, 30));
    platform.DestroyReadyButton();
    EXPECT_EQ(window.readyButton(), nullptr);
}

TEST(MainWindow, LosersQuestionIgnoresEscapeAndTheCloseBox)
{
    ShellPlatform platform(41793);
    MainWindow window(platform);
    window.show();
    // Waits for the box rather than asserting in the timer: a box that never
    // comes fails the test instead of hanging it.
    bool stillAsking = false;
    bool seen = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box)
            return;
        poll.stop();
        seen = true;
        QTest::keyClick(box, Qt::Key_Escape);
        box->close();
        stillAsking = box->isVisible();
        for (QAbstractButton* button : box->findChildren<QAbstractButton*>())
            if (button->text().remove('&') == "Yes")
                button->click();
    });
    poll.start(20);
    EXPECT_TRUE(platform.AskYesNo("Your Opponent has Won !!\nWould you like to play another hand?", "Loser"));
    EXPECT_TRUE(seen);
    EXPECT_TRUE(stillAsking);
}

}  // namespace
