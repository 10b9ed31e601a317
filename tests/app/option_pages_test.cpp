// The handler pages of the corpus options sheet: which controls are enabled
// for which corpus type, the COCOA, SGML and FIXED pages' own rules, the SGML
// scan over the working corpus list, and what OK stores in the record.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <fstream>
#include <functional>

#include "corpora/brooklyn.h"
#include "corpora/dispatch.h"
#include "corpora/helsinki.h"
#include "corpora/penn.h"
#include "corpora/ppcme2.h"
#include "corpora/sgml.h"
#include "settings/corpus.h"
#include "settings/ui/dialog_message.h"
#include "settings/ui/number_edit.h"
#include "settings/ui/option_sheet.h"
#include "settings/ui/page_bnc.h"
#include "settings/ui/page_brooklyn.h"
#include "settings/ui/page_cocoa.h"
#include "settings/ui/page_fixed.h"
#include "settings/ui/page_helsinki.h"
#include "settings/ui/page_ice.h"
#include "settings/ui/page_ppcme2.h"
#include "settings/ui/page_sgml.h"
#include "settings/ui/page_type.h"

#include <QButtonGroup>
#include <QGroupBox>

using namespace plix;

namespace {

class MessageCatcher
{
  public:
    MessageCatcher()
        : previous_(SetDialogMessageHook(
              [this](QWidget*, const QString& text) { messages.append(text); }))
    {
    }
    ~MessageCatcher() { SetDialogMessageHook(previous_); }
    MessageCatcher(const MessageCatcher&) = delete;
    MessageCatcher& operator=(const MessageCatcher&) = delete;

    QStringList messages;

  private:
    DialogMessageHook previous_;
};

void Focus(QWidget* field, QEvent::Type type)
{
    QFocusEvent event(type, Qt::TabFocusReason);
    QApplication::sendEvent(field, &event);
}

void ChooseType(COptionSheet& sheet, int code)
{
    CPageType* page = sheet.TypePage();
    page->TypeBox()->setCurrentIndex(code);
    emit page->TypeBox()->activated(code);
}

// Shows the page as the tab would: the Type page is left, the page becomes active.
void Show(COptionSheet& sheet, int page)
{
    sheet.Tabs()->setCurrentIndex(page);
}

std::string WriteFile(const QTemporaryDir& dir, const char* name, const std::string& text)
{
    const std::string path = dir.filePath(QString::fromLatin1(name)).toStdString();
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

}  // namespace

class OptionPagesTest : public QObject
{
    Q_OBJECT

  private slots:
    void pagesAreEnabledForTheirTypes_data();
    void pagesAreEnabledForTheirTypes();
    void fixedPageShowsTheReferenceRangesDisabled();
    void fixedPageKeepsTheRangeInOrder_data();
    void fixedPageKeepsTheRangeInOrder();
    void fixedPageRefusesColumnsOutsideTheRange();
    void cocoaPageStoresSelectionsUpperCasedAndOutputs();
    void sgmlScanFillsTheListsAndOkStoresTheSwitches();
    void sgmlCancelKeepsTheRecordButTheNextOpeningListsTheScan();
    void sgmlScanOfAnUnreadableFileSaysSoAndKeepsTheLists();
    void okStoresThePagesInOrder();
    void cocoaPageNamesAndOffersTheValuesOfTheType_data();
    void cocoaPageNamesAndOffersTheValuesOfTheType();
    void cocoaScanAddsTheValuesFoundAfterTheKnownOnes();
    void helsinkiSwitchesGoIntoTheHandler();
    void iceSpeakerTakesOneLetterUpperCased();
    void iceAndBncPagesStoreTheirValues();
    void parsedCorpusPagesListTheirLabelsAndStoreTheTargets();
};

void OptionPagesTest::pagesAreEnabledForTheirTypes_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("cocoa");
    QTest::addColumn<bool>("sgml");
    QTest::addColumn<bool>("fixed");
    QTest::addColumn<bool>("helsinki");
    QTest::addColumn<bool>("ppcme2");
    QTest::addColumn<bool>("brooklyn");
    QTest::addColumn<bool>("ice");
    QTest::addColumn<bool>("bnc");
    for (int type = 0; type < kCorpusTypeCount; ++type) {
        const bool helsinki = type == kTypeHelsinki || type == kTypeHelsinkiScots ||
                              type == kTypeCeecs || type == kTypePpcme1;
        const bool cocoa = type == kTypeCocoa || helsinki;
        const bool sgml = type == kTypeSgml || type == kTypeAce || type == kTypeBnc;
        QTest::newRow(CorpusTypeNames()[static_cast<size_t>(type)])
            << type << cocoa << sgml << (type == kTypeFixed) << helsinki
            << (type == kTypePpcme2 || type == kTypeYorkTorontoHelsinki) << (type == kTypeBrooklyn)
            << (type == kTypeIce) << (type == kTypeBnc);
    }
}

