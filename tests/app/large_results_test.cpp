// Results larger than a window holds: the question that comes when a result
// outgrows its window and what each answer leaves behind, and finding and
// saving in a window of a few hundred thousand lines.
#include <QtTest>

#include "app/app_fixture.h"
#include "app/child_frame.h"
#include "app/find_dlg.h"

#include <QMdiArea>

#include <memory>
#include <string>

using namespace plix;
using test::AppFixture;

namespace {

QByteArray HarbourLines(int count)
{
    QByteArray text;
    for (int i = 0; i < count; ++i) {
        text += "the boats go out and the boats come back\n";
    }
    return text;
}

int WindowCount(CMainFrame* frame)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return static_cast<int>(frame->MdiArea()->subWindowList().size());
}

// The concordance of "the" run again with "To Output as &Files" set: what
// the output file gets when the user chose it from the start.
QByteArray ResultInAFile(AppFixture& fixture, const QString& output)
{
    QFile::remove(output);
    fixture.app->Corpus().SetOutputAsFiles(1);
    (void)fixture.app->RunAnalysis(AnalysisCommand::Concordance);
    fixture.app->Corpus().SetOutputAsFiles(0);
    return test::ReadBytes(output);
}

}  // namespace

class LargeResultsTest : public QObject
{
    Q_OBJECT

private slots:
    void resultPastTheWindowLimit_data();
    void resultPastTheWindowLimit();
    void findAndSaveInALargeWindow();
};

void LargeResultsTest::resultPastTheWindowLimit_data()
{
    QTest::addColumn<int>("lineLimit");
    QTest::addColumn<int>("answer");  // -1 never asked, 0 keep the window, 1 append to the file
    QTest::addColumn<bool>("inTheBox");  // answered in the program's own question box
    // 20 000 corpus lines: 40 000 hits, 80 000 window lines in blocks of about
    // 20 000.
    QTest::newRow("within the limit: no question") << 200000 << -1 << false;
    QTest::newRow("keep the window") << 30000 << 0 << false;
    QTest::newRow("append to the output file") << 30000 << 1 << false;
    // The main frame is disabled during the run: the box must still take a click.
    QTest::newRow("keep the window, in the box") << 30000 << 0 << true;
    QTest::newRow("append to the output file, in the box") << 30000 << 1 << true;
}

void LargeResultsTest::resultPastTheWindowLimit()
{
    QFETCH(int, lineLimit);
    QFETCH(int, answer);
    const QByteArray corpus = HarbourLines(20000);
    AppFixture fixture;
    const QString path = fixture.AddCorpusFile(QStringLiteral("harbour.txt"), corpus);
    const QString output = QString::fromStdString(CCorpus::DefaultOutputPath(test::Bytes(path)));
    int keywordAsked = 0;
    fixture.app->SetKeywordAsker([&keywordAsked]() {
        ++keywordAsked;
        KeywordRequest request;
        request.keyword = "the";
        return std::optional<KeywordRequest>(request);
    });
    fixture.app->ResultTarget().SetLimits(static_cast<size_t>(lineLimit), 1u << 30);
    QFETCH(bool, inTheBox);
    QList<size_t> asked;
    std::unique_ptr<test::QuestionAnswerer> box;
    if (inTheBox) {
        box = std::make_unique<test::QuestionAnswerer>(answer == 1 ? QMessageBox::Yes : QMessageBox::No);
    } else {
        fixture.app->SetOverflowAsker([&](size_t linesHeld) {
            asked.append(linesHeld);
            return answer == 1;
        });
    }
    const int windowsBefore = WindowCount(fixture.Frame());
    std::unique_ptr<test::MessageBoxCloser> boxes;
    if (!inTheBox) {
        boxes = std::make_unique<test::MessageBoxCloser>();
    }

    CommandOutcome outcome = fixture.app->RunAnalysis(AnalysisCommand::Concordance);

    QCOMPARE(keywordAsked, 1);
    if (box) {
        QCOMPARE(box->questions, QStringList{QStringLiteral("This result is larger than a window can hold.")});
        asked.append(0);
        box.reset();
    } else {
        QVERIFY(boxes->texts.isEmpty());
    }
    QCOMPARE(fixture.app->Corpus().GetOutputAsFiles(), 0);
    QVERIFY(fixture.Frame()->isEnabled());
    if (answer < 0) {
        QVERIFY(asked.isEmpty());
        QVERIFY(outcome.completed && !outcome.cancelled);
        QVERIFY(fixture.Frame()->ActiveView()->toPlainText().contains(QStringLiteral("Total Occurrence(s): 40000")));
        QVERIFY(!QFile::exists(output));
        return;
    }
    QCOMPARE(asked.size(), 1);
    QVERIFY(asked[0] <= static_cast<size_t>(lineLimit));
    if (answer == 0) {
        // The window holds what it took, and says that it is not all.
        QVERIFY(outcome.cancelled);
        CPlixView* view = fixture.Frame()->ActiveView();
        const int lines = view->document()->blockCount();
        QVERIFY(lines < 80000);
        QVERIFY(static_cast<size_t>(lines) > asked[0]);
        QVERIFY(view->toPlainText().contains(QStringLiteral(" of 40000 entries written.")));
        QVERIFY(!QFile::exists(output));
        QCOMPARE(WindowCount(fixture.Frame()), windowsBefore + 1);
        return;
    }
    // The partial window is gone; the output file has the whole result, as
    // "To Output as &Files" writes it.
    QVERIFY(outcome.completed && !outcome.cancelled);
    QVERIFY(fixture.app->LastRunWentToFiles());
    QCOMPARE(WindowCount(fixture.Frame()), windowsBefore);
    const QByteArray written = test::ReadBytes(output);
    QVERIFY(written.contains("Total Occurrence(s): 40000"));
    QVERIFY(written == ResultInAFile(fixture, output));
}

void LargeResultsTest::findAndSaveInALargeWindow()
{
    AppFixture fixture;
    fixture.Frame()->OnCommand(Cmd::New);
    CPlixView* view = fixture.Frame()->ActiveView();
    constexpr int kLines = 300000;
    std::string text;
    for (int i = 1; i <= kLines; ++i) {
        text += "line " + std::to_string(i) + (i == kLines - 1 ? " needle" : "") + " of the harbour\r\n";
    }
    size_t at = 0;
    while (at < text.size()) {
        // Blocks of about a megabyte that end at a line end, as the engine's.
        size_t end = text.find('\n', std::min(text.size() - 1, at + (1 << 20)));
        end = end == std::string::npos ? text.size() : end + 1;
        view->AppendResult(std::string_view(text).substr(at, end - at), {});
        at = end;
    }
    QCOMPARE(view->document()->blockCount(), kLines + 1);

    FindOptions find;
    find.what = QStringLiteral("needle");
    QVERIFY(FindNextIn(view, find));
    QCOMPARE(view->textCursor().blockNumber(), kLines - 2);
    find.what = QStringLiteral("anchor");
    QVERIFY(!FindNextIn(view, find));
    QCOMPARE(view->textCursor().selectedText(), QStringLiteral("needle"));

    const QString path = fixture.dir.filePath(QStringLiteral("large.plx"));
    QString error;
    QVERIFY(view->GetDocument()->OnSaveDocument(path, error));
    QVERIFY(test::ReadBytes(path) == QByteArray::fromStdString(text));
}

QTEST_MAIN(LargeResultsTest)
#include "large_results_test.moc"
