#include "settings/ui/page_type.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <algorithm>

#include "settings/ui/dialog_message.h"
#include "settings/ui/number_edit.h"
#include "settings/ui/ui_text.h"

namespace plix {

CPageType::CPageType(SheetState& state, const CCorpus& corpus, QWidget* parent)
    : COptionPage(state, parent),
      typeBox_(new QComboBox(this)),
      diacriticsEdit_(new QLineEdit(ToDisplay(corpus.diacritics), this)),
      localeBox_(new QComboBox(this)),
      fromEdit_(new CNumberEdit(this)),
      toEdit_(new CNumberEdit(this)),
      countNumbersCheck_(new QCheckBox(QStringLiteral("Count &Number"), this)),
      ignoreCaseCheck_(new QCheckBox(QStringLiteral("Ignore &Case"), this)),
      utf8Check_(new QCheckBox(QStringLiteral("&UTF-8 text"), this)),
      startLine_(corpus.GetStartLine()),
      endLine_(corpus.GetEndLine())
{
    for (const char* name : CorpusTypeNames()) {
        typeBox_->addItem(QString::fromLatin1(name));
    }
    typeBox_->setCurrentIndex(corpus.GetCorpusType());

    // The list is shown sorted, but the record keeps the name, not a position.
    std::vector<std::string> locales = LocaleNames();
    std::sort(locales.begin(), locales.end(), [](const std::string& a, const std::string& b) {
        return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) <
               0;
    });
    for (const std::string& name : locales) {
        localeBox_->addItem(QString::fromStdString(name));
    }
    localeBox_->setCurrentIndex(localeBox_->findText(ToDisplay(corpus.GetLanguage()),
                                                     Qt::MatchExactly | Qt::MatchCaseSensitive));

    fromEdit_->SetValue(startLine_);
    toEdit_->SetValue(endLine_);
    countNumbersCheck_->setChecked(corpus.countNumbers != 0);
    ignoreCaseCheck_->setChecked(corpus.ignoreCase != 0);
    utf8Check_->setChecked(corpus.utf8Text != 0);
    // The Locale entry keeps choosing the language; the box says which
    // locale each entry then installs.
    utf8Check_->setToolTip(QString::fromStdString(Utf8LocaleNote()));

    auto* fields = new QGridLayout;
    auto* typeLabel = new QLabel(QStringLiteral("Corpus Type:"), this);
    typeLabel->setBuddy(typeBox_);
    auto* diacriticsLabel = new QLabel(QStringLiteral("Diacritics:"), this);
    diacriticsLabel->setBuddy(diacriticsEdit_);
    auto* localeLabel = new QLabel(QStringLiteral("Locale"), this);
    localeLabel->setBuddy(localeBox_);
    fields->addWidget(typeLabel, 0, 0);
    fields->addWidget(typeBox_, 0, 1);
    fields->addWidget(diacriticsLabel, 1, 0);
    fields->addWidget(diacriticsEdit_, 1, 1);
    fields->addWidget(localeLabel, 2, 0);
    fields->addWidget(localeBox_, 2, 1);
    fields->addWidget(utf8Check_, 2, 2);

    auto* lines = new QGroupBox(QStringLiteral("Lines"), this);
    auto* linesLayout = new QHBoxLayout(lines);
    linesLayout->addWidget(fromEdit_);
    linesLayout->addWidget(new QLabel(QStringLiteral("--"), lines));
    linesLayout->addWidget(toEdit_);

    auto* wordlist = new QGroupBox(QStringLiteral("Wordlist"), this);
    auto* wordlistLayout = new QVBoxLayout(wordlist);
    wordlistLayout->addWidget(countNumbersCheck_);
    wordlistLayout->addWidget(ignoreCaseCheck_);

    auto* groups = new QHBoxLayout;
    groups->addWidget(lines);
    groups->addWidget(wordlist);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(groups);
    layout->addStretch(1);

    connect(typeBox_, &QComboBox::activated, this, &CPageType::OnTypeSelected);
    connect(fromEdit_, &CNumberEdit::Left, this, &CPageType::OnFromLeft);
    connect(toEdit_, &CNumberEdit::Left, this, &CPageType::OnToLeft);
}

void CPageType::OnSetActive()
{
    state_.currentCorpusType = CorpusType();
}

bool CPageType::OnKillActive()
{
    return ReadLines(startLine_, endLine_);
}

void CPageType::OnTypeSelected(int code)
{
    state_.currentCorpusType = code;
    diacriticsEdit_->setText(
        ToDisplay(DiacriticsAfterChoosing(code, FromDisplay(diacriticsEdit_->text()))));
}

int CPageType::CorpusType() const
{
    return typeBox_->currentIndex();
}

std::string CPageType::Diacritics() const
{
    return FromDisplay(diacriticsEdit_->text());
}

std::string CPageType::Language() const
{
    return localeBox_->currentIndex() < 0 ? std::string() : FromDisplay(localeBox_->currentText());
}

int CPageType::CountNumbers() const
{
    return countNumbersCheck_->isChecked() ? 1 : 0;
}

int CPageType::IgnoreCase() const
{
    return ignoreCaseCheck_->isChecked() ? 1 : 0;
}

int CPageType::Utf8Text() const
{
    return utf8Check_->isChecked() ? 1 : 0;
}

bool CPageType::ReadLines(int& from, int& to)
{
    std::optional<int> start = fromEdit_->ReadOrComplain();
    if (!start) {
        return false;
    }
    std::optional<int> end = toEdit_->ReadOrComplain();
    if (!end) {
        return false;
    }
    from = *start;
    to = *end;
    return true;
}

void CPageType::OnToLeft()
{
    int from = 0;
    int to = 0;
    if (!ReadLines(from, to)) {
        return;
    }
    if (to < from) {
        ShowDialogMessage(this, QStringLiteral("the end line shoud be bigger than the start line"));
        toEdit_->SetValue(from);
    }
}

void CPageType::OnFromLeft()
{
    int from = 0;
    int to = 0;
    if (!ReadLines(from, to)) {
        return;
    }
    // An end of 0 means "to the last line", which no start can pass.
    if (to != 0 && to < from) {
        ShowDialogMessage(this, QStringLiteral("the start line shoud be bigger than the end line"));
        fromEdit_->SetValue(0);
    }
}

}  // namespace plix
