// Which commands can be given: without corpus files only "&Corpus Setup",
// "&About plix..." and the toolkit's own commands; the result-window commands
// only with a result window; shortcuts exactly like their menu entries.
#include <QtTest>

#include "app/app_fixture.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSet>

using namespace plix;
using test::AppFixture;

namespace {

using CmdSet = QSet<int>;

CmdSet Set(std::initializer_list<Cmd> ids)
{
    CmdSet set;
    for (Cmd id : ids) {
        set.insert(static_cast<int>(id));
    }
    return set;
}

// The toolkit's own commands, "&Corpus Setup" and "&About plix...".
const CmdSet kAlways = Set({Cmd::CorpusSetup, Cmd::New, Cmd::Open, Cmd::PrintSetup, Cmd::Exit, Cmd::Toolbar,
                            Cmd::StatusBar, Cmd::HelpTopics, Cmd::About, Cmd::ContextHelp});
// What a result window adds (nothing selected, nothing to undo, a text that
// is neither a word list nor a concordance).
const CmdSet kWindow =
    Set({Cmd::Close,        Cmd::CloseWindow,   Cmd::Save,         Cmd::SaveAs,      Cmd::Print,
         Cmd::PrintPreview, Cmd::Paste,         Cmd::PasteSpecial, Cmd::SelectAll,   Cmd::Find,
         Cmd::FindNext,     Cmd::Replace,       Cmd::Font,         Cmd::Jump,        Cmd::TagJump,
         Cmd::WordWrap,     Cmd::QuickWordlist, Cmd::QuickPlix,    Cmd::NewWindow,   Cmd::Cascade,
         Cmd::Tile,         Cmd::ArrangeIcons,  Cmd::NextPane,     Cmd::PreviousPane});
const CmdSet kWordListSorts = Set({Cmd::SortAlphabet, Cmd::SortFrequency});
const CmdSet kConcordanceSorts = Set({Cmd::SortKeyword, Cmd::SortLeft, Cmd::SortRight});
// What corpus files add.
const CmdSet kCorpus = Set({Cmd::CorpusOptions, Cmd::ListOption, Cmd::ConcordanceFormat, Cmd::Wordlist,
                            Cmd::BackwardList, Cmd::DescendingWordlist, Cmd::AscendingWordlist, Cmd::Index,
                            Cmd::RhymeIndex, Cmd::Concordance, Cmd::ConcordanceLeft, Cmd::ConcordanceRight,
                            Cmd::Collocation, Cmd::ConcordanceAll});

CmdSet EnabledCommands(CMainFrame* frame)
{
    CmdSet enabled;
    for (const CommandInfo& info : CommandTable()) {
        if (frame->Action(info.id)->isEnabled()) {
            enabled.insert(static_cast<int>(info.id));
        }
    }
    return enabled;
}

QStringList Names(const CmdSet& set)
{
    QStringList names;
    for (int id : set) {
        names.append(QString::fromUtf8(CommandInfoFor(static_cast<Cmd>(id)).text).section(u'\t', 0, 0));
    }
    names.sort();
    return names;
}

}  // namespace

class CommandEnablingTest : public QObject
{
    Q_OBJECT

private slots:
    void enabledCommands_data();
    void enabledCommands();
    void acceleratorsFollowTheirCommands();
    void disabledCommandDoesNothing();
    void settingUpCorpusFilesEnablesTheAnalyses();
    void editCommandsFollowTheText();
    void wordWrapStartsOffAndToggles();
    void sortCommandsFollowTheText_data();
    void sortCommandsFollowTheText();
    void acceleratorKeysReachTheFrameFromTheView_data();
    void acceleratorKeysReachTheFrameFromTheView();
};

void CommandEnablingTest::enabledCommands_data()
{
    QTest::addColumn<bool>("corpusFiles");
    QTest::addColumn<bool>("window");
    QTest::addColumn<CmdSet>("expected");
    QTest::newRow("no corpus files, no window") << false << false << kAlways;
    QTest::newRow("no corpus files, a window") << false << true << (kAlways + kWindow);
    QTest::newRow("corpus files, no window") << true << false << (kAlways + kCorpus);
    QTest::newRow("corpus files, a window") << true << true << (kAlways + kWindow + kCorpus);
}

