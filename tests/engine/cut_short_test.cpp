// A cancel while a result is written: the result says that it was cut short
// and how many of its entries it holds, on one line before its footer, in
// every mode, output type and form; the command's outcome carries the same
// line. A result written to its end has no such line.
#include <gtest/gtest.h>

#include "engine/parse.h"
#include "support/engine_fixture.h"

namespace plix {
namespace {

using test::EngineTest;
using test::ReadFile;

// Five lines, each with the keyword "k" first: six word types, five rhymes,
// five hits, ten words for the concordance of all words.
const char kCorpus[] = "k a\nk b\nk c\nk d\nk e";
constexpr long kLinesRead = 5;

struct ModeCase
{
    const char* name;
    AnalysisCommand command;
    size_t entries;          // entries of the whole result
    bool rebuildAsks;        // the frequency order asks once per entry before writing
    bool asksPerLineNumber;  // the index asks before each line number too (in a window)
    const char* footer;      // how the footer starts outside Xml, window form
    const char* xmlFooter;
};

const ModeCase kModes[] = {
    {"word list", AnalysisCommand::Wordlist, 6, false, false, "\r\nTotal Tokens:", "<token>"},
    {"backward list", AnalysisCommand::BackwardList, 6, false, false,
     "\r\nTotal Tokens:", "<token>"},
    {"descending", AnalysisCommand::DescendingWordlist, 6, true, false,
     "\r\nTotal Tokens:", "<token>"},
    {"ascending", AnalysisCommand::AscendingWordlist, 6, true, false,
     "\r\nTotal Tokens:", "<token>"},
    {"index", AnalysisCommand::Index, 6, false, true, "\r\nTotal Tokens:", "<token>"},
    {"rhyme index", AnalysisCommand::RhymeIndex, 5, false, true, "\r\nTotal Tokens:", "<token>"},
    {"concordance", AnalysisCommand::Concordance, 5, false, false, "\r\nTotal Occurrence(s): 5",
     "<total>5</total>"},
    {"concordance by left", AnalysisCommand::ConcordanceLeft, 5, false, false,
     "\r\nTotal Occurrence(s): 5", "<total>5</total>"},
    {"concordance by right", AnalysisCommand::ConcordanceRight, 5, false, false,
     "\r\nTotal Occurrence(s): 5", "<total>5</total>"},
    {"concordance of all words", AnalysisCommand::ConcordanceAll, 10, false, false,
     "\r\nTotal Occurrence(s): 10", "<total>10</total>"},
    // a b c d e and k itself, each within five words of a hit
    {"collocation", AnalysisCommand::Collocation, 6, false, false, "\r\nTotal Tokens:", "<token>"},
};

std::string ToFileForm(std::string text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue;
        }
        out += text[i];
    }
    return out;
}

KeywordRequest KeywordK()
{
    KeywordRequest request;
    request.keyword = "k";
    return request;
}

// Runs the mode twice on the same corpus and settings: to its end, then
// with a cancel after the given number of questions.
struct TwoRuns
{
    std::string full;
    std::string cut;
    CommandOutcome fullOutcome;
    CommandOutcome cutOutcome;
};

TwoRuns RunTwice(const ModeCase& mode, int outputType, bool toFile, long cancelAfter)
{
    EngineTest t;
    t.AddFile("a.txt", kCorpus);
    t.ctx.corpus.SetOutputType(outputType);
    t.ctx.corpus.SetOutputAsFiles(toFile ? 1 : 0);
    TwoRuns runs;
    runs.fullOutcome = t.RunCommand(mode.command, KeywordK());
    const std::string output = t.ctx.corpus.GetOutputFile(0);
    runs.full = toFile ? ReadFile(output) : t.Window(0);
    t.progress.asked = 0;
    t.progress.cancelAfter = cancelAfter;
    runs.cutOutcome = t.RunCommand(mode.command, KeywordK());
    // The file is appended to.
    runs.cut = toFile ? ReadFile(output).substr(runs.full.size()) : t.Window(1);
    return runs;
}

