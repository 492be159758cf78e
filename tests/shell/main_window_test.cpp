#include "shell/board_view.h"
#include "shell/main_window.h"
#include "shell/shell_platform.h"
#include "table/paint_table.h"
#include "tests/support/deal_fixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// The real window, its sends kept instead of going to a connection.
class WiredPlatform : public ShellPlatform {
public:
    WiredPlatform() : ShellPlatform(0) {}
    std::vector<std::vector<std::uint8_t>> sent;
    bool HasDataConnection() const override { return true; }
    void SendBytes(const std::uint8_t* bytes, int count) override { sent.emplace_back(bytes, bytes + count); }
    void PlaySoundClip(SoundClip) override {}
};

TEST(MainWindow, FixedClientAreaAndOnlyLeftClicksPlay)
{
    WiredPlatform platform;
    MainWindow window(platform);
    window.show();
    EXPECT_EQ(window.centralWidget()->size(), QSize(460, 535));
    EXPECT_EQ(window.minimumSize(), window.maximumSize()) << "not resizable";
    QImage cloth(460, 503, QImage::Format_RGB32);
    cloth.fill(qRgb(0, 128, 0));
    EXPECT_EQ(window.boardView()->grab().toImage().convertToFormat(QImage::Format_RGB32), cloth) << "a bare table on top";

    Table& t = platform.game().table;
    SetPiles(t, {{C(4, kHearts)}, {C(5, kClubs)}, {C(6, kClubs)}, {C(7, kClubs)}, {C(8, kClubs)}}, {{C(kAce, kClubs)}},
             {C(3, kSpades)}, {C(kJack, kDiamonds)});
    PaintTable(platform.game());
    QTest::mouseClick(window.boardView(), Qt::RightButton, {}, QPoint(399, 350));
    EXPECT_TRUE(platform.sent.empty());
    QTest::mouseClick(window.boardView(), Qt::LeftButton, {}, QPoint(399, 350));  // pile 4, right of x 255
    EXPECT_EQ(platform.sent, (std::vector<std::vector<std::uint8_t>>{{204, 4}}));
}

// No sends Escape or the close box for No: No would end the program.
TEST(MainWindow, LosersQuestionIgnoresEscapeAndTheCloseBox)
{
    WiredPlatform platform;
    MainWindow window(platform);
    window.show();
    bool stillAsking = false;
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        QTest::keyClick(box, Qt::Key_Escape);
        box->close();
        stillAsking = box->isVisible();
        for (QAbstractButton* button : box->findChildren<QAbstractButton*>())
            if (button->text().remove('&') == "Yes")
                button->click();
    });
    EXPECT_TRUE(platform.AskYesNo("Would you like to play another hand?", "Loser"));
    EXPECT_TRUE(stillAsking);
}

}  // namespace
