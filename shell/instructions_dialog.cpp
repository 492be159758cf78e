#include "shell/instructions_dialog.h"

#include "shell/dialog_units.h"
#include "shell/hyperlink.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

InstructionsDialog::InstructionsDialog(QWidget* owner)
    : PlainDialog(owner, "Flinthand - Instructions", QSize(153, 97),
                  Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                      | Qt::WindowCloseButtonHint)
{
    auto* icon = new QLabel(this);
    icon->setPixmap(QPixmap(":/icon_32.png"));
    icon->setGeometry(DialogUnits(66, 5, 21, 20));
    const struct {
        const char* text;
        QRect at;
    } lines[] = {{"Flinthand", DialogUnits(27, 30, 100, 8)},
                 {"Beta 0.1", DialogUnits(26, 38, 100, 8)},
                 {"by the Flinthand developers", DialogUnits(27, 48, 100, 8)}};
    for (const auto& line : lines) {
        auto* label = new QLabel(line.text, this);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        label->setGeometry(line.at);
    }
    link_ = new Hyperlink("Click for Instructions", this);
    link_->setGeometry(DialogUnits(45, 64, 70, 10));
    connect(link_, &Hyperlink::activated, this, &OpenHelpPage);
    okButton_ = new QPushButton("OK", this);
    okButton_->setGeometry(DialogUnits(52, 78, 50, 14));
    okButton_->setAutoDefault(false);
    connect(okButton_, &QPushButton::clicked, this, [this] { done(0); });
}

// After a press on the dialog or a label the release comes here (labels pass
// it on), yet over the link it must still open the page. The OK button keeps
// its own releases, as buttons do.
void InstructionsDialog::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        link_->ReleasedAt(event->globalPosition().toPoint());
    PlainDialog::mouseReleaseEvent(event);
}
