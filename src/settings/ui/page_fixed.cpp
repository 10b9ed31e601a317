#include "settings/ui/page_fixed.h"

#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "settings/ui/dialog_message.h"
#include "settings/ui/number_edit.h"

namespace plix {

CPageFIXED::CPageFIXED(SheetState& state, const CCorpus& corpus, QWidget* parent)
    : COptionPage(state, parent),
      startEdit_(new CSpinEdit(kInfoColumnLimits.low, kInfoColumnLimits.high, this)),
      endEdit_(new CSpinEdit(kInfoColumnLimits.low, kInfoColumnLimits.high, this)),
      start_(corpus.GetInfoStart()),
      end_(corpus.GetInfoEnd())
{
    startEdit_->SetValue(start_);
    endEdit_->SetValue(end_);

    auto* form = new QFormLayout;
    auto* startLabel = new QLabel(QStringLiteral("Info Starts at"), this);
    startLabel->setBuddy(startEdit_);
    auto* endLabel = new QLabel(QStringLiteral("Info Ends at"), this);
    endLabel->setBuddy(endEdit_);
    form->addRow(startLabel, startEdit_);
    form->addRow(endLabel, endEdit_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch(1);

    connect(startEdit_, &CSpinEdit::Left, this, &CPageFIXED::OnStartLeft);
    connect(endEdit_, &CSpinEdit::Left, this, &CPageFIXED::OnEndLeft);
}

void CPageFIXED::OnSetActive()
{
    const int type = state_.currentCorpusType;
    // The reference corpora have their columns fixed: shown, not editable.
    int start = 0;
    int end = 0;
    if (FixedInfoRange(type, start, end)) {
        startEdit_->SetValue(start);
        endEdit_->SetValue(end);
        start_ = start;
        end_ = end;
    }
    const bool active = type == kTypeFixed;
    startEdit_->setEnabled(active);
    endEdit_->setEnabled(active);
}

bool CPageFIXED::ReadRange(int& start, int& end)
{
    std::optional<int> first = startEdit_->ReadOrComplain();
    if (!first) {
        return false;
    }
    std::optional<int> last = endEdit_->ReadOrComplain();
    if (!last) {
        return false;
    }
    start = *first;
    end = *last;
    return true;
}

bool CPageFIXED::OnKillActive()
{
    if (!startEdit_->isEnabled()) {
        return true;
    }
    return ReadRange(start_, end_);
}

void CPageFIXED::OnEndLeft()
{
    int start = 0;
    int end = 0;
    if (!ReadRange(start, end)) {
        return;
    }
    if (end != 0 && end < start) {
        ShowDialogMessage(
            this, QStringLiteral("The end position should be bigger than the start position"));
        endEdit_->SetValue(start);
    }
}

void CPageFIXED::OnStartLeft()
{
    int start = 0;
    int end = 0;
    if (!ReadRange(start, end)) {
        return;
    }
    if (end >= 2 && end < start) {
        ShowDialogMessage(
            this, QStringLiteral("The start position should be bigger than the end position"));
        startEdit_->SetValue(1);
    }
}

}  // namespace plix
