// The "SGML" page: the tags and tag-attribute keys found by a scan of the
// corpus files, with "&Exclude" per tag and "&Output" per key.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/progress.h"
#include "settings/corpus.h"
#include "settings/ui/option_page.h"

class QCheckBox;
class QListWidget;
class QPushButton;

namespace plix {

class CSgml;

// The six arrays of the page, as the record keeps them.
struct SgmlChoices
{
    std::vector<std::string> tags;
    std::vector<std::string> tagInfo;
    std::vector<unsigned> tagExclude;
    std::vector<std::string> attributes;
    std::vector<std::string> attributeInfo;
    std::vector<unsigned> attributeOutput;
};

class CPageSGML : public COptionPage
{
    Q_OBJECT
  public:
    CPageSGML(SheetState& state, const CCorpus& corpus, CSgml& sgml, ProgressMaker makeProgress,
              QWidget* parent = nullptr);

    void OnSetActive() override;

    static bool ActiveFor(int corpusType);
    const SgmlChoices& Choices() const { return choices_; }

    void OnScan();
    void OnTagSelected(int row);
    void OnAttributeSelected(int row);
    void OnExcludeClicked(bool checked);
    void OnOutputClicked(bool checked);

    QListWidget* TagList() const { return tagList_; }
    QListWidget* AttributeList() const { return attributeList_; }
    QCheckBox* ExcludeCheck() const { return excludeCheck_; }
    QCheckBox* OutputCheck() const { return outputCheck_; }
    QPushButton* ScanButton() const { return scanButton_; }

  private:
    // The page's arrays from the handler's last scan, the switches from `from`
    // where it lists the same name.
    void TakeScan(const SgmlChoices& from);
    void FillLists();
    void EnableControls();

    CSgml& sgml_;
    ProgressMaker makeProgress_;
    QListWidget* tagList_;
    QCheckBox* excludeCheck_;
    QListWidget* attributeList_;
    QCheckBox* outputCheck_;
    QPushButton* scanButton_;
    SgmlChoices choices_;
};

}  // namespace plix
