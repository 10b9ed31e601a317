// The corpus options sheet ("Corpus Options"): the tabbed dialog in which the
// corpus is set up. Nothing reaches the settings record before OK.
#pragma once

#include <QDialog>

#include <vector>

#include "settings/corpus.h"
#include "settings/ui/option_page.h"
#include "settings/ui/page_sgml.h"

class QTabWidget;

namespace plix {

class CHandlers;
class CPageBNC;
class CPageBrooklyn;
class CPageCOCOA;
class CPageCorpus;
class CPageFIXED;
class CPageHelsinki;
class CPageICE;
class CPagePPCME2;
class CPageType;

class COptionSheet : public QDialog
{
    Q_OBJECT
  public:
    // Page indexes, in tab order (the `firstPage` of OptionsDialog).
    enum Page
    {
        kPageCorpus = 0,
        kPageType = 1,
        kPageCocoa = 2,
        kPageSgml = 3,
        kPageFixed = 4,
        kPageHelsinki = 5,
        kPagePpcme2 = 6,
        kPageBrooklyn = 7,
        kPageIce = 8,
        kPageBnc = 9
    };

    // `handlers`: the pages show what the handlers know (the SGML scan) and
    // the SGML page scans with them; `makeProgress` shows a scan's progress.
    COptionSheet(const CCorpus& corpus, CHandlers& handlers, int firstPage,
                 QWidget* parent = nullptr, ProgressMaker makeProgress = {});

    // OK: the shown page is left first, as when another tab is chosen.
    void accept() override;
    // Stores the pages' values into the record, and the Helsinki switches
    // into the handlers. The corpus type goes before the page's diacritics and
    // the fixed-column range, so that what the user typed wins over the
    // type's side effects.
    void StoreInto(CCorpus& corpus) const;

    QTabWidget* Tabs() const { return tabs_; }
    CPageCorpus* CorpusPage() const { return corpusPage_; }
    CPageType* TypePage() const { return typePage_; }
    CPageCOCOA* CocoaPage() const { return cocoaPage_; }
    CPageSGML* SgmlPage() const { return sgmlPage_; }
    CPageFIXED* FixedPage() const { return fixedPage_; }
    CPageHelsinki* HelsinkiPage() const { return helsinkiPage_; }
    CPagePPCME2* Ppcme2Page() const { return ppcme2Page_; }
    CPageBrooklyn* BrooklynPage() const { return brooklynPage_; }
    CPageICE* IcePage() const { return icePage_; }
    CPageBNC* BncPage() const { return bncPage_; }
    const SheetState& State() const { return state_; }

  private:
    void OnCurrentChanged(int index);

    SheetState state_;
    QTabWidget* tabs_;
    CPageCorpus* corpusPage_;
    CPageType* typePage_;
    CPageCOCOA* cocoaPage_;
    CPageSGML* sgmlPage_;
    CPageFIXED* fixedPage_;
    CPageHelsinki* helsinkiPage_;
    CPagePPCME2* ppcme2Page_;
    CPageBrooklyn* brooklynPage_;
    CPageICE* icePage_;
    CPageBNC* bncPage_;
    CHandlers& handlers_;
    std::vector<COptionPage*> pages_;
    int shownPage_ = -1;
};

// "Corpus Setup" (page 0) and "Corpus Options" (page 1): runs the sheet modally
// and stores its values on OK. True when OK was pressed.
bool OptionsDialog(CCorpus& corpus, CHandlers& handlers, int firstPage, QWidget* parent,
                   ProgressMaker makeProgress = {});

}  // namespace plix