void OptionPagesTest::pagesAreEnabledForTheirTypes()
{
    QFETCH(int, type);
    QFETCH(bool, cocoa);
    QFETCH(bool, sgml);
    QFETCH(bool, fixed);
    QFETCH(bool, helsinki);
    QFETCH(bool, ppcme2);
    QFETCH(bool, brooklyn);
    QFETCH(bool, ice);
    QFETCH(bool, bnc);
    CCorpus corpus;
    corpus.sgmlTags = {"P"};
    corpus.sgmlTagInfo = {"P"};
    corpus.sgmlTagExclude = {0};
    corpus.sgmlAttributes = {"P ID"};
    corpus.sgmlAttributeInfo = {"P"};
    corpus.sgmlAttributeOutput = {0};
    CHandlers handlers;
    // Opening on the Type page and choosing the type there, as a user would.
    COptionSheet sheet(corpus, handlers, COptionSheet::kPageType);
    ChooseType(sheet, type);

    Show(sheet, COptionSheet::kPageCocoa);
    CPageCOCOA* c = sheet.CocoaPage();
    QCOMPARE(c->ParameterList()->isEnabled(), cocoa);
    QCOMPARE(c->SelectBox()->isEnabled(), cocoa);
    QCOMPARE(c->OutputCheck()->isEnabled(), cocoa);
    QCOMPARE(c->ParameterList()->count(), 26);

    Show(sheet, COptionSheet::kPageSgml);
    CPageSGML* s = sheet.SgmlPage();
    QCOMPARE(s->TagList()->isEnabled(), sgml);
    QCOMPARE(s->AttributeList()->isEnabled(), sgml);
    QCOMPARE(s->ExcludeCheck()->isEnabled(), sgml);
    QCOMPARE(s->OutputCheck()->isEnabled(), sgml);
    QCOMPARE(s->ScanButton()->isEnabled(), sgml);

    Show(sheet, COptionSheet::kPageFixed);
    CPageFIXED* f = sheet.FixedPage();
    QCOMPARE(f->StartEdit()->isEnabled(), fixed);
    QCOMPARE(f->EndEdit()->isEnabled(), fixed);

    Show(sheet, COptionSheet::kPageHelsinki);
    for (int level = 0; level < 7; ++level) {
        QCOMPARE(sheet.HelsinkiPage()->LevelCheck(level)->isEnabled(), helsinki);
    }
    QCOMPARE(sheet.HelsinkiPage()->UntagCheck()->isEnabled(), type == kTypePpcme1);
    Show(sheet, COptionSheet::kPagePpcme2);
    QCOMPARE(sheet.Ppcme2Page()->NodeBox()->isEnabled(), ppcme2);
    QCOMPARE(sheet.Ppcme2Page()->PosBox()->isEnabled(), ppcme2);
    Show(sheet, COptionSheet::kPageBrooklyn);
    QCOMPARE(sheet.BrooklynPage()->NodeBox()->isEnabled(), brooklyn);
    Show(sheet, COptionSheet::kPageIce);
    for (QWidget* control : std::initializer_list<QWidget*>{
             sheet.IcePage()->FunctionCheck(), sheet.IcePage()->FeatureBox(),
             sheet.IcePage()->OverlapCheck(), sheet.IcePage()->SpeakerEdit(),
             sheet.IcePage()->SubtextEdit()}) {
        QCOMPARE(control->isEnabled(), ice);
    }
    Show(sheet, COptionSheet::kPageBnc);
    QCOMPARE(sheet.BncPage()->PosOutputCheck()->isEnabled(), bnc);
    QCOMPARE(sheet.BncPage()->FormatGroup()->button(2)->isEnabled(), bnc);
}

