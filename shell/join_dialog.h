#pragma once

#include "shell/plain_dialog.h"

#include <string>

class QLineEdit;
class QPushButton;

// "Client Connect Options": asks for the server, joins it, and remembers the
// name for next time.
class JoinDialog : public PlainDialog {
    Q_OBJECT
public:
    explicit JoinDialog(QWidget* owner);

    QLineEdit* serverField() const { return serverField_; }
    QPushButton* connectButton() const { return connectButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }

signals:
    // Handled before the dialog closes, as a join happens while it is up.
    void joinRequested(const std::string& serverName);

private:
    void OnConnect();

    QLineEdit* serverField_;
    QPushButton* connectButton_;
    QPushButton* cancelButton_;
};
