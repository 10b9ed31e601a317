// The corpus options sheet ("Corpus Options"): the tabbed dialog in which the
// corpus is set up. Nothing reaches the settings record before OK.
#pragma once

#include <QDialog>

#include <vector>

#include "settings/corpus.h"
#include "settings/ui/option_page.h"

class QTabWidget;

namespace plix {

class CPageCorpus;
class CPageType;

class COptionSheet : public QDialog
{
    Q_OBJECT
public:
    // Page indexes, in tab order (the `firstPage` of OptionsDialog).
    enum Page
    {
        kPageCorpus = 0,
        kPageType = 1
    };

    COptionSheet(const CCorpus& corpus, int firstPage, QWidget* parent = nullptr);

    // OK: the shown page is left first, as when another tab is chosen.
    void accept() override;
    // Stores the pages' values into the record. The corpus type goes before
    // the page's diacritics and the fixed-column range, so that what the user
    // typed wins over the type's side effects.
    void StoreInto(CCorpus& corpus) const;

    QTabWidget* Tabs() const { return tabs_; }
    CPageCorpus* CorpusPage() const { return corpusPage_; }
    CPageType* TypePage() const { return typePage_; }
    const SheetState& State() const { return state_; }

private:
    void OnCurrentChanged(int index);

    SheetState state_;
    QTabWidget* tabs_;
    CPageCorpus* corpusPage_;
    CPageType* typePage_;
    std::vector<COptionPage*> pages_;
    int shownPage_ = -1;
};

// "Corpus Setup" (page 0) and "Corpus Options" (page 1): runs the sheet modally
// and stores its values on OK. True when OK was pressed.
bool OptionsDialog(CCorpus& corpus, int firstPage, QWidget* parent);

}  // namespace plix
