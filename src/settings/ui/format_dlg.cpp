#include "settings/ui/format_dlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "settings/ui/dialog_message.h"
#include "settings/ui/number_edit.h"
#include "settings/ui/ui_text.h"

namespace plix {

namespace {

const char* const kTypeCaptions[kOutputTypeCount] = {
    "&Text", "&Comma Separated", "Ta&b Separated", "Ta&gged", "&Xml", "&Other"};

}  // namespace

CFormatDlg::CFormatDlg(const CCorpus& corpus, QWidget* parent)
    : QDialog(parent),
      typeGroup_(new QButtonGroup(this)),
      startMarkEdit_(new QLineEdit(ToDisplay(corpus.GetStartMark()), this)),
      endMarkEdit_(new QLineEdit(ToDisplay(corpus.GetEndMark()), this)),
      lengthEdit_(new CSpinEdit(kLineLengthLimits.low, kLineLengthLimits.high, this)),
      positionEdit_(new CSpinEdit(kKeywordPositionLimits.low, kKeywordPositionLimits.high, this)),
      sortColumnEdit_(new CSpinEdit(kSortColumnLimits.low, kSortColumnLimits.high, this)),
      suppressHeadersCheck_(new QCheckBox(QStringLiteral("&Suppress Headers"), this)),
      length_(corpus.GetLineLength()),
      position_(corpus.GetKeywordPosition()),
      sortColumn_(corpus.GetSortColumn())
{
    setWindowTitle(QStringLiteral("PLIX Format"));

    auto* typeBox = new QGroupBox(QStringLiteral("Output Type"), this);
    auto* typeLayout = new QGridLayout(typeBox);
    for (int code = 0; code < kOutputTypeCount; ++code) {
        auto* button = new QRadioButton(QString::fromLatin1(kTypeCaptions[code]), typeBox);
        typeGroup_->addButton(button, code);
        typeLayout->addWidget(button, code, 0);
    }
    auto* marks = new QHBoxLayout;
    marks->addWidget(startMarkEdit_);
    marks->addWidget(new QLabel(QStringLiteral("-"), typeBox));
    marks->addWidget(endMarkEdit_);
    typeLayout->addLayout(marks, kOutputOther, 1);
    if (QAbstractButton* current = typeGroup_->button(corpus.GetOutputType())) {
        current->setChecked(true);
    }

    auto* lineBox = new QGroupBox(QStringLiteral("Line Format"), this);
    auto* lineLayout = new QGridLayout(lineBox);
    auto addNumber = [&](int row, const char* caption, CSpinEdit* edit, const char* range) {
        auto* label = new QLabel(QString::fromLatin1(caption), lineBox);
        label->setBuddy(edit);
        lineLayout->addWidget(label, row, 0);
        lineLayout->addWidget(edit, row, 1);
        lineLayout->addWidget(new QLabel(QString::fromLatin1(range), lineBox), row, 2);
    };
    addNumber(0, "Length", lengthEdit_, "20-500");
    addNumber(1, "Position", positionEdit_, "10-250");
    addNumber(2, "Sort Column", sortColumnEdit_, "0-5");
    lengthEdit_->SetValue(length_);
    positionEdit_->SetValue(position_);
    sortColumnEdit_->SetValue(sortColumn_);
    suppressHeadersCheck_->setChecked(corpus.GetSuppressHeaders() != 0);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CFormatDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CFormatDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(typeBox);
    layout->addWidget(lineBox);
    layout->addWidget(suppressHeadersCheck_);
    layout->addWidget(buttons);

    const bool other = corpus.GetOutputType() == kOutputOther;
    startMarkEdit_->setEnabled(other);
    endMarkEdit_->setEnabled(other);
    connect(typeGroup_, &QButtonGroup::idClicked, this, &CFormatDlg::OnTypeClicked);
    connect(positionEdit_, &CSpinEdit::Left, this, &CFormatDlg::OnPositionLeft);
}

QAbstractButton* CFormatDlg::TypeButton(int code) const
{
    return typeGroup_->button(code);
}

void CFormatDlg::OnTypeClicked(int code)
{
    startMarkEdit_->setEnabled(code == kOutputOther);
    endMarkEdit_->setEnabled(code == kOutputOther);
}

bool CFormatDlg::ReadNumbers(int& length, int& position, int& sortColumn)
{
    for (auto [edit, value] : {std::pair{lengthEdit_, &length}, std::pair{positionEdit_, &position},
                               std::pair{sortColumnEdit_, &sortColumn}}) {
        std::optional<int> read = edit->ReadOrComplain();
        if (!read) {
            return false;
        }
        *value = *read;
    }
    return true;
}

void CFormatDlg::OnPositionLeft()
{
    int length = 0;
    int position = 0;
    int sortColumn = 0;
    if (!ReadNumbers(length, position, sortColumn)) {
        return;
    }
    // Only here is the keyword kept inside the line; a length shortened after
    // the position was left is accepted as it stands.
    if (length > position) {
        return;
    }
    ShowDialogMessage(this, QStringLiteral("Position should be less than the length"));
    positionEdit_->SetValue(length / 2);
}

void CFormatDlg::accept()
{
    if (!ReadNumbers(length_, position_, sortColumn_)) {
        return;
    }
    QDialog::accept();
}

void CFormatDlg::StoreInto(CCorpus& corpus) const
{
    corpus.SetMarks(FromDisplay(startMarkEdit_->text()), FromDisplay(endMarkEdit_->text()));
    corpus.SetOutputType(typeGroup_->checkedId());
    corpus.SetLineFormat(length_, position_);
    corpus.sortColumn = sortColumn_;
    corpus.suppressHeaders = suppressHeadersCheck_->isChecked() ? 1 : 0;
}

void FormatDialog(CCorpus& corpus, QWidget* parent)
{
    CFormatDlg dialog(corpus, parent);
    if (dialog.exec() == QDialog::Accepted) {
        dialog.StoreInto(corpus);
    }
}

}  // namespace plix
