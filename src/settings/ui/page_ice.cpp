#include "settings/ui/page_ice.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

#include "settings/text.h"
#include "settings/ui/dialog_message.h"
#include "settings/ui/list_combo.h"
#include "settings/ui/ui_text.h"

namespace plix {

namespace {

constexpr int kSpeakerLength = 1;

}  // namespace

CPageICE::CPageICE(SheetState& state, const CCorpus& corpus,
                   const std::vector<std::string>& functionLabels,
                   const std::vector<std::string>& featureLabels, QWidget* parent)
    : COptionPage(state, parent),
      functionCheck_(new QCheckBox(QStringLiteral("&Function"), this)),
      categoryCheck_(new QCheckBox(QStringLiteral("&Category"), this)),
      featureCheck_(new QCheckBox(QStringLiteral("F&eature"), this)),
      functionBox_(MakeListCombo(functionLabels, true, corpus.iceFunction, this)),
      categoryBox_(MakeListCombo(functionLabels, true, corpus.iceCategory, this)),
      featureBox_(MakeListCombo(featureLabels, true, corpus.iceFeature, this)),
      ignoredCheck_(new QCheckBox(QStringLiteral("&Ignored"), this)),
      additionCheck_(new QCheckBox(QStringLiteral("&Addition"), this)),
      overlapCheck_(new QCheckBox(QStringLiteral("&Overlap"), this)),
      subtextEdit_(new QLineEdit(ToDisplay(corpus.iceSubtext), this)),
      speakerEdit_(new QLineEdit(ToDisplay(corpus.iceSpeaker), this))
{
    functionCheck_->setChecked(corpus.iceFunctionOn != 0);
    categoryCheck_->setChecked(corpus.iceCategoryOn != 0);
    featureCheck_->setChecked(corpus.iceFeatureOn != 0);
    ignoredCheck_->setChecked(corpus.iceIgnored != 0);
    additionCheck_->setChecked(corpus.iceAddition != 0);
    overlapCheck_->setChecked(corpus.iceOverlap != 0);

    auto* node = new QGroupBox(QStringLiteral("Node"), this);
    auto* nodeLayout = new QGridLayout(node);
    nodeLayout->addWidget(functionCheck_, 0, 0);
    nodeLayout->addWidget(functionBox_, 0, 1);
    nodeLayout->addWidget(categoryCheck_, 1, 0);
    nodeLayout->addWidget(categoryBox_, 1, 1);
    nodeLayout->addWidget(featureCheck_, 2, 0);
    nodeLayout->addWidget(featureBox_, 2, 1);

    auto* text = new QGroupBox(QStringLiteral("Text "), this);
    auto* textLayout = new QVBoxLayout(text);
    textLayout->addWidget(ignoredCheck_);
    textLayout->addWidget(additionCheck_);
    textLayout->addWidget(overlapCheck_);

    auto* edits = new QFormLayout;
    edits->addRow(QStringLiteral("Sub&text"), subtextEdit_);
    edits->addRow(QStringLiteral("&Speakr"), speakerEdit_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(node);
    layout->addWidget(text);
    layout->addLayout(edits);
    layout->addStretch(1);
}

void CPageICE::OnSetActive()
{
    const bool active = ActiveFor(state_.currentCorpusType);
    for (QWidget* control : findChildren<QWidget*>()) {
        if (qobject_cast<QCheckBox*>(control) || qobject_cast<QComboBox*>(control) ||
            qobject_cast<QLineEdit*>(control) || qobject_cast<QGroupBox*>(control)) {
            control->setEnabled(active);
        }
    }
}

bool CPageICE::OnKillActive()
{
    if (speakerEdit_->text().size() > kSpeakerLength) {
        ShowDialogMessage(
            this, QStringLiteral("Please enter no more than %1 characters.").arg(kSpeakerLength));
        speakerEdit_->setFocus();
        speakerEdit_->selectAll();
        return false;
    }
    return true;
}

IceChoices CPageICE::Choices() const
{
    IceChoices c;
    c.functionOn = functionCheck_->isChecked() ? 1 : 0;
    c.categoryOn = categoryCheck_->isChecked() ? 1 : 0;
    c.featureOn = featureCheck_->isChecked() ? 1 : 0;
    c.function = FromDisplay(functionBox_->currentText());
    c.category = FromDisplay(categoryBox_->currentText());
    c.feature = FromDisplay(featureBox_->currentText());
    c.ignored = ignoredCheck_->isChecked() ? 1 : 0;
    c.addition = additionCheck_->isChecked() ? 1 : 0;
    c.overlap = overlapCheck_->isChecked() ? 1 : 0;
    c.speaker = UpperBytes(FromDisplay(speakerEdit_->text()));
    c.subtext = FromDisplay(subtextEdit_->text());
    return c;
}

}  // namespace plix
