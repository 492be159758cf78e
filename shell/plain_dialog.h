#pragma once

#include <QDialog>

// A modal dialog closed only by its own buttons: Escape and the close box do
// nothing, and Enter presses the button that has the focus, if any. It opens
// at (32, 32) dialog units from the top-left of its owner's client area.
class PlainDialog : public QDialog {
    Q_OBJECT
public:
    PlainDialog(QWidget* owner, const QString& title, QSize sizeInDialogUnits, Qt::WindowFlags flags);

    void reject() override {}

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
