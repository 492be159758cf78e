#include "net/status_texts.h"
#include "shell/main_window.h"
#include "shell/shell_platform.h"

#include <QAction>
#include <QCoreApplication>
#include <QPushButton>
#include <QTcpServer>
#include <QThread>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>

namespace {

bool PumpUntil(const std::function<bool()>& done, std::chrono::seconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

TEST(Practice, AHandAgainstTheComputerOpensNoPort)
{
    ShellPlatform platform(0);
    MainWindow window(platform);
    window.show();
    const Game& game = platform.game();
    auto noPort = [&] { return platform.connection().findChildren<QTcpServer*>().empty(); };
    auto enabled = [&] {
        std::string names;
        for (QAction* action : {window.hostAction(), window.joinAction(), window.pingAction()})
            names += action->isEnabled() ? action->text().toStdString() : "";
        return names;
    };

    window.practiceAction(ComputerSpeed::Hard)->trigger();
    EXPECT_EQ(window.windowTitle(), "Flinthand - Practice");
    EXPECT_STREQ(game.status.statusLine1, "Practice against the computer (Hard)");
    EXPECT_EQ(enabled(), "");
    EXPECT_TRUE(window.stopPracticeAction()->isVisible());
    EXPECT_FALSE(window.practiceMenuAction()->isVisible());

    ASSERT_NE(window.readyButton(), nullptr);
    window.readyButton()->click();
    ASSERT_TRUE(PumpUntil([&] { return game.table.bHandInProgress != 0; }, std::chrono::seconds(8))) << "no deal";
    EXPECT_EQ(CardsOnTable(game.table), kDeckSize);
    EXPECT_FALSE(game.table.bIsServer) << "the computer deals";
    // We play too, so that the hand moves on whatever the deal.
    ComputerPlayer us(ComputerSpeed::Hard, 7);
    const int computerCards = CardsLeft(game.table.nOppPileCards);
    ASSERT_TRUE(PumpUntil(
        [&] {
            us.Act(platform.game());
            return CardsLeft(game.table.nOppPileCards) < computerCards;
        },
        std::chrono::seconds(20)))
        << "the computer never played";
    EXPECT_TRUE(noPort());

    window.stopPracticeAction()->trigger();
    EXPECT_EQ(window.windowTitle(), "Flinthand");
    EXPECT_EQ(enabled(), "&Host a Game&Join a Game");
    EXPECT_FALSE(window.stopPracticeAction()->isVisible());
    EXPECT_TRUE(window.practiceMenuAction()->isVisible());
    EXPECT_FALSE(game.table.bHandInProgress);
    EXPECT_EQ(window.readyButton(), nullptr);
    EXPECT_STREQ(game.status.statusLine1, "Null Status");
    PumpUntil([] { return false; }, std::chrono::seconds(1));  // whatever was on its way lands nowhere
    EXPECT_FALSE(game.table.bHandInProgress);
    EXPECT_TRUE(noPort());
}

}  // namespace
