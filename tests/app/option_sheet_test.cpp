// The corpus options sheet with its "Corpus Files" and "Type" pages: the tree
// and its buttons, the working copy kept across tabs, the Type page's
// diacritics and line-range rules, and what OK and Cancel leave in the record.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <clocale>
#include <functional>

#include "corpora/dispatch.h"
#include "settings/corpus.h"
#include "settings/ui/dialog_message.h"
#include "settings/ui/number_edit.h"
#include "settings/ui/option_sheet.h"
#include "settings/ui/page_corpus.h"
#include "settings/ui/page_type.h"

using namespace plix;

namespace {

// The handlers the sheet shows and scans with; one set for the whole suite.
CHandlers& Handlers()
{
    static CHandlers handlers;
    return handlers;
}

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

// Answers the page's file dialogs with prepared names and notes how it was asked.
class FakeChooser : public CCorpusFileChooser
{
public:
    QStringList OpenFiles(QWidget*, const QString& title, const QString& filter) override
    {
        titles.append(title);
        filters.append(filter);
        return toOpen;
    }
    QString SaveFile(QWidget*, const QString& title, const QString& initial,
                     const QString& filter) override
    {
        titles.append(title);
        filters.append(filter);
        initials.append(initial);
        return toSave;
    }

    QStringList toOpen;
    QString toSave;
    QStringList titles;
    QStringList filters;
    QStringList initials;
};

// The tree as text: each corpus file, with its output path after ">".
QStringList TreeText(const QTreeWidget* tree)
{
    QStringList lines;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* root = tree->topLevelItem(i);
        QString line = root->text(0);
        for (int c = 0; c < root->childCount(); ++c) {
            line += QStringLiteral(" > ") + root->child(c)->text(0);
        }
        lines.append(line);
    }
    return lines;
}

CCorpus RecordWithTwoFiles()
{
    CCorpus corpus;
    corpus.AddInputFile("/c/one.txt");
    corpus.AddOutputFile("/c/one.plx");
    corpus.AddInputFile("/c/two.txt");
    corpus.AddOutputFile("/out/two.res");
    return corpus;
}

void Leave(QWidget* field)
{
    QFocusEvent event(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(field, &event);
}

void ChooseType(CPageType* page, int code)
{
    page->TypeBox()->setCurrentIndex(code);
    emit page->TypeBox()->activated(code);
}

void WhenSheetShown(std::function<void(COptionSheet*)> act)
{
    QTimer::singleShot(0, [act]() {
        auto* sheet = qobject_cast<COptionSheet*>(QApplication::activeModalWidget());
        QVERIFY(sheet != nullptr);
        act(sheet);
    });
}

}  // namespace

class OptionSheetTest : public QObject
{
    Q_OBJECT

private slots:
    void sheetHasItsPagesInTabOrderAndOpensOnTheOneAsked();
    void addAppendsFilesWithTheirOutputPaths();
    void removeTakesOnlyCorpusFiles_data();
    void removeTakesOnlyCorpusFiles();
    void editIsEnabledOnlyForOutputPathsWhenWritingFiles_data();
    void editIsEnabledOnlyForOutputPathsWhenWritingFiles();
    void outputAsFilesExpandsAndCollapses();
    void editReplacesTheOutputPath();
    void switchingTabsKeepsTheList();
    void cancelLeavesTheRecordAsItWas();
    void okStoresTheListAndTheSwitches();

    void typePageShowsTheRecord();
    void choosingATypeAdjustsTheDiacritics_data();
    void choosingATypeAdjustsTheDiacritics();
    void pageDiacriticsWinOverTheTypes();
    void referenceCorporaGetTheirFixedRange();
    void leavingALineFieldKeepsTheRangeInOrder_data();
    void leavingALineFieldKeepsTheRangeInOrder();
    void unreadableLineKeepsTheUserOnThePage();
    void okStoresTheTypePageInTheRecord();
    void utf8BoxShowsAndStoresTheSwitch();
};

