// plix-cli and PPCME1: --untag sets the Penn handler's "Untag", --delete gives
// it the seven deletion switches too, and without --delete it keeps its own.
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>

#include "cli/options.h"
#include "corpora/helsinki.h"
#include "corpora/penn.h"
#include "settings/corpus.h"
#include "support/test_support.h"

namespace plix {
namespace {

struct CliRun
{
    int status = -1;
    std::string out;
    std::string err;
};

// Runs plix-cli with `args` (already quoted for the shell).
CliRun RunCli(const std::string& args, const test::TempDir& dir)
{
    std::string errFile = dir.File("stderr.txt");
    std::string command = std::string(PLIX_CLI_BINARY) + " " + args + " 2>" + errFile;
    CliRun run;
    FILE* pipe = popen(command.c_str(), "r");
    std::array<char, 4096> buf{};
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), pipe)) > 0) {
        run.out.append(buf.data(), n);
    }
    int raw = pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.err = test::ReadFile(errFile);
    return run;
}

using Switches = std::array<int, 7>;

TEST(PennCliOptions, UntagAndDeleteReachThePennHandler)
{
    struct Case
    {
        std::vector<std::string> args;
        Switches penn;
        int untag;
        Switches helsinki;
    };
    const Switches none = {0, 0, 0, 0, 0, 0, 0};
    const Switches helsinkiDefaults = {0, 0, 0, 0, 1, 1, 1};
    const Case cases[] = {
        {{}, none, 0, helsinkiDefaults},
        {{"--untag"}, none, 1, helsinkiDefaults},
        {{"--delete", "1,3"}, {0, 1, 0, 1, 0, 0, 0}, 0, {0, 1, 0, 1, 0, 0, 0}},
        {{"--delete", "none", "--untag"}, none, 1, none},
        {{"--untag", "--delete=0,1,2,3,4,5,6"}, {1, 1, 1, 1, 1, 1, 1}, 1, {1, 1, 1, 1, 1, 1, 1}},
    };
    for (const Case& k : cases) {
        std::vector<std::string> args = {"concordance", "--type", "PPCME1", "--keyword", "x"};
        args.insert(args.end(), k.args.begin(), k.args.end());
        args.push_back("a.ppcme1");
        CPlixContext ctx;
        cli::UsageError error;
        ASSERT_TRUE(cli::ParseAndApply(args, ctx, error).has_value()) << error.message;
        const std::string what = k.args.empty() ? "" : k.args.front();
        EXPECT_EQ(ctx.handlers.Penn().DeleteSwitches(), k.penn) << what;
        EXPECT_EQ(ctx.handlers.Penn().UntagSwitch(), k.untag) << what;
        EXPECT_EQ(ctx.handlers.Helsinki().DeleteSwitches(), k.helsinki) << what;
        EXPECT_EQ(ctx.corpus.GetCorpusType(), kTypePpcme1);
        EXPECT_EQ(ctx.corpus.diacritics, kHelsinkiDiacritics);
    }
    CPlixContext ctx;
    cli::UsageError error;
    EXPECT_FALSE(cli::ParseAndApply({"wordlist", "--untag=1", "a.ppcme1"}, ctx, error));
    EXPECT_EQ(error.message, "unknown option \"--untag=1\" (try --help)");
    EXPECT_NE(cli::UsageText().find("--untag"), std::string::npos);
}

TEST(PennCliProgram, TheSwitchesReachTheRun)
{
    test::TempDir dir;
    const std::string file =
        dir.Write("a.ppcme1",
                  "<A ANON>\n"
                  "(S [NP-SBJ he ] <ec>sic</ec> [vbd seide ] <latin>verbum</latin> )(HOM,1)\n");
    // Without --delete nothing is deleted, though the Helsinki handler's own
    // switches would take the editor's comment away.
    CliRun words = RunCli("wordlist --quiet --type ppcme1 " + file, dir);
    EXPECT_EQ(words.status, 0) << words.err;
    EXPECT_EQ(words.out, "Corpus File: " + file +
                             "\n\nhe\t1\nseide\t1\nsic\t1\nverbum\t1\n\n"
                             "Total Tokens:\t4\nTotal Types:\t4\n");
    CliRun run = RunCli(
        "concordance --quiet --type 11 --untag --delete 1,4 --cocoa-output A --keyword seide "
        "--length 40 --position 20 " +
            file,
        dir);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Corpus File: " + file +
                           "\n"
                           "Deleted text level:foreign language\n"
                           "Deleted text level:editor's comment\n"
                           "\n"
                           "Keyword: seide\n"
                           "Keyword Position: 20\n"
                           "\n"
                           "(line) Reference A Type Clause Annotation Occurrence\n"
                           "(2) ANON S  vbd \n"
                           "[NP-SBJ he ]  [vbd seide ]   => (  he  seide  )\n"
                           "\n"
                           "Total Occurrence(s): 1\n"
                           "\n");
}

}  // namespace
}  // namespace plix
