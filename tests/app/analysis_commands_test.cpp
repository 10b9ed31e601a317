// The analysis commands as the menus run them: results in new windows with the
// keywords in red, the collocation's temporary line format, the list keyword
// used once, and "Abort Process" when a run fails.
#include <QtTest>

#include "app/app_fixture.h"
#include "app/child_frame.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRegularExpression>

using namespace plix;
using test::AppFixture;

namespace {

const QByteArray kHarbour =
    "The harbour wakes before the town.\n"
    "Boats slip out at five.\n"
    "Gulls follow the boats and the nets.\n";

// Cancels once it has been asked a given number of times, as "CANCEL" pressed
// at that moment would.
class CancelAfter : public CProgressFactory
{
  public:
    explicit CancelAfter(long questions) : questions_(questions) {}
    std::unique_ptr<CProgress> Make() override { return std::make_unique<Progress>(*this); }

  private:
    class Progress : public CProgress
    {
      public:
        explicit Progress(CancelAfter& owner) : owner_(owner) {}
        bool IsCancelled() override { return ++owner_.asked_ > owner_.questions_; }

      private:
        CancelAfter& owner_;
    };
    long questions_;
    long asked_ = 0;
};

}  // namespace

class AnalysisCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void concordanceLandsInANewActiveWindow();
    void concordanceKeywordsAreRed_data();
    void concordanceKeywordsAreRed();
    void collocationFormatIsRestored_data();
    void collocationFormatIsRestored();
    void listKeywordServesOneCommand();
    void cancelledKeywordOpensNoWindow();
    void failedRunShowsAbortProcessAndSkipsTheRest();
    void cancelWhileWritingSaysSo();
    void abortReasonKeepsItsPathOnOneLine_data();
    void abortReasonKeepsItsPathOnOneLine();
    void eachCommandReachesItsMode_data();
    void eachCommandReachesItsMode();
};

void AnalysisCommandsTest::concordanceLandsInANewActiveWindow()
{
    AppFixture fixture;
    fixture.AddCorpusFile(QStringLiteral("harbour.txt"), kHarbour);
    fixture.AnswerKeyword("the");
    QMdiArea* area = fixture.Frame()->MdiArea();
    const int before = static_cast<int>(area->subWindowList().size());

    // As the menu entry runs it.
    fixture.Frame()->Action(Cmd::Concordance)->trigger();

    QCOMPARE(static_cast<int>(area->subWindowList().size()), before + 1);
    CPlixView* view = fixture.Frame()->ActiveView();
    QVERIFY(view != nullptr);
    QCOMPARE(view->GetDocument()->GetTitle(), QStringLiteral("PLIX2"));
    const QString text = view->toPlainText();
    QVERIFY(text.startsWith(QStringLiteral("Corpus File: ")));
    QVERIFY(text.contains(QStringLiteral("Keyword: the\n")));
    QVERIFY(text.contains(QStringLiteral("Total Occurrence(s): 4")));
    // A result is work not saved yet.
    QCOMPARE(ShownTitle(fixture.Frame()), QStringLiteral("PLIX Concordance - PLIX2*"));
}

void AnalysisCommandsTest::concordanceKeywordsAreRed_data()
{
    QTest::addColumn<int>("outputType");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("position");
    QTest::newRow("text, 100/50") << int(kOutputText) << 100 << 50;
    QTest::newRow("text, 60/20") << int(kOutputText) << 60 << 20;
    QTest::newRow("tab separated") << int(kOutputTab) << 100 << 50;
    QTest::newRow("comma separated") << int(kOutputComma) << 80 << 30;
    QTest::newRow("tagged") << int(kOutputTagged) << 80 << 30;
}

