// Result documents as files: opened and saved as the bytes of the locale's
// code page with their own line ends, byte for byte; saving under a name;
// the question before a modified document goes; printing with half-inch
// margins.
#include <QtTest>

#include "app/app_fixture.h"
#include "app/child_frame.h"
#include "app/print_view.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPageLayout>
#include <QPrinter>

#include <clocale>

using namespace plix;
using test::AppFixture;

namespace {

// Installs a C locale for the life of the object, if the system has it.
class LocaleScope
{
public:
    explicit LocaleScope(const char* name) : saved_(std::setlocale(LC_ALL, nullptr))
    {
        installed_ = std::setlocale(LC_ALL, name) != nullptr;
    }
    ~LocaleScope() { std::setlocale(LC_ALL, saved_.c_str()); }
    bool Installed() const { return installed_; }

private:
    std::string saved_;
    bool installed_ = false;
};

int WindowCount(AppFixture& fixture)
{
    return static_cast<int>(fixture.Frame()->MdiArea()->subWindowList().size());
}

void SettleWindows()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

}  // namespace

class DocumentsTest : public QObject
{
    Q_OBJECT

private slots:
    void savedFileIsTheFileOpened_data();
    void savedFileIsTheFileOpened();
    void resultSavedAndReopenedByteForByte();
    void utf8ResultSavedAndReopenedByteForByte();
    void newDocumentIsSavedUnderTheNameGiven();
    void failedSaveKeepsTheDocumentModified();
    void closingAModifiedDocumentAsks_data();
    void closingAModifiedDocumentAsks();
    void closeTakesAllWindowsOfTheDocument();
    void exitAsksOnceForAllModifiedDocuments_data();
    void exitAsksOnceForAllModifiedDocuments();
    void exitWithOneModifiedDocumentAsksAboutIt();
    void printingKeepsHalfAnInchAllRound();
};

void DocumentsTest::savedFileIsTheFileOpened_data()
{
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("8-bit bytes, no-break space, LF ends")
        << QByteArray("de_DE.ISO-8859-1") << QByteArray("Stra\xdf" "e\tna\xefve\xa0Zeit\n\xe9t\xe9 \xff\n");
    QTest::newRow("every byte but the line ends") << QByteArray("de_DE.ISO-8859-1") << [] {
        QByteArray all;
        for (int b = 1; b < 256; ++b) {
            if (b != '\n' && b != '\r') {
                all.append(static_cast<char>(b));
            }
        }
        return all + "\n";
    }();
    QTest::newRow("CR LF ends") << QByteArray("C") << QByteArray("one\r\ntwo\r\n\r\nfour\r\n");
    QTest::newRow("CR ends") << QByteArray("C") << QByteArray("one\rtwo\r");
    QTest::newRow("no line end after the last line") << QByteArray("C") << QByteArray("one\ntwo");
    QTest::newRow("bytes that are no UTF-8 in a UTF-8 locale")
        << QByteArray("C.UTF-8") << QByteArray("caf\xc3\xa9 \xe9\xff\n");
    QTest::newRow("empty file") << QByteArray("C") << QByteArray();
}

void DocumentsTest::savedFileIsTheFileOpened()
{
    QFETCH(QByteArray, locale);
    QFETCH(QByteArray, bytes);
    LocaleScope scope(locale.constData());
    if (!scope.Installed()) {
        QSKIP("locale not installed");
    }
    AppFixture fixture;
    const QString path = fixture.WriteFile(QStringLiteral("in.txt"), bytes);
    CPlixDoc* doc = fixture.app->OpenDocument(path);
    QVERIFY(doc != nullptr);
    QVERIFY(!doc->IsModified());
    const QString copy = fixture.dir.filePath(QStringLiteral("out.plx"));
    QVERIFY(fixture.app->SaveDocumentTo(doc, copy));
    QCOMPARE(test::ReadBytes(copy), bytes);
    // Saved again over itself: still the same bytes.
    fixture.Frame()->OnCommand(Cmd::Save);
    QCOMPARE(test::ReadBytes(copy), bytes);
}

