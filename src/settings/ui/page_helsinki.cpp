#include "settings/ui/page_helsinki.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QVBoxLayout>

#include "corpora/helsinki.h"
#include "settings/ui/ui_text.h"

namespace plix {

CPageHelsinki::CPageHelsinki(SheetState& state, const std::array<int, 7>& deleteSwitches, int untag,
                             QWidget* parent)
    : COptionPage(state, parent),
      pennGroup_(new QGroupBox(QStringLiteral("Penn"), this)),
      untagCheck_(new QCheckBox(QStringLiteral("&Untag"), pennGroup_))
{
    auto* layout = new QVBoxLayout(this);
    for (int level = 0; level < 7; ++level) {
        auto* check = new QCheckBox(ToDisplay(CHelsinki::LevelCaption(level)), this);
        check->setChecked(deleteSwitches[static_cast<size_t>(level)] != 0);
        levelChecks_[static_cast<size_t>(level)] = check;
        layout->addWidget(check);
    }
    auto* pennLayout = new QVBoxLayout(pennGroup_);
    pennLayout->addWidget(untagCheck_);
    untagCheck_->setChecked(untag != 0);
    layout->addWidget(pennGroup_);
    layout->addStretch(1);
}

bool CPageHelsinki::ActiveFor(int corpusType)
{
    return corpusType == kTypeHelsinki || corpusType == kTypeHelsinkiScots ||
           corpusType == kTypeCeecs || corpusType == kTypePpcme1;
}

bool CPageHelsinki::UntagActiveFor(int corpusType)
{
    return corpusType == kTypePpcme1;
}

void CPageHelsinki::OnSetActive()
{
    const bool active = ActiveFor(state_.currentCorpusType);
    for (QCheckBox* check : levelChecks_) {
        check->setEnabled(active);
    }
    const bool untag = UntagActiveFor(state_.currentCorpusType);
    pennGroup_->setEnabled(untag);
    untagCheck_->setEnabled(untag);
}

std::array<int, 7> CPageHelsinki::DeleteSwitches() const
{
    std::array<int, 7> switches{};
    for (size_t level = 0; level < switches.size(); ++level) {
        switches[level] = levelChecks_[level]->isChecked() ? 1 : 0;
    }
    return switches;
}

int CPageHelsinki::Untag() const
{
    return untagCheck_->isChecked() ? 1 : 0;
}

}  // namespace plix