void AnalysisCommandsTest::concordanceKeywordsAreRed()
{
    QFETCH(int, outputType);
    QFETCH(int, length);
    QFETCH(int, position);
    AppFixture fixture;
    fixture.AddCorpusFile(QStringLiteral("harbour.txt"), kHarbour);
    fixture.app->Corpus().SetOutputType(outputType);
    fixture.app->Corpus().SetLineFormat(length, position);
    fixture.AnswerKeyword("the");
    CommandOutcome outcome = fixture.app->RunAnalysis(AnalysisCommand::Concordance);
    QVERIFY(outcome.started && outcome.completed);

    CPlixView* view = fixture.Frame()->ActiveView();
    QTextDocument* document = view->document();
    // Every red run of characters is a whole keyword, and there is one per hit.
    QStringList redRuns;
    QString run;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (int i = 0; i < block.length() - 1; ++i) {
            if (test::IsRed(view, block.position() + i)) {
                run += block.text().at(i);
            } else if (!run.isEmpty()) {
                redRuns.append(run);
                run.clear();
            }
        }
        if (!run.isEmpty()) {
            redRuns.append(run);
            run.clear();
        }
    }
    QCOMPARE(redRuns, (QStringList{"The", "the", "the", "the"}));
    // In the Text layout the keyword of each concordance line starts at the
    // keyword position (columns counted from 1).
    if (outputType == kOutputText) {
        // A hit is its reference line "(n) " and then its concordance line.
        const QRegularExpression reference(QStringLiteral("^\\(\\d+\\) $"));
        int checked = 0;
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
            if (!reference.match(block.text()).hasMatch()) {
                continue;
            }
            const QTextBlock line = block.next();
            ++checked;
            QVERIFY2(test::IsRed(view, line.position() + position - 1), qPrintable(line.text()));
            QVERIFY(!test::IsRed(view, line.position() + position - 2));
        }
        QCOMPARE(checked, 4);
    }
}

void AnalysisCommandsTest::collocationFormatIsRestored_data()
{
    QTest::addColumn<bool>("answer");
    QTest::newRow("after a run") << true;
    QTest::newRow("after the keyword dialog was cancelled") << false;
}

void AnalysisCommandsTest::collocationFormatIsRestored()
{
    QFETCH(bool, answer);
    AppFixture fixture;
    fixture.AddCorpusFile(QStringLiteral("harbour.txt"), kHarbour);
    fixture.app->Corpus().SetLineFormat(80, 40);
    int askedLength = 0;
    int askedPosition = 0;
    fixture.app->SetKeywordAsker([&]() -> std::optional<KeywordRequest> {
        askedLength = fixture.app->Corpus().GetLineLength();
        askedPosition = fixture.app->Corpus().GetKeywordPosition();
        if (!answer) {
            return std::nullopt;
        }
        KeywordRequest request;
        request.keyword = "the";
        return request;
    });
    fixture.Frame()->OnCommand(Cmd::Collocation);
    // The run (and the dialog) saw the collocation's own format…
    QCOMPARE(askedLength, 150);
    QCOMPARE(askedPosition, 75);
    // …and the format dialog shows the user's again.
    QCOMPARE(fixture.app->Corpus().GetLineLength(), 80);
    QCOMPARE(fixture.app->Corpus().GetKeywordPosition(), 40);
}

void AnalysisCommandsTest::listKeywordServesOneCommand()
{
    AppFixture fixture;
    fixture.AddCorpusFile(QStringLiteral("harbour.txt"), kHarbour);
    // What "List Option ..." leaves behind: a filter for the next list.
    fixture.app->Corpus().keyword = "boats";
    fixture.Frame()->OnCommand(Cmd::Wordlist);
    const QString filtered = fixture.Frame()->ActiveView()->toPlainText();
    QVERIFY(filtered.contains(QStringLiteral("boats\t")));
    QVERIFY(!filtered.contains(QStringLiteral("gulls\t")));
    QVERIFY(fixture.app->Corpus().keyword.empty());
    fixture.Frame()->OnCommand(Cmd::Wordlist);
    QVERIFY(fixture.Frame()->ActiveView()->toPlainText().contains(QStringLiteral("gulls\t")));
}

