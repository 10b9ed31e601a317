#include "settings/ui/page_ppcme2.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "settings/ui/list_combo.h"
#include "settings/ui/ui_text.h"

namespace plix {

namespace {

QLabel* Caption(const char* text, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setBuddy(buddy);
    return label;
}

}  // namespace

CPagePPCME2::CPagePPCME2(SheetState& state, const CCorpus& corpus,
                         const std::vector<std::string>& labels,
                         const std::vector<std::string>& tags, QWidget* parent)
    : COptionPage(state, parent),
      nodeBox_(MakeListCombo(labels, true, corpus.ppcme2Node, this)),
      posBox_(MakeListCombo(tags, false, corpus.ppcme2Pos, this))
{
    auto* form = new QFormLayout;
    form->addRow(Caption("Target within the node:", nodeBox_, this), nodeBox_);
    form->addRow(Caption("Part of Speech:", posBox_, this), posBox_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch(1);
}

void CPagePPCME2::OnSetActive()
{
    const bool active = ActiveFor(state_.currentCorpusType);
    nodeBox_->setEnabled(active);
    posBox_->setEnabled(active);
}

std::string CPagePPCME2::Node() const
{
    return FromDisplay(nodeBox_->currentText());
}

std::string CPagePPCME2::Pos() const
{
    return FromDisplay(posBox_->currentText());
}

}  // namespace plix