void OptionPagesTest::fixedPageShowsTheReferenceRangesDisabled()
{
    struct Case
    {
        int type;
        const char* start;
        const char* end;
    };
    for (const Case& k :
         {Case{kTypeBrown, "1", "9"}, Case{kTypeLob, "1", "8"}, Case{kTypeFrown, "1", "8"}}) {
        CCorpus corpus;
        corpus.SetInfoRange(3, 4);
        CHandlers handlers;
        COptionSheet sheet(corpus, handlers, COptionSheet::kPageType);
        ChooseType(sheet, k.type);
        Show(sheet, COptionSheet::kPageFixed);
        QCOMPARE(sheet.FixedPage()->StartEdit()->text(), QString::fromLatin1(k.start));
        QCOMPARE(sheet.FixedPage()->EndEdit()->text(), QString::fromLatin1(k.end));
        QVERIFY(!sheet.FixedPage()->StartEdit()->isEnabled());
        sheet.accept();
        sheet.StoreInto(corpus);
        QCOMPARE(corpus.GetInfoStart(), 1);
        QCOMPARE(corpus.GetInfoEnd(), QString::fromLatin1(k.end).toInt());
    }
}

void OptionPagesTest::fixedPageKeepsTheRangeInOrder_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<bool>("leaveEnd");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("startAfter");
    QTest::addColumn<QString>("endAfter");
    QTest::newRow("end before start")
        << "10"
        << "5" << true << "The end position should be bigger than the start position"
        << "10"
        << "10";
    QTest::newRow("end in order") << "5"
                                  << "10" << true << ""
                                  << "5"
                                  << "10";
    QTest::newRow("start after end")
        << "10"
        << "5" << false << "The start position should be bigger than the end position"
        << "1"
        << "5";
    QTest::newRow("start after an end of 1") << "10"
                                             << "1" << false << ""
                                             << "10"
                                             << "1";
}

void OptionPagesTest::fixedPageKeepsTheRangeInOrder()
{
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(bool, leaveEnd);
    QFETCH(QString, message);
    QFETCH(QString, startAfter);
    QFETCH(QString, endAfter);
    MessageCatcher catcher;
    CCorpus corpus;
    corpus.SetCorpusType(kTypeFixed);
    CHandlers handlers;
    COptionSheet sheet(corpus, handlers, COptionSheet::kPageType);
    Show(sheet, COptionSheet::kPageFixed);
    CPageFIXED* page = sheet.FixedPage();
    page->StartEdit()->SetText(start);
    page->EndEdit()->SetText(end);
    Focus(leaveEnd ? page->EndEdit() : page->StartEdit(), QEvent::FocusOut);
    QCOMPARE(catcher.messages, message.isEmpty() ? QStringList{} : QStringList{message});
    QCOMPARE(page->StartEdit()->text(), startAfter);
    QCOMPARE(page->EndEdit()->text(), endAfter);
}

void OptionPagesTest::fixedPageRefusesColumnsOutsideTheRange()
{
    MessageCatcher catcher;
    CCorpus corpus;
    corpus.SetCorpusType(kTypeFixed);
    CHandlers handlers;
    COptionSheet sheet(corpus, handlers, COptionSheet::kPageFixed);
    CPageFIXED* page = sheet.FixedPage();
    page->StartEdit()->SetText(QStringLiteral("3"));
    page->EndEdit()->SetText(QStringLiteral("501"));
    Show(sheet, COptionSheet::kPageType);
    QCOMPARE(sheet.Tabs()->currentIndex(), int(COptionSheet::kPageFixed));
    QCOMPARE(catcher.messages, QStringList{"Please enter an integer between 1 and 500."});
    page->EndEdit()->SetText(QStringLiteral("12"));
    sheet.accept();
    QCOMPARE(sheet.result(), int(QDialog::Accepted));
    sheet.StoreInto(corpus);
    QCOMPARE(corpus.GetInfoStart(), 3);
    QCOMPARE(corpus.GetInfoEnd(), 12);
}