void OptionSheetTest::sheetHasItsPagesInTabOrderAndOpensOnTheOneAsked()
{
    for (int first : {0, 1}) {
        CCorpus corpus;
        COptionSheet sheet(corpus, Handlers(), first);
        QCOMPARE(sheet.windowTitle(), QStringLiteral("Corpus Options"));
        QStringList tabs;
        for (int i = 0; i < sheet.Tabs()->count(); ++i) {
            tabs.append(sheet.Tabs()->tabText(i));
        }
        QCOMPARE(tabs, (QStringList{"Corpus Files", "Type", "COCOA", "SGML", "FIXED", "Helsinki",
                                "PPCME2", "Brooklyn", "ICE", "BNC"}));
        QCOMPARE(sheet.Tabs()->currentIndex(), first);
        auto* buttons = sheet.findChild<QDialogButtonBox*>();
        QVERIFY(buttons != nullptr);
        QVERIFY(buttons->button(QDialogButtonBox::Ok) != nullptr);
        QVERIFY(buttons->button(QDialogButtonBox::Cancel) != nullptr);
        QVERIFY(buttons->button(QDialogButtonBox::Apply) == nullptr);
    }
}

void OptionSheetTest::addAppendsFilesWithTheirOutputPaths()
{
    CCorpus corpus = RecordWithTwoFiles();
    COptionSheet sheet(corpus, Handlers(), COptionSheet::kPageCorpus);
    FakeChooser chooser;
    chooser.toOpen = {"/d/a.txt", "/d/b.txt", "/d/README"};
    CPageCorpus* page = sheet.CorpusPage();
    page->SetFileChooser(&chooser);
    page->AddButton()->click();
    QCOMPARE(
        TreeText(page->Tree()),
        (QStringList{"/c/one.txt > /c/one.plx", "/c/two.txt > /out/two.res", "/d/a.txt > /d/a.plx",
                     "/d/b.txt > /d/b.plx", "/d/README > /d/README.plx"}));
    QCOMPARE(chooser.titles, QStringList{QStringLiteral(u"開く－コーパスファイル設定")});
    QVERIFY(chooser.filters.front().startsWith(QStringLiteral("All Files (")));
    QVERIFY(chooser.filters.front().contains(QStringLiteral("Text Files (*.txt)")));
    QVERIFY(!page->Tree()->topLevelItem(2)->isExpanded());

    // Cancel in the file dialog adds nothing.
    chooser.toOpen.clear();
    page->AddButton()->click();
    QCOMPARE(page->Tree()->topLevelItemCount(), 5);
}

void OptionSheetTest::removeTakesOnlyCorpusFiles_data()
{
    QTest::addColumn<int>("root");   // -1: nothing selected
    QTest::addColumn<int>("child");  // -1: the root itself
    QTest::addColumn<QStringList>("after");

    const QStringList both = {"/c/one.txt > /c/one.plx", "/c/two.txt > /out/two.res"};
    QTest::newRow("nothing selected") << -1 << -1 << both;
    QTest::newRow("an output path") << 1 << 0 << both;
    QTest::newRow("the first corpus file") << 0 << -1 << QStringList{"/c/two.txt > /out/two.res"};
    QTest::newRow("the second corpus file") << 1 << -1 << QStringList{"/c/one.txt > /c/one.plx"};
}

void OptionSheetTest::removeTakesOnlyCorpusFiles()
{
    QFETCH(int, root);
    QFETCH(int, child);
    QFETCH(QStringList, after);
    CCorpus corpus = RecordWithTwoFiles();
    COptionSheet sheet(corpus, Handlers(), COptionSheet::kPageCorpus);
    CPageCorpus* page = sheet.CorpusPage();
    if (root >= 0) {
        QTreeWidgetItem* item = page->Tree()->topLevelItem(root);
        if (child >= 0) {
            item = item->child(child);
        }
        item->setSelected(true);
    }
    page->RemoveButton()->click();
    QCOMPARE(TreeText(page->Tree()), after);
}

