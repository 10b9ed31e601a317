// The two menu bars, their entries with the shortcut labels, the accelerator
// table, the tool bar's order and the status-bar prompts.
#include <QtTest>

#include "app/app_fixture.h"
#include "app/icons.h"

#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

using namespace plix;
using test::AppFixture;

namespace {

QStringList VisibleTexts(const QList<QAction*>& actions)
{
    QStringList texts;
    for (QAction* action : actions) {
        if (action->isVisible() && !action->isSeparator()) {
            texts.append(action->text());
        }
    }
    return texts;
}

QMenu* FindMenu(CMainFrame* frame, const QString& title)
{
    for (QMenu* menu : frame->Menus()) {
        if (menu->title() == title) {
            return menu;
        }
    }
    return nullptr;
}

QMenu* FindSubmenu(QMenu* menu, const QString& title)
{
    for (QAction* action : menu->actions()) {
        if (action->menu() != nullptr && action->text() == title) {
            return action->menu();
        }
    }
    return nullptr;
}

void CloseAllWindows(AppFixture& fixture)
{
    fixture.Frame()->MdiArea()->closeAllSubWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    fixture.Frame()->UpdateCommandUI();
}

}  // namespace

class MenusTest : public QObject
{
    Q_OBJECT

private slots:
    void menuBars_data();
    void menuBars();
    void menuEntries_data();
    void menuEntries();
    void sortSubmenus();
    void acceleratorTable_data();
    void acceleratorTable();
    void toolBarOrder();
    void promptsAndToolTips_data();
    void promptsAndToolTips();
    void promptShowsInTheMessagePane();
    void everyButtonExplainsItself();
    void closeWindowKeys_data();
    void closeWindowKeys();
};

void MenusTest::menuBars_data()
{
    QTest::addColumn<bool>("withWindow");
    QTest::addColumn<QStringList>("menus");
    QTest::newRow("no result window")
        << false << QStringList{"&File", "&View", "Word&list", "&Concordance", "&Help"};
    QTest::newRow("a result window")
        << true
        << QStringList{"&File", "&Edit", "&View", "Word&list", "&Concordance", "&Sort", "&Quick", "&Window", "&Help"};
}

void MenusTest::menuBars()
{
    QFETCH(bool, withWindow);
    QFETCH(QStringList, menus);
    AppFixture fixture;
    if (!withWindow) {
        CloseAllWindows(fixture);
    }
    QCOMPARE(VisibleTexts(fixture.Frame()->menuBar()->actions()), menus);
}

void MenusTest::menuEntries_data()
{
    QTest::addColumn<bool>("withWindow");
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QStringList>("entries");

    QTest::newRow("File, no window")
        << false << "&File"
        << QStringList{"&Corpus Setup\tCtrl+D", "&New\tCtrl+N", "&Open...\tCtrl+O", "Corp&us Options\tCtrl+R",
                       "P&rint Setup...", "Recent File", "E&xit"};
    QTest::newRow("File, window")
        << true << "&File"
        << QStringList{"&Corpus Setup\tCtrl+D", "&New\tCtrl+N", "&Open...\tCtrl+O", "&Close", "&Save\tCtrl+S",
                       "Save &As...", "Corp&us Options\tCtrl+R", "&Print...\tCtrl+P", "Print Pre&view",
                       "P&rint Setup...", "Recent File", "E&xit"};
    QTest::newRow("Edit, window")
        << true << "&Edit"
        << QStringList{"&Undo\tCtrl+Z", "Cu&t\tCtrl+X", "&Copy\tCtrl+C", "&Paste\tCtrl+V", "Paste &Special...",
                       "Select A&ll\tCtrl+A", "&Find...\tCtrl+F", "F&ind Next\tF3", "R&eplace\tCtrl+H",
                       "Insert &New Object...", "Lin&ks...", "Object P&roperties\tAlt+Enter"};
    QTest::newRow("View, no window") << false << "&View" << QStringList{"&Toolbar", "&Status Bar"};
    QTest::newRow("View, window") << true << "&View"
                                  << QStringList{"&Toolbar",      "&Status Bar", "&Font...",
                                                 "&Jump\tCtrl+J", "Ta&g Jump",   "&Word Wrap"};
    QTest::newRow("Wordlist, no window")
        << false << "Word&list"
        << QStringList{
               "&Wordlist\tCtrl+L",   "&Backward List\tCtrl+T", "&Descending Wordlist\tCtrl+Q",
               "&Ascending Wordlist", "&Index\tCtrl+I",         "R&hyme Index",
               "List &Option ..."};
    // Every entry shows the key that runs it, in both menu bars.
    QTest::newRow("Wordlist, window")
        << true << "Word&list"
        << QStringList{
               "&Wordlist\tCtrl+L",   "&Backward List\tCtrl+T", "&Descending Wordlist\tCtrl+Q",
               "&Ascending Wordlist", "&Index\tCtrl+I",         "R&hyme Index",
               "List &Option ..."};
    const QStringList concordance{"&PLIX Concordance\tCtrl+K", "PLIX sort by &Left", "PLIX sort by &Right",
                                  "&Collocation\tCtrl+B", "Concordance &All", "PLIX &Format ...\tCtrl+M"};
    QTest::newRow("Concordance, no window") << false << "&Concordance" << concordance;
    QTest::newRow("Concordance, window") << true << "&Concordance" << concordance;
    QTest::newRow("Quick") << true << "&Quick" << QStringList{"Wordlist", "PLIX"};
    QTest::newRow("Window") << true << "&Window"
                            << QStringList{"&New Window", "&Cascade", "&Tile", "&Arrange Icons"};
    QTest::newRow("Help, no window")
        << false << "&Help" << QStringList{"&Help Topics\tF1", "&About plix..."};
    QTest::newRow("Help, window") << true << "&Help"
                                  << QStringList{"&Help Topics\tF1", "&About plix..."};
}

