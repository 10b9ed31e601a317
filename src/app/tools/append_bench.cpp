// append_bench: how long a large concordance takes to reach a result window.
//
//   append_bench [HITS]      (default 100000 hits = 200000 window lines)
//
// 1. "append": the engine's writer hands a Text-layout concordance (a
//    reference line and a concordance line per hit, the keyword coloured) to
//    a new result window in its usual blocks; then the window is painted and
//    scrolled to the end.
// 2. "run": the whole "&PLIX Concordance" command over a corpus with one hit
//    per line, with the "Searching ..." dialog, into a new window.
// 3. "colour": the keywords of that window found from its text and coloured
//    red, as in a re-sorted window or a ".plx" file opened again; then the
//    window saved and opened again as a whole.
// Run it offscreen: QT_QPA_PLATFORM=offscreen build/bin/append_bench
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <clocale>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "app/find_dlg.h"
#include "app/keyword_colouring.h"
#include "app/main_frame.h"
#include "app/plix_app.h"
#include "app/plix_doc.h"
#include "app/plix_view.h"

namespace {

using plix::CPlixApp;

double Seconds(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

std::string ConcordanceLine(long hit)
{
    // 49 columns of left context, the keyword at column 50, right context to 100.
    std::string left = "boats slip out at five and gulls follow hit " + std::to_string(hit);
    left = std::string(49 - std::min<size_t>(49, left.size()), ' ') + left.substr(0, 49);
    std::string line = left + "the harbour wakes before the town does and the nets come in";
    line.resize(100, ' ');
    return line;
}

bool SampleIsRed(plix::CPlixView* view, int block, int column)
{
    QTextCursor cursor(view->document()->findBlockByNumber(block));
    cursor.setPosition(cursor.position() + column + 1);
    return cursor.charFormat().foreground().color() == plix::CPlixView::KeywordColour();
}

}  // namespace

int main(int argc, char** argv)
{
    std::setlocale(LC_ALL, "");
    QApplication application(argc, argv);
    const long hits = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 100000;

    auto app = std::make_unique<CPlixApp>(std::make_unique<plix::CMemorySettingsStore>());
    if (!app->InitInstance({QStringLiteral("append_bench")})) {
        return 1;
    }
    plix::CFormat& format = app->Context().format;
    // What a window costs at this size, whatever its limit: no question.
    app->ResultTarget().SetLimits(SIZE_MAX, SIZE_MAX);

    // 1. The writer's blocks into a window.
    QElapsedTimer timer;
    timer.start();
    format.SetToFile(false);
    if (!format.NewResultWindow()) {
        return 1;
    }
    for (long hit = 1; hit <= hits; ++hit) {
        format.AppendToWindow("(" + std::to_string(hit) + ") \r\n");
        format.AppendToWindow(ConcordanceLine(hit) + "\r\n");
        format.HighlightKeyword(3, 49);
    }
    format.Flush();
    const double appended = Seconds(timer);
    plix::CPlixView* view = app->MainFrame()->ActiveView();
    timer.restart();
    QCoreApplication::processEvents();
    view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
    view->viewport()->repaint();
    const double painted = Seconds(timer);
    const int lines = view->document()->blockCount() - 1;
    const bool red = SampleIsRed(view, lines - 1, 49) && !SampleIsRed(view, lines - 1, 48);
    std::printf("append: %ld hits, %d window lines, %ld coloured keywords: %.2f s to append, "
                "%.2f s to paint the end; last keyword red: %s\n",
                hits, lines, hits, appended, painted, red ? "yes" : "NO");
    std::fflush(stdout);
    {
        // Scrolling to the middle, a find that reads the whole text (nothing
        // matches), and a save.
        timer.restart();
        view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum() / 2);
        view->viewport()->repaint();
        const double scrolled = Seconds(timer);
        timer.restart();
        view->moveCursor(QTextCursor::Start);
        plix::FindOptions find;
        find.what = QStringLiteral("anchor");
        const bool found = plix::FindNextIn(view, find);
        const double searched = Seconds(timer);
        QTemporaryDir saveDir;
        QString error;
        timer.restart();
        const bool saved = view->GetDocument()->OnSaveDocument(saveDir.filePath(QStringLiteral("a.plx")), error);
        const double saving = Seconds(timer);
        std::printf("window: %.2f s to scroll to the middle, %.2f s to find nothing (%s), %.2f s to save (%s)\n",
                    scrolled, searched, found ? "found?" : "none", saving, saved ? "saved" : "FAILED");
        std::fflush(stdout);
    }

    // 2. The whole command over a corpus file.
    QTemporaryDir dir;
    const std::string corpus = dir.filePath(QStringLiteral("bench.txt")).toStdString();
    {
        std::ofstream out(corpus, std::ios::binary);
        for (long line = 1; line <= hits; ++line) {
            out << "line " << line << " tells of a harbour at five in the morning\n";
        }
    }
    app->Corpus().AddInputFile(corpus);
    app->Corpus().AddOutputFile(plix::CCorpus::DefaultOutputPath(corpus));
    app->SetKeywordAsker([]() {
        plix::KeywordRequest request;
        request.keyword = "the";
        return std::optional<plix::KeywordRequest>(request);
    });
    timer.restart();
    plix::CommandOutcome outcome = app->RunAnalysis(plix::AnalysisCommand::Concordance);
    const double ran = Seconds(timer);
    plix::CPlixView* result = app->MainFrame()->ActiveView();
    std::printf("run: concordance of %ld corpus lines into a %d-line window: %.2f s (%s)\n", hits,
                result->document()->blockCount() - 1, ran, outcome.completed ? "completed" : "FAILED");

    // 3. Colouring from the text.
    timer.restart();
    const int coloured = plix::ColourHitKeywords(*result->GetDocument(), app->Corpus());
    const double colouring = Seconds(timer);
    const QString saved = dir.filePath(QStringLiteral("bench.plx"));
    const QString copy = dir.filePath(QStringLiteral("copy.plx"));
    QString error;
    if (!result->GetDocument()->OnSaveDocument(saved, error) || !QFile::copy(saved, copy)) {
        return 1;
    }
    timer.restart();
    plix::CPlixDoc* reopened = app->OpenDocument(copy);
    const double opening = Seconds(timer);
    // The last hit's concordance line follows its reference line "(n) ".
    int lastHit = 0;
    if (reopened != nullptr) {
        for (QTextBlock block = reopened->TextDocument()->lastBlock(); block.isValid();
             block = block.previous()) {
            if (block.text().startsWith(u'(')) {
                lastHit = block.blockNumber() + 1;
                break;
            }
        }
    }
    const bool reopenedRed = lastHit > 0 && SampleIsRed(reopened->FirstView(), lastHit, 49) &&
                             !SampleIsRed(reopened->FirstView(), lastHit, 48);
    std::printf(
        "colour: %d keywords of a %d-line window: %.2f s; the window saved and opened "
        "again: %.2f s, last keyword red: %s\n",
        coloured, result->document()->blockCount() - 1, colouring, opening,
        reopenedRed ? "yes" : "NO");
    return red && outcome.completed && coloured == hits && reopenedRed ? 0 : 1;
}