void DocumentsTest::resultSavedAndReopenedByteForByte()
{
    LocaleScope scope("C");
    AppFixture fixture;
    fixture.app->Corpus().SetLanguage("German");
    fixture.AddCorpusFile(QStringLiteral("a.txt"), "caf\xe9 by the sea\nthe sea \xe0 l'ouest\n");
    fixture.AnswerKeyword("sea");
    QVERIFY(fixture.app->RunAnalysis(AnalysisCommand::Concordance).completed);
    CPlixView* result = fixture.Frame()->ActiveView();
    QVERIFY(result->GetDocument()->IsModified());
    const QString first = fixture.dir.filePath(QStringLiteral("result.plx"));
    QVERIFY(fixture.app->SaveDocumentTo(result->GetDocument(), first));
    QVERIFY(!result->GetDocument()->IsModified());
    const QByteArray saved = test::ReadBytes(first);
    // The window's lines end as the engine ended them.
    QVERIFY(saved.startsWith("Corpus File: "));
    QVERIFY(saved.contains("\r\nKeyword: sea\r\nKeyword Position: 50\r\n"));
    QVERIFY(saved.contains("caf\xe9 by the sea"));
    QCOMPARE(saved.count('\n'), saved.count("\r\n"));

    const QString copied = fixture.WriteFile(QStringLiteral("copy.plx"), saved);
    CPlixDoc* reopened = fixture.app->OpenDocument(copied);
    QVERIFY(reopened != nullptr);
    QCOMPARE(reopened->FirstView()->toPlainText(), result->toPlainText());
    const QString second = fixture.dir.filePath(QStringLiteral("again.plx"));
    QVERIFY(fixture.app->SaveDocumentTo(reopened, second));
    QCOMPARE(test::ReadBytes(second), saved);
    fixture.app->Corpus().SetLanguage("System");
}

void DocumentsTest::utf8ResultSavedAndReopenedByteForByte()
{
    LocaleScope scope("C");
    AppFixture fixture;
    CCorpus& corpus = fixture.app->Corpus();
    corpus.utf8Text = 1;
    corpus.SetLanguage("German");
    fixture.AddCorpusFile(QStringLiteral("a.txt"),
                          "Die Brücke über den Fluß\nЖук и мост 橋 の 上 Brücke\n");
    fixture.AnswerKeyword("brücke");
    QVERIFY(fixture.app->RunAnalysis(AnalysisCommand::Concordance).completed);
    CPlixView* result = fixture.Frame()->ActiveView();
    // Shown decoded: the keyword stands in column 50 of each line on screen.
    const QStringList shown = result->toPlainText().split(QLatin1Char('\n'));
    int hits = 0;
    for (const QString& line : shown) {
        if (line.contains(QStringLiteral("Brücke"))) {
            const int at = line.indexOf(QStringLiteral("Brücke"), 40);
            const QString before = line.left(at);
            int columns = 0;
            for (QChar c : before) {
                columns += c.unicode() >= 0x2E80 ? 2 : 1;  // the wide characters here
            }
            QCOMPARE(columns, 49);
            ++hits;
        }
    }
    QCOMPARE(hits, 2);
    const QString first = fixture.dir.filePath(QStringLiteral("result.plx"));
    QVERIFY(fixture.app->SaveDocumentTo(result->GetDocument(), first));
    const QByteArray saved = test::ReadBytes(first);
    QVERIFY(saved.contains("Жук и мост 橋 の 上 Brücke"));
    const QString copied = fixture.WriteFile(QStringLiteral("copy.plx"), saved);
    CPlixDoc* reopened = fixture.app->OpenDocument(copied);
    QVERIFY(reopened != nullptr);
    QCOMPARE(reopened->FirstView()->toPlainText(), result->toPlainText());
    const QString second = fixture.dir.filePath(QStringLiteral("again.plx"));
    QVERIFY(fixture.app->SaveDocumentTo(reopened, second));
    QCOMPARE(test::ReadBytes(second), saved);
    corpus.utf8Text = 0;
    corpus.SetLanguage("System");
}