void MenusTest::menuEntries()
{
    QFETCH(bool, withWindow);
    QFETCH(QString, menu);
    QFETCH(QStringList, entries);
    AppFixture fixture;
    if (!withWindow) {
        CloseAllWindows(fixture);
    }
    QMenu* found = FindMenu(fixture.Frame(), menu);
    QVERIFY(found != nullptr);
    QCOMPARE(VisibleTexts(found->actions()), entries);
}

void MenusTest::sortSubmenus()
{
    AppFixture fixture;
    QMenu* sort = FindMenu(fixture.Frame(), QStringLiteral("&Sort"));
    QVERIFY(sort != nullptr);
    QCOMPARE(VisibleTexts(sort->actions()), (QStringList{"&List", "&Concordance"}));
    QCOMPARE(VisibleTexts(FindSubmenu(sort, QStringLiteral("&List"))->actions()),
             (QStringList{"&Alphabet", "&Frequency"}));
    QCOMPARE(VisibleTexts(FindSubmenu(sort, QStringLiteral("&Concordance"))->actions()),
             (QStringList{"&Keyword", "Sort by &Left", "Sort by &Right"}));
}

void MenusTest::acceleratorTable_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("command");
    const std::pair<const char*, Cmd> table[] = {
        {"Ctrl+A", Cmd::SelectAll},
        {"Ctrl+B", Cmd::Collocation},
        {"Ctrl+C", Cmd::Copy},
        {"Ctrl+D", Cmd::CorpusSetup},
        {"Ctrl+F", Cmd::Find},
        {"Ctrl+H", Cmd::Replace},
        {"Ctrl+I", Cmd::Index},
        {"Ctrl+J", Cmd::Jump},
        {"Ctrl+K", Cmd::Concordance},
        {"Ctrl+L", Cmd::Wordlist},
        {"Ctrl+M", Cmd::ConcordanceFormat},
        {"Ctrl+N", Cmd::New},
        {"Ctrl+O", Cmd::Open},
        {"Ctrl+P", Cmd::Print},
        {"Ctrl+Q", Cmd::DescendingWordlist},
        {"Ctrl+R", Cmd::CorpusOptions},
        {"Ctrl+S", Cmd::Save},
        {"Ctrl+T", Cmd::BackwardList},
        {"Ctrl+V", Cmd::Paste},
        {"Ctrl+Z", Cmd::Undo},
        {"Alt+Backspace", Cmd::Undo},
        {"Shift+Del", Cmd::Cut},
        {"Ctrl+Ins", Cmd::Copy},
        {"Shift+Ins", Cmd::Paste},
        {"F3", Cmd::FindNext},
        {"F6", Cmd::NextPane},
        {"Shift+F6", Cmd::PreviousPane},
        {"F1", Cmd::HelpTopics},
        {"Shift+F1", Cmd::ContextHelp},
        {"Alt+Return", Cmd::ObjectProperties},
        {"Ctrl+F4", Cmd::CloseWindow},
        {"Ctrl+W", Cmd::CloseWindow},
    };
    for (const auto& [key, command] : table) {
        QTest::newRow(key) << QString::fromLatin1(key) << static_cast<int>(command);
    }
}

