// The sort and quick commands of a result view: a word list or concordance
// re-sorted into a new window under "Sorting...", with the header and totals
// in place and equal keys in window order; cancelling half-way; "Quick
// Wordlist" and "Quick PLIX" over a window's own lines.
#include <QtTest>

#include "app/app_fixture.h"
#include "app/progress_dlg.h"

#include <QLabel>
#include <QMdiArea>

using namespace plix;
using test::AppFixture;

namespace {

int WindowCount(AppFixture& fixture)
{
    return static_cast<int>(fixture.Frame()->MdiArea()->subWindowList().size());
}

// The progress dialog of the main frame, while one is up.
CProgressDlg* Progress(AppFixture& fixture)
{
    return fixture.Frame()->findChild<CProgressDlg*>();
}

}  // namespace

class SortCommandsTest : public QObject
{
    Q_OBJECT

  private slots:
    void wordListResorts_data();
    void wordListResorts();
    void concordanceByRightContextSecondWord();
    void concordanceResortsInEachLayout_data();
    void concordanceResortsInEachLayout();
    void cancelLeavesAPartlyFilledWindow();
    void quickWordlistReadsTheWindow();
    void quickPlixAsksForTheKeyword();
};

void SortCommandsTest::wordListResorts_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("block");
    QTest::newRow("frequency") << int(Cmd::SortFrequency) << "the\t120\nand\t80\nof\t80\n";
    QTest::newRow("alphabet") << int(Cmd::SortAlphabet) << "and\t80\nof\t80\nthe\t120\n";
}

void SortCommandsTest::wordListResorts()
{
    QFETCH(int, command);
    QFETCH(QString, block);
    AppFixture fixture;
    CPlixView* source = fixture.Frame()->ActiveView();
    const QString head = QStringLiteral("Corpus File: a.txt\n\n");
    const QString totals = QStringLiteral("\nTotal Tokens:\t280\nTotal Types:\t3\n");
    const QString text = head + QStringLiteral("the\t120\nof\t80\nand\t80\n") + totals;
    source->setPlainText(text);
    QString status;
    QTimer::singleShot(0, [&]() {
        if (CProgressDlg* progress = Progress(fixture)) {
            status = progress->StatusText();
        }
    });
    fixture.Frame()->OnCommand(static_cast<Cmd>(command));
    QCOMPARE(status, QStringLiteral("Sorting..."));
    QCOMPARE(WindowCount(fixture), 2);
    CPlixView* sorted = fixture.Frame()->ActiveView();
    QVERIFY(sorted != source);
    QCOMPARE(sorted->GetDocument()->GetTitle(), QStringLiteral("PLIX2"));
    QCOMPARE(sorted->toPlainText(), head + block + totals);
    QCOMPARE(source->toPlainText(), text);
    QVERIFY(fixture.Frame()->isEnabled());
    QVERIFY(Progress(fixture) == nullptr);
}

void SortCommandsTest::concordanceByRightContextSecondWord()
{
    AppFixture fixture;
    // One hit a file, so that no context reaches the next hit's line.
    const char* lines[] = {"one key to Zulu end\n", "two key to alpha end\n",
                           "three key in Mike one\n", "four key at ZULU two\n"};
    for (int i = 0; i < 4; ++i) {
        fixture.AddCorpusFile(QStringLiteral("%1.txt").arg(i + 1), lines[i]);
    }
    fixture.app->Corpus().SetAsWhole(1);
    fixture.app->Corpus().SetLineFormat(40, 20);
    fixture.AnswerKeyword("key");
    QVERIFY(fixture.app->RunAnalysis(AnalysisCommand::Concordance).completed);
    CPlixView* source = fixture.Frame()->ActiveView();
    const QStringList before = source->toPlainText().split(u'\n');
    fixture.app->Corpus().sortColumn = 2;
    fixture.Frame()->OnCommand(Cmd::SortRight);
    CPlixView* sorted = fixture.Frame()->ActiveView();
    QVERIFY(sorted != source);
    const QStringList after = sorted->toPlainText().split(u'\n');
    QCOMPARE(after.size(), before.size());
    // alpha, Mike, Zulu, ZULU: the second word to the right without case;
    // Zulu and ZULU are equal and keep their order.
    QStringList texts;
    for (const QString& line : after) {
        if (line.contains(QStringLiteral(" key "))) {
            texts.append(line.trimmed());
        }
    }
    QCOMPARE(texts, (QStringList{"two key to alpha end", "three key in Mike one",
                                 "one key to Zulu end", "four key at ZULU two"}));
    // Header lines above and the totals below stay where they were.
    const int hitsStart = static_cast<int>(before.indexOf(QStringLiteral("(1) ")));
    QVERIFY(hitsStart > 0);
    QCOMPARE(after.mid(0, hitsStart), before.mid(0, hitsStart));
    QCOMPARE(after.mid(hitsStart + 8), before.mid(hitsStart + 8));
    QVERIFY(after.contains(QStringLiteral("Total Occurrence(s): 4")));
    QCOMPARE(source->GetSortMode(), 1);
    QCOMPARE(source->GetSortKeyword(), QStringLiteral("key"));
    QCOMPARE(source->GetSortKeywordPosition(), 20);
    QCOMPARE(source->GetSingleLineHits(), 0);
    QCOMPARE(source->GetHitFormat(), 1);
}

void SortCommandsTest::concordanceResortsInEachLayout_data()
{
    QTest::addColumn<int>("outputType");
    QTest::addColumn<int>("hitFormat");
    QTest::addColumn<int>("singleLineHits");
    QTest::newRow("Text") << int(kOutputText) << 1 << 0;
    QTest::newRow("Comma Separated") << int(kOutputComma) << 2 << 1;
    QTest::newRow("Tab Separated") << int(kOutputTab) << 3 << 1;
    QTest::newRow("Tagged") << int(kOutputTagged) << 4 << 1;
}

