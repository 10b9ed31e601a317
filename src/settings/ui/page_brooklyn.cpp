#include "settings/ui/page_brooklyn.h"

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
CPageBrooklyn::CPageBrooklyn(SheetState& state, const CCorpus& corpus,
                             const std::vector<std::string>& labels, QWidget* parent)
    : COptionPage(state, parent), nodeBox_(MakeListCombo(labels, true, corpus.brooklynNode, this))
{
    auto* form = new QFormLayout;
    form->addRow(Caption("Target Node within:", nodeBox_, this), nodeBox_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch(1);
}

void CPageBrooklyn::OnSetActive()
{
    nodeBox_->setEnabled(ActiveFor(state_.currentCorpusType));
}

std::string CPageBrooklyn::Node() const
{
    return FromDisplay(nodeBox_->currentText());
}

}  // namespace plix
