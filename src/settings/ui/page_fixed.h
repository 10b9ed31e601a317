// The "FIXED" page: the columns that hold each line's information field
// ("Info Starts at", "Info Ends at").
#pragma once

#include "settings/corpus.h"
#include "settings/ui/option_page.h"

namespace plix {

class CSpinEdit;

class CPageFIXED : public COptionPage
{
    Q_OBJECT
  public:
    CPageFIXED(SheetState& state, const CCorpus& corpus, QWidget* parent = nullptr);

    void OnSetActive() override;
    [[nodiscard]] bool OnKillActive() override;

    int Start() const { return start_; }
    int End() const { return end_; }

    CSpinEdit* StartEdit() const { return startEdit_; }
    CSpinEdit* EndEdit() const { return endEdit_; }

  private:
    bool ReadRange(int& start, int& end);
    void OnStartLeft();
    void OnEndLeft();

    CSpinEdit* startEdit_;
    CSpinEdit* endEdit_;
    int start_;
    int end_;
};

}  // namespace plix
