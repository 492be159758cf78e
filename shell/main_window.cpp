#include "shell/main_window.h"

#include "net/ping.h"
#include "shell/board_geometry.h"
#include "shell/board_view.h"
#include "shell/instructions_dialog.h"
#include "shell/join_dialog.h"
#include "shell/player_host.h"
#include "shell/practice.h"
#include "shell/status_strip.h"
#include "shell/table_clicks.h"
#include "table/hand_flow.h"

#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>

MainWindow::MainWindow(PlayerHost& host) : host_(host)
{
    setWindowTitle("Flinthand");
    QIcon icon(":/icon_32.png");
    icon.addFile(":/icon_16.png");
    setWindowIcon(icon);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    BuildMenu();

    auto* central = new QWidget(this);
    central->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(central);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    boardView_ = new BoardView(host_.renderer().backBuffer(), central);
    statusStrip_ = new StatusStrip(host_.link().status, central);
    host_.SetWindows(this, statusStrip_);
    ConnectToGame();
}

void MainWindow::BuildMenu()
{
    QMenu* network = menuBar()->addMenu("&Network");
    hostAction_ = network->addAction("&Host a Game");
    joinAction_ = network->addAction("&Join a Game");
    QMenu* practice = network->addMenu("&Practice against the Computer");
    practiceMenuAction_ = practice->menuAction();
    for (const ComputerSpeed speed : {ComputerSpeed::Easy, ComputerSpeed::Normal, ComputerSpeed::Hard})
        speedActions_[static_cast<int>(speed)] = practice->addAction(QString("&") + SpeedName(speed));
    stopPracticeAction_ = network->addAction("&Stop Practice");
    stopPracticeAction_->setVisible(false);
    network->addSeparator();
    pingAction_ = network->addAction("&Ping Test");
    pingAction_->setEnabled(false);
    network->addSeparator();
    // Where menus are merged into an application menu, these stay where they are.
    network->addAction("E&xit", this, &QWidget::close)->setMenuRole(QAction::NoRole);

    QMenu* help = menuBar()->addMenu("&Help");
    help->addAction("&Instructions", this, &MainWindow::OpenInstructions);
    help->addAction("&About", this, &MainWindow::OpenInstructions)->setMenuRole(QAction::NoRole);
}

// Every path between the widgets, the keys and the game, in one place.
void MainWindow::ConnectToGame()
{
    Game& game = host_.game();
    Link& link = host_.link();
    Connection& connection = host_.connection();
    connect(hostAction_, &QAction::triggered, &connection, &Connection::HostGame);
    connect(joinAction_, &QAction::triggered, this, [this, &connection] {
        JoinDialog dialog(centralWidget());
        connect(&dialog, &JoinDialog::joinRequested, &connection, &Connection::JoinGame);
        dialog.exec();
    });
    connect(pingAction_, &QAction::triggered, this, [&link] { StartPing(link); });
    for (const ComputerSpeed speed : {ComputerSpeed::Easy, ComputerSpeed::Normal, ComputerSpeed::Hard})
        connect(practiceAction(speed), &QAction::triggered, &host_, [this, speed] { host_.StartPractice(speed); });
    connect(stopPracticeAction_, &QAction::triggered, &host_, &PlayerHost::StopPractice);
    connect(boardView_, &BoardView::leftClicked, this,
            [&game](unsigned x, unsigned y) { ClickAt(game, static_cast<int>(x), static_cast<int>(y)); });
    connect(statusStrip_, &StatusStrip::leftClicked, this, [&link] { StartPing(link); });
    connect(this, &MainWindow::readyPressed, this, [&game] { PressReady(game); });

    connect(&host_, &PlayerHost::mainWindowInvalidated, boardView_, qOverload<>(&QWidget::update));
    connect(&host_, &PlayerHost::statusWindowInvalidated, statusStrip_, qOverload<>(&QWidget::update));
    connect(&host_, &PlayerHost::readyButtonWanted, this, &MainWindow::ShowReadyButton);
    connect(&host_, &PlayerHost::closeRequested, this, &QWidget::close);
    connect(&host_, &PlayerHost::scoreChanged, this, &MainWindow::UpdateTitle);

    connect(&host_, &PlayerHost::practiceChanged, this, [this](bool practising) {
        mode_ = practising ? Mode::Practice : Mode::Idle;
        UpdateTitle();
        for (QAction* action : {hostAction_, joinAction_})
            action->setEnabled(!practising);
        pingAction_->setEnabled(false);
        practiceMenuAction_->setVisible(!practising);
        stopPracticeAction_->setVisible(practising);
    });
    connect(&connection, &Connection::hosting, this, [this] {
        hostAction_->setEnabled(false);
        joinAction_->setEnabled(false);
        practiceMenuAction_->setEnabled(false);
        mode_ = Mode::Hosting;
        UpdateTitle();
    });
    connect(&connection, &Connection::clientAccepted, this, [this] { pingAction_->setEnabled(true); });
    connect(&connection, &Connection::joined, this, [this] {
        mode_ = Mode::Joined;
        UpdateTitle();
        hostAction_->setEnabled(false);
        joinAction_->setEnabled(false);
        practiceMenuAction_->setEnabled(false);
        pingAction_->setEnabled(true);
    });

    // 1 to 5 pick our piles from the left, Left and Right play onto the centre
    // piles, Space presses the ready button: each does what a click there does.
    auto addKey = [this](int key, auto action) {
        for (const int modifier : {0, static_cast<int>(Qt::KeypadModifier)})
            connect(new QShortcut(QKeySequence(modifier | key), this), &QShortcut::activated, this, action);
    };
    for (int pile = 0; pile < kPlayerPiles; ++pile)
        addKey(Qt::Key_1 + pile, [&game, pile] { ClickYourPile(game, pile); });
    addKey(Qt::Key_Left, [&game] { ClickCentrePile(game, 0); });
    addKey(Qt::Key_Right, [&game] { ClickCentrePile(game, 1); });
    addKey(Qt::Key_Space, [this] {
        if (readyButton_ && readyButton_->isVisible())
            readyButton_->click();
    });
}

// The role until a hand has ended, then the score against whoever sits opposite.
void MainWindow::UpdateTitle()
{
    const Score& score = host_.game().score;
    QString title = "Flinthand";
    if (mode_ == Mode::Practice)
        title += " - Practice";
    if (score.handsEnded > 0)
        title +=
            QString(" - You %1, %2 %3").arg(score.mine).arg(mode_ == Mode::Practice ? "Computer" : "Opponent").arg(score.theirs);
    else if (mode_ == Mode::Hosting || mode_ == Mode::Joined)
        title += mode_ == Mode::Hosting ? " - Server" : " - Client";
    setWindowTitle(title);
}

void MainWindow::OpenInstructions()
{
    InstructionsDialog dialog(centralWidget());
    dialog.exec();
}

void MainWindow::ShowReadyButton(bool shown)
{
    if (!shown) {
        if (!readyButton_)
            return;
        // Called from the button's own click: let it finish before it goes.
        readyButton_->hide();
        readyButton_->deleteLater();
        readyButton_ = nullptr;
        return;
    }
    if (!readyButton_) {
        readyButton_ = new QPushButton("Push when ready to play..", centralWidget());
        readyButton_->setGeometry(130, 252, 200, 30);
        readyButton_->setAutoDefault(false);
        connect(readyButton_, &QPushButton::clicked, this, &MainWindow::readyPressed);
    }
    readyButton_->show();
    readyButton_->raise();
}
