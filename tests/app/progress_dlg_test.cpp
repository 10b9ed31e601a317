// The "Searching ..." dialog: up while a run reads, the main window disabled
// meanwhile and enabled again afterwards, "CANCEL", Esc and closing it all
// stopping the run without closing the dialog by themselves.
#include <QtTest>

#include "app/app_fixture.h"
#include "app/progress_dlg.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QMdiArea>
#include <QPushButton>

#include <functional>

using namespace plix;
using test::AppFixture;

namespace {

// What the test saw while the dialog was up.
struct Seen
{
    bool dialogShown = false;
    bool dialogEnabled = false;
    bool frameEnabled = true;
    QString caption;
    QString status;
    bool stillOpenAfterCancel = false;
};

QByteArray ManyLines(int count)
{
    QByteArray text;
    for (int i = 0; i < count; ++i) {
        text += "the boats go out and the boats come back\n";
    }
    return text;
}

}  // namespace

class ProgressDlgTest : public QObject
{
    Q_OBJECT

private slots:
    void cancelStopsTheRunAndEnablesTheFrame_data();
    void cancelStopsTheRunAndEnablesTheFrame();
    void completedRunLeavesTheFrameEnabled();
    void dialogDisablesOnlyAnEnabledWindow_data();
    void dialogDisablesOnlyAnEnabledWindow();
    void commandsAreOffDuringARun();
    void closingTheFrameDuringARunCancelsInstead();
    void cancelReachesTheStagesAfterReading_data();
    void cancelReachesTheStagesAfterReading();
};

void ProgressDlgTest::cancelStopsTheRunAndEnablesTheFrame_data()
{
    QTest::addColumn<int>("how");
    QTest::newRow("CANCEL button") << 0;
    QTest::newRow("Esc") << 1;
    QTest::newRow("closing the dialog") << 2;
}

void ProgressDlgTest::cancelStopsTheRunAndEnablesTheFrame()
{
    QFETCH(int, how);
    AppFixture fixture;
    const QString path = fixture.AddCorpusFile(QStringLiteral("long.txt"), ManyLines(2000));
    Seen seen;
    // Runs inside the dialog's first pump of the event loop.
    QTimer::singleShot(0, [&]() {
        CProgressDlg* dialog = fixture.app->ProgressFactory().Current();
        if (dialog == nullptr) {
            return;
        }
        seen.dialogShown = dialog->isVisible();
        seen.dialogEnabled = dialog->isEnabled();
        seen.frameEnabled = fixture.Frame()->isEnabled();
        seen.caption = dialog->windowTitle();
        seen.status = dialog->StatusText();
        switch (how) {
            case 0:
                dialog->findChild<QPushButton*>(QStringLiteral("progressCancel"))->click();
                break;
            case 1:
                QTest::keyClick(dialog, Qt::Key_Escape);
                break;
            default:
                dialog->close();
                break;
        }
        seen.stillOpenAfterCancel = dialog->isVisible();
    });
    test::MessageBoxCloser boxes;
    CommandOutcome outcome = fixture.app->RunAnalysis(AnalysisCommand::Wordlist);

    QVERIFY(seen.dialogShown);
    QVERIFY(seen.dialogEnabled);
    QVERIFY(!seen.frameEnabled);
    QCOMPARE(seen.caption, QStringLiteral("Searching ..."));
    QCOMPARE(seen.status, path);
    QVERIFY(seen.stillOpenAfterCancel);
    QVERIFY(!outcome.completed);
    QCOMPARE(boxes.texts, QStringList{QStringLiteral("Abort Process")});
    QVERIFY(fixture.Frame()->isEnabled());
    QVERIFY(fixture.app->ProgressFactory().Current() == nullptr);
    // A cancelled list writes no totals.
    QVERIFY(!fixture.Frame()->ActiveView()->toPlainText().contains(QStringLiteral("Total Tokens")));
}

void ProgressDlgTest::completedRunLeavesTheFrameEnabled()
{
    AppFixture fixture;
    fixture.AddCorpusFile(QStringLiteral("short.txt"), ManyLines(3));
    bool frameDisabledDuringRun = false;
    QTimer::singleShot(0, [&]() { frameDisabledDuringRun = !fixture.Frame()->isEnabled(); });
    CommandOutcome outcome = fixture.app->RunAnalysis(AnalysisCommand::Wordlist);
    QVERIFY(outcome.completed);
    QVERIFY(frameDisabledDuringRun);
    QVERIFY(fixture.Frame()->isEnabled());
    QVERIFY(fixture.Frame()->IsCommandEnabled(Cmd::Wordlist));
}

