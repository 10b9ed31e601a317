// Result windows and the shell around them: new documents and their names,
// the command line, opening and dropping files, the recent-file list, the
// caret line pane, the settings read before the main window and written at
// exit, the About box and the help page.
#include <QtTest>

#include "app/about_dlg.h"
#include "app/app_fixture.h"
#include "app/child_frame.h"
#include "app/help_page.h"
#include "app/lock_indicators.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QUrl>

using namespace plix;
using test::AppFixture;

namespace {

QStringList Titles(CMainFrame* frame)
{
    QStringList titles;
    for (QMdiSubWindow* window : frame->MdiArea()->subWindowList(QMdiArea::CreationOrder)) {
        titles.append(ShownTitle(window));
    }
    return titles;
}

QString WriteTemp(QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    QString path = dir.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(bytes);
    }
    return path;
}

}  // namespace

class ResultWindowsTest : public QObject
{
    Q_OBJECT

private slots:
    void newDocumentsAreNumbered();
    void commandLine_data();
    void commandLine();
    void missingFileOnTheCommandLineEndsStartUp();
    void openingAnOpenFileActivatesIt();
    void droppedFilesAreOpened();
    void recentFilesKeepTheNewestSix();
    void linePaneShowsTheCaretLine();
    void settingsAreReadBeforeTheFrameAndWrittenAtExit();
    void lockPanesReadTheKeyboardLeds_data();
    void lockPanesReadTheKeyboardLeds();
    void aboutBoxNamesTheProgram();
    void helpTopicsShowABuiltInPage();
};

void ResultWindowsTest::newDocumentsAreNumbered()
{
    AppFixture fixture;
    fixture.Frame()->OnCommand(Cmd::New);
    fixture.Frame()->OnCommand(Cmd::New);
    QCOMPARE(Titles(fixture.Frame()), (QStringList{"PLIX1", "PLIX2", "PLIX3"}));
    QCOMPARE(fixture.Frame()->ActiveView()->GetDocument()->GetTitle(), QStringLiteral("PLIX3"));
    // Closing does not hand a number out again.
    fixture.Frame()->OnCommand(Cmd::Close);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    fixture.Frame()->OnCommand(Cmd::New);
    QCOMPARE(Titles(fixture.Frame()), (QStringList{"PLIX1", "PLIX2", "PLIX4"}));
}

void ResultWindowsTest::commandLine_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("titles");
    QTest::newRow("nothing: a new empty window") << QStringList{} << QStringList{"PLIX1"};
    QTest::newRow("one file") << QStringList{"harbour.txt"} << QStringList{"harbour.txt"};
    QTest::newRow("two files") << QStringList{"harbour.txt", "notes.plx"}
                               << QStringList{"harbour.txt", "notes.plx"};
}

void ResultWindowsTest::commandLine()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, titles);
    QTemporaryDir dir;
    QStringList arguments{QStringLiteral("plix")};
    for (const QString& file : files) {
        arguments.append(WriteTemp(dir, file, "text of " + file.toUtf8() + "\r\nsecond line\n"));
    }
    AppFixture fixture(arguments);
    QVERIFY(fixture.started);
    QCOMPARE(Titles(fixture.Frame()), titles);
    if (!files.isEmpty()) {
        CPlixView* view = fixture.Frame()->ActiveView();
        QCOMPARE(view->toPlainText(), "text of " + files.last() + "\nsecond line\n");
        QCOMPARE(fixture.app->RecentFiles().first(), QFileInfo(arguments.last()).absoluteFilePath());
    }
}

void ResultWindowsTest::missingFileOnTheCommandLineEndsStartUp()
{
    QTemporaryDir dir;
    test::MessageBoxCloser boxes;
    AppFixture fixture({QStringLiteral("plix"), dir.filePath(QStringLiteral("missing.txt"))});
    QVERIFY(!fixture.started);
    QCOMPARE(boxes.texts.size(), 1);
    QVERIFY(boxes.texts.first().contains(QStringLiteral("missing.txt")));
}

