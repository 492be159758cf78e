#include "shell/join_dialog.h"

#include "shell/dialog_units.h"
#include "shell/server_name_file.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace {

constexpr std::size_t kServerNameLimit = 255;

}  // namespace

JoinDialog::JoinDialog(QWidget* owner, std::function<void(const std::string&)> joinGame)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), joinGame_(std::move(joinGame))
{
    setWindowTitle("Client Connect Options");
    setFixedSize(DialogUnits(32, 32, 180, 85).size());
    QFont font("Arial");
    font.setPointSize(8);
    setFont(font);

    (new QGroupBox("Client Options", this))->setGeometry(DialogUnits(2, 7, 174, 56));
    auto* label = new QLabel("Server Name or IP Address:", this);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setGeometry(DialogUnits(6, 16, 100, 8));
    serverField_ = new QLineEdit(this);
    serverField_->setGeometry(DialogUnits(12, 26, 100, 12));
    connectButton_ = new QPushButton("Connect to Server..", this);
    connectButton_->setGeometry(DialogUnits(12, 43, 100, 14));
    cancelButton_ = new QPushButton("Cancel", this);
    cancelButton_->setGeometry(DialogUnits(48, 66, 81, 14));
    for (QPushButton* button : {connectButton_, cancelButton_}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    connect(connectButton_, &QPushButton::clicked, this, &JoinDialog::OnConnect);
    connect(cancelButton_, &QPushButton::clicked, this, [this] { done(0); });

    serverField_->setText(QString::fromLocal8Bit(LoadServerName()));
    serverField_->setFocus();
}

void JoinDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void JoinDialog::OnConnect()
{
    std::string name = serverField_->text().toLocal8Bit().toStdString();
    if (name.size() > kServerNameLimit)
        name.resize(kServerNameLimit);
    if (name.empty()) {
        QMessageBox box(QMessageBox::NoIcon, "Error", "Enter Server Name or IP Address (###.###.###.###)", QMessageBox::Ok, this);
        box.exec();
        return;
    }
    joinGame_(name);
    SaveServerName(name);
    done(0);
}