void MenusTest::acceleratorTable()
{
    QFETCH(QString, key);
    QFETCH(int, command);
    AppFixture fixture;
    const QKeySequence wanted(key, QKeySequence::PortableText);
    // Exactly one command answers each key, in both menu bars.
    QList<Cmd> owners;
    for (const CommandInfo& info : CommandTable()) {
        for (QAction* accelerator : fixture.Frame()->Accelerators(info.id)) {
            if (accelerator->shortcuts().contains(wanted)) {
                owners.append(info.id);
            }
        }
    }
    QCOMPARE(owners, QList<Cmd>{static_cast<Cmd>(command)});
}

void MenusTest::toolBarOrder()
{
    AppFixture fixture;
    QStringList order;
    for (QAction* action : fixture.Frame()->ToolBar()->actions()) {
        if (action->isSeparator()) {
            order.append(QStringLiteral("|"));
            continue;
        }
        for (const CommandInfo& info : CommandTable()) {
            if (fixture.Frame()->Action(info.id) == action) {
                order.append(QString::fromUtf8(info.text).section(u'\t', 0, 0).remove(u'&'));
            }
        }
    }
    QCOMPARE(order.join(u','),
             QStringLiteral("Corpus Setup,New,Open...,Save,Corpus Options,|,Cut,Copy,Paste,|,Print...,|,"
                            "Undo,|,Find...,|,Font...,|,Wordlist,Descending Wordlist,Index,|,"
                            "PLIX Concordance,Collocation,PLIX Format ...,|,About plix...,What's This?"));
}

void MenusTest::promptsAndToolTips_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<QString>("tip");
    // The tool tip: the command's name (the text after the prompt's new-line,
    // else the menu entry's) and its key.
    QTest::newRow("corpus setup") << int(Cmd::CorpusSetup) << "Set up Corpus Files"
                                  << "Corpus Setup (Ctrl+D)";
    QTest::newRow("corpus options") << int(Cmd::CorpusOptions) << "Set up Corpus Options"
                                    << "Options (Ctrl+R)";
    QTest::newRow("word list") << int(Cmd::Wordlist) << "Make a Word List"
                               << "Word List (Ctrl+L)";
    QTest::newRow("concordance") << int(Cmd::Concordance) << "Make a Concordance"
                                 << "Concordance (Ctrl+K)";
    QTest::newRow("by left") << int(Cmd::ConcordanceLeft) << "Make a Concordance sort by Left" << "Left Concordance";
    QTest::newRow("by right") << int(Cmd::ConcordanceRight) << "Make a Concordance sort by Right"
                              << "Right Concordance";
    QTest::newRow("index") << int(Cmd::Index) << "Make an Index"
                           << "Index (Ctrl+I)";
    QTest::newRow("descending") << int(Cmd::DescendingWordlist) << "Make a descending wordlist"
                                << "a descending list (Ctrl+Q)";
    QTest::newRow("collocation") << int(Cmd::Collocation) << "Make a Collocation List"
                                 << "Collocation (Ctrl+B)";
    QTest::newRow("format") << int(Cmd::ConcordanceFormat) << "Set up Concordance Format"
                            << "Format (Ctrl+M)";
    QTest::newRow("cut") << int(Cmd::Cut) << "Cut the selection to the clipboard"
                         << "Cut (Ctrl+X)";
    QTest::newRow("about") << int(Cmd::About) << "Show the program's name and version"
                           << "About";
    QTest::newRow("context help") << int(Cmd::ContextHelp)
                                  << "Show help for the next button, menu or window clicked"
                                  << "Help (Shift+F1)";
    QTest::newRow("backward") << int(Cmd::BackwardList) << "Make a backward list"
                              << "Backward List (Ctrl+T)";
    QTest::newRow("rhyme") << int(Cmd::RhymeIndex) << "Make a Rhyme Index"
                           << "Rhyme Index";
    QTest::newRow("list option") << int(Cmd::ListOption) << "Set up List Options"
                                 << "List Option";
    QTest::newRow("ascending") << int(Cmd::AscendingWordlist) << "Make an ascending wordlist" << "";
    QTest::newRow("all words") << int(Cmd::ConcordanceAll) << "Make a concordance of all the words" << "";
    QTest::newRow("jump") << int(Cmd::Jump) << "Go to"
                          << "Jump (Ctrl+J)";
    QTest::newRow("word wrap") << int(Cmd::WordWrap) << "Word Wrap" << "";
    QTest::newRow("tag jump") << int(Cmd::TagJump) << "Go to the Tagged position" << "";
    QTest::newRow("quick word list") << int(Cmd::QuickWordlist) << "Quick Wordlist" << "";
    QTest::newRow("quick concordance") << int(Cmd::QuickPlix) << "Quick PLIX" << "";
    QTest::newRow("alphabet") << int(Cmd::SortAlphabet) << "Alhabetical Order" << "";
    QTest::newRow("frequency") << int(Cmd::SortFrequency) << "Frequency Order" << "";
    QTest::newRow("keyword") << int(Cmd::SortKeyword) << "Sort by Keyword" << "";
    QTest::newRow("left") << int(Cmd::SortLeft) << "Sort by Left" << "";
}

