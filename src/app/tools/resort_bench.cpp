// resort_bench: how long the sort commands take on a large concordance window.
//
//   resort_bench [LINES]      (default 200000 window lines)
//
// A Text-layout concordance of LINES window lines (a reference line and a
// concordance line per hit, in an order no sort keeps) is put into a result
// window; then "&Keyword", "Sort by &Left" and "Sort by &Right" each re-sort
// it into a new window with the "Sorting..." dialog up, in the "English"
// locale (8-bit collation where installed). Reported per command: the time,
// and the longest stretch in which the event loop was not run (how long the
// "CANCEL" button can take to react).
// Run it offscreen: QT_QPA_PLATFORM=offscreen build/bin/resort_bench
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/main_frame.h"
#include "app/plix_app.h"
#include "app/plix_doc.h"
#include "app/plix_view.h"
#include "app/result_sorter.h"
#include "settings/settings_store.h"

namespace {

using namespace plix;

const char* const kWords[] = {"boats",  "slip", "out",   "at",    "five",   "and", "gulls",
                              "follow", "nets", "come",  "in",    "before", "the", "town",
                              "wakes",  "grey", "water", "under", "long",   "pier"};

// A pseudo-random word, so that the contexts differ from hit to hit.
const char* Word(unsigned long& seed)
{
    seed = seed * 6364136223846793005UL + 1442695040888963407UL;
    return kWords[(seed >> 33) % (sizeof(kWords) / sizeof(kWords[0]))];
}

QString Concordance(long lines)
{
    QString text =
        QStringLiteral("Corpus File: harbour.txt\n\nKeyword: harbour\nKeyword Position: 50\n\n");
    unsigned long seed = 7;
    const long hits = lines / 2;
    for (long hit = 0; hit < hits; ++hit) {
        std::string left;
        while (left.size() < 60) {
            left = std::string(Word(seed)) + " " + left;
        }
        left = left.substr(left.size() - 49);
        std::string right = " ";
        while (right.size() < 51) {
            right += std::string(Word(seed)) + " ";
        }
        std::string line = left + "harbour" + right;
        line.resize(100);
        text += QStringLiteral("(%1) \n").arg(hits - hit);
        text += QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size()));
        text += u'\n';
    }
    text += QStringLiteral("\nTotal Occurrence(s): %1\n").arg(hits);
    return text;
}

}  // namespace

int main(int argc, char** argv)
{
    std::setlocale(LC_ALL, "");
    QApplication application(argc, argv);
    const long lines = argc > 1 ? std::max(4L, std::atol(argv[1])) : 200000L;

    CPlixApp app(std::make_unique<CMemorySettingsStore>());
    if (!app.InitInstance({QStringLiteral("plix")})) {
        return 1;
    }
    app.Corpus().SetLanguage("English");
    std::printf("locale %s, %ld window lines\n", std::setlocale(LC_COLLATE, nullptr), lines);

    QElapsedTimer timer;
    timer.start();
    CPlixView* source = app.MainFrame()->ActiveView();
    source->AppendText(Concordance(lines));
    std::printf("%-16s %7.2f s\n", "fill window", static_cast<double>(timer.nsecsElapsed()) / 1e9);

    struct Run
    {
        const char* name;
        SortCommand command;
        int column;
    };
    const Run runs[] = {{"Keyword", SortCommand::Keyword, 0},
                        {"Left, column 0", SortCommand::Left, 0},
                        {"Right, column 0", SortCommand::Right, 0},
                        {"Right, column 2", SortCommand::Right, 2}};
    for (const Run& run : runs) {
        app.Corpus().sortColumn = run.column;
        // A timer that wants to run every 10 ms: the longest wait between its
        // calls is how long the interface was left alone.
        QElapsedTimer sinceTick;
        qint64 longestGap = 0;
        QTimer ticker;
        ticker.setInterval(10);
        QObject::connect(&ticker, &QTimer::timeout, [&]() {
            longestGap = std::max(longestGap, sinceTick.elapsed());
            sinceTick.start();
        });
        ticker.start();
        sinceTick.start();
        timer.start();
        CPlixView* sorted = app.SortResult(source, run.command);
        const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
        ticker.stop();
        const bool whole = sorted != nullptr &&
                           sorted->document()->blockCount() == source->document()->blockCount();
        std::printf("%-16s %7.2f s   longest wait for the event loop %lld ms   %s\n", run.name,
                    seconds, static_cast<long long>(longestGap),
                    whole ? "all lines" : "LINES MISSING");
        if (sorted != nullptr) {
            sorted->GetDocument()->SetModifiedFlag(false);
            app.MainFrame()->CloseDocument(sorted->GetDocument());
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }
    source->GetDocument()->SetModifiedFlag(false);
    return 0;
}
