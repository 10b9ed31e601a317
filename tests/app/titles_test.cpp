// The titles of the main window and the result windows: the active document
// named once, and the mark of a text with changes not saved.
#include <QtTest>

#include "app/app_fixture.h"
#include "app/child_frame.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QWindow>

using namespace plix;
using test::AppFixture;

namespace {

enum class Step
{
    CloseAll,
    Nothing,
    Edit,
    RunWordList,
    Save,
    Maximise,
    EditMaximised
};

// The title the window system is given for the main window.
QString MainTitle(CMainFrame* frame)
{
    return frame->windowHandle() != nullptr ? frame->windowHandle()->title() : QString();
}

}  // namespace

class TitlesTest : public QObject
{
    Q_OBJECT

  private slots:
    void titles_data();
    void titles();
};

void TitlesTest::titles_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<QString>("main");
    QTest::addColumn<QString>("window");
    QTest::newRow("no window") << int(Step::CloseAll) << "PLIX Concordance"
                               << "";
    QTest::newRow("a new window") << int(Step::Nothing) << "PLIX Concordance - PLIX1"
                                  << "PLIX1";
    QTest::newRow("its text edited") << int(Step::Edit) << "PLIX Concordance - PLIX1*"
                                     << "PLIX1*";
    // A result is work not saved yet.
    QTest::newRow("a result") << int(Step::RunWordList) << "PLIX Concordance - PLIX2*"
                              << "PLIX2*";
    QTest::newRow("edited and saved") << int(Step::Save) << "PLIX Concordance - notes.plx"
                                      << "notes.plx";
    QTest::newRow("maximised") << int(Step::Maximise) << "PLIX Concordance - [PLIX1]"
                               << "PLIX1";
    QTest::newRow("maximised and edited")
        << int(Step::EditMaximised) << "PLIX Concordance - [PLIX1*]"
        << "PLIX1*";
}

void TitlesTest::titles()
{
    QFETCH(int, step);
    QFETCH(QString, main);
    QFETCH(QString, window);
    AppFixture fixture;
    CMainFrame* frame = fixture.Frame();
    CPlixView* view = frame->ActiveView();
    switch (static_cast<Step>(step)) {
        case Step::CloseAll:
            frame->MdiArea()->closeAllSubWindows();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCoreApplication::processEvents();
            break;
        case Step::Nothing:
            break;
        case Step::Edit:
            view->insertPlainText(QStringLiteral("a note"));
            break;
        case Step::RunWordList:
            fixture.AddCorpusFile(QStringLiteral("a.txt"), "a b a\n");
            QVERIFY(fixture.app->RunAnalysis(AnalysisCommand::Wordlist).completed);
            break;
        case Step::Save:
            view->insertPlainText(QStringLiteral("a note"));
            QVERIFY(fixture.app->SaveDocumentTo(view->GetDocument(),
                                                fixture.dir.filePath(QStringLiteral("notes.plx"))));
            break;
        case Step::Maximise:
            frame->ActiveChild()->showMaximized();
            break;
        case Step::EditMaximised:
            frame->ActiveChild()->showMaximized();
            view->insertPlainText(QStringLiteral("a note"));
            break;
    }
    QCoreApplication::processEvents();
    frame->UpdateCommandUI();
    QCOMPARE(MainTitle(frame), main);
    CChildFrame* child = frame->ActiveChild();
    QCOMPARE(child != nullptr ? ShownTitle(child) : QString(), window);
}

QTEST_MAIN(TitlesTest)
#include "titles_test.moc"