void OptionSheetTest::editIsEnabledOnlyForOutputPathsWhenWritingFiles_data()
{
    QTest::addColumn<bool>("toFiles");
    QTest::addColumn<int>("child");  // -1: the corpus file is selected
    QTest::addColumn<bool>("enabled");

    QTest::newRow("files, output path") << true << 0 << true;
    QTest::newRow("files, corpus file") << true << -1 << false;
    QTest::newRow("window, output path") << false << 0 << false;
    QTest::newRow("window, corpus file") << false << -1 << false;
}

void OptionSheetTest::editIsEnabledOnlyForOutputPathsWhenWritingFiles()
{
    QFETCH(bool, toFiles);
    QFETCH(int, child);
    QFETCH(bool, enabled);
    CCorpus corpus = RecordWithTwoFiles();
    corpus.SetOutputAsFiles(toFiles);
    COptionSheet sheet(corpus, Handlers(), COptionSheet::kPageCorpus);
    CPageCorpus* page = sheet.CorpusPage();
    // On opening the button follows the box alone.
    QCOMPARE(page->EditButton()->isEnabled(), toFiles);
    QTreeWidgetItem* item = page->Tree()->topLevelItem(1);
    item->setSelected(true);
    if (child >= 0) {
        item->setSelected(false);
        item->child(child)->setSelected(true);
    }
    QCOMPARE(page->EditButton()->isEnabled(), enabled);
}

void OptionSheetTest::outputAsFilesExpandsAndCollapses()
{
    CCorpus corpus = RecordWithTwoFiles();
    COptionSheet sheet(corpus, Handlers(), COptionSheet::kPageCorpus);
    sheet.show();
    CPageCorpus* page = sheet.CorpusPage();
    QCOMPARE(page->OutputAsFilesCheck()->text(), QStringLiteral("To Output as &Files"));
    QCOMPARE(page->AsWholeCheck()->text(), QStringLiteral("As a &Whole"));
    QVERIFY(!page->EditButton()->isEnabled());
    for (bool ticked : {true, false, true}) {
        page->OutputAsFilesCheck()->click();
        QCOMPARE(page->OutputAsFilesCheck()->isChecked(), ticked);
        for (int i = 0; i < page->Tree()->topLevelItemCount(); ++i) {
            QCOMPARE(page->Tree()->topLevelItem(i)->isExpanded(), ticked);
        }
        QCOMPARE(page->EditButton()->isEnabled(), ticked);
    }

    // With an empty tree the button stays as it was.
    CCorpus empty;
    COptionSheet emptySheet(empty, Handlers(), COptionSheet::kPageCorpus);
    CPageCorpus* emptyPage = emptySheet.CorpusPage();
    emptyPage->EditButton()->setEnabled(false);
    emptyPage->OutputAsFilesCheck()->click();
    QVERIFY(!emptyPage->EditButton()->isEnabled());
}

void OptionSheetTest::editReplacesTheOutputPath()
{
    CCorpus corpus = RecordWithTwoFiles();
    corpus.SetOutputAsFiles(1);
    COptionSheet sheet(corpus, Handlers(), COptionSheet::kPageCorpus);
    CPageCorpus* page = sheet.CorpusPage();
    FakeChooser chooser;
    page->SetFileChooser(&chooser);

    // Enabled with nothing selected right after opening, but there is nothing to edit.
    page->EditButton()->click();
    QVERIFY(chooser.titles.isEmpty());

    page->Tree()->topLevelItem(1)->child(0)->setSelected(true);
    page->EditButton()->click();  // cancelled
    QCOMPARE(chooser.titles, QStringList{"Save an Output As ... - Corpus Settings"});
    QCOMPARE(chooser.initials, QStringList{"/out/two.res"});
    QCOMPARE(TreeText(page->Tree()).at(1), QStringLiteral("/c/two.txt > /out/two.res"));

    chooser.toSave = QStringLiteral("/elsewhere/chosen.out");
    page->EditButton()->click();
    QCOMPARE(TreeText(page->Tree()),
             (QStringList{"/c/one.txt > /c/one.plx", "/c/two.txt > /elsewhere/chosen.out"}));
    QVERIFY(sheet.Tabs()->currentIndex() == 0);
    sheet.accept();
    sheet.StoreInto(corpus);
    QCOMPARE(corpus.outputFiles, (std::vector<std::string>{"/c/one.plx", "/elsewhere/chosen.out"}));
}

