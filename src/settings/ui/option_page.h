// What the pages of the corpus options sheet share: the page protocol (becoming
// active, being left) and the values that live while the sheet is open.
#pragma once

#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/progress.h"

namespace plix {

// Makes the progress display of a scan of the corpus files.
using ProgressMaker = std::function<std::unique_ptr<CProgress>()>;

// Runs `scan` with a progress display made by `make` (none when it is empty).
template <typename Scan>
auto WithProgress(const ProgressMaker& make, Scan scan)
{
    std::unique_ptr<CProgress> made = make ? make() : nullptr;
    CProgress silent;
    CProgress& shown = made ? *made : silent;
    (void)shown.Create();
    return scan(shown);
}

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
