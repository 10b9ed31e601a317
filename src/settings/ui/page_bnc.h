// The "BNC" page: the layout of the BNC texts and whether each hit's word tag
// is printed.
#pragma once

#include "settings/corpus.h"
#include "settings/ui/option_page.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;

namespace plix {

class CPageBNC : public COptionPage
{
    Q_OBJECT
  public:
    CPageBNC(SheetState& state, const CCorpus& corpus, QWidget* parent = nullptr);

    void OnSetActive() override;

    static bool ActiveFor(int corpusType) { return corpusType == kTypeBnc; }
    int Format() const;
    int PosOutput() const;

    QButtonGroup* FormatGroup() const { return formatGroup_; }
    QCheckBox* PosOutputCheck() const { return posOutputCheck_; }

  private:
    QGroupBox* formatBox_;
    QButtonGroup* formatGroup_;
    QCheckBox* posOutputCheck_;
};

}  // namespace plix
