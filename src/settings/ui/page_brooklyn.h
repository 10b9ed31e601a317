// The "Brooklyn" page: the node whose text is searched.
#pragma once

#include <string>
#include <vector>

#include "settings/corpus.h"
#include "settings/ui/option_page.h"

class QComboBox;

namespace plix {

class CPageBrooklyn : public COptionPage
{
    Q_OBJECT
  public:
    CPageBrooklyn(SheetState& state, const CCorpus& corpus, const std::vector<std::string>& labels,
                  QWidget* parent = nullptr);

    void OnSetActive() override;
    static bool ActiveFor(int corpusType) { return corpusType == kTypeBrooklyn; }

    std::string Node() const;
    QComboBox* NodeBox() const { return nodeBox_; }

  private:
    QComboBox* nodeBox_;
};

}  // namespace plix
