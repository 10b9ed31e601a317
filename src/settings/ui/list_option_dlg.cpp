#include "settings/ui/list_option_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "settings/ui/ui_text.h"

namespace plix {

CListOptionDlg::CListOptionDlg(const std::vector<std::string>& history, QWidget* parent)
    : QDialog(parent),
      keywordBox_(new QComboBox(this)),
      leftCheck_(new QCheckBox(QStringLiteral("&Left"), this)),
      rightCheck_(new QCheckBox(QStringLiteral("&Right"), this)),
      regexCheck_(new QCheckBox(QStringLiteral("Regular E&xpression"), this))
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
    // Starts empty rather than with the stored filter: a filter serves one
    // list only, and the history offers the earlier ones.
    keywordBox_->setCurrentIndex(-1);
    keywordBox_->setEditText(QString());

    auto* match = new QGroupBox(QStringLiteral("Match"), this);
    auto* matchLayout = new QHBoxLayout(match);
    matchLayout->addWidget(leftCheck_);
    matchLayout->addWidget(rightCheck_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CListOptionDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CListOptionDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(keywordBox_);
    layout->addWidget(match);
    layout->addWidget(regexCheck_);
    layout->addWidget(buttons);
    keywordBox_->setFocus();
}

std::string CListOptionDlg::Keyword() const
{
    return FromDisplay(keywordBox_->currentText());
}

bool CListOptionDlg::MatchLeft() const
{
    return leftCheck_->isChecked();
}

bool CListOptionDlg::MatchRight() const
{
    return rightCheck_->isChecked();
}

bool CListOptionDlg::Regex() const
{
    return regexCheck_->isChecked();
}

void CListOptionDlg::StoreInto(CCorpus& corpus) const
{
    corpus.keyword = Keyword();
    corpus.matchLeft = MatchLeft() ? 1 : 0;
    corpus.matchRight = MatchRight() ? 1 : 0;
    corpus.keywordRegex = Regex() ? 1 : 0;
    corpus.keywordLength = static_cast<int>(corpus.keyword.size());
    corpus.PushHistoryKeyword(corpus.keyword);
}

void ListOptionDialog(CCorpus& corpus, QWidget* parent)
{
    CListOptionDlg dialog(corpus.keywordHistory, parent);
    if (dialog.exec() == QDialog::Accepted) {
        dialog.StoreInto(corpus);
    }
}

}  // namespace plix
