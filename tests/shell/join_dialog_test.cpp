#include "shell/join_dialog.h"

#include "net/connection.h"
#include "tests/support/recording_platform.h"

#include <QApplication>
#include <QDir>
#include <QHostAddress>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Every test gets an empty folder of its own as the current directory,
// where the dialog keeps sname.ini.
class JoinDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder_.isValid());
        previous_ = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(folder_.path()));
    }
    void TearDown() override { QDir::setCurrent(previous_); }

    std::string FilePath() const { return folder_.filePath("sname.ini").toStdString(); }
    bool FileExists() const { return QFile::exists(folder_.filePath("sname.ini")); }
    std::string FileText() const
    {
        std::ifstream in(FilePath(), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    void WriteFile(const std::string& text) const
    {
        std::ofstream out(FilePath(), std::ios::binary);
        out << text;
    }

    // A dialog whose join only records the names it was asked for.
    std::unique_ptr<JoinDialog> Open()
    {
        auto dialog = std::make_unique<JoinDialog>(nullptr, [this](const std::string& name) { joins.push_back(name); });
        dialog->show();
        return dialog;
    }

    std::vector<std::string> joins;

private:
    QTemporaryDir folder_;
    QString previous_;
};

struct SeenBox {
    QString text;
    QString title;
    QMessageBox::Icon icon;
};

// Answers the next modal message box with OK and tells what it showed.
// Nothing is recorded if none came up in time.
class BoxCloser {
public:
    BoxCloser()
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) {
                if (++polls_ > 500)
                    timer_.stop();
                return;
            }
            timer_.stop();
            seen = SeenBox{box->text(), box->windowTitle(), box->icon()};
            box->button(QMessageBox::Ok)->click();
        });
        timer_.start(10);
    }

    std::optional<SeenBox> seen;

private:
    QTimer timer_;
    int polls_ = 0;
};

std::string Sample(std::size_t length)
{
    std::string text;
    for (std::size_t i = 0; i < length; ++i)
        text.push_back("abcdefghijklmnopqrstuvwxyz0123456789"[i % 36]);
    return text;
}

TEST_F(JoinDialogTest, FirstUseCreatesAnEmptyFileEvenWhenCancelled)
{
    ASSERT_FALSE(FileExists());
    auto dialog = Open();
    EXPECT_EQ(dialog->windowTitle(), "Client Connect Options");
    EXPECT_TRUE(FileExists());
    EXPECT_EQ(FileText(), "");
    EXPECT_EQ(dialog->serverField()->text(), "");

    QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(joins.empty());
    EXPECT_TRUE(FileExists());
    EXPECT_EQ(FileText(), "");
}

TEST_F(JoinDialogTest, ConnectJoinsTheTypedNameRemembersItAndCloses)
{
    {
        auto dialog = Open();
        QTest::keyClicks(dialog->serverField(), "game-host.lan");
        QTest::mouseClick(dialog->connectButton(), Qt::LeftButton);
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(joins, (std::vector<std::string>{"game-host.lan"}));
        EXPECT_EQ(FileText(), "game-host.lan");
    }
    // Next time the field offers it again, and a new name replaces it whole.
    auto dialog = Open();
    EXPECT_EQ(dialog->serverField()->text(), "game-host.lan");
    dialog->serverField()->selectAll();
    QTest::keyClicks(dialog->serverField(), "10.0.0.7");
    QTest::mouseClick(dialog->connectButton(), Qt::LeftButton);
    EXPECT_EQ(joins, (std::vector<std::string>{"game-host.lan", "10.0.0.7"}));
    EXPECT_EQ(FileText(), "10.0.0.7");
}

