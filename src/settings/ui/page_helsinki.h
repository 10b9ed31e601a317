// The "Helsinki" page: the seven kinds of editorial markup whose text is
// deleted, and, for Penn-style parsed text, "&Untag".
#pragma once

#include <array>

#include "settings/corpus.h"
#include "settings/ui/option_page.h"

class QCheckBox;
class QGroupBox;

namespace plix {

class CPageHelsinki : public COptionPage
{
    Q_OBJECT
  public:
    // `deleteSwitches` and `untag`: the handlers' values when the sheet opens.
    CPageHelsinki(SheetState& state, const std::array<int, 7>& deleteSwitches, int untag,
                  QWidget* parent = nullptr);

    void OnSetActive() override;

    // True for the types whose text carries the Helsinki markup.
    static bool ActiveFor(int corpusType);
    // True for the types whose parse trees can be untagged.
    static bool UntagActiveFor(int corpusType);

    std::array<int, 7> DeleteSwitches() const;
    int Untag() const;

    QCheckBox* LevelCheck(int level) const { return levelChecks_[static_cast<size_t>(level)]; }
    QGroupBox* PennGroup() const { return pennGroup_; }
    QCheckBox* UntagCheck() const { return untagCheck_; }

  private:
    std::array<QCheckBox*, 7> levelChecks_{};
    QGroupBox* pennGroup_;
    QCheckBox* untagCheck_;
};

}  // namespace plix
