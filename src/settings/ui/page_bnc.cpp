#include "settings/ui/page_bnc.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace plix {

CPageBNC::CPageBNC(SheetState& state, const CCorpus& corpus, QWidget* parent)
    : COptionPage(state, parent),
      formatBox_(new QGroupBox(QStringLiteral("Format"), this)),
      formatGroup_(new QButtonGroup(this)),
      posOutputCheck_(new QCheckBox(QStringLiteral("&POS Output"), this))
{
    auto* formatLayout = new QVBoxLayout(formatBox_);
    const char* const captions[] = {"&Text", "P&lain", "P&OS", "&SGML"};
    for (int index = 0; index < 4; ++index) {
        auto* button = new QRadioButton(QString::fromLatin1(captions[index]), formatBox_);
        formatGroup_->addButton(button, index);
        formatLayout->addWidget(button);
    }
    if (QAbstractButton* current = formatGroup_->button(corpus.bncFormat)) {
        current->setChecked(true);
    }
    posOutputCheck_->setChecked(corpus.bncPosOutput != 0);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(formatBox_);
    layout->addWidget(posOutputCheck_);
    layout->addStretch(1);
}

void CPageBNC::OnSetActive()
{
    const bool active = ActiveFor(state_.currentCorpusType);
    formatBox_->setEnabled(active);
    posOutputCheck_->setEnabled(active);
}

int CPageBNC::Format() const
{
    // A record holding no layout of the four reads as the first one.
    const int checked = formatGroup_->checkedId();
    return checked < 0 ? 0 : checked;
}

int CPageBNC::PosOutput() const
{
    return posOutputCheck_->isChecked() ? 1 : 0;
}

}  // namespace plix