void OptionSheetTest::switchingTabsKeepsTheList()
{
    CCorpus corpus = RecordWithTwoFiles();
    COptionSheet sheet(corpus, Handlers(), COptionSheet::kPageCorpus);
    CPageCorpus* page = sheet.CorpusPage();
    FakeChooser chooser;
    chooser.toOpen = {"/d/a.txt"};
    page->SetFileChooser(&chooser);
    page->AddButton()->click();
    page->Tree()->topLevelItem(0)->setSelected(true);
    page->RemoveButton()->click();
    const QStringList shown = TreeText(page->Tree());

    sheet.Tabs()->setCurrentIndex(COptionSheet::kPageType);
    // The page left its list in the working copy and emptied its tree.
    QCOMPARE(page->Tree()->topLevelItemCount(), 0);
    QCOMPARE(sheet.State().inputFiles, (std::vector<std::string>{"/c/two.txt", "/d/a.txt"}));
    QCOMPARE(sheet.State().outputFiles, (std::vector<std::string>{"/out/two.res", "/d/a.plx"}));

    sheet.Tabs()->setCurrentIndex(COptionSheet::kPageCorpus);
    QCOMPARE(TreeText(page->Tree()), shown);
}

void OptionSheetTest::cancelLeavesTheRecordAsItWas()
{
    CCorpus corpus = RecordWithTwoFiles();
    FakeChooser chooser;
    chooser.toOpen = {"/d/a.txt", "/d/b.txt"};
    WhenSheetShown([&chooser](COptionSheet* sheet) {
        CPageCorpus* page = sheet->CorpusPage();
        page->SetFileChooser(&chooser);
        page->AddButton()->click();
        page->OutputAsFilesCheck()->click();
        page->AsWholeCheck()->click();
        ChooseType(sheet->TypePage(), kTypeBrown);
        sheet->reject();
    });
    QVERIFY(!OptionsDialog(corpus, Handlers(), 0, nullptr));
    QCOMPARE(corpus.GetFileCount(), 2);
    QCOMPARE(corpus.inputFiles, (std::vector<std::string>{"/c/one.txt", "/c/two.txt"}));
    QCOMPARE(corpus.outputFiles, (std::vector<std::string>{"/c/one.plx", "/out/two.res"}));
    QCOMPARE(corpus.GetOutputAsFiles(), 0);
    QCOMPARE(corpus.GetAsWhole(), 0);
    QCOMPARE(corpus.GetCorpusType(), int(kTypeText));
}

void OptionSheetTest::okStoresTheListAndTheSwitches()
{
    CCorpus corpus = RecordWithTwoFiles();
    FakeChooser chooser;
    chooser.toOpen = {"/d/a.txt", "/d/b.txt"};
    WhenSheetShown([&chooser](COptionSheet* sheet) {
        CPageCorpus* page = sheet->CorpusPage();
        page->SetFileChooser(&chooser);
        page->Tree()->topLevelItem(0)->setSelected(true);
        page->RemoveButton()->click();
        page->AddButton()->click();
        page->OutputAsFilesCheck()->click();
        page->AsWholeCheck()->click();
        sheet->accept();
    });
    QVERIFY(OptionsDialog(corpus, Handlers(), 0, nullptr));
    QCOMPARE(corpus.GetFileCount(), 3);
    QCOMPARE(corpus.inputFiles, (std::vector<std::string>{"/c/two.txt", "/d/a.txt", "/d/b.txt"}));
    QCOMPARE(corpus.outputFiles,
             (std::vector<std::string>{"/out/two.res", "/d/a.plx", "/d/b.plx"}));
    QCOMPARE(corpus.GetOutputAsFiles(), 1);
    QCOMPARE(corpus.GetAsWhole(), 1);
}