void AnalysisCommandsTest::cancelledKeywordOpensNoWindow()
{
    AppFixture fixture;
    fixture.AddCorpusFile(QStringLiteral("harbour.txt"), kHarbour);
    fixture.app->SetKeywordAsker([]() { return std::optional<KeywordRequest>(); });
    const auto before = fixture.Frame()->MdiArea()->subWindowList().size();
    test::MessageBoxCloser boxes;
    CommandOutcome outcome = fixture.app->RunAnalysis(AnalysisCommand::Concordance);
    QVERIFY(!outcome.started);
    QCOMPARE(fixture.Frame()->MdiArea()->subWindowList().size(), before);
    // Cancelling the question is not a failure.
    QVERIFY(boxes.texts.isEmpty());
}

void AnalysisCommandsTest::failedRunShowsAbortProcessAndSkipsTheRest()
{
    AppFixture fixture;
    fixture.AddCorpusFile(QStringLiteral("first.txt"), kHarbour);
    // The second entry's corpus file does not exist.
    fixture.app->Corpus().AddInputFile(test::Bytes(fixture.dir.filePath(QStringLiteral("missing.txt"))));
    fixture.app->Corpus().AddOutputFile(test::Bytes(fixture.dir.filePath(QStringLiteral("missing.plx"))));
    fixture.AddCorpusFile(QStringLiteral("third.txt"), kHarbour);
    const auto before = fixture.Frame()->MdiArea()->subWindowList().size();

    test::MessageBoxCloser boxes;
    CommandOutcome outcome = fixture.app->RunAnalysis(AnalysisCommand::Wordlist);

    QVERIFY(!outcome.completed);
    QCOMPARE(outcome.failedEntry, 1);
    QCOMPARE(boxes.texts, QStringList{QStringLiteral("Abort Process")});
    // The engine's reason is shown beside it.
    QVERIFY(!boxes.informative.value(0).isEmpty());
    // The first entry's result stays; no third one was made.
    QCOMPARE(fixture.Frame()->MdiArea()->subWindowList().size(), before + 1);
    QVERIFY(fixture.Frame()->isEnabled());
    QVERIFY(!fixture.app->IsRunning());
}

void AnalysisCommandsTest::cancelWhileWritingSaysSo()
{
    AppFixture fixture;
    fixture.AddCorpusFile(QStringLiteral("harbour.txt"), kHarbour);
    fixture.AnswerKeyword("the");
    // Three lines read, then two of the four hits written.
    CancelAfter cancel(3 + 2);
    fixture.app->Context().SetProgressFactory(&cancel);
    test::MessageBoxCloser boxes;
    CommandOutcome outcome = fixture.app->RunAnalysis(AnalysisCommand::Concordance);
    fixture.app->Context().SetProgressFactory(&fixture.app->ProgressFactory());

    QVERIFY(outcome.completed);
    QCOMPARE(outcome.cutShort, std::vector<std::string>{"Cancelled: 2 of 4 entries written."});
    // Nothing went wrong: no "Abort Process".
    QVERIFY(boxes.texts.isEmpty());
    QCOMPARE(fixture.Frame()->MessagePane()->text(), QStringLiteral("Cancelled"));
    const QString text = fixture.Frame()->ActiveView()->toPlainText();
    QVERIFY2(text.endsWith(QStringLiteral("\n\nCancelled: 2 of 4 entries written.\n\n"
                                          "Total Occurrence(s): 4\n\n")),
             qPrintable(text));
    // Two hits, each a reference line and a concordance line.
    QCOMPARE(text.count(QStringLiteral("\n(")), 2);

    // The next run that goes through says so too.
    fixture.app->RunAnalysis(AnalysisCommand::Concordance);
    QCOMPARE(fixture.Frame()->MessagePane()->text(), QStringLiteral("Ready"));
}

void AnalysisCommandsTest::abortReasonKeepsItsPathOnOneLine_data()
{
    // A box makes itself at most half as wide as the screen (800 pixels
    // offscreen) unless its text needs more.
    QTest::addColumn<bool>("inTemporaryFolder");
    QTest::addColumn<int>("folders");
    QTest::addColumn<bool>("shortened");
    QTest::newRow("a path wider than half the screen, whole") << false << 1 << false;
    QTest::newRow("a path wider than the screen, shortened in the middle") << true << 20 << true;
}

