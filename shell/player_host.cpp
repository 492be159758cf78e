#include "shell/player_host.h"

#include "shell/message_boxes.h"
#include "shell/practice.h"
#include "table/hand_flow.h"

#include <QEvent>
#include <QLoggingCategory>
#include <QWidget>

Q_LOGGING_CATEGORY(flinthandTrace, "flinthand.trace", QtInfoMsg)

PlayerHost::PlayerHost(std::uint16_t port) : connection_(link_, port)
{
    link_.wire = &connection_;
    connect(&connection_, &Connection::failed, this, [this](BoxOwner owner, const QString& text, BoxIcon icon) {
        ShowMessageBox(owner, text.toStdString(), "Error", icon);
    });
}

void PlayerHost::SetWindows(QWidget* mainWindow, QWidget* statusWindow)
{
    mainWindow_ = mainWindow;
    statusWindow_ = statusWindow;
    mainWindow->installEventFilter(this);
}

bool PlayerHost::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == mainWindow_ && event->type() == QEvent::Close)
        connection_.Teardown();
    return false;
}

// The practice game still uses the timers and the link on its way out.
PlayerHost::~PlayerHost()
{
    practice_.reset();
    UseConnection();
}

void PlayerHost::StartPractice(ComputerSpeed speed)
{
    if (!MayPractise(game_))
        return;
    // A failed host's warning is over once something else is tried.
    link_.status.pingWarning[0] = '\0';
    practice_ = std::make_unique<Practice>(*this, speed);
    UseWire(practice_->PlayerEnd());
    emit practiceChanged(true);
}

void PlayerHost::StopPractice()
{
    if (!practice_)
        return;
    practice_.reset();
    UseConnection();
    emit practiceChanged(false);
}

void PlayerHost::Show(ViewPart part)
{
    switch (part) {
    case ViewPart::Board:
    case ViewPart::FlipCountdown:
        renderer_.Render(ViewOf(game_), part == ViewPart::FlipCountdown);
        emit mainWindowInvalidated();
        break;
    case ViewPart::ReadyButton: emit readyButtonWanted(ViewOf(game_).readyOffered); break;
    case ViewPart::Score: emit scoreChanged(); break;
    case ViewPart::PlayAgainQuestion:
        AskToPlayAgain("Your Opponent has Won !!\nWould you like to play another hand?", "Loser");
        break;
    case ViewPart::StatusLines: emit statusWindowInvalidated(); break;
    }
}

void PlayerHost::Tell(Notice notice)
{
    ShowMessageBox(BoxOwner::StatusWindow,
                   notice == Notice::CannotSend ? "Sever-Client Network not established - can't send data"
                                                : "Server-Client Network Not established - can't read data",
                   "Error", BoxIcon::None);
}

void PlayerHost::ShowMessageBox(BoxOwner owner, std::string_view text, std::string_view caption, BoxIcon icon)
{
    ShowMessageBoxOver(owner == BoxOwner::StatusWindow ? statusWindow_ : mainWindow_, text, caption, icon);
}

void PlayerHost::AskToPlayAgain(std::string_view text, std::string_view caption)
{
    AskYesNoOver(mainWindow_, text, caption, [this](bool yes) {
        if (!AnswerPlayAgain(game_, yes) || yes)
            return;
        // Against the computer nothing needs closing: No ends the practice alone.
        if (practice_)
            StopPractice();
        else
            CloseProgram();
    });
}

void PlayerHost::CloseProgram()
{
    emit closeRequested();
}

void PlayerHost::PlaySoundClip(SoundClip clip)
{
    sound_.Play(clip);
}

bool PlayerHost::DebugOutputEnabled() const
{
    return flinthandTrace().isDebugEnabled();
}

// Trace lines may come in pieces; each finished line becomes one record.
void PlayerHost::DebugOutput(std::string_view line)
{
    if (!DebugOutputEnabled())
        return;
    pendingTrace_ += line;
    for (std::size_t end; (end = pendingTrace_.find('\n')) != std::string::npos;) {
        qCDebug(flinthandTrace).noquote() << QString::fromStdString(pendingTrace_.substr(0, end));
        pendingTrace_.erase(0, end + 1);
    }
}
