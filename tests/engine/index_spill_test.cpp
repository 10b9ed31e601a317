// An index larger than its memory budget goes through sorted runs on disk: the
// result must be the one held in memory, byte for byte, in every form; a full
// disk fails the run with its reason; the lists tell the progress that they
// sort and write, and a cancel while sorting leaves a result that says so.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/index_tree.h"
#include "engine/spill.h"
#include "support/engine_fixture.h"

namespace plix {
namespace {

using test::EngineTest;
using test::ReadFile;

// Words that repeat within a file, across files and across runs; line ends
// that rhyme.
std::string MakeCorpus(unsigned seed, int lines)
{
    static const char* const kWords[] = {"the", "The", "a",   "cat", "sat",  "on",   "mat",
                                         "dog", "ran", "then", "zebra", "Ab", "ab", "tHe,",
                                         "x-y", "of",  "in",  "hat.", "lat"};
    return test::RepeatingWords(kWords, seed, lines);
}

std::string RunAll(AnalysisCommand command, int type, bool toFile, bool whole, uint64_t budget,
                   CommandOutcome* outcome = nullptr)
{
    EngineTest t;
    const std::string path = t.AddFile("one.txt", MakeCorpus(7, 90));
    t.AddFile("two.txt", MakeCorpus(11, 60));
    const std::string dir = path.substr(0, path.rfind('/'));
    t.ctx.corpus.SetOutputType(type);
    t.ctx.corpus.SetOutputAsFiles(toFile ? 1 : 0);
    t.ctx.corpus.SetAsWhole(whole ? 1 : 0);
    t.ctx.corpus.SetMemoryBudget(budget);
    const CommandOutcome result = t.RunCommand(command);
    if (outcome != nullptr) {
        *outcome = result;
    }
    std::string all;
    if (toFile) {
        for (int i = 0; i < t.ctx.corpus.GetFileCount(); ++i) {
            all += ReadFile(t.ctx.corpus.GetOutputFile(static_cast<size_t>(i)));
        }
    } else {
        for (const std::string& window : t.target.results) {
            all += window + "\n----\n";
        }
    }
    for (const std::string& reason : t.aborts) {
        all += "abort: " + reason + "\n";
    }
    // Each run has a directory of its own.
    for (size_t at = all.find(dir); at != std::string::npos; at = all.find(dir, at)) {
        all.replace(at, dir.size(), "DIR");
    }
    return all;
}

TEST(IndexSpill, ResultsThroughRunsOnDiskAreTheResultsInMemory)
{
    for (const char* locale : {"C", "en_US.UTF-8"}) {
        test::LocaleGuard guard(locale);
        if (!guard.Installed()) {
            continue;
        }
        for (AnalysisCommand command : {AnalysisCommand::Index, AnalysisCommand::RhymeIndex}) {
            for (int type : {kOutputText, kOutputXml}) {
                for (bool toFile : {false, true}) {
                    for (bool whole : {false, true}) {
                        SCOPED_TRACE(std::string(locale) + ", command " +
                                     std::to_string(static_cast<int>(command)) + ", type " +
                                     std::to_string(type) + (toFile ? ", file" : ", window") +
                                     (whole ? ", whole" : ""));
                        const std::string inMemory =
                            RunAll(command, type, toFile, whole, kDefaultMemoryBudget);
                        ASSERT_EQ(inMemory.find("abort"), std::string::npos) << inMemory;
                        // A run every few words, and every few dozen.
                        for (uint64_t budget : {512, 4096}) {
                            EXPECT_EQ(RunAll(command, type, toFile, whole, budget), inMemory)
                                << "budget " << budget;
                        }
                    }
                }
            }
        }
    }
}

TEST(IndexSpill, TheTreeSpillsAndMergesItsRuns)
{
    // Each word's lines cross the runs; "b" only in the last one.
    CIndexTree tree;
    tree.SetMemoryBudget(400);
    for (int line = 1; line <= 40; ++line) {
        tree.Insert(line % 3 == 0 ? "c" : "a", line, 1);
        tree.Insert("a", line, line > 20 ? 2 : 1);
    }
    tree.Insert("b", 7, 3);
    ASSERT_TRUE(tree.Sort({}));
    EXPECT_GT(tree.Spills(), 1u);
    EXPECT_EQ(tree.Entries(), 3u);
    std::string seen;
    ASSERT_TRUE(tree.Walk([&](const CIndexNode& node) {
        seen += std::string(node.text) + ":" + std::to_string(node.count);
        CIndexLines lines(node);
        int64_t line = 0;
        int64_t last = 0;
        int64_t listed = 0;
        while (lines.Next(line)) {
            // Line numbers restart with the second file of "a".
            if (line < last) {
                seen += "|";
            }
            last = line;
            ++listed;
        }
        seen += "=" + std::to_string(listed) + " ";
        return true;
    }));
    EXPECT_EQ(seen, "a:67=67 b:1=1 c:13=13 ");
}

TEST(IndexSpill, AFullDiskFailsTheRunWithItsReason)
{
    for (AnalysisCommand command : {AnalysisCommand::Index, AnalysisCommand::RhymeIndex}) {
        for (uint64_t disk : {uint64_t{0}, uint64_t{100}}) {
            SCOPED_TRACE(std::to_string(static_cast<int>(command)) + " disk " + std::to_string(disk));
            SetSpillDiskLimit(disk);
            CommandOutcome outcome;
            const std::string text = RunAll(command, kOutputText, true, true, 512, &outcome);
            SetSpillDiskLimit(std::nullopt);
            EXPECT_FALSE(outcome.completed);
            EXPECT_EQ(text.find("Total Tokens"), std::string::npos) << text;
            EXPECT_NE(outcome.reason.find("No space left on device"), std::string::npos)
                << outcome.reason;
        }
    }
}

TEST(ListStages, SortingThenWritingAndACancelWhileSorting)
{
    // Enough distinct words for the sort of the spilled index to ask.
    std::string corpus;
    for (int i = 0; i < 9000; ++i) {
        corpus += "w" + std::to_string(i) + (i % 10 == 9 ? "\n" : " ");
    }
    const long lines = 900;
    struct Case
    {
        AnalysisCommand command;
        uint64_t budget;
    } cases[] = {
        {AnalysisCommand::Wordlist, kDefaultMemoryBudget},
        {AnalysisCommand::DescendingWordlist, kDefaultMemoryBudget},
        {AnalysisCommand::Index, kDefaultMemoryBudget},
        {AnalysisCommand::Index, 4096},
        {AnalysisCommand::RhymeIndex, kDefaultMemoryBudget},
        {AnalysisCommand::Collocation, kDefaultMemoryBudget},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(static_cast<int>(c.command)) + " budget " +
                     std::to_string(c.budget));
        EngineTest t;
        t.AddFile("a.txt", corpus);
        t.ctx.corpus.SetMemoryBudget(c.budget);
        KeywordRequest keyword;
        keyword.keyword = "w1";
        ASSERT_TRUE(t.RunCommand(c.command, keyword).completed);
        const std::vector<std::string>& seen = t.progress.statuses;
        const auto sorting = std::find(seen.begin(), seen.end(), "Sorting...");
        ASSERT_NE(sorting, seen.end());
        EXPECT_NE(std::find(sorting, seen.end(), "Writing..."), seen.end());
    }
    // Cancelled at the sort's first question: no entry, the note and the footer.
    EngineTest t;
    t.AddFile("a.txt", corpus);
    t.ctx.corpus.SetMemoryBudget(4096);
    t.ctx.corpus.suppressHeaders = 1;
    t.progress.cancelAfter = lines;
    const CommandOutcome outcome = t.RunCommand(AnalysisCommand::Index);
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_EQ(t.Window(), "\r\nCancelled: 0 of 9000 entries written.\r\n");
}

}  // namespace
}  // namespace plix