void ResultWindowsTest::openingAnOpenFileActivatesIt()
{
    AppFixture fixture;
    QString path = fixture.WriteFile(QStringLiteral("a.txt"), "alpha\n");
    CPlixDoc* first = fixture.app->OpenDocument(path);
    fixture.app->NewDocument();
    CPlixDoc* again = fixture.app->OpenDocument(path);
    QCOMPARE(again, first);
    QCOMPARE(Titles(fixture.Frame()), (QStringList{"PLIX1", "a.txt", "PLIX2"}));
    QCOMPARE(fixture.Frame()->ActiveView()->GetDocument(), first);
}

void ResultWindowsTest::droppedFilesAreOpened()
{
    AppFixture fixture;
    QString a = fixture.WriteFile(QStringLiteral("a.txt"), "alpha\n");
    QString b = fixture.WriteFile(QStringLiteral("b.txt"), "beta\n");
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(a), QUrl::fromLocalFile(b)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(fixture.Frame(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(fixture.Frame(), &drop);
    QCOMPARE(Titles(fixture.Frame()), (QStringList{"PLIX1", "a.txt", "b.txt"}));
}

void ResultWindowsTest::recentFilesKeepTheNewestSix()
{
    auto store = std::make_unique<CMemorySettingsStore>();
    CMemorySettingsStore* kept = store.get();
    QTemporaryDir dir;
    QStringList paths;
    {
        AppFixture fixture({QStringLiteral("plix")}, std::move(store));
        for (int i = 1; i <= 8; ++i) {
            paths.append(WriteTemp(dir, QStringLiteral("f%1.txt").arg(i), "x\n"));
            fixture.app->OpenDocument(paths.last());
        }
        // Opening an older one again moves it to the front.
        fixture.app->OpenDocument(paths[4]);
        const QStringList expected{paths[4], paths[7], paths[6], paths[5], paths[3], paths[2]};
        QCOMPARE(fixture.app->RecentFiles(), expected);
        QCOMPARE(fixture.Frame()->findChild<QAction*>(QStringLiteral("recentFile1"))->text(),
                 QStringLiteral("&1 ") + QDir::toNativeSeparators(paths[4]));
        fixture.app->ExitInstance();
        // Handed over to the next fixture below through the store's values.
        auto copy = std::make_unique<CMemorySettingsStore>();
        copy->values = kept->values;
        AppFixture next({QStringLiteral("plix")}, std::move(copy));
        QCOMPARE(next.app->RecentFiles(), expected);
    }
}

void ResultWindowsTest::linePaneShowsTheCaretLine()
{
    AppFixture fixture;
    QLabel* pane = fixture.Frame()->LinePane();
    CPlixView* view = fixture.Frame()->ActiveView();
    QCOMPARE(pane->text(), QStringLiteral(" 1"));
    view->setPlainText(QStringLiteral("one\ntwo\nthree\nfour"));
    QTextCursor cursor(view->document()->findBlockByNumber(2));
    view->setTextCursor(cursor);
    QCOMPARE(pane->text(), QStringLiteral(" 3"));
    view->moveCursor(QTextCursor::End);
    QCOMPARE(pane->text(), QStringLiteral(" 4"));
    // Another window shows its own caret line.
    fixture.app->NewDocument();
    QCOMPARE(pane->text(), QStringLiteral(" 1"));
    // Blank without a result window.
    fixture.Frame()->MdiArea()->closeAllSubWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QCOMPARE(pane->text(), QString());
}

void ResultWindowsTest::settingsAreReadBeforeTheFrameAndWrittenAtExit()
{
    auto store = std::make_unique<CMemorySettingsStore>();
    store->WriteInt("CorpusList", "Max", 1);
    store->WriteString("Input", "Input1", "corpus.txt");
    store->WriteString("Output", "Output1", "corpus.plx");
    store->WriteInt("Type", "Len", 80);
    CMemorySettingsStore* kept = store.get();
    AppFixture fixture({QStringLiteral("plix")}, std::move(store));
    QCOMPARE(fixture.app->Corpus().GetFileCount(), 1);
    QCOMPARE(fixture.app->Corpus().GetLineLength(), 80);
    // The frame's first enabling already knew the corpus list.
    QVERIFY(fixture.Frame()->Action(Cmd::Wordlist)->isEnabled());

    fixture.app->Corpus().SetLineFormat(120, 60);
    fixture.app->ExitInstance();
    QCOMPARE(kept->GetInt("Type", "Len", 0), 120);
    QCOMPARE(kept->GetInt("Type", "Pos", 0), 60);
    QCOMPARE(kept->GetString("Input", "Input1", ""), std::string("corpus.txt"));
}

void ResultWindowsTest::lockPanesReadTheKeyboardLeds_data()
{
    QTest::addColumn<QStringList>("leds");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("lit");
    QTest::newRow("no keyboard") << QStringList{"phy0-led=1"} << false << "";
    QTest::newRow("caps on") << QStringList{"input3::capslock=1", "input3::numlock=0", "input3::scrolllock=0"}
                             << true << "caps";
    QTest::newRow("num and scroll on") << QStringList{"input3::capslock=0", "input3::numlock=1",
                                                      "input3::scrolllock=1"}
                                       << true << "num,scroll";
    QTest::newRow("two keyboards, one lit") << QStringList{"input3::capslock=0", "input7::capslock=1"} << true
                                            << "caps";
}

void ResultWindowsTest::lockPanesReadTheKeyboardLeds()
{
    QFETCH(QStringList, leds);
    QFETCH(bool, found);
    QFETCH(QString, lit);
    QTemporaryDir dir;
    for (const QString& led : leds) {
        const QString name = led.section(u'=', 0, 0);
        QDir(dir.path()).mkpath(name);
        WriteTemp(dir, name + QStringLiteral("/brightness"), led.section(u'=', 1).toLatin1() + "\n");
    }
    LockKeyState state;
    QCOMPARE(CLockIndicators::ReadLeds(dir.path(), state), found);
    QStringList on;
    if (state.caps) {
        on.append(QStringLiteral("caps"));
    }
    if (state.num) {
        on.append(QStringLiteral("num"));
    }
    if (state.scroll) {
        on.append(QStringLiteral("scroll"));
    }
    QCOMPARE(on.join(u','), lit);

    AppFixture fixture;
    fixture.Frame()->LockIndicators()->SetState(state);
    QCOMPARE(fixture.Frame()->LockIndicators()->CapsPane()->text(), state.caps ? QStringLiteral("CAP") : QString());
    QCOMPARE(fixture.Frame()->LockIndicators()->ScrollPane()->text(),
             state.scroll ? QStringLiteral("SCRL") : QString());
}

void ResultWindowsTest::aboutBoxNamesTheProgram()
{
    AppFixture fixture;
    CAboutDlg about(fixture.Frame());
    QCOMPARE(about.windowTitle(), QStringLiteral("About PLIX Concordance"));
    QVERIFY(about.findChild<QLabel*>(QStringLiteral("versionLine"))->text().startsWith(QStringLiteral("PLIX Concordance Version ")));
    QVERIFY(!about.findChild<QLabel*>(QStringLiteral("descriptionLine"))->text().isEmpty());
}

void ResultWindowsTest::helpTopicsShowABuiltInPage()
{
    AppFixture fixture;
    fixture.Frame()->OnCommand(Cmd::HelpTopics);
    auto* help = fixture.Frame()->findChild<CHelpPage*>();
    QVERIFY(help != nullptr);
    QVERIFY(help->isVisible());
    QVERIFY(CHelpPage::Html().contains(QStringLiteral("Corpus Setup")));
    // F1 again brings back the same page.
    fixture.Frame()->OnCommand(Cmd::HelpTopics);
    QCOMPARE(fixture.Frame()->findChildren<CHelpPage*>().size(), 1);
}

QTEST_MAIN(ResultWindowsTest)
#include "result_windows_test.moc"
