#include "shell/join_dialog.h"

#include "shell/dialog_units.h"
#include "shell/server_name_file.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace {

constexpr std::size_t kServerNameLimit = 255;

}  // namespace

JoinDialog::JoinDialog(QWidget* owner)
    : PlainDialog(owner, "Client Connect Options", QSize(180, 85), Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
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

    serverField_->setText(QString::fromUtf8(LoadServerName()));
    serverField_->setFocus();
}

void JoinDialog::OnConnect()
{
    std::string name = serverField_->text().toUtf8().toStdString();
    if (name.size() > kServerNameLimit) {
        // Cut between characters, not inside one.
        std::size_t end = kServerNameLimit;
        while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80)
            --end;
        name.resize(end);
    }
    if (name.empty()) {
        QMessageBox box(QMessageBox::NoIcon, "Error", "Enter Server Name or IP Address (###.###.###.###)", QMessageBox::Ok, this);
        box.exec();
        return;
    }
    emit joinRequested(name);
    SaveServerName(name);
    done(0);
}
