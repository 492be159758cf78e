#include "shell/plain_dialog.h"

#include "shell/dialog_units.h"

#include <QKeyEvent>
#include <QPushButton>

PlainDialog::PlainDialog(QWidget* owner, const QString& title, QSize sizeInDialogUnits, Qt::WindowFlags flags)
    : QDialog(owner, flags)
{
    setWindowTitle(title);
    const QRect place = DialogUnits(32, 32, sizeInDialogUnits.width(), sizeInDialogUnits.height());
    setFixedSize(place.size());
    if (owner)
        move(owner->mapToGlobal(place.topLeft()));
    QFont font("Arial");
    font.setPointSize(8);
    setFont(font);
}

// Escape needs nothing here: it asks to reject, which does nothing.
void PlainDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        QDialog::keyPressEvent(event);
        return;
    }
    event->accept();
    if (auto* button = qobject_cast<QPushButton*>(focusWidget()))
        button->click();
}