void OptionPagesTest::cocoaPageStoresSelectionsUpperCasedAndOutputs()
{
    CCorpus corpus;
    corpus.SetCorpusType(kTypeCocoa);
    corpus.cocoaSelect[0] = "OLD";
    CHandlers handlers;
    COptionSheet sheet(corpus, handlers, COptionSheet::kPageCocoa);
    CPageCOCOA* page = sheet.CocoaPage();
    QCOMPARE(page->ParameterList()->item(0)->text(), QStringLiteral("A"));
    QCOMPARE(page->ParameterList()->item(25)->text(), QStringLiteral("Z"));
    QCOMPARE(page->SelectBox()->currentText(), QStringLiteral("OLD"));

    page->ParameterList()->setCurrentRow(2);
    Focus(page->SelectBox(), QEvent::FocusIn);
    QCOMPARE(page->SelectBox()->count(), 0);  // a plain COCOA corpus offers no values
    page->SelectBox()->setEditText(QStringLiteral("alpha beta"));
    Focus(page->SelectBox(), QEvent::FocusOut);
    QCOMPARE(page->SelectBox()->currentText(), QStringLiteral("ALPHA BETA"));
    page->OutputCheck()->click();
    page->ParameterList()->setCurrentRow(3);
    QVERIFY(!page->OutputCheck()->isChecked());
    QCOMPARE(page->SelectBox()->currentText(), QString());
    page->ParameterList()->setCurrentRow(2);
    QVERIFY(page->OutputCheck()->isChecked());

    // A value still being typed when OK is pressed counts too.
    sheet.show();
    QVERIFY(QTest::qWaitForWindowActive(&sheet));
    page->ParameterList()->setCurrentRow(25);
    page->SelectBox()->setFocus();
    QVERIFY(page->SelectBox()->hasFocus());
    page->SelectBox()->setEditText(QStringLiteral("z1"));
    sheet.accept();
    sheet.StoreInto(corpus);
    QCOMPARE(corpus.cocoaSelect[0], std::string("OLD"));
    QCOMPARE(corpus.cocoaSelect[2], std::string("ALPHA BETA"));
    QCOMPARE(corpus.cocoaSelect[25], std::string("Z1"));
    QCOMPARE(corpus.cocoaOutput[2], 1);
    QCOMPARE(corpus.cocoaOutput[3], 0);
}

