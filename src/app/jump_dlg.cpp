#include "app/jump_dlg.h"

#include "settings/ui/dialog_message.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace plix {

CJumpDlg::CJumpDlg(int line, QWidget* parent)
    : QDialog(parent), edit_(new QLineEdit(this)), line_(line)
{
    setObjectName(QStringLiteral("jumpDialog"));
    setWindowTitle(QStringLiteral("Jump"));
    auto* label = new QLabel(QStringLiteral("Jump to"), this);
    label->setBuddy(edit_);
    edit_->setObjectName(QStringLiteral("jumpLine"));
    edit_->setText(QString::number(line));
    edit_->selectAll();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CJumpDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CJumpDlg::reject);

    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(edit_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    edit_->setFocus();
}

void CJumpDlg::accept()
{
    bool ok = false;
    const int line = edit_->text().trimmed().toInt(&ok);
    if (!ok) {
        ShowDialogMessage(this, QStringLiteral("Please enter an integer."));
        edit_->setFocus();
        edit_->selectAll();
        return;
    }
    line_ = line;
    QDialog::accept();
}

}  // namespace plix
