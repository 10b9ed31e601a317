#include "settings/ui/page_sgml.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

#include <cctype>

#include "corpora/sgml.h"
#include "settings/ui/dialog_message.h"
#include "settings/ui/ui_text.h"

namespace plix {

namespace {

bool SameName(const std::string& a, const std::string& b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

// The switch that `names`/`switches` hold for `name`, 0 when it is not listed.
unsigned SwitchFor(const std::string& name, const std::vector<std::string>& names,
                   const std::vector<unsigned>& switches)
{
    for (size_t i = 0; i < names.size() && i < switches.size(); ++i) {
        if (SameName(names[i], name)) {
            return switches[i];
        }
    }
    return 0;
}

}  // namespace

CPageSGML::CPageSGML(SheetState& state, const CCorpus& corpus, CSgml& sgml,
                     ProgressMaker makeProgress, QWidget* parent)
    : COptionPage(state, parent),
      sgml_(sgml),
      makeProgress_(std::move(makeProgress)),
      tagList_(new QListWidget(this)),
      excludeCheck_(new QCheckBox(QStringLiteral("&Exclude"), this)),
      attributeList_(new QListWidget(this)),
      outputCheck_(new QCheckBox(QStringLiteral("&Output"), this)),
      scanButton_(new QPushButton(QStringLiteral("&Scan"), this))
{
    SgmlChoices record{corpus.sgmlTags,       corpus.sgmlTagInfo,       corpus.sgmlTagExclude,
                       corpus.sgmlAttributes, corpus.sgmlAttributeInfo, corpus.sgmlAttributeOutput};
    // The lists show the last scan when there is one: a scan whose results
    // were not taken with OK is still offered, with the record's switches.
    if (!sgml_.scannedTags.empty() || !sgml_.scannedAttributes.empty()) {
        TakeScan(record);
    } else {
        choices_ = record;
        choices_.tagInfo.resize(choices_.tags.size());
        choices_.tagExclude.resize(choices_.tags.size());
        choices_.attributeInfo.resize(choices_.attributes.size());
        choices_.attributeOutput.resize(choices_.attributes.size());
    }

    auto* tagLabel = new QLabel(QStringLiteral("Parameter"), this);
    tagLabel->setBuddy(tagList_);
    auto* attributeLabel = new QLabel(QStringLiteral("Attribute"), this);
    attributeLabel->setBuddy(attributeList_);
    auto* layout = new QGridLayout(this);
    layout->addWidget(tagLabel, 0, 0);
    layout->addWidget(tagList_, 1, 0);
    layout->addWidget(excludeCheck_, 2, 0);
    layout->addWidget(attributeLabel, 0, 1);
    layout->addWidget(attributeList_, 1, 1);
    layout->addWidget(outputCheck_, 2, 1);
    layout->addWidget(scanButton_, 3, 1, Qt::AlignRight);

    connect(tagList_, &QListWidget::currentRowChanged, this, &CPageSGML::OnTagSelected);
    connect(attributeList_, &QListWidget::currentRowChanged, this, &CPageSGML::OnAttributeSelected);
    connect(excludeCheck_, &QCheckBox::clicked, this, &CPageSGML::OnExcludeClicked);
    connect(outputCheck_, &QCheckBox::clicked, this, &CPageSGML::OnOutputClicked);
    connect(scanButton_, &QPushButton::clicked, this, &CPageSGML::OnScan);
    FillLists();
}

bool CPageSGML::ActiveFor(int corpusType)
{
    return corpusType == kTypeSgml || corpusType == kTypeAce || corpusType == kTypeBnc;
}

void CPageSGML::TakeScan(const SgmlChoices& from)
{
    choices_ = {};
    for (size_t i = 0; i < sgml_.scannedTags.size(); ++i) {
        const std::string& tag = sgml_.scannedTags[i];
        choices_.tags.push_back(tag);
        choices_.tagInfo.push_back(i < sgml_.scannedTagEnds.size() ? sgml_.scannedTagEnds[i] : "");
        choices_.tagExclude.push_back(SwitchFor(tag, from.tags, from.tagExclude));
    }
    for (size_t i = 0; i < sgml_.scannedAttributes.size(); ++i) {
        const std::string& key = sgml_.scannedAttributes[i];
        choices_.attributes.push_back(key);
        choices_.attributeInfo.push_back(
            i < sgml_.scannedAttributeTags.size() ? sgml_.scannedAttributeTags[i] : "");
        choices_.attributeOutput.push_back(SwitchFor(key, from.attributes, from.attributeOutput));
    }
}

void CPageSGML::FillLists()
{
    {
        const QSignalBlocker tags(tagList_);
        const QSignalBlocker attributes(attributeList_);
        tagList_->clear();
        for (const std::string& tag : choices_.tags) {
            tagList_->addItem(ToDisplay(tag));
        }
        attributeList_->clear();
        for (const std::string& key : choices_.attributes) {
            attributeList_->addItem(ToDisplay(key));
        }
        tagList_->setCurrentRow(choices_.tags.empty() ? -1 : 0);
        attributeList_->setCurrentRow(choices_.attributes.empty() ? -1 : 0);
    }
    OnTagSelected(tagList_->currentRow());
    OnAttributeSelected(attributeList_->currentRow());
}

void CPageSGML::EnableControls()
{
    const bool active = ActiveFor(state_.currentCorpusType);
    tagList_->setEnabled(active);
    attributeList_->setEnabled(active);
    scanButton_->setEnabled(active);
    excludeCheck_->setEnabled(active && !choices_.tags.empty());
    outputCheck_->setEnabled(active && !choices_.attributes.empty());
}

void CPageSGML::OnSetActive()
{
    EnableControls();
}

void CPageSGML::OnScan()
{
    std::string error;
    const SgmlScanOutcome outcome = WithProgress(makeProgress_, [&](CProgress& progress) {
        return sgml_.Scan(state_.inputFiles, progress, error);
    });
    if (outcome == SgmlScanOutcome::Unreadable) {
        // The lists keep what they showed; the user is told why.
        ShowDialogMessage(this, ToDisplay(error));
        return;
    }
    if (outcome != SgmlScanOutcome::Done) {
        return;
    }
    TakeScan({});
    FillLists();
    EnableControls();
}

void CPageSGML::OnTagSelected(int row)
{
    const bool valid = row >= 0 && static_cast<size_t>(row) < choices_.tagExclude.size();
    excludeCheck_->setChecked(valid && choices_.tagExclude[static_cast<size_t>(row)] != 0);
}

void CPageSGML::OnAttributeSelected(int row)
{
    const bool valid = row >= 0 && static_cast<size_t>(row) < choices_.attributeOutput.size();
    outputCheck_->setChecked(valid && choices_.attributeOutput[static_cast<size_t>(row)] != 0);
}

void CPageSGML::OnExcludeClicked(bool checked)
{
    const int row = tagList_->currentRow();
    if (row >= 0 && static_cast<size_t>(row) < choices_.tagExclude.size()) {
        choices_.tagExclude[static_cast<size_t>(row)] = checked ? 1 : 0;
    }
}

void CPageSGML::OnOutputClicked(bool checked)
{
    const int row = attributeList_->currentRow();
    if (row >= 0 && static_cast<size_t>(row) < choices_.attributeOutput.size()) {
        choices_.attributeOutput[static_cast<size_t>(row)] = checked ? 1 : 0;
    }
}

}  // namespace plix