void AnalysisCommandsTest::abortReasonKeepsItsPathOnOneLine()
{
    QFETCH(bool, inTemporaryFolder);
    QFETCH(int, folders);
    QFETCH(bool, shortened);
    AppFixture fixture;
    const QString name = QStringLiteral("a folder of the corpus/").repeated(folders) +
                         QStringLiteral("corpus file.txt");
    const QString missing = inTemporaryFolder ? fixture.dir.filePath(name) : name;
    fixture.app->Corpus().AddInputFile(test::Bytes(missing));
    fixture.app->Corpus().AddOutputFile(test::Bytes(missing + QStringLiteral(".plx")));
    fixture.Frame()->UpdateCommandUI();
    // What the box shows, looked at while it is up.
    QString shown;
    QString details;
    int lines = 0;
    QTimer watcher;
    watcher.setInterval(5);
    QObject::connect(&watcher, &QTimer::timeout, [&]() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) {
            return;
        }
        auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"));
        if (label != nullptr) {
            shown = label->text();
            const QMargins margins = label->contentsMargins();
            const int textHeight =
                label->heightForWidth(label->width()) - margins.top() - margins.bottom();
            const int lineHeight = label->fontMetrics().lineSpacing();
            lines = (textHeight + lineHeight / 2) / lineHeight;
        }
        details = box->detailedText();
        box->done(QMessageBox::Ok);
    });
    watcher.start();
    CommandOutcome outcome = fixture.app->RunAnalysis(AnalysisCommand::Wordlist);
    QVERIFY(!outcome.completed);
    QCOMPARE(lines, 1);
    const QString reason = QString::fromLocal8Bit(outcome.reason.c_str());
    QVERIFY2(reason.contains(missing), qPrintable(reason));
    if (shortened) {
        QVERIFY(shown.contains(QChar(0x2026)));
        QVERIFY2(shown.endsWith(QStringLiteral("No such file or directory")), qPrintable(shown));
        QVERIFY2(details.contains(reason), qPrintable(details));
    } else {
        QCOMPARE(shown, reason);
    }
}

void AnalysisCommandsTest::eachCommandReachesItsMode_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("expected");
    QTest::newRow("wordlist") << int(Cmd::Wordlist) << QStringLiteral("boats\t2");
    QTest::newRow("backward list") << int(Cmd::BackwardList) << QStringLiteral("\tboats\t2");
    QTest::newRow("descending") << int(Cmd::DescendingWordlist) << QStringLiteral("the\t4");
    QTest::newRow("ascending") << int(Cmd::AscendingWordlist) << QStringLiteral("wakes\t1");
    QTest::newRow("index") << int(Cmd::Index) << QStringLiteral("boats\t2\n 2 3");
    QTest::newRow("rhyme index") << int(Cmd::RhymeIndex) << QStringLiteral("five");
    QTest::newRow("concordance") << int(Cmd::Concordance) << QStringLiteral("Keyword: the");
    QTest::newRow("by left") << int(Cmd::ConcordanceLeft) << QStringLiteral("Keyword: the");
    QTest::newRow("by right") << int(Cmd::ConcordanceRight) << QStringLiteral("Keyword: the");
    QTest::newRow("collocation") << int(Cmd::Collocation) << QStringLiteral("Word\tTotal");
    QTest::newRow("all words") << int(Cmd::ConcordanceAll) << QStringLiteral("Total Occurrence(s): 18");
}

void AnalysisCommandsTest::eachCommandReachesItsMode()
{
    QFETCH(int, command);
    QFETCH(QString, expected);
    AppFixture fixture;
    fixture.AddCorpusFile(QStringLiteral("harbour.txt"), kHarbour);
    fixture.AnswerKeyword("the");
    test::MessageBoxCloser boxes;
    fixture.Frame()->OnCommand(static_cast<Cmd>(command));
    QVERIFY(boxes.texts.isEmpty());
    const QString text = fixture.Frame()->ActiveView()->toPlainText();
    QVERIFY2(text.contains(expected), qPrintable(text.left(600)));
}

QTEST_MAIN(AnalysisCommandsTest)
#include "analysis_commands_test.moc"