void OptionSheetTest::typePageShowsTheRecord()
{
    CCorpus corpus;
    corpus.SetCorpusType(kTypeIce);
    corpus.diacritics = "-'";
    corpus.startLine = 3;
    corpus.endLine = 12;
    corpus.language = "German";
    corpus.countNumbers = 0;
    COptionSheet sheet(corpus, Handlers(), COptionSheet::kPageType);
    CPageType* page = sheet.TypePage();
    QCOMPARE(page->TypeBox()->count(), kCorpusTypeCount);
    for (int code = 0; code < kCorpusTypeCount; ++code) {
        QCOMPARE(page->TypeBox()->itemText(code),
                 QString::fromLatin1(CorpusTypeNames()[static_cast<size_t>(code)]));
    }
    QCOMPARE(page->TypeBox()->currentText(), QStringLiteral("ICE"));
    QCOMPARE(page->DiacriticsEdit()->text(), QStringLiteral("-'"));
    QCOMPARE(page->FromEdit()->text(), QStringLiteral("3"));
    QCOMPARE(page->ToEdit()->text(), QStringLiteral("12"));
    QVERIFY(!page->CountNumbersCheck()->isChecked());
    QVERIFY(page->IgnoreCaseCheck()->isChecked());
    QCOMPARE(page->CountNumbersCheck()->text(), QStringLiteral("Count &Number"));
    QCOMPARE(page->IgnoreCaseCheck()->text(), QStringLiteral("Ignore &Case"));
    QCOMPARE(sheet.State().currentCorpusType, int(kTypeIce));

    QStringList locales;
    for (int i = 0; i < page->LocaleBox()->count(); ++i) {
        locales.append(page->LocaleBox()->itemText(i));
    }
    QCOMPARE(locales, (QStringList{"ASCII", "Danish", "Dutch", "English", "French", "German",
                                   "Icelandic", "Italian", "Japanese", "Norwegian", "Polish",
                                   "Portuguese", "Spanish", "Swedish", "System"}));
    QCOMPARE(page->LocaleBox()->currentText(), QStringLiteral("German"));
}

void OptionSheetTest::choosingATypeAdjustsTheDiacritics_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QList<int>>("chosen");
    QTest::addColumn<QString>("after");

    const QString h = QStringLiteral("&+=~`");
    QTest::newRow("Helsinki, empty") << "" << QList<int>{kTypeHelsinki} << h;
    QTest::newRow("Helsinki, ab") << "ab" << QList<int>{kTypeHelsinki} << "ab" + h;
    QTest::newRow("Helsinki twice, ab")
        << "ab" << QList<int>{kTypeHelsinki, kTypeHelsinki} << "ab" + h + h;
    QTest::newRow("Helsinki, already") << h << QList<int>{kTypeHelsinki} << h;
    QTest::newRow("PPCME1, ab") << "ab" << QList<int>{kTypePpcme1} << "ab" + h;
    QTest::newRow("Scots, empty") << "" << QList<int>{kTypeHelsinkiScots} << h;
    QTest::newRow("Scots, ab") << "ab" << QList<int>{kTypeHelsinkiScots} << "ab";
    QTest::newRow("CEECS, ab") << "ab" << QList<int>{kTypeCeecs} << "ab";
    QTest::newRow("PPCME2, empty") << "" << QList<int>{kTypePpcme2} << "";
    QTest::newRow("York-Toronto-Helsinki, empty")
        << "" << QList<int>{kTypeYorkTorontoHelsinki} << "";
    QTest::newRow("Text, ab") << "ab" << QList<int>{kTypeText} << "ab";
}