void DocumentsTest::newDocumentIsSavedUnderTheNameGiven()
{
    AppFixture fixture;
    int asked = 0;
    const QString path = fixture.dir.filePath(QStringLiteral("notes.plx"));
    fixture.app->SetSavePathAsker([&](CPlixDoc* doc) {
        ++asked;
        return doc->GetTitle() == QStringLiteral("PLIX1") ? path : QString();
    });
    CPlixView* view = fixture.Frame()->ActiveView();
    view->insertPlainText(QStringLiteral("first line\nsecond line"));
    fixture.Frame()->OnCommand(Cmd::Save);
    QCOMPARE(asked, 1);
    QCOMPARE(test::ReadBytes(path), QByteArray("first line\r\nsecond line"));
    QCOMPARE(view->GetDocument()->GetTitle(), QStringLiteral("notes.plx"));
    QCOMPARE(ShownTitle(fixture.Frame()->ActiveChild()), QStringLiteral("notes.plx"));
    QCOMPARE(fixture.app->RecentFiles().first(), QFileInfo(path).absoluteFilePath());
    QVERIFY(!view->GetDocument()->IsModified());
    // The document has its file now: saving again does not ask.
    view->insertPlainText(QStringLiteral("!"));
    fixture.Frame()->OnCommand(Cmd::Save);
    QCOMPARE(asked, 1);
    QCOMPARE(test::ReadBytes(path), QByteArray("first line\r\nsecond line!"));
    // "Save As" always asks; no name given, nothing happens.
    fixture.app->SetSavePathAsker([&](CPlixDoc*) {
        ++asked;
        return QString();
    });
    fixture.Frame()->OnCommand(Cmd::SaveAs);
    QCOMPARE(asked, 2);
    QCOMPARE(view->GetDocument()->GetTitle(), QStringLiteral("notes.plx"));
}

void DocumentsTest::failedSaveKeepsTheDocumentModified()
{
    AppFixture fixture;
    CPlixView* view = fixture.Frame()->ActiveView();
    view->insertPlainText(QStringLiteral("text"));
    test::MessageBoxCloser boxes;
    QVERIFY(!fixture.app->SaveDocumentTo(view->GetDocument(),
                                         fixture.dir.filePath(QStringLiteral("missing/folder/x.plx"))));
    QCOMPARE(boxes.texts.size(), 1);
    QVERIFY(boxes.texts.first().startsWith(QStringLiteral("Cannot save")));
    QVERIFY(view->GetDocument()->IsModified());
    QCOMPARE(view->GetDocument()->GetTitle(), QStringLiteral("PLIX1"));
}

void DocumentsTest::closingAModifiedDocumentAsks_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<bool>("saved");
    QTest::newRow("save it") << int(QMessageBox::Yes) << true << true;
    QTest::newRow("do not save it") << int(QMessageBox::No) << true << false;
    QTest::newRow("cancel") << int(QMessageBox::Cancel) << false << false;
}

void DocumentsTest::closingAModifiedDocumentAsks()
{
    QFETCH(int, answer);
    QFETCH(bool, closed);
    QFETCH(bool, saved);
    AppFixture fixture;
    const QString path = fixture.dir.filePath(QStringLiteral("kept.plx"));
    fixture.app->SetSavePathAsker([&](CPlixDoc*) { return path; });
    fixture.Frame()->ActiveView()->insertPlainText(QStringLiteral("unsaved work"));
    test::QuestionAnswerer answerer(static_cast<QMessageBox::StandardButton>(answer));
    // The window's own close button.
    fixture.Frame()->ActiveChild()->close();
    SettleWindows();
    QCOMPARE(answerer.questions, QStringList{QStringLiteral("Save changes to PLIX1?")});
    QCOMPARE(WindowCount(fixture), closed ? 0 : 1);
    QCOMPARE(QFile::exists(path), saved);

    // An unmodified document goes without a question.
    fixture.app->NewDocument();
    fixture.Frame()->OnCommand(Cmd::Close);
    SettleWindows();
    QCOMPARE(answerer.questions.size(), 1);
}

