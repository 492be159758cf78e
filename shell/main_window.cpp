#include "shell/main_window.h"

#include "net/ping.h"
#include "net/status_strip.h"
#include "shell/board_view.h"
#include "shell/instructions_dialog.h"
#include "shell/join_dialog.h"
#include "shell/sound_player.h"
#include "table/hand_flow.h"
#include "table/local_play.h"
#include "table/stall_flip.h"
#include "table/timer_ticks.h"

#include <QCoreApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QLoggingCategory>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>

#include <thread>

Q_LOGGING_CATEGORY(flinthandTrace, "flinthand.trace", QtInfoMsg)

namespace {

QString Text(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

MainWindow::MainWindow(std::uint16_t port) : game_(*this), connection_(game_, port), sound_(std::make_unique<SoundPlayer>())
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

    boardView_ = new BoardView(renderer_.backBuffer(), central);
    boardView_->onLeftClick = [this](unsigned x, unsigned y) { HandleTableClick(game_, x, y); };
    statusStrip_ = new StatusStrip(game_.status, central);
    statusStrip_->onLeftClick = [this] { StartPing(game_); };

    for (const TimerId id : {TimerId::FlipCountdown, TimerId::StartCountdown, TimerId::TieDisplay, TimerId::QuietTable}) {
        QTimer& timer = TimerFor(id);
        timer.setInterval(TimerPeriodMs(id));
        timer.setTimerType(Qt::PreciseTimer);  // coarse timers may fire 5 % early or late
        connect(&timer, &QTimer::timeout, this, [this, id] { OnTimer(game_, id); });
    }

    connect(&connection_, &Connection::hosting, this, [this] {
        hostAction_->setEnabled(false);
        joinAction_->setEnabled(false);
        setWindowTitle("Flinthand - Server");
    });
    connect(&connection_, &Connection::clientAccepted, this, [this] { pingAction_->setEnabled(true); });
    connect(&connection_, &Connection::joined, this, [this] {
        setWindowTitle("Flinthand - Client");
        hostAction_->setEnabled(false);
        joinAction_->setEnabled(false);
        pingAction_->setEnabled(true);
    });
}

MainWindow::~MainWindow() = default;

void MainWindow::BuildMenu()
{
    QMenu* network = menuBar()->addMenu("&Network");
    hostAction_ = network->addAction("&Host a Game", this, [this] {
        game_.table.bIsServer = 1;
        connection_.HostGame();
    });
    joinAction_ = network->addAction("&Join a Game", this, [this] {
        game_.table.bIsServer = 0;
        OpenJoinDialog();
    });
    network->addSeparator();
    pingAction_ = network->addAction("&Ping Test", this, [this] { StartPing(game_); });
    pingAction_->setEnabled(false);
    network->addSeparator();
    // Where menus are merged into an application menu, these stay where they are.
    network->addAction("E&xit", this, [this] { CloseProgram(); })->setMenuRole(QAction::NoRole);

    QMenu* help = menuBar()->addMenu("&Help");
    help->addAction("&Instructions", this, [this] { OpenInstructions(); });
    help->addAction("&About", this, [this] { OpenInstructions(); })->setMenuRole(QAction::NoRole);
}

void MainWindow::OpenJoinDialog()
{
    JoinDialog dialog(centralWidget(), [this](const std::string& name) { connection_.JoinGame(name); });
    dialog.exec();
}

void MainWindow::OpenInstructions()
{
    InstructionsDialog dialog(centralWidget());
    dialog.exec();
}

bool MainWindow::HasDataConnection() const
{
    return connection_.HasDataConnection();
}

void MainWindow::SendBytes(const std::uint8_t* bytes, int count)
{
    connection_.Send(bytes, count);
}

int MainWindow::ReceiveBytes(std::uint8_t* into, int capacity)
{
    return connection_.Receive(into, capacity);
}

void MainWindow::ClearBackBuffer()
{
    renderer_.ClearBackBuffer();
}

void MainWindow::DrawTableCards(const Table& table)
{
    renderer_.DrawTableCards(table);
}

void MainWindow::DrawLargeText(int x, int y, std::string_view text)
{
    renderer_.DrawLargeText(x, y, text);
}

void MainWindow::InvalidateMainWindow()
{
    boardView_->update();
}

void MainWindow::InvalidateStatusWindow(bool)
{
    // The strip paints every pixel itself, so erasing first changes nothing.
    statusStrip_->update();
}

void MainWindow::CreateReadyButton()
{
    if (!readyButton_) {
        readyButton_ = new QPushButton("Push when ready to play..", centralWidget());
        readyButton_->setGeometry(130, 252, 200, 30);
        readyButton_->setAutoDefault(false);
        connect(readyButton_, &QPushButton::clicked, this, [this] { OnReadyPressed(game_); });
    }
    readyButton_->show();
    readyButton_->raise();
}

void MainWindow::DestroyReadyButton()
{
    if (!readyButton_)
        return;
    // Called from the button's own click: let it finish before it goes.
    readyButton_->hide();
    readyButton_->deleteLater();
    readyButton_ = nullptr;
}

void MainWindow::ShowMessageBox(BoxOwner owner, std::string_view text, std::string_view caption, BoxIcon icon)
{
    QWidget* parent = owner == BoxOwner::StatusWindow ? static_cast<QWidget*>(statusStrip_) : this;
    QMessageBox box(icon == BoxIcon::Stop ? QMessageBox::Critical : QMessageBox::NoIcon, Text(caption), Text(text),
                    QMessageBox::Ok, parent);
    box.exec();
}

namespace {

// Yes or No and nothing else: Escape and the close box would otherwise count
// as No, and No ends the program.
class YesNoBox : public QMessageBox {
public:
    YesNoBox(const QString& caption, const QString& text, QWidget* owner)
        : QMessageBox(QMessageBox::Warning, caption, text, QMessageBox::Yes | QMessageBox::No, owner,
                      Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    {
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Escape)
            event->accept();
        else
            QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

}  // namespace

bool MainWindow::AskYesNo(std::string_view text, std::string_view caption)
{
    YesNoBox box(Text(caption), Text(text), this);
    return box.exec() == QMessageBox::Yes;
}

void MainWindow::CloseProgram()
{
    close();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    connection_.Teardown();
    event->accept();
}

QTimer& MainWindow::TimerFor(TimerId timer)
{
    return timers_[static_cast<int>(timer) - 1];
}

void MainWindow::StartTimer(TimerId timer)
{
    TimerFor(timer).start();
}

void MainWindow::KillTimer(TimerId timer)
{
    TimerFor(timer).stop();
}

void MainWindow::PumpMessages()
{
    QCoreApplication::processEvents();
    std::this_thread::yield();
}

void MainWindow::PlaySoundClip(unsigned index)
{
    sound_->PlaySoundClip(index);
}

// Trace lines may come in pieces; each finished line becomes one record.
void MainWindow::DebugOutput(std::string_view line)
{
    if (!flinthandTrace().isDebugEnabled())
        return;
    pendingTrace_ += line;
    for (std::size_t end; (end = pendingTrace_.find('\n')) != std::string::npos;) {
        qCDebug(flinthandTrace).noquote() << QString::fromStdString(pendingTrace_.substr(0, end));
        pendingTrace_.erase(0, end + 1);
    }
}

std::chrono::steady_clock::time_point MainWindow::Now() const
{
    return std::chrono::steady_clock::now();
}
