#include "shell/main_window.h"
#include "shell/player_host.h"

#include "table/local_play.h"
#include "tests/support/deal_fixture.h"

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTcpServer>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(Practice, AHandAgainstTheComputerOpensNoPort)
{
    PlayerHost platform(0);
    MainWindow window(platform);
    window.show();
    const Game& game = platform.game();
    auto noPort = [&] { return platform.connection().findChildren<QTcpServer*>().empty(); };
    auto menu = [&] {
        return std::array{window.hostAction()->isEnabled(), window.joinAction()->isEnabled(), window.pingAction()->isEnabled(),
                          window.practiceMenuAction()->isVisible(), window.stopPracticeAction()->isVisible()};
    };

    window.practiceAction(ComputerSpeed::Hard)->trigger();
    EXPECT_EQ(menu(), (std::array{false, false, false, false, true}));

    ASSERT_NE(window.readyButton(), nullptr);
    window.readyButton()->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return game.table.handInProgress; }, 8000)) << "no deal";
    EXPECT_FALSE(game.table.role == Role::Server) << "the computer deals";
    // We play too, so that the hand moves on whatever the deal.
    ComputerPlayer us(ComputerSpeed::Hard, 7);
    const int computerCards = CardsLeft(game.table.opponentPiles);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return us.Act(platform.game()), CardsLeft(game.table.opponentPiles) < computerCards; }, 20000))
        << "the computer never played";
    EXPECT_TRUE(noPort());

    window.stopPracticeAction()->trigger();
    EXPECT_EQ(window.windowTitle(), "Flinthand");
    EXPECT_EQ(menu(), (std::array{true, true, false, true, false}));
    EXPECT_EQ(window.readyButton(), nullptr);
    QTest::qWait(1000);  // whatever was on its way lands nowhere
    EXPECT_FALSE(game.table.handInProgress);
    EXPECT_TRUE(noPort());

    // Lost: the title keeps the score, and No ends the practice, not the program.
    window.practiceAction(ComputerSpeed::Easy)->trigger();
    SetPiles(platform.game().table, {{C(4, kClubs)}}, {}, {C(5, kHearts)}, {C(2, kHearts)});
    CheckAfterMove(platform.game());
    EXPECT_EQ(window.windowTitle(), "Flinthand - Practice - You 0, Computer 1");
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    box->button(QMessageBox::No)->click();
    EXPECT_FALSE(platform.Practising());
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowTitle(), "Flinthand");
    window.hostAction()->trigger();
    platform.StartPractice(ComputerSpeed::Easy);
    EXPECT_EQ(window.windowTitle(), "Flinthand - Server") << "no practice while hosting";
}

}  // namespace
