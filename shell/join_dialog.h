#pragma once

#include "shell/plain_dialog.h"

#include <functional>
#include <string>

class QLineEdit;
class QPushButton;

// "Client Connect Options": asks for the server, joins it, and remembers the
// name for next time.
class JoinDialog : public PlainDialog {
    Q_OBJECT
public:
    JoinDialog(QWidget* owner, std::function<void(const std::string&)> joinGame);

    QLineEdit* serverField() const { return serverField_; }
    QPushButton* connectButton() const { return connectButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }

private:
    void OnConnect();

    std::function<void(const std::string&)> joinGame_;
    QLineEdit* serverField_;
    QPushButton* connectButton_;
    QPushButton* cancelButton_;
};
