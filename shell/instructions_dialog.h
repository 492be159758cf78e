#pragma once

#include "shell/plain_dialog.h"

class Hyperlink;
class QPushButton;

// "Flinthand - Instructions": the icon, the name, the version, the credit
// line, the link to the help page and OK. Only OK closes it.
class InstructionsDialog : public PlainDialog {
    Q_OBJECT
public:
    explicit InstructionsDialog(QWidget* owner);

    Hyperlink* link() const { return link_; }
    QPushButton* okButton() const { return okButton_; }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Hyperlink* link_;
    QPushButton* okButton_;
};