void CommandEnablingTest::enabledCommands()
{
    QFETCH(bool, corpusFiles);
    QFETCH(bool, window);
    QFETCH(CmdSet, expected);
    AppFixture fixture;
    if (corpusFiles) {
        fixture.AddCorpusFile(QStringLiteral("a.txt"), "a b c\n");
    }
    if (!window) {
        fixture.Frame()->MdiArea()->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    fixture.Frame()->UpdateCommandUI();
    const CmdSet enabled = EnabledCommands(fixture.Frame());
    QCOMPARE(Names(enabled - expected), QStringList());
    QCOMPARE(Names(expected - enabled), QStringList());
}

void CommandEnablingTest::acceleratorsFollowTheirCommands()
{
    for (bool corpusFiles : {false, true}) {
        AppFixture fixture;
        if (corpusFiles) {
            fixture.AddCorpusFile(QStringLiteral("a.txt"), "a b c\n");
        }
        for (const CommandInfo& info : CommandTable()) {
            for (QAction* accelerator : fixture.Frame()->Accelerators(info.id)) {
                QVERIFY2(accelerator->isEnabled() == fixture.Frame()->Action(info.id)->isEnabled(), info.text);
            }
        }
    }
}

void CommandEnablingTest::disabledCommandDoesNothing()
{
    AppFixture fixture;
    const auto windows = fixture.Frame()->MdiArea()->subWindowList().size();
    // A shortcut pressed without corpus files: no run, no window.
    fixture.Frame()->OnCommand(Cmd::Wordlist);
    for (QAction* accelerator : fixture.Frame()->Accelerators(Cmd::Concordance)) {
        accelerator->trigger();
    }
    QCOMPARE(fixture.Frame()->MdiArea()->subWindowList().size(), windows);
}

void CommandEnablingTest::settingUpCorpusFilesEnablesTheAnalyses()
{
    AppFixture fixture;
    QVERIFY(!fixture.Frame()->Action(Cmd::Concordance)->isEnabled());
    fixture.app->Corpus().AddInputFile("corpus.txt");
    fixture.app->Corpus().AddOutputFile("corpus.plx");
    // What the corpus setup command signals after its dialog.
    emit fixture.app->settingsChanged();
    QVERIFY(fixture.Frame()->Action(Cmd::Concordance)->isEnabled());
}

void CommandEnablingTest::editCommandsFollowTheText()
{
    AppFixture fixture;
    CPlixView* view = fixture.Frame()->ActiveView();
    QVERIFY(!fixture.Frame()->Action(Cmd::Copy)->isEnabled());
    QVERIFY(!fixture.Frame()->Action(Cmd::Undo)->isEnabled());
    view->insertPlainText(QStringLiteral("typed text"));
    QVERIFY(fixture.Frame()->Action(Cmd::Undo)->isEnabled());
    fixture.Frame()->OnCommand(Cmd::SelectAll);
    QVERIFY(fixture.Frame()->Action(Cmd::Copy)->isEnabled());
    QVERIFY(fixture.Frame()->Action(Cmd::Cut)->isEnabled());
    fixture.Frame()->OnCommand(Cmd::Cut);
    QCOMPARE(view->toPlainText(), QString());
    fixture.Frame()->OnCommand(Cmd::Paste);
    QCOMPARE(view->toPlainText(), QStringLiteral("typed text"));
}

void CommandEnablingTest::wordWrapStartsOffAndToggles()
{
    AppFixture fixture;
    QAction* wrap = fixture.Frame()->Action(Cmd::WordWrap);
    CPlixView* first = fixture.Frame()->ActiveView();
    QCOMPARE(first->GetWordWrap(), 0);
    QVERIFY(!wrap->isChecked());
    wrap->trigger();
    QCOMPARE(first->GetWordWrap(), 1);
    QCOMPARE(first->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QVERIFY(wrap->isChecked());
    // Off in every new window, and the check mark follows the active one.
    CPlixView* second = fixture.app->NewDocument()->FirstView();
    QCOMPARE(second->GetWordWrap(), 0);
    QVERIFY(!wrap->isChecked());
    fixture.Frame()->MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(first->parentWidget()));
    QVERIFY(wrap->isChecked());
    wrap->trigger();
    QCOMPARE(first->lineWrapMode(), QPlainTextEdit::NoWrap);
    QVERIFY(!wrap->isChecked());
}

void CommandEnablingTest::sortCommandsFollowTheText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<CmdSet>("sorts");
    const QString head = QStringLiteral("Corpus File: a.txt\n\n");
    QTest::newRow("empty") << QString() << CmdSet();
    QTest::newRow("plain text") << QStringLiteral("It was a dark night.\nThe end.\n") << CmdSet();
    QTest::newRow("word list") << head + QStringLiteral("the\t120\nof\t80\n") << kWordListSorts;
    QTest::newRow("backward list") << head + QStringLiteral("\teht\t120\n") << kWordListSorts;
    QTest::newRow("concordance")
        << head + QStringLiteral("Keyword: sea\nKeyword Position: 5\n\n(1) \n    sea\n") << kConcordanceSorts;
    // The hit lines need not be recognised: the keyword line decides.
    QTest::newRow("concordance, Xml") << QStringLiteral("<plix_info>\nKeyword: sea\n</plix_info>\n<hit>")
                                      << kConcordanceSorts;
    QTest::newRow("keyword line after 30 lines")
        << QStringLiteral("plain line\n").repeated(30) + QStringLiteral("Keyword: sea\n") << CmdSet();
}