TEST_F(JoinDialogTest, NameIsKeptEvenWhenTheJoinFails)
{
    // The real join, to a port where nobody listens.
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    const std::uint16_t port = probe.serverPort();
    probe.close();
    RecordedGame rig;
    Connection connection(rig.game, port);
    JoinDialog dialog(nullptr, [&](const std::string& name) { connection.JoinGame(name); });
    dialog.show();
    QTest::keyClicks(dialog.serverField(), "127.0.0.1");
    QTest::mouseClick(dialog.connectButton(), Qt::LeftButton);
    ASSERT_EQ(rig.platform.boxes.size(), 1u);
    EXPECT_EQ(rig.platform.boxes[0].text, "Client unable to connect to Server");
    EXPECT_FALSE(connection.HasDataConnection());
    EXPECT_EQ(FileText(), "127.0.0.1");
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(JoinDialogTest, EmptyFieldAsksForANameAndStaysOpenButSpacesAreAName)
{
    auto dialog = Open();
    BoxCloser closer;
    QTest::mouseClick(dialog->connectButton(), Qt::LeftButton);
    ASSERT_TRUE(closer.seen.has_value()) << "no box for an empty field";
    EXPECT_EQ(closer.seen->text, "Enter Server Name or IP Address (###.###.###.###)");
    EXPECT_EQ(closer.seen->title, "Error");
    EXPECT_EQ(closer.seen->icon, QMessageBox::NoIcon);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(joins.empty());
    EXPECT_EQ(FileText(), "");

    BoxCloser unexpected;
    QTest::keyClicks(dialog->serverField(), "   ");
    QTest::mouseClick(dialog->connectButton(), Qt::LeftButton);
    EXPECT_FALSE(unexpected.seen.has_value()) << "spaces were taken for an empty field";
    EXPECT_EQ(joins, (std::vector<std::string>{"   "}));
    EXPECT_EQ(FileText(), "   ");
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(JoinDialogTest, EnterAndEscapeDoNothing)
{
    auto dialog = Open();
    QTest::keyClicks(dialog->serverField(), "host");
    for (QWidget* target : {static_cast<QWidget*>(dialog->serverField()), static_cast<QWidget*>(dialog.get())}) {
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            QTest::keyClick(target, key);
            EXPECT_TRUE(dialog->isVisible()) << "key " << key;
        }
    }
    EXPECT_TRUE(joins.empty());
    EXPECT_EQ(FileText(), "");
    EXPECT_EQ(dialog->serverField()->text(), "host");
}

TEST_F(JoinDialogTest, SavedFileIsReadWholeUpTo259Characters)
{
    WriteFile("first line\nsecond line\r\nthird");
    EXPECT_EQ(Open()->serverField()->text().toStdString(), "first line\nsecond line\nthird");

    const std::string longText = Sample(300);
    WriteFile(longText);
    EXPECT_EQ(Open()->serverField()->text().toStdString(), longText.substr(0, 259));
    EXPECT_EQ(FileText(), longText) << "reading leaves the file alone";
}

TEST_F(JoinDialogTest, SubmittedNameIsCutTo255Characters)
{
    const std::string longText = Sample(300);
    auto dialog = Open();
    dialog->serverField()->setText(QString::fromStdString(longText));
    QTest::mouseClick(dialog->connectButton(), Qt::LeftButton);
    ASSERT_EQ(joins.size(), 1u);
    EXPECT_EQ(joins[0], longText.substr(0, 255));
    EXPECT_EQ(FileText(), longText.substr(0, 255));
}

TEST_F(JoinDialogTest, ReadOnlyFileIsShownButNotOverwritten)
{
    WriteFile("old-server");
    ASSERT_EQ(chmod(FilePath().c_str(), 0444), 0);
    auto dialog = Open();
    EXPECT_EQ(dialog->serverField()->text(), "old-server");
    dialog->serverField()->selectAll();
    QTest::keyClicks(dialog->serverField(), "new-server");
    QTest::mouseClick(dialog->connectButton(), Qt::LeftButton);
    EXPECT_EQ(joins, (std::vector<std::string>{"new-server"}));
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(FileText(), "old-server");
    chmod(FilePath().c_str(), 0644);
}

}  // namespace
