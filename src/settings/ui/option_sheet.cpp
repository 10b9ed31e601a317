#include "settings/ui/option_sheet.h"

#include <QDialogButtonBox>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "corpora/dispatch.h"
#include "corpora/sgml.h"
#include "settings/ui/page_cocoa.h"
#include "settings/ui/page_corpus.h"
#include "settings/ui/page_fixed.h"
#include "settings/ui/page_type.h"

namespace plix {

COptionSheet::COptionSheet(const CCorpus& corpus, CHandlers& handlers, int firstPage,
                           QWidget* parent, ProgressMaker makeProgress)
    : QDialog(parent), tabs_(new QTabWidget(this))
{
    setWindowTitle(QStringLiteral("Corpus Options"));

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
    cocoaPage_ = new CPageCOCOA(state_, corpus, tabs_);
    sgmlPage_ = new CPageSGML(state_, corpus, handlers.Sgml(), std::move(makeProgress), tabs_);
    fixedPage_ = new CPageFIXED(state_, corpus, tabs_);
    pages_ = {corpusPage_, typePage_, cocoaPage_, sgmlPage_, fixedPage_};
    tabs_->addTab(corpusPage_, QStringLiteral("Corpus Files"));
    tabs_->addTab(typePage_, QStringLiteral("Type"));
    tabs_->addTab(cocoaPage_, QStringLiteral("COCOA"));
    tabs_->addTab(sgmlPage_, QStringLiteral("SGML"));
    tabs_->addTab(fixedPage_, QStringLiteral("FIXED"));

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
