#include "shell/message_boxes.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMessageBox>

namespace {

QString Text(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

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

void ShowMessageBoxOver(QWidget* owner, std::string_view text, std::string_view caption, BoxIcon icon)
{
    QMessageBox box(icon == BoxIcon::Stop ? QMessageBox::Critical : QMessageBox::NoIcon, Text(caption), Text(text),
                    QMessageBox::Ok, owner);
    box.exec();
}

bool AskYesNoOver(QWidget* owner, std::string_view text, std::string_view caption)
{
    YesNoBox box(Text(caption), Text(text), owner);
    return box.exec() == QMessageBox::Yes;
}