void OptionPagesTest::sgmlScanFillsTheListsAndOkStoresTheSwitches()
{
    QTemporaryDir dir;
    CCorpus corpus;
    corpus.SetCorpusType(kTypeSgml);
    corpus.AddInputFile(WriteFile(dir, "a.sgml", "<text id=t1><p>One</p>\n<!-- <q> -->\n"));
    corpus.AddOutputFile("a.plx");
    corpus.AddInputFile(WriteFile(dir, "b.sgml", "<P n=2>Two<note>x</note>\n"));
    corpus.AddOutputFile("b.plx");
    CHandlers handlers;
    COptionSheet sheet(corpus, handlers, COptionSheet::kPageSgml);
    CPageSGML* page = sheet.SgmlPage();
    QCOMPARE(page->TagList()->count(), 0);
    QVERIFY(!page->ExcludeCheck()->isEnabled());
    page->ScanButton()->click();

    QStringList tags;
    for (int i = 0; i < page->TagList()->count(); ++i) {
        tags.append(page->TagList()->item(i)->text());
    }
    QCOMPARE(tags, (QStringList{"NOTE", "P", "TEXT"}));
    QStringList keys;
    for (int i = 0; i < page->AttributeList()->count(); ++i) {
        keys.append(page->AttributeList()->item(i)->text());
    }
    QCOMPARE(keys, (QStringList{"P N", "TEXT ID"}));
    QVERIFY(page->ExcludeCheck()->isEnabled());
    QVERIFY(page->OutputCheck()->isEnabled());
    QCOMPARE(page->TagList()->currentRow(), 0);

    page->ExcludeCheck()->click();  // NOTE
    page->AttributeList()->setCurrentRow(1);
    page->OutputCheck()->click();  // TEXT ID
    page->TagList()->setCurrentRow(1);
    QVERIFY(!page->ExcludeCheck()->isChecked());
    page->TagList()->setCurrentRow(0);
    QVERIFY(page->ExcludeCheck()->isChecked());

    sheet.accept();
    sheet.StoreInto(corpus);
    QCOMPARE(corpus.sgmlTags, (std::vector<std::string>{"NOTE", "P", "TEXT"}));
    QCOMPARE(corpus.sgmlTagInfo, (std::vector<std::string>{"NOTE", "P", ""}));
    QCOMPARE(corpus.sgmlTagExclude, (std::vector<unsigned>{1, 0, 0}));
    QCOMPARE(corpus.sgmlAttributes, (std::vector<std::string>{"P N", "TEXT ID"}));
    QCOMPARE(corpus.sgmlAttributeInfo, (std::vector<std::string>{"P", "TEXT"}));
    QCOMPARE(corpus.sgmlAttributeOutput, (std::vector<unsigned>{0, 1}));
}

void OptionPagesTest::sgmlCancelKeepsTheRecordButTheNextOpeningListsTheScan()
{
    QTemporaryDir dir;
    CCorpus corpus;
    corpus.SetCorpusType(kTypeSgml);
    corpus.AddInputFile(WriteFile(dir, "a.sgml", "<p>a</p><div n=1>b<hi>c</hi></div>\n"));
    corpus.AddOutputFile("a.plx");
    corpus.sgmlTags = {"HI", "P"};
    corpus.sgmlTagInfo = {"HI", "P"};
    corpus.sgmlTagExclude = {1, 0};
    CHandlers handlers;
    {
        COptionSheet sheet(corpus, handlers, COptionSheet::kPageSgml);
        sheet.SgmlPage()->ScanButton()->click();
        sheet.reject();
    }
    QCOMPARE(corpus.sgmlTags, (std::vector<std::string>{"HI", "P"}));
    COptionSheet again(corpus, handlers, COptionSheet::kPageSgml);
    CPageSGML* page = again.SgmlPage();
    QCOMPARE(page->TagList()->count(), 3);
    QCOMPARE(page->TagList()->item(0)->text(), QStringLiteral("DIV"));
    // The switches come from the record, for the names it lists.
    QCOMPARE(page->Choices().tagExclude, (std::vector<unsigned>{0, 1, 0}));
}

void OptionPagesTest::sgmlScanOfAnUnreadableFileSaysSoAndKeepsTheLists()
{
    MessageCatcher catcher;
    QTemporaryDir dir;
    CCorpus corpus;
    corpus.SetCorpusType(kTypeSgml);
    corpus.AddInputFile(WriteFile(dir, "a.sgml", "<p>a</p>\n"));
    corpus.AddOutputFile("a.plx");
    CHandlers handlers;
    COptionSheet sheet(corpus, handlers, COptionSheet::kPageSgml);
    sheet.SgmlPage()->ScanButton()->click();
    QCOMPARE(sheet.SgmlPage()->TagList()->count(), 1);

    const std::string missing = dir.filePath(QStringLiteral("missing.sgml")).toStdString();
    corpus.AddInputFile(missing);
    corpus.AddOutputFile("m.plx");
    COptionSheet second(corpus, handlers, COptionSheet::kPageSgml);
    second.SgmlPage()->ScanButton()->click();
    QCOMPARE(catcher.messages.size(), 1);
    QVERIFY(catcher.messages[0].contains(QString::fromStdString(missing)));
    QCOMPARE(second.SgmlPage()->TagList()->count(), 1);
}

