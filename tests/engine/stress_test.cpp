// Hostile input through every command: random bytes, NUL bytes, an empty
// file, a folder, one very long line, many small files as one result. Nothing
// may crash or hang; a file that cannot be read is named in the failure.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "support/engine_fixture.h"

namespace plix {
namespace {

const AnalysisCommand kAll[] = {
    AnalysisCommand::Wordlist,         AnalysisCommand::BackwardList,
    AnalysisCommand::DescendingWordlist, AnalysisCommand::AscendingWordlist,
    AnalysisCommand::Index,            AnalysisCommand::RhymeIndex,
    AnalysisCommand::Concordance,      AnalysisCommand::ConcordanceLeft,
    AnalysisCommand::ConcordanceRight, AnalysisCommand::Collocation,
    AnalysisCommand::ConcordanceAll,
};

std::string RandomBytes(size_t size, unsigned seed)
{
    std::mt19937 rng(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(rng() & 0xff);
    }
    return bytes;
}

struct Input
{
    const char* name;
    std::string content;
};

TEST(Stress, EveryCommandOverHostileFiles)
{
    std::string nuls(20000, '\0');
    for (size_t i = 0; i < nuls.size(); i += 7) {
        nuls[i] = 'a';
    }
    std::string longLine;
    while (longLine.size() < (1u << 20)) {
        longLine += "the quick brown fox a ";
    }
    const Input inputs[] = {
        {"random bytes", RandomBytes(50000, 1)},
        {"nul bytes", nuls},
        {"empty", ""},
        {"one long line", longLine},
        {"unbalanced markup", "<a <b> ((( [[ \"\" </c> )))\n<\n>\n"},
    };
    for (const Input& input : inputs) {
        for (AnalysisCommand command : kAll) {
            for (bool regex : {false, true}) {
                if (regex && !NeedsKeyword(command)) {
                    continue;
                }
                test::EngineTest t;
                t.AddFile("a.bin", input.content);
                t.ctx.corpus.suppressHeaders = 1;
                KeywordRequest k;
                // Empty matches everywhere on the small inputs; on the long
                // line a pattern with a hit in every few bytes.
                k.keyword = regex ? (input.content.size() > 500000 ? "\\bt|x*z" : "(a|b)*") : "a";
                k.regex = regex;
                k.useContextWord = true;
                k.contextWord = regex ? "x*" : "the";
                k.contextLeft = 2;
                k.contextRight = 2;
                CommandOutcome outcome = t.RunCommand(command, k);
                EXPECT_TRUE(outcome.completed)
                    << input.name << " command " << static_cast<int>(command) << " " << outcome.reason;
            }
        }
    }
}

TEST(Stress, FolderAsCorpusFileFailsWithItsName)
{
    for (AnalysisCommand command : kAll) {
        test::EngineTest t;
        t.ctx.corpus.AddInputFile(t.dir.Path());
        t.ctx.corpus.AddOutputFile(t.dir.File("out.plx"));
        KeywordRequest k;
        k.keyword = "a";
        CommandOutcome outcome = t.RunCommand(command, k);
        EXPECT_FALSE(outcome.completed);
        EXPECT_NE(outcome.reason.find(t.dir.Path()), std::string::npos);
        EXPECT_EQ(t.aborts.size(), 1u);
    }
}

TEST(Stress, ManySmallFilesAsOneResult)
{
    test::EngineTest t;
    for (int i = 0; i < 3000; ++i) {
        t.AddFile("f" + std::to_string(i) + ".txt", "word" + std::to_string(i % 10) + " common\n");
    }
    t.ctx.corpus.SetAsWhole(1);
    t.ctx.corpus.SetOutputAsFiles(1);
    t.ctx.corpus.suppressHeaders = 1;
    ASSERT_TRUE(t.RunCommand(AnalysisCommand::DescendingWordlist).completed);
    std::string result = test::ReadFile(t.ctx.corpus.GetOutputFile(0));
    EXPECT_EQ(result.substr(0, 12), "common\t3000\n");
    EXPECT_EQ(std::count(result.begin(), result.end(), '\n'), 11);
}

}  // namespace
}  // namespace plix
