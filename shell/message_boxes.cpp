#include "shell/message_boxes.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTimer>

namespace {

QString Text(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Keys pressed just as the box opens were meant for the table: for its first
// half second the box takes none.
constexpr int kKeysLockedMs = 500;

class YesNoBox : public QMessageBox {
public:
    YesNoBox(const QString& caption, const QString& text, QWidget* owner)
        : QMessageBox(QMessageBox::Warning, caption, text, QMessageBox::Yes | QMessageBox::No, owner,
                      Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    {
        setDefaultButton(QMessageBox::Yes);
        qApp->installEventFilter(this);
        QTimer::singleShot(kKeysLockedMs, this, [this] { qApp->removeEventFilter(this); });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        return widget && (widget == this || isAncestorOf(widget));
    }

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

void ShowMessageBoxOver(QWidget* owner, std::string_view text, std::string_view caption, BoxIcon icon)
{
    // A peer that joins and leaves in a loop must not pile up boxes.
    const QString title = Text(caption), body = Text(text);
    for (QWidget* window : QApplication::topLevelWidgets()) {
        const auto* open = qobject_cast<QMessageBox*>(window);
        if (open && open->isVisible() && open->windowTitle() == title && open->text() == body)
            return;
    }
    // Shown, not exec()'d: a loop inside the caller's would nest once per box.
    auto* box =
        new QMessageBox(icon == BoxIcon::Stop ? QMessageBox::Critical : QMessageBox::NoIcon, title, body, QMessageBox::Ok, owner);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    box->show();
}

void AskYesNoOver(QWidget* owner, std::string_view text, std::string_view caption, std::function<void(bool)> answered)
{
    auto* box = new YesNoBox(Text(caption), Text(text), owner);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    QObject::connect(box, &QMessageBox::finished, box,
                     [box, answered = std::move(answered)] { answered(box->clickedButton() == box->button(QMessageBox::Yes)); });
    box->show();
}