void CommandEnablingTest::sortCommandsFollowTheText()
{
    QFETCH(QString, text);
    QFETCH(CmdSet, sorts);
    AppFixture fixture;
    fixture.Frame()->ActiveView()->setPlainText(text);
    fixture.Frame()->UpdateCommandUI();
    const CmdSet enabled = EnabledCommands(fixture.Frame());
    QCOMPARE(Names(enabled & (kWordListSorts + kConcordanceSorts)), Names(sorts));
    // A disabled sort command opens no window.
    const auto windows = fixture.Frame()->MdiArea()->subWindowList().size();
    for (Cmd id : {Cmd::SortAlphabet, Cmd::SortKeyword}) {
        if (!sorts.contains(static_cast<int>(id))) {
            fixture.Frame()->OnCommand(id);
        }
    }
    QCOMPARE(fixture.Frame()->MdiArea()->subWindowList().size(), windows);
}

void CommandEnablingTest::acceleratorKeysReachTheFrameFromTheView_data()
{
    QTest::addColumn<bool>("corpusFiles");
    QTest::newRow("command enabled") << true;
    QTest::newRow("command disabled") << false;
}

void CommandEnablingTest::acceleratorKeysReachTheFrameFromTheView()
{
    // On an X11 display Ctrl+K is also the text editor's "delete to the end of
    // the line": in a result window it must start a concordance, or do nothing
    // when it cannot. (The offscreen platform has no such binding; run this
    // suite under xvfb-run with QT_QPA_PLATFORM=xcb to see the difference.)
    QFETCH(bool, corpusFiles);
    AppFixture fixture;
    if (corpusFiles) {
        fixture.AddCorpusFile(QStringLiteral("a.txt"), "the sea\n");
    }
    bool asked = false;
    fixture.app->SetKeywordAsker([&]() {
        asked = true;
        return std::optional<KeywordRequest>();
    });
    CPlixView* view = fixture.Frame()->ActiveView();
    view->setPlainText(QStringLiteral("keep this line"));
    view->moveCursor(QTextCursor::Start);
    fixture.Frame()->activateWindow();
    view->setFocus();
    QVERIFY(QTest::qWaitForWindowActive(fixture.Frame()));
    QTest::keyClick(view, Qt::Key_K, Qt::ControlModifier);
    QCOMPARE(asked, corpusFiles);
    QCOMPARE(view->toPlainText(), QStringLiteral("keep this line"));
}

QTEST_MAIN(CommandEnablingTest)
#include "command_enabling_test.moc"