void MenusTest::promptsAndToolTips()
{
    QFETCH(int, command);
    QFETCH(QString, prompt);
    QFETCH(QString, tip);
    AppFixture fixture;
    QAction* action = fixture.Frame()->Action(static_cast<Cmd>(command));
    QCOMPARE(action->statusTip(), prompt);
    if (!tip.isEmpty()) {
        QCOMPARE(action->toolTip(), tip);
    }
}

void MenusTest::promptShowsInTheMessagePane()
{
    AppFixture fixture;
    QStatusBar* bar = fixture.Frame()->statusBar();
    QCOMPARE(fixture.Frame()->MessagePane()->text(), QStringLiteral("Ready"));
    // What hovering over the menu entry does.
    fixture.Frame()->Action(Cmd::CorpusSetup)->showStatusText(fixture.Frame());
    QCOMPARE(bar->currentMessage(), QStringLiteral("Set up Corpus Files"));
}

void MenusTest::everyButtonExplainsItself()
{
    AppFixture fixture;
    for (QAction* action : fixture.Frame()->ToolBar()->actions()) {
        if (action->isSeparator()) {
            continue;
        }
        const CommandInfo* command = nullptr;
        for (const CommandInfo& info : CommandTable()) {
            if (fixture.Frame()->Action(info.id) == action) {
                command = &info;
            }
        }
        QVERIFY(command != nullptr);
        const QString name = QString::fromUtf8(command->text);
        QVERIFY2(!action->icon().isNull(), qPrintable(name));
        // A picture of its own, not the letters of a badge.
        QVERIFY2(!DrawnCommandIcon(command->id).isNull(), qPrintable(name));
        QVERIFY2(!action->toolTip().isEmpty(), qPrintable(name));
        // The key of the button's command, where it has one, is in its tip and
        // in its menu entry.
        const QList<QKeySequence> keys = Shortcuts(*command);
        if (!keys.isEmpty()) {
            const QString label = action->text().section(u'\t', 1);
            QVERIFY2(!label.isEmpty(), qPrintable(name));
            QVERIFY2(action->toolTip().endsWith(QStringLiteral(" (%1)").arg(label)),
                     qPrintable(action->toolTip()));
        }
    }
}

void MenusTest::closeWindowKeys_data()
{
    QTest::addColumn<QString>("key");
    QTest::newRow("Ctrl+F4") << QStringLiteral("Ctrl+F4");
    QTest::newRow("Ctrl+W") << QStringLiteral("Ctrl+W");
}

void MenusTest::closeWindowKeys()
{
    QFETCH(QString, key);
    AppFixture fixture;
    fixture.app->NewDocument();
    QMdiArea* area = fixture.Frame()->MdiArea();
    QCOMPARE(area->subWindowList().size(), 2);
    fixture.Frame()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(fixture.Frame()));
    CPlixView* active = fixture.Frame()->ActiveView();
    active->setFocus();
    // Typed in the view: the key closes its window, not the other one.
    const QKeySequence sequence(key, QKeySequence::PortableText);
    QTest::keySequence(active, sequence);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(area->subWindowList().size(), 1);
    QVERIFY(fixture.Frame()->ActiveView() != nullptr);
    QCOMPARE(fixture.Frame()->ActiveView()->GetDocument()->GetTitle(), QStringLiteral("PLIX1"));
}

QTEST_MAIN(MenusTest)
#include "menus_test.moc"
