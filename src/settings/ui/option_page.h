// What the pages of the corpus options sheet share: the page protocol (becoming
// active, being left) and the values that live while the sheet is open.
#pragma once

#include <QWidget>

#include <string>
#include <vector>

namespace plix {

// Owned by the sheet; every page reads it when it becomes active.
struct SheetState
{
    // The corpus type chosen on the "Type" page; decides which pages are active.
    int currentCorpusType = 0;
    // The working copy of the corpus list: edited on the "Corpus Files" page,
    // read by whatever scans the corpus files, copied to the record only on OK.
    std::vector<std::string> inputFiles;
    std::vector<std::string> outputFiles;
};

class COptionPage : public QWidget
{
    Q_OBJECT
public:
    COptionPage(SheetState& state, QWidget* parent) : QWidget(parent), state_(state) {}

    // The page's tab was chosen, or the sheet opened on it.
    virtual void OnSetActive() {}
    // Another tab is chosen, or OK pressed, while the page is shown: reads and
    // checks its controls. False keeps the user on the page.
    [[nodiscard]] virtual bool OnKillActive() { return true; }

protected:
    SheetState& state_;
};

}  // namespace plix
