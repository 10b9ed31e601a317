#include "settings/ui/keyword_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "settings/ui/number_edit.h"
#include "settings/ui/ui_text.h"

namespace plix {

namespace {

constexpr int kSpanLow = kContextSpanLimits.low;
constexpr int kSpanHigh = kContextSpanLimits.high;

}  // namespace

CKeywordDlg::CKeywordDlg(const std::vector<std::string>& history, QWidget* parent)
    : QDialog(parent),
      keywordBox_(new QComboBox(this)),
      leftCheck_(new QCheckBox(QStringLiteral("&Left"), this)),
      rightCheck_(new QCheckBox(QStringLiteral("&Right"), this)),
      regexCheck_(new QCheckBox(QStringLiteral("Regular E&xpression"), this)),
      contextCheck_(new QCheckBox(QStringLiteral("&Context word"), this)),
      contextWordEdit_(new QLineEdit(this)),
      contextLeftLabel_(new QLabel(QStringLiteral("Left"), this)),
      contextRightLabel_(new QLabel(QStringLiteral("Right"), this)),
      contextLeftSpan_(new CSpinEdit(kSpanLow, kSpanHigh, this)),
      contextRightSpan_(new CSpinEdit(kSpanLow, kSpanHigh, this))
{
    setWindowTitle(QStringLiteral("Keyword"));

    keywordBox_->setEditable(true);
    keywordBox_->setInsertPolicy(QComboBox::NoInsert);
    // Completing from the history as one types would turn "the" into "there",
    // or "cat" into "Cat", behind the user's back: the keyword is what was typed.
    keywordBox_->setCompleter(nullptr);
    for (const std::string& keyword : history) {
        keywordBox_->addItem(ToDisplay(keyword));
    }
    // The dialog always starts empty; the history is only offered.
    keywordBox_->setCurrentIndex(-1);
    keywordBox_->setEditText(QString());

    auto* match = new QGroupBox(QStringLiteral("Match"), this);
    auto* matchLayout = new QHBoxLayout(match);
    matchLayout->addWidget(leftCheck_);
    matchLayout->addWidget(rightCheck_);

    contextLeftSpan_->SetValue(0);
    contextRightSpan_->SetValue(0);
    contextLeftLabel_->setBuddy(contextLeftSpan_);
    contextRightLabel_->setBuddy(contextRightSpan_);

    auto* context = new QGridLayout;
    context->addWidget(contextCheck_, 0, 0);
    context->addWidget(contextWordEdit_, 0, 1, 1, 3);
    context->addWidget(contextLeftLabel_, 1, 0, Qt::AlignRight);
    context->addWidget(contextLeftSpan_, 1, 1);
    context->addWidget(contextRightLabel_, 1, 2, Qt::AlignRight);
    context->addWidget(contextRightSpan_, 1, 3);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CKeywordDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CKeywordDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(keywordBox_);
    layout->addWidget(match);
    layout->addWidget(regexCheck_);
    layout->addLayout(context);
    layout->addWidget(buttons);

    connect(contextCheck_, &QCheckBox::clicked, this, &CKeywordDlg::OnContextWordClicked);
    OnContextWordClicked();
    keywordBox_->setFocus();
}

void CKeywordDlg::OnContextWordClicked()
{
    const bool on = contextCheck_->isChecked();
    for (QWidget* control :
         std::initializer_list<QWidget*>{contextWordEdit_, contextLeftLabel_, contextLeftSpan_,
                                         contextRightLabel_, contextRightSpan_}) {
        control->setEnabled(on);
    }
}

void CKeywordDlg::accept()
{
    // The spans matter only with a context word; without one their fields are
    // disabled, and refusing a value the user cannot correct would trap the
    // dialog.
    if (contextCheck_->isChecked()) {
        std::optional<int> left = contextLeftSpan_->ReadOrComplain();
        if (!left) {
            return;
        }
        std::optional<int> right = contextRightSpan_->ReadOrComplain();
        if (!right) {
            return;
        }
        contextLeft_ = *left;
        contextRight_ = *right;
    } else {
        contextLeft_ = 0;
        contextRight_ = 0;
    }
    QDialog::accept();
}

KeywordRequest CKeywordDlg::Request() const
{
    KeywordRequest request;
    request.keyword = FromDisplay(keywordBox_->currentText());
    request.matchLeft = leftCheck_->isChecked();
    request.matchRight = rightCheck_->isChecked();
    request.regex = regexCheck_->isChecked();
    request.useContextWord = contextCheck_->isChecked();
    request.contextWord = FromDisplay(contextWordEdit_->text());
    request.contextLeft = contextLeft_;
    request.contextRight = contextRight_;
    return request;
}

std::optional<KeywordRequest> AskKeyword(const CCorpus& corpus, QWidget* parent)
{
    CKeywordDlg dialog(corpus.keywordHistory, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.Request();
}

}  // namespace plix
