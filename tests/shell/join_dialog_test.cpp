#include "shell/join_dialog.h"

#include "shell/connection.h"
#include "tests/support/recording_platform.h"

#include <QApplication>
#include <QDir>
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

namespace {

using Names = std::vector<std::string>;

// Each test runs in an empty folder of its own, where the dialog keeps sname.ini.
class JoinDialogTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder_.isValid() && QDir::setCurrent(folder_.path())); }
    void TearDown() override { QDir::setCurrent(home_); }

    static std::string FileText() { return {std::istreambuf_iterator<char>(std::ifstream("sname.ini").rdbuf()), {}}; }

    // A dialog whose join only records the names it is asked for.
    std::unique_ptr<JoinDialog> Open()
    {
        auto dialog = std::make_unique<JoinDialog>(nullptr);
        QObject::connect(dialog.get(), &JoinDialog::joinRequested, [this](const std::string& name) { joins.push_back(name); });
        dialog->show();
        return dialog;
    }
    // Replaces what the field shows with the typed text and presses Connect.
    static void Connect(JoinDialog& dialog, const char* typed)
    {
        dialog.serverField()->selectAll();
        QTest::keyClicks(dialog.serverField(), typed);
        QTest::mouseClick(dialog.connectButton(), Qt::LeftButton);
    }

    Names joins;

private:
    QTemporaryDir folder_;
    QString home_ = QDir::currentPath();
};

TEST_F(JoinDialogTest, FirstUseCreatesAnEmptyFileOnlyConnectJoinsAndTheNameIsRemembered)
{
    ASSERT_FALSE(QFile::exists("sname.ini"));
    auto dialog = Open();
    EXPECT_EQ(dialog->windowTitle(), "Client Connect Options");
    EXPECT_TRUE(QFile::exists("sname.ini"));
    EXPECT_EQ(dialog->serverField()->text(), "");

    // Enter and Escape do nothing, in the field or on the dialog; Cancel closes.
    QTest::keyClicks(dialog->serverField(), "host");
    for (QWidget* target : {static_cast<QWidget*>(dialog->serverField()), static_cast<QWidget*>(dialog.get())}) {
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            QTest::keyClick(target, key);
            EXPECT_TRUE(dialog->isVisible()) << "key " << key;
        }
    }
    EXPECT_EQ(dialog->serverField()->text(), "host");
    QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(FileText(), "");

    for (const char* name : {"game-host.lan", "10.0.0.7"}) {
        dialog = Open();
        Connect(*dialog, name);
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(FileText(), name) << "a new name replaces the old one whole";
        EXPECT_EQ(Open()->serverField()->text().toStdString(), name) << "and is offered next time";
    }
    EXPECT_EQ(joins, (Names{"game-host.lan", "10.0.0.7"}));
}

TEST_F(JoinDialogTest, SavedNameIsReadWholeUpTo259AndSubmittedUpTo255Characters)
{
    const std::string sample = QString("abcdefghijklmnopqrstuvwxyz0123456789").repeated(9).left(300).toStdString();
    const std::string lines = "first line\nsecond line\nthird";
    const struct { std::string file; bool readOnly; const char* typed; std::string shown, joined; } cases[] = {
        {"first line\nsecond line\r\nthird", false, "", lines, lines},  // typing nothing keeps what is shown
        {sample, false, "", sample.substr(0, 259), sample.substr(0, 255)},
        {"old-server", true, "new-server", "old-server", "new-server"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown.substr(0, 20));
        std::ofstream("sname.ini") << c.file;
        ASSERT_EQ(chmod("sname.ini", c.readOnly ? 0444 : 0644), 0);
        auto dialog = Open();
        EXPECT_EQ(dialog->serverField()->text().toStdString(), c.shown);
        EXPECT_EQ(FileText(), c.file) << "reading leaves the file alone";
        Connect(*dialog, c.typed);
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(joins, Names{c.joined});
        EXPECT_EQ(FileText(), c.readOnly ? c.file : c.joined);
        joins.clear();
        chmod("sname.ini", 0644);
    }
}

TEST_F(JoinDialogTest, EmptyFieldAsksForANameAndStaysOpenButSpacesAreAName)
{
    // Once the event loop runs, answers a message box that is up and tells what it said.
    QStringList boxes;
    auto closeNextBox = [&] {
        QTimer::singleShot(0, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                boxes << box->windowTitle() + (box->icon() == QMessageBox::NoIcon ? ": " : " with an icon: ") + box->text();
                box->button(QMessageBox::Ok)->click();
            }
        });
    };
    auto dialog = Open();
    closeNextBox();
    QTest::mouseClick(dialog->connectButton(), Qt::LeftButton);
    EXPECT_EQ(boxes, QStringList{"Error: Enter Server Name or IP Address (###.###.###.###)"});
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(joins.empty());
    EXPECT_EQ(FileText(), "");

    closeNextBox();
    Connect(*dialog, "   ");
    QCoreApplication::processEvents();
    EXPECT_EQ(boxes.size(), 1) << "spaces were taken for an empty field";
    EXPECT_EQ(joins, Names{"   "});
    EXPECT_EQ(FileText(), "   ");
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(JoinDialogTest, NameIsSavedEvenWhenTheJoinFails)
{
    QTcpServer probe;  // a port where nobody listens
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    const std::uint16_t port = probe.serverPort();
    probe.close();
    RecordedGame rig;
    Connection connection(rig.game, port);
    JoinDialog dialog(nullptr);
    QObject::connect(&dialog, &JoinDialog::joinRequested, [&](const std::string& name) { connection.JoinGame(name); });
    dialog.show();
    Connect(dialog, "127.0.0.1");
    ASSERT_EQ(rig.platform.boxes.size(), 1u);
    EXPECT_EQ(rig.platform.boxes[0].text, "Client unable to connect to Server");
    EXPECT_FALSE(connection.HasDataConnection());
    EXPECT_EQ(FileText(), "127.0.0.1");
    EXPECT_FALSE(dialog.isVisible());
}

}  // namespace