void OptionPagesTest::okStoresThePagesInOrder()
{
    // The type's side effects come first, so that the pages win over them:
    // the FIXED page's range for the Fixed type, the page's diacritics for
    // PPCME2-like types; the reference corpora keep their ranges whatever
    // the FIXED page held.
    CCorpus corpus;
    CHandlers handlers;
    {
        COptionSheet sheet(corpus, handlers, COptionSheet::kPageType);
        ChooseType(sheet, kTypeFixed);
        Show(sheet, COptionSheet::kPageFixed);
        sheet.FixedPage()->StartEdit()->SetText(QStringLiteral("2"));
        sheet.FixedPage()->EndEdit()->SetText(QStringLiteral("7"));
        sheet.accept();
        sheet.StoreInto(corpus);
    }
    QCOMPARE(corpus.GetCorpusType(), int(kTypeFixed));
    QCOMPARE(corpus.GetInfoStart(), 2);
    QCOMPARE(corpus.GetInfoEnd(), 7);
    {
        COptionSheet sheet(corpus, handlers, COptionSheet::kPageType);
        ChooseType(sheet, kTypeBrown);
        sheet.accept();
        sheet.StoreInto(corpus);
    }
    QCOMPARE(corpus.GetInfoStart(), 1);
    QCOMPARE(corpus.GetInfoEnd(), 9);
    {
        COptionSheet sheet(corpus, handlers, COptionSheet::kPageType);
        ChooseType(sheet, kTypePpcme2);
        sheet.accept();
        sheet.StoreInto(corpus);
    }
    QCOMPARE(corpus.diacritics, std::string());
}

void OptionPagesTest::cocoaPageNamesAndOffersTheValuesOfTheType_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("letter");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QStringList>("offered");
    QTest::newRow("COCOA: letters, free text") << int(kTypeCocoa) << 3 << "D" << QStringList{};
    QTest::newRow("Scots D") << int(kTypeHelsinkiScots) << 3 << "D dialect"
                             << QStringList{"CSC", "NSC", "X"};
    QTest::newRow("CEECS D") << int(kTypeCeecs) << 3 << "D dialect" << QStringList{};
    QTest::newRow("Helsinki X") << int(kTypeHelsinki) << 23 << "X sex of author"
                                << QStringList{"MALE", "FEMALE", "X"};
    QTest::newRow("Helsinki L has no name") << int(kTypeHelsinki) << 11 << "L " << QStringList{};
    QTest::newRow("Helsinki G") << int(kTypeHelsinki) << 6 << "G relationship to foreign orignial"
                                << QStringList{"GLOSS", "TRANSL", "X"};
}

void OptionPagesTest::cocoaPageNamesAndOffersTheValuesOfTheType()
{
    QFETCH(int, type);
    QFETCH(int, letter);
    QFETCH(QString, entry);
    QFETCH(QStringList, offered);
    CCorpus corpus;
    corpus.SetCorpusType(type);
    CHandlers handlers;
    COptionSheet sheet(corpus, handlers, COptionSheet::kPageCocoa);
    CPageCOCOA* page = sheet.CocoaPage();
    QCOMPARE(page->ParameterList()->item(letter)->text(), entry);
    page->ParameterList()->setCurrentRow(letter);
    Focus(page->SelectBox(), QEvent::FocusIn);
    QStringList items;
    for (int i = 0; i < page->SelectBox()->count(); ++i) {
        items.append(page->SelectBox()->itemText(i));
    }
    QCOMPARE(items, offered);
    QCOMPARE(page->ScanButton()->isEnabled(), type != kTypeCocoa);
}

