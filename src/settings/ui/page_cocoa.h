// The "COCOA" page: per parameter letter the value a line must have ("Select")
// and whether the parameter is printed with each hit ("&Output").
#pragma once

#include <array>
#include <string>
#include <vector>

#include "settings/corpus.h"
#include "settings/ui/option_page.h"

class QCheckBox;
class QComboBox;
class QListWidget;
class QPushButton;

namespace plix {

class CHandlers;

class CPageCOCOA : public COptionPage
{
    Q_OBJECT
  public:
    // The handlers know the parameters' names and values of the Helsinki
    // family; the scan of the corpus files adds the values that occur there.
    CPageCOCOA(SheetState& state, const CCorpus& corpus, CHandlers& handlers,
               ProgressMaker makeProgress, QWidget* parent = nullptr);

    void OnSetActive() override;
    [[nodiscard]] bool OnKillActive() override;

    // True for the corpus types whose lines carry COCOA references.
    static bool ActiveFor(int corpusType);
    // True for the types whose parameters have names and known values.
    static bool NamedFor(int corpusType);

    const std::array<std::string, 26>& Values() const { return values_; }
    const std::array<int, 26>& Outputs() const { return outputs_; }

    void OnParameterSelected(int index);
    void OnOutputClicked(bool checked);
    // The "Select" box got or lost the focus.
    void OnSelectEntered();
    void OnSelectLeft();
    // Reads the values the parameters take in the working corpus files.
    void OnScan();
    // The values the "Select" box offers for a letter of the corpus type.
    std::vector<std::string> ValuesOffered(int letter) const;

    QListWidget* ParameterList() const { return parameterList_; }
    QComboBox* SelectBox() const { return selectBox_; }
    QCheckBox* OutputCheck() const { return outputCheck_; }
    QPushButton* ScanButton() const { return scanButton_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The list entry of a letter: the letter, or the letter and its name.
    QString EntryText(int letter) const;

    QListWidget* parameterList_;
    QComboBox* selectBox_;
    QCheckBox* outputCheck_;
    QPushButton* scanButton_;
    CHandlers& handlers_;
    ProgressMaker makeProgress_;
    std::array<std::string, 26> values_{};
    std::array<int, 26> outputs_{};
    int selected_ = 0;
};

}  // namespace plix