void OptionSheetTest::choosingATypeAdjustsTheDiacritics()
{
    QFETCH(QString, before);
    QFETCH(QList<int>, chosen);
    QFETCH(QString, after);
    CCorpus corpus;
    COptionSheet sheet(corpus, Handlers(), COptionSheet::kPageType);
    CPageType* page = sheet.TypePage();
    page->DiacriticsEdit()->setText(before);
    for (int code : chosen) {
        ChooseType(page, code);
        QCOMPARE(sheet.State().currentCorpusType, code);
    }
    QCOMPARE(page->DiacriticsEdit()->text(), after);
}

void OptionSheetTest::pageDiacriticsWinOverTheTypes()
{
    CCorpus corpus;
    COptionSheet sheet(corpus, Handlers(), COptionSheet::kPageType);
    ChooseType(sheet.TypePage(), kTypePpcme2);
    QCOMPARE(sheet.TypePage()->DiacriticsEdit()->text(), QString());
    sheet.accept();
    sheet.StoreInto(corpus);
    QCOMPARE(corpus.GetCorpusType(), int(kTypePpcme2));
    QCOMPARE(corpus.diacritics, std::string());
}

void OptionSheetTest::referenceCorporaGetTheirFixedRange()
{
    struct Case
    {
        int type;
        int start, end;
    };
    for (const Case k : {Case{kTypeBrown, 1, 9}, Case{kTypeLob, 1, 8}, Case{kTypeFrown, 1, 8},
                         Case{kTypeFixed, 4, 17}}) {
        CCorpus corpus;
        corpus.SetInfoRange(4, 17);
        COptionSheet sheet(corpus, Handlers(), COptionSheet::kPageType);
        ChooseType(sheet.TypePage(), k.type);
        sheet.accept();
        sheet.StoreInto(corpus);
        QCOMPARE(corpus.GetInfoStart(), k.start);
        QCOMPARE(corpus.GetInfoEnd(), k.end);
    }
}

void OptionSheetTest::leavingALineFieldKeepsTheRangeInOrder_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<bool>("leaveTo");  // false: leave "from"
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("fromAfter");
    QTest::addColumn<QString>("toAfter");

    const QString end = QStringLiteral("the end line shoud be bigger than the start line");
    const QString start = QStringLiteral("the start line shoud be bigger than the end line");
    QTest::newRow("to below from") << "10"
                                   << "5" << true << end << "10"
                                   << "10";
    QTest::newRow("from above to") << "10"
                                   << "5" << false << start << "0"
                                   << "5";
    QTest::newRow("from with open end") << "10"
                                        << "0" << false << ""
                                        << "10"
                                        << "0";
    QTest::newRow("to of 0 below from") << "10"
                                        << "0" << true << end << "10"
                                        << "10";
    QTest::newRow("in order") << "3"
                              << "12" << true << ""
                              << "3"
                              << "12";
    QTest::newRow("equal") << "7"
                           << "7" << false << ""
                           << "7"
                           << "7";
    QTest::newRow("not a number") << "x"
                                  << "5" << true << "Please enter a positive integer."
                                  << "x"
                                  << "5";
}

void OptionSheetTest::leavingALineFieldKeepsTheRangeInOrder()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(bool, leaveTo);
    QFETCH(QString, message);
    QFETCH(QString, fromAfter);
    QFETCH(QString, toAfter);
    MessageCatcher catcher;
    CCorpus corpus;
    COptionSheet sheet(corpus, Handlers(), COptionSheet::kPageType);
    CPageType* page = sheet.TypePage();
    page->FromEdit()->setText(from);
    page->ToEdit()->setText(to);
    Leave(leaveTo ? static_cast<QWidget*>(page->ToEdit()) : page->FromEdit());
    QCOMPARE(catcher.messages, message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(page->FromEdit()->text(), fromAfter);
    QCOMPARE(page->ToEdit()->text(), toAfter);
}

