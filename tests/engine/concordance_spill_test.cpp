// A concordance larger than its memory budget goes through sorted runs on
// disk: the result must be the one held in memory, byte for byte, whatever
// the sort, the form, the output type and "As a Whole"; a disk that fills up
// fails the run with its reason; and the sort and the merge tell the
// progress what they are doing and stop when it is cancelled.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "engine/parse.h"
#include "engine/spill.h"
#include "engine/trees.h"
#include "settings/text.h"
#include "support/engine_fixture.h"

namespace plix {
namespace {

using test::EngineTest;
using test::ReadFile;

// Lines of words from a small vocabulary, so that keys repeat within a file,
// across files and across runs; "The" and "the" are one key.
std::string MakeCorpus(unsigned seed, int lines)
{
    static const char* const kWords[] = {"the", "The", "a",    "cat",  "sat", "on",
                                         "mat", "dog", "ran",  "then", "thé", "zebra",
                                         "Ab",  "ab",  "tHe,", "x-y",  "of",  "in"};
    return test::RepeatingWords(kWords, seed, lines);
}

struct Settings
{
    AnalysisCommand command;
    int outputType;
    bool toFile;
    bool whole;
    int sortColumn;
};

// Everything the command wrote: its windows or its output files, in order.
std::string RunAll(const Settings& s, uint64_t budget, CommandOutcome* outcome = nullptr)
{
    EngineTest t;
    t.AddFile("one.txt", MakeCorpus(7, 70));
    t.AddFile("two.txt", MakeCorpus(11, 50));
    t.ctx.corpus.SetOutputType(s.outputType);
    t.ctx.corpus.SetOutputAsFiles(s.toFile ? 1 : 0);
    t.ctx.corpus.SetAsWhole(s.whole ? 1 : 0);
    t.ctx.corpus.sortColumn = s.sortColumn;
    t.ctx.corpus.SetLineFormat(40, 20);
    t.ctx.corpus.SetMemoryBudget(budget);
    KeywordRequest keyword;
    keyword.keyword = "the";
    const CommandOutcome result = t.RunCommand(s.command, keyword);
    if (outcome != nullptr) {
        *outcome = result;
    }
    std::string all;
    if (s.toFile) {
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
    // Each run has a folder of its own: the headers name it.
    for (size_t at = all.find(t.dir.Path()); at != std::string::npos;
         at = all.find(t.dir.Path(), at)) {
        all.replace(at, t.dir.Path().size(), "DIR");
    }
    return all;
}

const AnalysisCommand kConcordances[] = {
    AnalysisCommand::Concordance, AnalysisCommand::ConcordanceLeft,
    AnalysisCommand::ConcordanceRight, AnalysisCommand::ConcordanceAll};

TEST(ConcordanceSpill, ResultsThroughRunsOnDiskAreTheResultsInMemory)
{
    // 2 KB holds a few hits: runs of one and of a few hits, merged in more
    // than one pass for the concordance of all words. 64 KB: a few runs.
    for (const char* locale : {"C", "en_US.UTF-8"}) {
        test::LocaleGuard guard(locale);
        if (!guard.Installed()) {
            continue;
        }
        for (AnalysisCommand command : kConcordances) {
            for (int type : {kOutputText, kOutputComma, kOutputXml}) {
                for (bool toFile : {false, true}) {
                    for (bool whole : {false, true}) {
                        for (int column : {0, 2}) {
                            if (column != 0 && (command == AnalysisCommand::Concordance ||
                                                command == AnalysisCommand::ConcordanceAll)) {
                                continue;
                            }
                            const Settings s{command, type, toFile, whole, column};
                            SCOPED_TRACE(std::string(locale) + ", command " +
                                         std::to_string(static_cast<int>(command)) + ", type " +
                                         std::to_string(type) + (toFile ? ", file" : ", window") +
                                         (whole ? ", whole" : "") + ", column " +
                                         std::to_string(column));
                            const std::string inMemory = RunAll(s, kDefaultMemoryBudget);
                            ASSERT_EQ(inMemory.find("abort"), std::string::npos) << inMemory;
                            for (uint64_t budget : {2048, 16 << 10}) {
                                // Runs written on the second core, and in line.
                                CPlixTree::SetSpillOnSecondCore(budget == 2048);
                                const std::string spilled = RunAll(s, budget);
                                CPlixTree::SetSpillOnSecondCore(std::nullopt);
                                const auto differ = std::mismatch(spilled.begin(), spilled.end(),
                                                                  inMemory.begin(), inMemory.end());
                                if (spilled != inMemory) {
                                    const size_t at =
                                        static_cast<size_t>(differ.first - spilled.begin());
                                    const size_t from = at > 80 ? at - 80 : 0;
                                    ADD_FAILURE() << "budget " << budget << ", byte " << at
                                                  << "\nspilled:   " << spilled.substr(from, 200)
                                                  << "\nin memory: " << inMemory.substr(from, 200);
                                    return;
                                }
                            }
                        }
                    }
                }
            }
        }
    }
}

TEST(ConcordanceSpill, LinesKeptOnceForAllTheirWordsAreTheLinesMadeForEachWord)
{
    // The concordance of all words keeps each source line's text once and
    // cuts every hit's line out of it; made hit by hit, the lines must be
    // the same wherever the hit stands: at either end of a line, in lines
    // shorter than the keyword position, with the text before and after
    // running over several lines, control characters, a last line with no
    // line end, and lines and positions past what a kept hit can mark.
    const std::string longLine = std::string(33000, 'a') + " mid " + std::string(200, 'b') + " end\n";
    const std::string corpora[] = {
        "b a b\n",
        "one two three four five six seven eight nine ten eleven twelve\nx\n\n\ny z\n",
        "tab\there\x01ctl\rcr one\n\x7f del two\n  lead and trail  \n",
        "a\nb\nc\nd\ne\nf\ng\nh\ni\nj\nk\nl\nm\nn\no\np\nq\nr\ns\nt\nu\nv",
        "verylongwordthatrunspastthelineofcontextontheleftandontherightaswell x\n",
        longLine,
        // UTF-8 lines among ASCII ones: before, after and read ahead.
        "caf\xc3\xa9 au lait\nplain words here\nna\xc3\xafve r\xc3\xa9sum\xc3\xa9 \xe4\xb8\xad\n"
        "a b c\nd e f\ng h\n\xc3\xa9t\xc3\xa9\nlast ascii line of words\n",
        // Lines read ahead for a right context come back as they were read:
        // how far ahead is read decides which.
        "the be, crockroondplixous when a the quadscedwast strailsmailplourtion prosgreet"
        ", so has tritglong up. A, clysh\n"
        "skasstoutable blingcosort, Chouxthor to and gaindyck so bletoortcant\n"
        "ye\xe4\xb8\xadrs de\xe4\xb8\xadntsky, jyntgrepong of hisnongable shongnundous pe"
        "ethskeel scikyr feglorfimp jynt staxstra\n"
        "0.7. To the hied nefrent blessteerste zashath campment moutqueastness\n",
    };
    struct Format
    {
        int length;
        int position;
    } formats[] = {{100, 50}, {20, 10}, {10, 0}, {5, 8}, {1, 0}, {600, 200}, {30, 29}};
    for (const char* locale : {"C", "en_US.UTF-8"}) {
        test::LocaleGuard guard(locale);
        if (!guard.Installed()) {
            continue;
        }
        for (const Format& format : formats) {
            for (size_t c = 0; c < std::size(corpora); ++c) {
                for (uint64_t budget : {kDefaultMemoryBudget, uint64_t{4096}}) {
                    SCOPED_TRACE(std::string(locale) + ", format " +
                                 std::to_string(format.length) + "/" +
                                 std::to_string(format.position) + ", corpus " +
                                 std::to_string(c) + ", budget " + std::to_string(budget));
                    auto run = [&](bool keep) {
                        CParse::SetKeepLineText(keep);
                        EngineTest t;
                        t.AddFile("a.txt", corpora[c]);
                        t.AddFile("b.txt", corpora[(c + 1) % std::size(corpora)]);
                        t.ctx.corpus.SetLineFormat(format.length, format.position);
                        t.ctx.corpus.SetMemoryBudget(budget);
                        t.ctx.corpus.SetAsWhole(1);
                        t.ctx.corpus.utf8Text = std::string(locale) == "C" ? 0 : 1;
                        EXPECT_TRUE(t.RunCommand(AnalysisCommand::ConcordanceAll).completed);
                        CParse::SetKeepLineText(std::nullopt);
                        std::string all = t.Window();
                        for (size_t at = all.find(t.dir.Path()); at != std::string::npos;
                             at = all.find(t.dir.Path(), at)) {
                            all.replace(at, t.dir.Path().size(), "DIR");
                        }
                        for (const std::string& text : t.target.ColouredTexts(0)) {
                            all += "|" + text;
                        }
                        return all;
                    };
                    const std::string kept = run(true);
                    const std::string made = run(false);
                    ASSERT_EQ(kept, made);
                }
            }
        }
    }
}

TEST(ConcordanceSpill, HitsOfOwnKeysComeInKeyOrderEqualKeysAsMet)
{
    // Enough hits of context keys to be sorted in many blocks, on both
    // cores at the walk; keys of every length around the prefixes the sort
    // compares first, many of them equal: the walk gives them in key order
    // and equal keys in the order they were put in, held in memory or not.
    std::mt19937 random(5);
    std::vector<std::string> keys;
    for (int i = 0; i < 6000; ++i) {
        std::string key(random() % 40, 'a');
        for (char& c : key) {
            c = static_cast<char>('a' + random() % 3);
        }
        keys.push_back(key);
    }
    for (uint64_t budget : {kDefaultMemoryBudget, uint64_t{64} << 10, uint64_t{256} << 10}) {
        SCOPED_TRACE("budget " + std::to_string(budget));
        CPlixTree tree;
        tree.SetKeysRepeat(false);
        tree.SetMemoryBudget(budget);
        for (size_t i = 0; i < keys.size(); ++i) {
            ASSERT_TRUE(tree.Insert(keys[i], keys[i] + "|" + std::to_string(i), "r", 1));
        }
        std::vector<std::pair<std::string, size_t>> walked;
        ASSERT_EQ(tree.Walk([&](const CPlixTreeNode& node) {
            const std::string line(node.contextText);
            const size_t bar = line.find('|');
            walked.emplace_back(line.substr(0, bar), std::stoul(line.substr(bar + 1)));
            return true;
        }),
                  PlixWalkEnd::Done);
        std::vector<std::pair<std::string, size_t>> expected;
        for (size_t i = 0; i < keys.size(); ++i) {
            expected.emplace_back(keys[i], i);
        }
        std::sort(expected.begin(), expected.end());
        ASSERT_EQ(walked, expected);
    }
}

TEST(ConcordanceSpill, AFullDiskFailsTheRunWithItsReason)
{
    struct Case
    {
        uint64_t budget;
        uint64_t disk;
        bool fails;
    } cases[] = {
        {kDefaultMemoryBudget, 0, false},  // nothing spills: no disk needed
        {2048, 0, true},                   // the first run cannot be written
        {2048, 20000, true},               // a later run, or a merge pass, cannot
    };
    for (AnalysisCommand command : kConcordances) {
        for (const Case& c : cases) {
            for (bool secondCore : {true, false}) {
                SCOPED_TRACE(std::to_string(static_cast<int>(command)) + " budget " +
                             std::to_string(c.budget) + " disk " + std::to_string(c.disk) +
                             (secondCore ? " on the second core" : " in line"));
                const Settings s{command, kOutputText, true, true, 0};
                SetSpillDiskLimit(c.disk);
                CPlixTree::SetSpillOnSecondCore(secondCore);
                CommandOutcome outcome;
                const std::string text = RunAll(s, c.budget, &outcome);
                CPlixTree::SetSpillOnSecondCore(std::nullopt);
                SetSpillDiskLimit(std::nullopt);
                EXPECT_EQ(outcome.completed, !c.fails);
                EXPECT_EQ(text.find("Total Occurrence(s)") != std::string::npos, !c.fails) << text;
                if (c.fails) {
                    EXPECT_NE(outcome.reason.find("No space left on device"), std::string::npos)
                        << outcome.reason;
                    EXPECT_NE(text.find("abort: "), std::string::npos);
                }
            }
        }
    }
}

TEST(ConcordanceSpill, SortingAndMergingReportTheirStageAndStopWhenCancelled)
{
    // Enough hits for the sort and the merge to ask whether to go on.
    std::string corpus;
    for (int i = 0; i < 40000; ++i) {
        corpus += "k w" + std::to_string(i % 997) + "\n";
    }
    const long lines = 40000;
    struct Case
    {
        AnalysisCommand command;
        uint64_t budget;
    } cases[] = {
        {AnalysisCommand::Concordance, kDefaultMemoryBudget},
        {AnalysisCommand::ConcordanceRight, 64 << 10},
        {AnalysisCommand::ConcordanceAll, 64 << 10},
    };
    KeywordRequest keyword;
    keyword.keyword = "k";
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(static_cast<int>(c.command)) + " budget " +
                     std::to_string(c.budget));
        EngineTest t;
        t.AddFile("big.txt", corpus);
        t.ctx.corpus.SetMemoryBudget(c.budget);
        CommandOutcome whole = t.RunCommand(c.command, keyword);
        ASSERT_TRUE(whole.completed);
        const std::vector<std::string>& seen = t.progress.statuses;
        ASSERT_GE(seen.size(), 3u);
        EXPECT_EQ(seen[seen.size() - 2], "Sorting...");
        EXPECT_EQ(seen.back(), "Writing...");
        // The questions asked before the first entry is written, beyond one
        // a line: the sort's and the merge's.
        const long asked = t.progress.asked;
        const long entries =
            static_cast<long>(c.command == AnalysisCommand::ConcordanceAll ? 80000 : 40000);
        EXPECT_GT(asked - lines - entries, 0);
        // Cancelled at the first question after reading: nothing is written
        // and the result says so.
        t.progress.asked = 0;
        t.progress.cancelAfter = lines;
        CommandOutcome cut = t.RunCommand(c.command, keyword);
        EXPECT_TRUE(cut.cancelled);
        ASSERT_EQ(cut.cutShort.size(), 1u);
        EXPECT_EQ(cut.cutShort[0], CutShortText(0, entries));
        EXPECT_LE(t.progress.asked, lines + 2);
    }
}

}  // namespace
}  // namespace plix