TEST(CutShort, EveryModeTypeAndFormSaysHowMuchWasWritten)
{
    constexpr size_t kWritten = 2;
    for (const ModeCase& mode : kModes) {
        for (int type = 0; type < kOutputTypeCount; ++type) {
            for (bool toFile : {false, true}) {
                SCOPED_TRACE(std::string(mode.name) + ", output type " + std::to_string(type) +
                             (toFile ? ", file" : ", window"));
                const long perEntry = mode.asksPerLineNumber && !toFile ? 2 : 1;
                const long rebuild = mode.rebuildAsks ? static_cast<long>(mode.entries) : 0;
                const TwoRuns runs =
                    RunTwice(mode, type, toFile, kLinesRead + rebuild + perEntry * kWritten);
                EXPECT_TRUE(runs.fullOutcome.cutShort.empty());
                EXPECT_FALSE(runs.fullOutcome.cancelled);
                EXPECT_EQ(runs.full.find("Cancelled"), std::string::npos);

                const std::string note = CutShortText(kWritten, static_cast<int64_t>(mode.entries));
                EXPECT_EQ(note,
                          "Cancelled: 2 of " + std::to_string(mode.entries) + " entries written.");
                EXPECT_TRUE(runs.cutOutcome.completed);
                EXPECT_TRUE(runs.cutOutcome.cancelled);
                EXPECT_EQ(runs.cutOutcome.cutShort, std::vector<std::string>{note});

                // The note stands right before the footer, which is written
                // as for a whole result.
                std::string expected = type == kOutputXml
                                           ? "<!-- " + note + " -->\r\n" + mode.xmlFooter
                                           : "\r\n" + note + "\r\n" + mode.footer;
                if (toFile) {
                    expected = ToFileForm(expected);
                }
                const std::string& text = runs.cut;
                const size_t at = text.find(expected);
                ASSERT_NE(at, std::string::npos) << text;
                EXPECT_EQ(text.find("Cancelled"), text.rfind("Cancelled"));
                // Before it: the header and the first entries, as the whole
                // result has them.
                ASSERT_GT(runs.full.size(), at);
                EXPECT_EQ(runs.full.compare(0, at, text, 0, at), 0) << text;
            }
        }
    }
}

TEST(CutShort, WithoutHeadersTheNoteStays)
{
    EngineTest t;
    t.AddFile("a.txt", "a b c d");
    t.ctx.corpus.suppressHeaders = 1;
    t.progress.cancelAfter = 1 + 3;
    ASSERT_TRUE(t.RunCommand(AnalysisCommand::Wordlist).completed);
    EXPECT_EQ(t.Window(), "a\t1\r\nb\t1\r\nc\t1\r\n\r\nCancelled: 3 of 4 entries written.\r\n");
}

TEST(CutShort, XmlIndexStoppedWithinAnEntryClosesIt)
{
    EngineTest t;
    t.AddFile("a.txt", "a\na\na\nb\n");
    t.ctx.corpus.suppressHeaders = 1;
    t.ctx.corpus.SetOutputType(kOutputXml);
    // Four lines read; then the entry "a" and its first two line numbers.
    t.progress.cancelAfter = 4 + 1 + 2;
    ASSERT_TRUE(t.RunCommand(AnalysisCommand::Index).completed);
    EXPECT_EQ(t.Window(),
              "</plix_info>\r\n<list><word>a</word><count>3</count>\r\n<index>\r\n"
              "<line>1</line>\r\n<line>2</line>\r\n</index>\r\n</list>\r\n"
              "<!-- Cancelled: 0 of 2 entries written. -->\r\n");
}

TEST(CutShort, ACancelThatGoesOnStopsTheNextFileAndKeepsTheLine)
{
    // Writing stops, the command goes on to the next file, and a cancel that
    // is still asked for (Ctrl-C in plix-cli) stops its reading.
    EngineTest t;
    t.AddFile("a.txt", "a b c");
    t.AddFile("b.txt", "d e");
    t.progress.cancelAfter = 1 + 1;
    CommandOutcome outcome = t.RunCommand(AnalysisCommand::Wordlist);
    EXPECT_FALSE(outcome.completed);
    EXPECT_EQ(outcome.failedEntry, 1);
    EXPECT_EQ(outcome.cutShort, std::vector<std::string>{"Cancelled: 1 of 3 entries written."});
    ASSERT_EQ(t.target.results.size(), 2u);
    EXPECT_NE(
        t.Window(0).find("a\t1\r\n\r\nCancelled: 1 of 3 entries written.\r\n\r\nTotal Tokens:\t3"),
        std::string::npos);
    EXPECT_EQ(t.Window(1).find("Cancelled"), std::string::npos);
}

TEST(CutShort, CancelWhileReadingIsNoCutButACancel)
{
    EngineTest t;
    t.AddFile("a.txt", "a\nb\nc\n");
    t.progress.cancelAfter = 1;
    CommandOutcome outcome = t.RunCommand(AnalysisCommand::Wordlist);
    EXPECT_FALSE(outcome.completed);
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_TRUE(outcome.cutShort.empty());
    EXPECT_EQ(t.Window().find("Cancelled"), std::string::npos);
}

}  // namespace
}  // namespace plix
