// The "PPCME2" page (also for York-Toronto-Helsinki): the node whose text is
// searched, and the part of speech of the hits.
#pragma once

#include <string>
#include <vector>

#include "settings/corpus.h"
#include "settings/ui/option_page.h"

class QComboBox;

namespace plix {

class CPagePPCME2 : public COptionPage
{
    Q_OBJECT
  public:
    CPagePPCME2(SheetState& state, const CCorpus& corpus, const std::vector<std::string>& labels,
                const std::vector<std::string>& tags, QWidget* parent = nullptr);

    void OnSetActive() override;
    static bool ActiveFor(int corpusType)
    {
        return corpusType == kTypePpcme2 || corpusType == kTypeYorkTorontoHelsinki;
    }

    std::string Node() const;
    std::string Pos() const;
    QComboBox* NodeBox() const { return nodeBox_; }
    QComboBox* PosBox() const { return posBox_; }

  private:
    QComboBox* nodeBox_;
    QComboBox* posBox_;
};

}  // namespace plix
