#include "shell/shell_platform.h"

#include "shell/message_boxes.h"
#include "shell/practice.h"
#include "table/hand_flow.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLoggingCategory>
#include <QWidget>

#include <thread>

Q_LOGGING_CATEGORY(flinthandTrace, "flinthand.trace", QtInfoMsg)

ShellPlatform::ShellPlatform(std::uint16_t port) : connection_(link_, port) {}

void ShellPlatform::SetWindows(QWidget* mainWindow, QWidget* statusWindow)
{
    mainWindow_ = mainWindow;
    statusWindow_ = statusWindow;
    mainWindow->installEventFilter(this);
}

bool ShellPlatform::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == mainWindow_ && event->type() == QEvent::Close)
        connection_.Teardown();
    return false;
}

// The practice game still uses the timers and the link on its way out.
ShellPlatform::~ShellPlatform()
{
    practice_.reset();
}

void ShellPlatform::StartPractice(ComputerSpeed speed)
{
    // Only a copy that neither hosts nor has joined may practise.
    if (practice_ || connection_.IsOpen() || connection_.Hosting())
        return;
    // A failed host's warning is over once something else is tried.
    link_.status.pingWarning[0] = '\0';
    practice_ = std::make_unique<Practice>(*this, speed);
    emit practiceChanged(true);
}

void ShellPlatform::StopPractice()
{
    if (!practice_)
        return;
    practice_.reset();
    emit practiceChanged(false);
}

bool ShellPlatform::HasDataConnection() const
{
    return wire_->IsOpen();
}

void ShellPlatform::SendBytes(const std::uint8_t* bytes, int count)
{
    wire_->Send(bytes, count);
}

int ShellPlatform::ReceiveBytes(std::uint8_t* into, int capacity)
{
    return wire_->Receive(into, capacity);
}

void ShellPlatform::ClearBackBuffer()
{
    renderer_.ClearBackBuffer();
}

void ShellPlatform::DrawTableCards(const Table& table)
{
    renderer_.DrawTableCards(table);
}

void ShellPlatform::DrawLargeText(int x, int y, std::string_view text)
{
    renderer_.DrawLargeText(x, y, text);
}

void ShellPlatform::InvalidateMainWindow()
{
    emit mainWindowInvalidated();
}

void ShellPlatform::InvalidateStatusWindow(bool)
{
    // The strip paints every pixel itself, so erasing first changes nothing.
    emit statusWindowInvalidated();
}

void ShellPlatform::CreateReadyButton()
{
    emit readyButtonWanted(true);
}

void ShellPlatform::DestroyReadyButton()
{
    emit readyButtonWanted(false);
}

void ShellPlatform::ShowMessageBox(BoxOwner owner, std::string_view text, std::string_view caption, BoxIcon icon)
{
    ShowMessageBoxOver(owner == BoxOwner::StatusWindow ? statusWindow_ : mainWindow_, text, caption, icon);
}

void ShellPlatform::AskToPlayAgain(std::string_view text, std::string_view caption)
{
    AskYesNoOver(mainWindow_, text, caption, [this](bool yes) {
        // Against the computer nothing needs closing: No ends the practice alone.
        if (!yes && practice_) {
            StopPractice();
            return;
        }
        AnswerPlayAgain(game_, yes);
    });
}

void ShellPlatform::CloseProgram()
{
    emit closeRequested();
}

void ShellPlatform::StartTimer(TimerId timer)
{
    timers_.Start(timer);
}

void ShellPlatform::StopTimer(TimerId timer)
{
    timers_.Kill(timer);
}

void ShellPlatform::PumpMessages()
{
    QCoreApplication::processEvents();
    std::this_thread::yield();
}

void ShellPlatform::PlaySoundClip(SoundClip clip)
{
    sound_.Play(clip);
}

bool ShellPlatform::DebugOutputEnabled() const
{
    return flinthandTrace().isDebugEnabled();
}

// Trace lines may come in pieces; each finished line becomes one record.
void ShellPlatform::DebugOutput(std::string_view line)
{
    if (!DebugOutputEnabled())
        return;
    pendingTrace_ += line;
    for (std::size_t end; (end = pendingTrace_.find('\n')) != std::string::npos;) {
        qCDebug(flinthandTrace).noquote() << QString::fromStdString(pendingTrace_.substr(0, end));
        pendingTrace_.erase(0, end + 1);
    }
}

std::chrono::steady_clock::time_point ShellPlatform::Now() const
{
    return std::chrono::steady_clock::now();
}
