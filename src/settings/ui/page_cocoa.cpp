#include "settings/ui/page_cocoa.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

#include "corpora/ceecs.h"
#include "corpora/cocoa.h"
#include "corpora/cocoa_values.h"
#include "corpora/dispatch.h"
#include "corpora/helsinki.h"
#include "corpora/scots.h"
#include "settings/text.h"
#include "settings/ui/dialog_message.h"
#include "settings/ui/ui_text.h"

namespace plix {

CPageCOCOA::CPageCOCOA(SheetState& state, const CCorpus& corpus, CHandlers& handlers,
                       ProgressMaker makeProgress, QWidget* parent)
    : COptionPage(state, parent),
      parameterList_(new QListWidget(this)),
      selectBox_(new QComboBox(this)),
      outputCheck_(new QCheckBox(QStringLiteral("&Output"), this)),
      scanButton_(new QPushButton(QStringLiteral("&Scan"), this)),
      handlers_(handlers),
      makeProgress_(std::move(makeProgress)),
      values_(corpus.cocoaSelect),
      outputs_(corpus.cocoaOutput)
{
    selectBox_->setEditable(true);
    selectBox_->setInsertPolicy(QComboBox::NoInsert);
    // The box's list holds values of the corpus; what is typed is not
    // completed from it behind the user's back.
    selectBox_->setCompleter(nullptr);
    selectBox_->installEventFilter(this);

    auto* parameterLabel = new QLabel(QStringLiteral("Parameter"), this);
    parameterLabel->setBuddy(parameterList_);
    auto* selectLabel = new QLabel(QStringLiteral("Select"), this);
    selectLabel->setBuddy(selectBox_);

    auto* layout = new QGridLayout(this);
    layout->addWidget(parameterLabel, 0, 0);
    layout->addWidget(parameterList_, 1, 0, 3, 1);
    layout->addWidget(selectLabel, 0, 1);
    layout->addWidget(selectBox_, 1, 1);
    layout->addWidget(outputCheck_, 2, 1);
    layout->addWidget(scanButton_, 4, 1, Qt::AlignRight);
    layout->setRowStretch(3, 1);
    scanButton_->setToolTip(
        QStringLiteral("Read the values the parameters take in the corpus files"));

    connect(parameterList_, &QListWidget::currentRowChanged, this,
            &CPageCOCOA::OnParameterSelected);
    connect(outputCheck_, &QCheckBox::clicked, this, &CPageCOCOA::OnOutputClicked);
    connect(scanButton_, &QPushButton::clicked, this, &CPageCOCOA::OnScan);
}

bool CPageCOCOA::ActiveFor(int corpusType)
{
    switch (corpusType) {
        case kTypeCocoa:
        case kTypeHelsinki:
        case kTypeHelsinkiScots:
        case kTypeCeecs:
        case kTypePpcme1:
            return true;
        default:
            return false;
    }
}

bool CPageCOCOA::NamedFor(int corpusType)
{
    return corpusType != kTypeCocoa && ActiveFor(corpusType);
}

QString CPageCOCOA::EntryText(int letter) const
{
    const QString text(QChar(static_cast<char16_t>('A' + letter)));
    if (!NamedFor(state_.currentCorpusType)) {
        return text;
    }
    return text + QLatin1Char(' ') +
           ToDisplay(handlers_.Helsinki().parameterNames[static_cast<size_t>(letter)]);
}

std::vector<std::string> CPageCOCOA::ValuesOffered(int letter) const
{
    const std::vector<std::string>& found =
        handlers_.Cocoa().scannedValues[static_cast<size_t>(letter)];
    switch (state_.currentCorpusType) {
        case kTypeHelsinki:
        case kTypePpcme1:
            return MergedValues(handlers_.Helsinki().parameterValues[static_cast<size_t>(letter)],
                                found);
        case kTypeCeecs:
            return MergedValues(handlers_.Ceecs().GetValues(letter), found);
        case kTypeHelsinkiScots:
            return MergedValues(handlers_.Scots().GetValues(letter), found);
        default:
            // A plain COCOA corpus has no known values: the box is free text.
            return {};
    }
}

void CPageCOCOA::OnScan()
{
    std::string error;
    auto& values = handlers_.Cocoa().scannedValues;
    const CocoaValueScanOutcome outcome = WithProgress(makeProgress_, [&](CProgress& progress) {
        return ScanCocoaValues(state_.inputFiles, progress, values, error);
    });
    if (outcome == CocoaValueScanOutcome::Unreadable) {
        ShowDialogMessage(this, ToDisplay(error));
    }
}

void CPageCOCOA::OnSetActive()
{
    const bool active = ActiveFor(state_.currentCorpusType);
    {
        const QSignalBlocker blocker(parameterList_);
        parameterList_->clear();
        for (int letter = 0; letter < 26; ++letter) {
            parameterList_->addItem(EntryText(letter));
        }
        parameterList_->setCurrentRow(selected_);
    }
    OnParameterSelected(selected_);
    for (QWidget* control :
         std::initializer_list<QWidget*>{parameterList_, selectBox_, outputCheck_}) {
        control->setEnabled(active);
    }
    scanButton_->setEnabled(NamedFor(state_.currentCorpusType));
}

bool CPageCOCOA::OnKillActive()
{
    // OK or another tab while the box still has the focus: its text counts as
    // if the focus had left it.
    if (selectBox_->hasFocus()) {
        OnSelectLeft();
    }
    return true;
}

void CPageCOCOA::OnParameterSelected(int index)
{
    if (index < 0 || index >= 26) {
        return;
    }
    selected_ = index;
    outputCheck_->setChecked(outputs_[static_cast<size_t>(index)] != 0);
    selectBox_->setEditText(ToDisplay(values_[static_cast<size_t>(index)]));
}

void CPageCOCOA::OnOutputClicked(bool checked)
{
    outputs_[static_cast<size_t>(selected_)] = checked ? 1 : 0;
}

void CPageCOCOA::OnSelectEntered()
{
    const QString text = selectBox_->currentText();
    {
        const QSignalBlocker blocker(selectBox_);
        selectBox_->clear();
        for (const std::string& value : ValuesOffered(selected_)) {
            selectBox_->addItem(ToDisplay(value));
        }
    }
    selectBox_->setEditText(text);
}

void CPageCOCOA::OnSelectLeft()
{
    values_[static_cast<size_t>(selected_)] = UpperBytes(FromDisplay(selectBox_->currentText()));
    selectBox_->setEditText(ToDisplay(values_[static_cast<size_t>(selected_)]));
}

bool CPageCOCOA::eventFilter(QObject* watched, QEvent* event)
{
    // The box's own list taking the focus for a moment is not leaving the box.
    const bool focus = event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut;
    if (watched == selectBox_ && focus &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        if (event->type() == QEvent::FocusIn) {
            OnSelectEntered();
        } else {
            OnSelectLeft();
        }
    }
    return COptionPage::eventFilter(watched, event);
}

}  // namespace plix