void OptionSheetTest::unreadableLineKeepsTheUserOnThePage()
{
    MessageCatcher catcher;
    CCorpus corpus;
    COptionSheet sheet(corpus, Handlers(), COptionSheet::kPageType);
    sheet.show();
    sheet.TypePage()->ToEdit()->setText(QString());
    sheet.Tabs()->setCurrentIndex(COptionSheet::kPageCorpus);
    QCOMPARE(sheet.Tabs()->currentIndex(), int(COptionSheet::kPageType));
    sheet.accept();
    QVERIFY(sheet.isVisible());
    QCOMPARE(catcher.messages, QStringList(2, QStringLiteral("Please enter a positive integer.")));

    sheet.TypePage()->ToEdit()->setText(QStringLiteral("40"));
    sheet.Tabs()->setCurrentIndex(COptionSheet::kPageCorpus);
    QCOMPARE(sheet.Tabs()->currentIndex(), int(COptionSheet::kPageCorpus));
}

void OptionSheetTest::okStoresTheTypePageInTheRecord()
{
    CCorpus corpus;
    WhenSheetShown([](COptionSheet* sheet) {
        QCOMPARE(sheet->Tabs()->currentIndex(), int(COptionSheet::kPageType));
        CPageType* page = sheet->TypePage();
        page->DiacriticsEdit()->setText(QStringLiteral("ab"));
        ChooseType(page, kTypeHelsinki);
        page->FromEdit()->setText(QStringLiteral("5"));
        page->ToEdit()->setText(QStringLiteral("50"));
        page->LocaleBox()->setCurrentIndex(page->LocaleBox()->findText(QStringLiteral("ASCII")));
        page->CountNumbersCheck()->click();
        page->IgnoreCaseCheck()->click();
        sheet->accept();
    });
    QVERIFY(OptionsDialog(corpus, Handlers(), 1, nullptr));
    QCOMPARE(corpus.GetCorpusType(), int(kTypeHelsinki));
    QCOMPARE(corpus.diacritics, std::string("ab&+=~`"));
    QCOMPARE(corpus.GetStartLine(), 5);
    QCOMPARE(corpus.GetEndLine(), 50);
    QCOMPARE(corpus.GetLanguage(), std::string("ASCII"));
    QCOMPARE(corpus.countNumbers, 0);
    QCOMPARE(corpus.ignoreCase, 0);
    corpus.SetLanguage("System");
}

void OptionSheetTest::utf8BoxShowsAndStoresTheSwitch()
{
    for (int stored : {0, 1}) {
        CCorpus corpus;
        corpus.utf8Text = stored;
        {
            COptionSheet sheet(corpus, Handlers(), COptionSheet::kPageType);
            QCheckBox* box = sheet.TypePage()->Utf8Check();
            QCOMPARE(box->text(), QStringLiteral("&UTF-8 text"));
            QCOMPARE(box->isChecked(), stored == 1);
            // The note names the locale an entry gets.
            QVERIFY(box->toolTip().contains(QStringLiteral("German: de_DE.UTF-8")));
        }
        WhenSheetShown([](COptionSheet* sheet) {
            CPageType* page = sheet->TypePage();
            page->Utf8Check()->click();
            page->LocaleBox()->setCurrentIndex(
                page->LocaleBox()->findText(QStringLiteral("German")));
            sheet->accept();
        });
        QVERIFY(OptionsDialog(corpus, Handlers(), 1, nullptr));
        QCOMPARE(corpus.utf8Text, 1 - stored);
        QCOMPARE(corpus.GetLanguage(), std::string("German"));
        QCOMPARE(QByteArray(setlocale(LC_CTYPE, nullptr)),
                 QByteArray(stored == 0 ? "de_DE.UTF-8" : "de_DE.ISO-8859-1"));
        corpus.utf8Text = 0;
        corpus.SetLanguage("System");
    }
}

QTEST_MAIN(OptionSheetTest)
#include "option_sheet_test.moc"
