// The "ICE" page: which node values are printed with each hit and which values
// a line must have (function, category, feature), the three kinds of text
// stretch to leave out, and the subtext and speaker to keep.
#pragma once

#include <string>
#include <vector>

#include "settings/corpus.h"
#include "settings/ui/option_page.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace plix {

// The eleven values of the page, as the record keeps them.
struct IceChoices
{
    int functionOn = 0;
    int categoryOn = 0;
    int featureOn = 0;
    std::string function;
    std::string category;
    std::string feature;
    int ignored = 0;
    int addition = 0;
    int overlap = 0;
    std::string speaker;
    std::string subtext;
};

class CPageICE : public COptionPage
{
    Q_OBJECT
  public:
    // `functionLabels` fill the Function and Category boxes, `featureLabels`
    // the Feature box.
    CPageICE(SheetState& state, const CCorpus& corpus,
             const std::vector<std::string>& functionLabels,
             const std::vector<std::string>& featureLabels, QWidget* parent = nullptr);

    void OnSetActive() override;
    [[nodiscard]] bool OnKillActive() override;

    static bool ActiveFor(int corpusType) { return corpusType == kTypeIce; }
    // The page's values; the speaker upper-cased, as the record keeps it.
    IceChoices Choices() const;

    QCheckBox* FunctionCheck() const { return functionCheck_; }
    QCheckBox* CategoryCheck() const { return categoryCheck_; }
    QCheckBox* FeatureCheck() const { return featureCheck_; }
    QComboBox* FunctionBox() const { return functionBox_; }
    QComboBox* CategoryBox() const { return categoryBox_; }
    QComboBox* FeatureBox() const { return featureBox_; }
    QCheckBox* IgnoredCheck() const { return ignoredCheck_; }
    QCheckBox* AdditionCheck() const { return additionCheck_; }
    QCheckBox* OverlapCheck() const { return overlapCheck_; }
    QLineEdit* SubtextEdit() const { return subtextEdit_; }
    QLineEdit* SpeakerEdit() const { return speakerEdit_; }

  private:
    QCheckBox* functionCheck_;
    QCheckBox* categoryCheck_;
    QCheckBox* featureCheck_;
    QComboBox* functionBox_;
    QComboBox* categoryBox_;
    QComboBox* featureBox_;
    QCheckBox* ignoredCheck_;
    QCheckBox* additionCheck_;
    QCheckBox* overlapCheck_;
    QLineEdit* subtextEdit_;
    QLineEdit* speakerEdit_;
};

}  // namespace plix
