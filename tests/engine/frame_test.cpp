// Frame pieces that the modes share: the rhyme tokenizer and the quick commands.
#include <gtest/gtest.h>

#include <filesystem>

#include "corpora/dispatch.h"
#include "engine/parse.h"
#include "support/engine_fixture.h"

namespace plix {
namespace {

TEST(RhymeTokenizer, LastWordBackwardsLowerCased)
{
    struct Case
    {
        std::string line;
        std::string word;
    };
    const Case cases[] = {
        {"the cat ", "tac"}, {"a HAT. ", "tah"}, {"?! ", ""}, {" ", ""}, {"", ""}, {"x\n ", "x"},
    };
    CPlixContext ctx;
    CParse parse(ctx);
    for (const Case& k : cases) {
        std::string line = k.line;
        parse.LastWordReversed(line);
        EXPECT_EQ(parse.word, k.word) << k.line;
        EXPECT_TRUE(line.empty());
    }
}

class QuickCommands : public test::EngineTest, public ::testing::Test
{
};

class FakeWindow : public CWindowSource
{
  public:
    size_t LineCount() const override { return lines.size(); }
    std::string Line(size_t i) const override { return lines[i]; }
    std::string Title() const override { return "PLIX3"; }
    std::vector<std::string> lines;
};

TEST_F(QuickCommands, ReadTheWindowAndWriteOneWholeResult)
{
    FakeWindow window;
    window.lines = {"the cat", "the dog"};
    // Two corpus entries "as a whole" would hold the result back; a quick
    // command's single run is always complete.
    AddFile("a.txt", "x");
    AddFile("b.txt", "y");
    ctx.corpus.SetAsWhole(1);
    CommandOutcome outcome = RunQuickCommand(ctx, QuickCommand::Wordlist, window, nullptr);
    EXPECT_TRUE(outcome.completed);
    EXPECT_EQ(Window(),
              "Corpus File: PLIX3\r\n\r\ncat\t1\r\ndog\t1\r\nthe\t2\r\n\r\n"
              "Total Tokens:\t4\r\nTotal Types:\t3\r\n");
    EXPECT_FALSE(ctx.input.ReadsWindow());

    target.results.clear();
    ctx.corpus.SetLineFormat(20, 10);
    KeywordRequest k;
    k.keyword = "dog";
    outcome = RunQuickCommand(ctx, QuickCommand::Plix, window, [&] { return std::optional(k); });
    EXPECT_TRUE(outcome.completed);
    // The end of a window line separates words as a file line's end does.
    EXPECT_NE(Window().find("(2) \r\n cat the dog\r\n"), std::string::npos) << Window();
}

TEST_F(QuickCommands, ToFilesAppendsToView)
{
    FakeWindow window;
    window.lines = {"a"};
    ctx.corpus.SetOutputAsFiles(1);
    ctx.corpus.suppressHeaders = 1;
    std::string cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    CommandOutcome outcome = RunQuickCommand(ctx, QuickCommand::Wordlist, window, nullptr);
    std::filesystem::current_path(cwd);
    EXPECT_TRUE(outcome.completed);
    EXPECT_EQ(test::ReadFile(dir.File("View")), "a\t1\n");
}

TEST_F(QuickCommands, TypesWithoutTheirHandlersAreRefused)
{
    // A program built without one of the handlers a type needs.
    AddFile("a.txt", "x");
    ctx.handlers.StandIn(HandlerId::Penn, static_cast<CCorpusHandler*>(nullptr));
    ctx.corpus.SetCorpusType(kTypePpcme1);
    CommandOutcome outcome = RunCommand(AnalysisCommand::Wordlist);
    EXPECT_FALSE(outcome.started);
    EXPECT_FALSE(outcome.completed);
    ASSERT_EQ(aborts.size(), 1u);
    EXPECT_NE(aborts[0].find("\"PPCME1\" is not available yet"), std::string::npos);
    EXPECT_TRUE(target.results.empty());
    FakeWindow window;
    window.lines = {"a"};
    EXPECT_FALSE(RunQuickCommand(ctx, QuickCommand::Wordlist, window, nullptr).completed);
}

}  // namespace
}  // namespace plix