void DocumentsTest::closeTakesAllWindowsOfTheDocument()
{
    AppFixture fixture;
    CPlixView* view = fixture.Frame()->ActiveView();
    view->insertPlainText(QStringLiteral("unsaved work"));
    fixture.Frame()->OnCommand(Cmd::NewWindow);
    fixture.app->NewDocument();
    QCOMPARE(WindowCount(fixture), 3);
    fixture.Frame()->MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(view->parentWidget()));
    test::QuestionAnswerer answerer(QMessageBox::No);
    fixture.Frame()->OnCommand(Cmd::Close);
    SettleWindows();
    QCOMPARE(answerer.questions.size(), 1);
    QCOMPARE(WindowCount(fixture), 1);
    QCOMPARE(ShownTitle(fixture.Frame()->ActiveChild()), QStringLiteral("PLIX2"));
}

void DocumentsTest::exitAsksOnceForAllModifiedDocuments_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<int>("saved");
    QTest::newRow("Save All") << int(QMessageBox::SaveAll) << true << 2;
    QTest::newRow("Discard All") << int(QMessageBox::Discard) << true << 0;
    QTest::newRow("Cancel") << int(QMessageBox::Cancel) << false << 0;
}

void DocumentsTest::exitAsksOnceForAllModifiedDocuments()
{
    QFETCH(int, answer);
    QFETCH(bool, closed);
    QFETCH(int, saved);
    AppFixture fixture;
    fixture.Frame()->ActiveView()->insertPlainText(QStringLiteral("one"));
    fixture.app->NewDocument()->FirstView()->insertPlainText(QStringLiteral("two"));
    fixture.app->NewDocument();
    QStringList asked;
    fixture.app->SetSavePathAsker([&](CPlixDoc* doc) {
        asked.append(doc->GetTitle());
        return fixture.dir.filePath(doc->GetTitle() + QStringLiteral(".plx"));
    });
    test::QuestionAnswerer answerer(static_cast<QMessageBox::StandardButton>(answer));
    QCOMPARE(fixture.Frame()->close(), closed);
    // One question, naming the two modified documents and not the third.
    QCOMPARE(answerer.questions, QStringList{QStringLiteral("Save changes to these documents?")});
    QCOMPARE(answerer.informative, QStringList{QStringLiteral("PLIX1\nPLIX2")});
    QCOMPARE(asked.size(), saved);
    const QString first = fixture.dir.filePath(QStringLiteral("PLIX1.plx"));
    QCOMPARE(QFile::exists(first), saved > 0);
    if (saved > 0) {
        QCOMPARE(test::ReadBytes(first), QByteArray("one"));
    }
    QCOMPARE(WindowCount(fixture), 3);
}

void DocumentsTest::exitWithOneModifiedDocumentAsksAboutIt()
{
    AppFixture fixture;
    fixture.Frame()->ActiveView()->insertPlainText(QStringLiteral("one"));
    fixture.app->NewDocument();
    test::QuestionAnswerer answerer(QMessageBox::No);
    QVERIFY(fixture.Frame()->close());
    QCOMPARE(answerer.questions, QStringList{QStringLiteral("Save changes to PLIX1?")});
}

void DocumentsTest::printingKeepsHalfAnInchAllRound()
{
    AppFixture fixture;
    QPrinter& printer = fixture.app->Printer();
    const QMarginsF margins = printer.pageLayout().margins(QPageLayout::Inch);
    QCOMPARE(margins, QMarginsF(0.5, 0.5, 0.5, 0.5));

    CPlixView* view = fixture.Frame()->ActiveView();
    view->setPlainText(QStringLiteral("a concordance line that is long enough to be wrapped on paper ").repeated(4) +
                       QStringLiteral("\nline\n").repeated(300));
    const QString pdf = fixture.dir.filePath(QStringLiteral("printed.pdf"));
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    PrintView(*view, printer);
    const QByteArray printed = test::ReadBytes(pdf);
    QVERIFY(printed.startsWith("%PDF"));
    // Three hundred lines do not fit on one page.
    QVERIFY(printed.count("/Type /Page\n") + printed.count("/Type /Page\r") + printed.count("/Type /Page ") +
                printed.count("/Type /Page>") >
            1);
    QCOMPARE(printer.pageLayout().margins(QPageLayout::Inch), QMarginsF(0.5, 0.5, 0.5, 0.5));
}

QTEST_MAIN(DocumentsTest)
#include "documents_test.moc"
