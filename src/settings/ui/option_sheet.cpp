#include "settings/ui/option_sheet.h"

#include <QDialogButtonBox>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "corpora/brooklyn.h"
#include "corpora/dispatch.h"
#include "corpora/helsinki.h"
#include "corpora/ice.h"
#include "corpora/penn.h"
#include "corpora/ppcme2.h"
#include "corpora/sgml.h"
#include "settings/ui/page_bnc.h"
#include "settings/ui/page_brooklyn.h"
#include "settings/ui/page_cocoa.h"
#include "settings/ui/page_corpus.h"
#include "settings/ui/page_fixed.h"
#include "settings/ui/page_helsinki.h"
#include "settings/ui/page_ice.h"
#include "settings/ui/page_ppcme2.h"
#include "settings/ui/page_type.h"

namespace plix {

namespace {

template <size_t N>
std::vector<std::string> Strings(const std::array<std::string_view, N>& views)
{
    return std::vector<std::string>(views.begin(), views.end());
}

}  // namespace

COptionSheet::COptionSheet(const CCorpus& corpus, CHandlers& handlers, int firstPage,
                           QWidget* parent, ProgressMaker makeProgress)
    : QDialog(parent), tabs_(new QTabWidget(this)), handlers_(handlers)
{
    setWindowTitle(QStringLiteral("Corpus Options"));
    // All ten tabs in sight: the sheet is as wide as they need.
    tabs_->setUsesScrollButtons(false);

    state_.currentCorpusType = corpus.GetCorpusType();
    state_.inputFiles = corpus.inputFiles;
    state_.outputFiles = corpus.outputFiles;
    // The list holds as many entries as the record counts, no more.
    const auto count = static_cast<size_t>(std::max(corpus.GetFileCount(), 0));
    if (state_.inputFiles.size() > count) {
        state_.inputFiles.resize(count);
    }
    if (state_.outputFiles.size() > count) {
        state_.outputFiles.resize(count);
    }

    corpusPage_ = new CPageCorpus(state_, corpus.GetOutputAsFiles(), corpus.GetAsWhole(), tabs_);
    typePage_ = new CPageType(state_, corpus, tabs_);
    cocoaPage_ = new CPageCOCOA(state_, corpus, handlers, makeProgress, tabs_);
    sgmlPage_ = new CPageSGML(state_, corpus, handlers.Sgml(), makeProgress, tabs_);
    fixedPage_ = new CPageFIXED(state_, corpus, tabs_);
    helsinkiPage_ = new CPageHelsinki(state_, handlers.Helsinki().DeleteSwitches(),
                                      handlers.Penn().UntagSwitch(), tabs_);
    ppcme2Page_ = new CPagePPCME2(state_, corpus, Strings(CPPCME2::labelTable),
                                  Strings(CPPCME2::posTable), tabs_);
    brooklynPage_ = new CPageBrooklyn(state_, corpus, Strings(CBrooklyn::nodeLabels), tabs_);
    icePage_ = new CPageICE(state_, corpus, Strings(CICE::functionLabels),
                            Strings(CICE::featureLabels), tabs_);
    bncPage_ = new CPageBNC(state_, corpus, tabs_);
    pages_ = {corpusPage_,   typePage_,   cocoaPage_,    sgmlPage_, fixedPage_,
              helsinkiPage_, ppcme2Page_, brooklynPage_, icePage_,  bncPage_};
    const char* const titles[] = {"Corpus Files", "Type",   "COCOA",    "SGML", "FIXED",
                                  "Helsinki",     "PPCME2", "Brooklyn", "ICE",  "BNC"};
    for (size_t i = 0; i < pages_.size(); ++i) {
        tabs_->addTab(pages_[i], QString::fromLatin1(titles[i]));
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &COptionSheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &COptionSheet::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons);

    shownPage_ = std::clamp(firstPage, 0, static_cast<int>(pages_.size()) - 1);
    {
        const QSignalBlocker blocker(tabs_);
        tabs_->setCurrentIndex(shownPage_);
    }
    pages_[static_cast<size_t>(shownPage_)]->OnSetActive();
    connect(tabs_, &QTabWidget::currentChanged, this, &COptionSheet::OnCurrentChanged);
}

void COptionSheet::OnCurrentChanged(int index)
{
    if (index == shownPage_ || index < 0) {
        return;
    }
    if (shownPage_ >= 0 && !pages_[static_cast<size_t>(shownPage_)]->OnKillActive()) {
        // The page refused a value: the user stays on it until it is corrected.
        const QSignalBlocker blocker(tabs_);
        tabs_->setCurrentIndex(shownPage_);
        return;
    }
    shownPage_ = index;
    pages_[static_cast<size_t>(index)]->OnSetActive();
}

void COptionSheet::accept()
{
    if (!pages_[static_cast<size_t>(shownPage_)]->OnKillActive()) {
        return;
    }
    QDialog::accept();
}

void COptionSheet::StoreInto(CCorpus& corpus) const
{
    corpus.SetFiles(state_.inputFiles, state_.outputFiles);
    corpus.SetOutputAsFiles(corpusPage_->OutputAsFiles());
    corpus.SetAsWhole(corpusPage_->AsWhole());

    const int type = typePage_->CorpusType();
    corpus.SetCorpusType(type);
    corpus.diacritics = typePage_->Diacritics();
    corpus.startLine = typePage_->StartLine();
    corpus.endLine = typePage_->EndLine();
    // The encoding first: it decides which locale the language installs.
    corpus.utf8Text = typePage_->Utf8Text();
    // No entry is selected only when the record held a name the list does not
    // know; the locale in force then stays as it is.
    const std::string language = typePage_->Language();
    if (!language.empty()) {
        corpus.SetLanguage(language);
    }
    corpus.countNumbers = typePage_->CountNumbers();
    corpus.ignoreCase = typePage_->IgnoreCase();

    corpus.cocoaSelect = cocoaPage_->Values();
    corpus.cocoaOutput = cocoaPage_->Outputs();

    // The reference corpora have their fixed range, whatever the page holds.
    int start = 0;
    int end = 0;
    if (FixedInfoRange(type, start, end)) {
        corpus.SetInfoRange(start, end);
    } else {
        corpus.SetInfoRange(fixedPage_->Start(), fixedPage_->End());
    }

    const SgmlChoices& sgml = sgmlPage_->Choices();
    corpus.sgmlTags = sgml.tags;
    corpus.sgmlTagInfo = sgml.tagInfo;
    corpus.sgmlTagExclude = sgml.tagExclude;
    corpus.sgmlAttributes = sgml.attributes;
    corpus.sgmlAttributeInfo = sgml.attributeInfo;
    corpus.sgmlAttributeOutput = sgml.attributeOutput;

    handlers_.SetDeleteSwitches(helsinkiPage_->DeleteSwitches());
    handlers_.Penn().SetUntagSwitch(helsinkiPage_->Untag());
    corpus.ppcme2Pos = ppcme2Page_->Pos();
    corpus.ppcme2Node = ppcme2Page_->Node();
    corpus.brooklynNode = brooklynPage_->Node();

    const IceChoices ice = icePage_->Choices();
    corpus.iceFunctionOn = ice.functionOn;
    corpus.iceCategoryOn = ice.categoryOn;
    corpus.iceFeatureOn = ice.featureOn;
    corpus.iceFunction = ice.function;
    corpus.iceCategory = ice.category;
    corpus.iceFeature = ice.feature;
    corpus.iceIgnored = ice.ignored;
    corpus.iceAddition = ice.addition;
    corpus.iceOverlap = ice.overlap;
    corpus.iceSpeaker = ice.speaker;
    corpus.iceSubtext = ice.subtext;

    corpus.bncFormat = bncPage_->Format();
    corpus.bncPosOutput = bncPage_->PosOutput();
}

bool OptionsDialog(CCorpus& corpus, CHandlers& handlers, int firstPage, QWidget* parent,
                   ProgressMaker makeProgress)
{
    COptionSheet sheet(corpus, handlers, firstPage, parent, std::move(makeProgress));
    if (sheet.exec() != QDialog::Accepted) {
        return false;
    }
    sheet.StoreInto(corpus);
    return true;
}

}  // namespace plix