void OptionPagesTest::cocoaScanAddsTheValuesFoundAfterTheKnownOnes()
{
    QTemporaryDir dir;
    CCorpus corpus;
    corpus.SetCorpusType(kTypeHelsinki);
    corpus.AddInputFile(WriteFile(dir, "a.txt", "<A SMITH JOHN><X MALE>text\n<X UNKNOWN>more\n"));
    corpus.AddOutputFile("a.plx");
    CHandlers handlers;
    COptionSheet sheet(corpus, handlers, COptionSheet::kPageCocoa);
    CPageCOCOA* page = sheet.CocoaPage();
    page->ScanButton()->click();
    QCOMPARE(page->ValuesOffered(0), (std::vector<std::string>{"SMITH JOHN"}));
    QCOMPARE(page->ValuesOffered(23), (std::vector<std::string>{"MALE", "FEMALE", "X", "UNKNOWN"}));
    // The values found stay with the handler for the next opening.
    COptionSheet again(corpus, handlers, COptionSheet::kPageCocoa);
    QCOMPARE(again.CocoaPage()->ValuesOffered(0), (std::vector<std::string>{"SMITH JOHN"}));
}

void OptionPagesTest::helsinkiSwitchesGoIntoTheHandler()
{
    CCorpus corpus;
    corpus.SetCorpusType(kTypeHelsinki);
    CHandlers handlers;
    COptionSheet sheet(corpus, handlers, COptionSheet::kPageHelsinki);
    CPageHelsinki* page = sheet.HelsinkiPage();
    QCOMPARE(page->LevelCheck(0)->text(),
             QStringLiteral("(^.....^) = font other than the basic font"));
    QCOMPARE(page->LevelCheck(4)->text(), QStringLiteral("[\\.....\\] = editor's comment"));
    QCOMPARE(page->LevelCheck(6)->text(), QStringLiteral("[}.....}] = heading"));
    QCOMPARE(page->PennGroup()->title(), QStringLiteral("Penn"));
    QCOMPARE(page->UntagCheck()->text(), QStringLiteral("&Untag"));
    QCOMPARE(page->DeleteSwitches(), (std::array<int, 7>{0, 0, 0, 0, 1, 1, 1}));
    QVERIFY(!page->UntagCheck()->isEnabled());
    page->LevelCheck(0)->click();
    page->LevelCheck(6)->click();
    sheet.accept();
    sheet.StoreInto(corpus);
    QCOMPARE(handlers.Helsinki().DeleteSwitches(), (std::array<int, 7>{1, 0, 0, 0, 1, 1, 0}));
    // The same switches go to the Penn handler, which keeps its own copy.
    QCOMPARE(handlers.Penn().DeleteSwitches(), (std::array<int, 7>{1, 0, 0, 0, 1, 1, 0}));

    // "Untag" is a switch of the Penn handler, set for PPCME1.
    corpus.SetCorpusType(kTypePpcme1);
    COptionSheet penn(corpus, handlers, COptionSheet::kPageHelsinki);
    QVERIFY(penn.HelsinkiPage()->UntagCheck()->isEnabled());
    QVERIFY(!penn.HelsinkiPage()->UntagCheck()->isChecked());
    penn.HelsinkiPage()->UntagCheck()->click();
    penn.accept();
    penn.StoreInto(corpus);
    QCOMPARE(handlers.Penn().UntagSwitch(), 1);
    COptionSheet again(corpus, handlers, COptionSheet::kPageHelsinki);
    QVERIFY(again.HelsinkiPage()->UntagCheck()->isChecked());
}

void OptionPagesTest::iceSpeakerTakesOneLetterUpperCased()
{
    MessageCatcher catcher;
    CCorpus corpus;
    corpus.SetCorpusType(kTypeIce);
    CHandlers handlers;
    COptionSheet sheet(corpus, handlers, COptionSheet::kPageIce);
    CPageICE* page = sheet.IcePage();
    page->SpeakerEdit()->setText(QStringLiteral("ab"));
    Show(sheet, COptionSheet::kPageType);
    QCOMPARE(sheet.Tabs()->currentIndex(), int(COptionSheet::kPageIce));
    QCOMPARE(catcher.messages, QStringList{"Please enter no more than 1 characters."});
    page->SpeakerEdit()->setText(QStringLiteral("b"));
    sheet.accept();
    QCOMPARE(sheet.result(), int(QDialog::Accepted));
    sheet.StoreInto(corpus);
    QCOMPARE(corpus.iceSpeaker, std::string("B"));
}