void ProgressDlgTest::dialogDisablesOnlyAnEnabledWindow_data()
{
    QTest::addColumn<bool>("enabledBefore");
    QTest::newRow("enabled window") << true;
    QTest::newRow("window disabled by someone else") << false;
}

void ProgressDlgTest::dialogDisablesOnlyAnEnabledWindow()
{
    QFETCH(bool, enabledBefore);
    QWidget window;
    window.show();
    window.setEnabled(enabledBefore);
    {
        CProgressDlg dialog(&window);
        QVERIFY(dialog.Create());
        QVERIFY(!window.isEnabled());
        QVERIFY(dialog.isEnabled());
        dialog.SetStatus("corpus.txt");
        QCOMPARE(dialog.StatusText(), QStringLiteral("corpus.txt"));
        QVERIFY(!dialog.IsCancelled());
        dialog.Cancel();
        QVERIFY(dialog.IsCancelled());
        // Cancelling never takes itself back.
        dialog.SetPos(50);
        QVERIFY(dialog.IsCancelled());
    }
    // The window is given back as it was found.
    QCOMPARE(window.isEnabled(), enabledBefore);
}

void ProgressDlgTest::commandsAreOffDuringARun()
{
    AppFixture fixture;
    fixture.AddCorpusFile(QStringLiteral("short.txt"), ManyLines(3));
    bool wordlistEnabledDuringRun = true;
    QTimer::singleShot(0, [&]() {
        wordlistEnabledDuringRun = fixture.Frame()->Action(Cmd::Wordlist)->isEnabled();
        // A second run started from inside the first is refused.
        CommandOutcome nested = fixture.app->RunAnalysis(AnalysisCommand::Wordlist);
        QVERIFY(!nested.started);
    });
    (void)fixture.app->RunAnalysis(AnalysisCommand::Wordlist);
    QVERIFY(!wordlistEnabledDuringRun);
    QVERIFY(fixture.Frame()->Action(Cmd::Wordlist)->isEnabled());
}

void ProgressDlgTest::closingTheFrameDuringARunCancelsInstead()
{
    AppFixture fixture;
    fixture.AddCorpusFile(QStringLiteral("long.txt"), ManyLines(2000));
    bool closed = true;
    QTimer::singleShot(0, [&]() { closed = fixture.Frame()->close(); });
    test::MessageBoxCloser boxes;
    CommandOutcome outcome = fixture.app->RunAnalysis(AnalysisCommand::Wordlist);
    QVERIFY(!closed);
    QVERIFY(!outcome.completed);
    QVERIFY(fixture.Frame()->isVisible());
    QVERIFY(fixture.Frame()->isEnabled());
}

void ProgressDlgTest::cancelReachesTheStagesAfterReading_data()
{
    QTest::addColumn<QString>("status");
    QTest::addColumn<bool>("setsPosition");
    // Sorting asks only whether to stop; writing also moves the bar.
    QTest::newRow("sorting") << QStringLiteral("Sorting...") << false;
    QTest::newRow("writing") << QStringLiteral("Writing...") << true;
}

void ProgressDlgTest::cancelReachesTheStagesAfterReading()
{
    QFETCH(QString, status);
    QFETCH(bool, setsPosition);
    QWidget window;
    window.show();
    CProgressDlg dialog(&window);
    QVERIFY(dialog.Create());
    dialog.SetStatus(status.toStdString());
    // The click is queued after the status was shown: only the pumping of the
    // engine's later questions lets it in.
    QString shown;
    QTimer::singleShot(0, &dialog, [&]() {
        shown = dialog.findChild<QLabel*>(QStringLiteral("progressStatus"))->text();
        dialog.findChild<QPushButton*>(QStringLiteral("progressCancel"))->click();
    });
    QElapsedTimer guard;
    guard.start();
    long questions = 0;
    while (guard.elapsed() < 20000) {
        if (setsPosition) {
            dialog.SetPos(static_cast<int>(questions % 100));
        }
        ++questions;
        if (dialog.IsCancelled()) {
            break;
        }
    }
    QVERIFY(dialog.WasCancelled());
    QCOMPARE(shown, status);
    QVERIFY(dialog.isVisible());
}

QTEST_MAIN(ProgressDlgTest)
#include "progress_dlg_test.moc"