void SortCommandsTest::concordanceResortsInEachLayout()
{
    QFETCH(int, outputType);
    QFETCH(int, hitFormat);
    QFETCH(int, singleLineHits);
    AppFixture fixture;
    // One sentence a file, so that no context reaches into another.
    fixture.AddCorpusFile(QStringLiteral("a.txt"), "the sea was calm\n");
    fixture.AddCorpusFile(QStringLiteral("b.txt"), "by the sea at night\n");
    fixture.AddCorpusFile(QStringLiteral("c.txt"), "our sea and sky\n");
    fixture.app->Corpus().SetAsWhole(1);
    fixture.app->Corpus().SetOutputType(outputType);
    fixture.AnswerKeyword("sea");
    QVERIFY(fixture.app->RunAnalysis(AnalysisCommand::Concordance).completed);
    CPlixView* source = fixture.Frame()->ActiveView();
    fixture.app->Corpus().sortColumn = 1;
    fixture.Frame()->OnCommand(Cmd::SortLeft);
    CPlixView* sorted = fixture.Frame()->ActiveView();
    QCOMPARE(source->GetHitFormat(), hitFormat);
    QCOMPARE(source->GetSingleLineHits(), singleLineHits);
    // By the word to the left of the keyword: our (c), then the two "the" (a,
    // b) in their window order.
    QString order;
    for (const QString& line : sorted->toPlainText().split(u'\n')) {
        order += line.contains(QStringLiteral("calm"))    ? QStringLiteral("a")
                 : line.contains(QStringLiteral("night")) ? QStringLiteral("b")
                 : line.contains(QStringLiteral("sky"))   ? QStringLiteral("c")
                                                          : QString();
    }
    QCOMPARE(order, QStringLiteral("cab"));
    QCOMPARE(source->toPlainText().split(u'\n').size(), sorted->toPlainText().split(u'\n').size());
}

void SortCommandsTest::cancelLeavesAPartlyFilledWindow()
{
    AppFixture fixture;
    QString text = QStringLiteral("Corpus File: big.txt\n\n");
    for (int i = 0; i < 5000; ++i) {
        text += QStringLiteral("w%1\t%2\n").arg(i).arg(i % 97);
    }
    text += QStringLiteral("\nTotal Tokens:\t1\n");
    fixture.Frame()->ActiveView()->setPlainText(text);
    QTimer::singleShot(0, [&]() {
        if (CProgressDlg* progress = Progress(fixture)) {
            progress->Cancel();
        }
    });
    fixture.Frame()->OnCommand(Cmd::SortFrequency);
    QCOMPARE(WindowCount(fixture), 2);
    // The header had been copied when "CANCEL" was pressed; nothing more.
    QCOMPARE(fixture.Frame()->ActiveView()->toPlainText(),
             QStringLiteral("Corpus File: big.txt\n\n"));
    QVERIFY(fixture.Frame()->isEnabled());
    QVERIFY(fixture.Frame()->Action(Cmd::SortFrequency)->isEnabled() == false);
    QCOMPARE(fixture.Frame()->MessagePane()->text(), QStringLiteral("Cancelled"));
}

void SortCommandsTest::quickWordlistReadsTheWindow()
{
    AppFixture fixture;
    CPlixView* source = fixture.Frame()->ActiveView();
    source->setPlainText(QStringLiteral("the sea and\nthe ship"));
    fixture.Frame()->OnCommand(Cmd::QuickWordlist);
    QCOMPARE(WindowCount(fixture), 2);
    CPlixView* list = fixture.Frame()->ActiveView();
    // No corpus files are needed; the source is the window, named by its title.
    QCOMPARE(list->toPlainText(),
             QStringLiteral("Corpus File: PLIX1\n\nand\t1\nsea\t1\nship\t1\nthe\t2\n\n"
                            "Total Tokens:\t5\nTotal Types:\t4\n"));
    // The list itself is a word list again, and re-sorts.
    QVERIFY(fixture.Frame()->Action(Cmd::SortFrequency)->isEnabled());
}

void SortCommandsTest::quickPlixAsksForTheKeyword()
{
    AppFixture fixture;
    CPlixView* source = fixture.Frame()->ActiveView();
    source->setPlainText(QStringLiteral("calm water\nthe sea at night\n"));
    int asked = 0;
    fixture.app->SetKeywordAsker([&]() {
        ++asked;
        return std::optional<KeywordRequest>();
    });
    fixture.Frame()->OnCommand(Cmd::QuickPlix);
    QCOMPARE(asked, 1);
    QCOMPARE(WindowCount(fixture), 1);

    fixture.AnswerKeyword("sea");
    fixture.app->Corpus().SetLineFormat(30, 15);
    fixture.Frame()->OnCommand(Cmd::QuickPlix);
    QCOMPARE(WindowCount(fixture), 2);
    CPlixView* concordance = fixture.Frame()->ActiveView();
    const QString text = concordance->toPlainText();
    QVERIFY(text.startsWith(
        QStringLiteral("Corpus File: PLIX1\n\nKeyword: sea\nKeyword Position: 15\n\n(2) \n")));
    const QString hit = test::LineText(concordance, 6);
    QCOMPARE(hit.mid(14, 3), QStringLiteral("sea"));
    const int at = concordance->document()->findBlockByNumber(6).position() + 14;
    QVERIFY(test::IsRed(concordance, at));
    QVERIFY(text.contains(QStringLiteral("Total Occurrence(s): 1")));
    QVERIFY(fixture.Frame()->Action(Cmd::SortKeyword)->isEnabled());
}

QTEST_MAIN(SortCommandsTest)
#include "sort_commands_test.moc"
