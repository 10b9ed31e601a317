// Red keywords wherever a window's keyword column is known: in a concordance
// re-sorted into a new window, in one saved as ".plx" and opened again, and
// in a quick concordance of a window; in every layout the re-sort reads.
#include <QtTest>

#include "app/app_fixture.h"

#include <QMdiArea>
#include <QRegularExpression>

using namespace plix;
using test::AppFixture;

namespace {

const QByteArray kHarbour =
    "The harbour wakes before the town.\n"
    "Boats slip out at five.\n"
    "Gulls follow the boats and the nets.\n";

enum class Way
{
    SortKeyword,
    SortLeft,
    SortRight,
    Reopened,
    QuickPlix
};

}  // namespace

class KeywordColouringTest : public QObject
{
    Q_OBJECT

  private slots:
    void keywordsAreRed_data();
    void keywordsAreRed();
    void otherWindowsStayBlack();
};

void KeywordColouringTest::keywordsAreRed_data()
{
    QTest::addColumn<int>("way");
    QTest::addColumn<int>("outputType");
    QTest::addColumn<QStringList>("expected");
    const QStringList byKeyword = {"The", "the", "the", "the"};
    const struct
    {
        const char* name;
        Way way;
        QStringList expected;
    } ways[] = {
        {"sorted by keyword", Way::SortKeyword, byKeyword},
        {"sorted by left", Way::SortLeft, byKeyword},
        {"sorted by right", Way::SortRight, byKeyword},
        {"saved and opened again", Way::Reopened, byKeyword},
        // The quick concordance of the result: every "the" of its text
        {"quick concordance", Way::QuickPlix, {}},
    };
    const struct
    {
        const char* name;
        int type;
    } types[] = {{"text", kOutputText},
                 {"comma", kOutputComma},
                 {"tab", kOutputTab},
                 {"tagged", kOutputTagged}};
    for (const auto& way : ways) {
        for (const auto& type : types) {
            QTest::addRow("%s, %s", way.name, type.name)
                << int(way.way) << type.type << way.expected;
        }
    }
}

void KeywordColouringTest::keywordsAreRed()
{
    QFETCH(int, way);
    QFETCH(int, outputType);
    QFETCH(QStringList, expected);
    AppFixture fixture;
    fixture.AddCorpusFile(QStringLiteral("harbour.txt"), kHarbour);
    fixture.app->Corpus().SetOutputType(outputType);
    fixture.app->Corpus().SetLineFormat(60, 30);
    fixture.AnswerKeyword("the");
    QVERIFY(fixture.app->RunAnalysis(AnalysisCommand::Concordance).completed);
    CPlixView* result = fixture.Frame()->ActiveView();
    QCOMPARE(test::RedRuns(result), (QStringList{"The", "the", "the", "the"}));

    CPlixView* shown = nullptr;
    switch (static_cast<Way>(way)) {
        case Way::SortKeyword:
            shown = fixture.app->SortResult(result, SortCommand::Keyword);
            break;
        case Way::SortLeft:
            shown = fixture.app->SortResult(result, SortCommand::Left);
            break;
        case Way::SortRight:
            shown = fixture.app->SortResult(result, SortCommand::Right);
            break;
        case Way::Reopened: {
            const QString path = fixture.dir.filePath(QStringLiteral("result.plx"));
            QVERIFY(fixture.app->SaveDocumentTo(result->GetDocument(), path));
            fixture.Frame()->CloseDocument(result->GetDocument());
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            result = nullptr;
            CPlixDoc* doc = fixture.app->OpenDocument(path);
            QVERIFY(doc != nullptr);
            shown = doc->FirstView();
            // Colouring it is no edit.
            QVERIFY(!doc->IsModified());
            QVERIFY(!shown->document()->isUndoAvailable());
            break;
        }
        case Way::QuickPlix: {
            const QRegularExpression word(QStringLiteral("\\bthe\\b"),
                                          QRegularExpression::CaseInsensitiveOption);
            for (QRegularExpressionMatchIterator it = word.globalMatch(result->toPlainText());
                 it.hasNext();) {
                expected.append(it.next().captured());
            }
            QVERIFY(fixture.app->RunQuick(QuickCommand::Plix, result).completed);
            shown = fixture.Frame()->ActiveView();
            break;
        }
    }
    QVERIFY(shown != nullptr && shown != result);
    QStringList red = test::RedRuns(shown);
    // The order of the hits is the sort's; each hit's keyword is red.
    QStringList sortedRed = red;
    QStringList sortedExpected = expected;
    sortedRed.sort();
    sortedExpected.sort();
    QCOMPARE(sortedRed, sortedExpected);
}

void KeywordColouringTest::otherWindowsStayBlack()
{
    AppFixture fixture;
    fixture.AddCorpusFile(QStringLiteral("harbour.txt"), kHarbour);
    QVERIFY(fixture.app->RunAnalysis(AnalysisCommand::Wordlist).completed);
    CPlixView* list = fixture.Frame()->ActiveView();
    CPlixView* sorted = fixture.app->SortResult(list, SortCommand::Frequency);
    QVERIFY(sorted != nullptr);
    QVERIFY(test::RedRuns(sorted).isEmpty());
    // A text file that only mentions a keyword line is no concordance.
    const QString path = fixture.WriteFile(QStringLiteral("notes.txt"),
                                           "Keyword: the\nKeyword Position: 5\n\nthe end\n");
    CPlixDoc* doc = fixture.app->OpenDocument(path);
    QVERIFY(doc != nullptr);
    QVERIFY(test::RedRuns(doc->FirstView()).isEmpty());
}

QTEST_MAIN(KeywordColouringTest)
#include "keyword_colouring_test.moc"