void OptionPagesTest::iceAndBncPagesStoreTheirValues()
{
    CCorpus corpus;
    corpus.SetCorpusType(kTypeIce);
    corpus.bncPosOutput = 1;
    CHandlers handlers;
    COptionSheet sheet(corpus, handlers, COptionSheet::kPageIce);
    CPageICE* page = sheet.IcePage();
    QCOMPARE(page->FunctionBox()->count(), 93);
    QCOMPARE(page->CategoryBox()->count(), 93);
    QCOMPARE(page->FeatureBox()->count(), 71);
    page->FunctionCheck()->click();
    page->FeatureCheck()->click();
    page->FunctionBox()->setEditText(QStringLiteral("NPHD"));
    page->FeatureBox()->setEditText(QStringLiteral("sing"));
    page->IgnoredCheck()->click();
    page->OverlapCheck()->click();
    page->SubtextEdit()->setText(QStringLiteral("2"));
    // The BNC page's values are kept whatever the type (its controls are
    // disabled for ICE, so they are set directly).
    Show(sheet, COptionSheet::kPageBnc);
    sheet.BncPage()->FormatGroup()->button(3)->setChecked(true);
    sheet.BncPage()->PosOutputCheck()->setChecked(false);
    sheet.accept();
    sheet.StoreInto(corpus);
    QCOMPARE(corpus.iceFunctionOn, 1);
    QCOMPARE(corpus.iceCategoryOn, 0);
    QCOMPARE(corpus.iceFeatureOn, 1);
    QCOMPARE(corpus.iceFunction, std::string("NPHD"));
    QCOMPARE(corpus.iceFeature, std::string("sing"));
    QCOMPARE(corpus.iceIgnored, 1);
    QCOMPARE(corpus.iceAddition, 0);
    QCOMPARE(corpus.iceOverlap, 1);
    QCOMPARE(corpus.iceSubtext, std::string("2"));
    QCOMPARE(corpus.bncFormat, 3);
    QCOMPARE(corpus.bncPosOutput, 0);
}

void OptionPagesTest::parsedCorpusPagesListTheirLabelsAndStoreTheTargets()
{
    CCorpus corpus;
    corpus.SetCorpusType(kTypePpcme2);
    CHandlers handlers;
    COptionSheet sheet(corpus, handlers, COptionSheet::kPagePpcme2);
    CPagePPCME2* ppcme2 = sheet.Ppcme2Page();
    QCOMPARE(ppcme2->NodeBox()->count(), int(CPPCME2::labelTable.size()));
    QCOMPARE(ppcme2->PosBox()->count(), int(CPPCME2::posTable.size()));
    // The node list is sorted; the part-of-speech list keeps the table's order.
    for (int i = 1; i < ppcme2->NodeBox()->count(); ++i) {
        QVERIFY(ppcme2->NodeBox()->itemText(i - 1) <= ppcme2->NodeBox()->itemText(i));
    }
    QCOMPARE(ppcme2->PosBox()->itemText(0),
             QString::fromLatin1(CPPCME2::posTable[0].data(), int(CPPCME2::posTable[0].size())));
    QCOMPARE(sheet.BrooklynPage()->NodeBox()->count(), int(CBrooklyn::nodeLabels.size()));
    ppcme2->NodeBox()->setEditText(QStringLiteral("NP-SBJ"));
    ppcme2->PosBox()->setEditText(QStringLiteral("N"));
    sheet.BrooklynPage()->NodeBox()->setEditText(QStringLiteral("nn"));
    sheet.accept();
    sheet.StoreInto(corpus);
    QCOMPARE(corpus.ppcme2Node, std::string("NP-SBJ"));
    QCOMPARE(corpus.ppcme2Pos, std::string("N"));
    QCOMPARE(corpus.brooklynNode, std::string("nn"));
}

QTEST_MAIN(OptionPagesTest)
#include "option_pages_test.moc"
