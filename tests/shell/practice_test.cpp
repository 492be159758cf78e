#include "shell/main_window.h"
#include "shell/shell_platform.h"

#include <QAction>
#include <QPushButton>
#include <QTcpServer>
#include <QTest>

#include <gtest/gtest.h>

namespace {

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
    EXPECT_EQ(enabled(), "");
    EXPECT_TRUE(window.stopPracticeAction()->isVisible());

    ASSERT_NE(window.readyButton(), nullptr);
    window.readyButton()->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return game.table.bHandInProgress != 0; }, 8000)) << "no deal";
    EXPECT_FALSE(game.table.bIsServer) << "the computer deals";
    // We play too, so that the hand moves on whatever the deal.
    ComputerPlayer us(ComputerSpeed::Hard, 7);
    const int computerCards = CardsLeft(game.table.nOppPileCards);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return us.Act(platform.game()), CardsLeft(game.table.nOppPileCards) < computerCards; }, 20000))
        << "the computer never played";
    EXPECT_TRUE(noPort());

    window.stopPracticeAction()->trigger();
    EXPECT_EQ(window.windowTitle(), "Flinthand");
    EXPECT_EQ(enabled(), "&Host a Game&Join a Game");
    EXPECT_TRUE(window.practiceMenuAction()->isVisible());
    EXPECT_EQ(window.readyButton(), nullptr);
    QTest::qWait(1000);  // whatever was on its way lands nowhere
    EXPECT_FALSE(game.table.bHandInProgress);
    EXPECT_TRUE(noPort());
}

}  // namespace
