// plix-cli and the Helsinki page: --delete sets the seven deletion switches,
// and the Helsinki types run from the command line.
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>

#include "cli/options.h"
#include "corpora/helsinki.h"
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

TEST(HelsinkiCliOptions, DeleteSetsTheSwitchesOfTheLevelsGiven)
{
    struct Case
    {
        std::vector<std::string> args;
        Switches switches;
    };
    const Case cases[] = {
        {{}, {0, 0, 0, 0, 1, 1, 1}},
        {{"--delete", "none"}, {0, 0, 0, 0, 0, 0, 0}},
        {{"--delete", "0,6"}, {1, 0, 0, 0, 0, 0, 1}},
        {{"--delete", "2,2,1"}, {0, 1, 1, 0, 0, 0, 0}},
        {{"--delete=5"}, {0, 0, 0, 0, 0, 1, 0}},
        {{"--delete", "0", "--delete", "1"}, {0, 1, 0, 0, 0, 0, 0}},  // the last one counts
    };
    for (const Case& k : cases) {
        std::vector<std::string> args = {"wordlist", "--type", "Helsinki"};
        args.insert(args.end(), k.args.begin(), k.args.end());
        args.push_back("a.hel");
        CPlixContext ctx;
        cli::UsageError error;
        ASSERT_TRUE(cli::ParseAndApply(args, ctx, error).has_value()) << error.message;
        EXPECT_EQ(ctx.handlers.Helsinki().DeleteSwitches(), k.switches)
            << (k.args.empty() ? "" : k.args.back());
        EXPECT_EQ(ctx.corpus.diacritics, kHelsinkiDiacritics);
    }
}

TEST(HelsinkiCliOptions, BadLevelsAreUsageErrorsNamingOptionAndValue)
{
    for (const char* value : {"7", "", "4,", ",4", "4 5", "-1", "04", "none,4", "4,,5"}) {
        CPlixContext ctx;
        cli::UsageError error;
        EXPECT_FALSE(cli::ParseAndApply({"wordlist", "--delete", value, "a.hel"}, ctx, error))
            << value;
        EXPECT_EQ(error.message, std::string("--delete: expected level numbers 0-6 separated by "
                                             "commas, or none, got \"") +
                                     value + "\"");
    }
    CPlixContext ctx;
    cli::UsageError error;
    EXPECT_FALSE(cli::ParseAndApply({"wordlist", "a.hel", "--delete"}, ctx, error));
    EXPECT_EQ(error.message, "--delete: missing value");
}

TEST(HelsinkiCliProgram, TheSwitchesReachTheRunAndItsHeader)
{
    test::TempDir dir;
    const std::string file = dir.Write("a.hel", "<A ANON>The (^kyng^) [\\ sic \\] rode.\n");
    struct Case
    {
        const char* levels;
        const char* header;
        const char* words;
        int count;  // tokens and types alike
    };
    const Case cases[] = {
        {"none", "", "kyng\t1\nrode\t1\nsic\t1\nthe\t1\n", 4},
        {"4,0",
         "Deleted text level:font other than the basic font\n"
         "Deleted text level:editor's comment\n",
         "rode\t1\nthe\t1\n", 2},
    };
    for (const Case& k : cases) {
        CliRun run = RunCli(std::string("wordlist --quiet --type helsinki --delete ") + k.levels +
                                " --cocoa-select A=anon " + file,
                            dir);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, "Corpus File: " + file + "\nSelected Parameter:A=ANON\n" + k.header +
                               "\n" + k.words + "\nTotal Tokens:\t" + std::to_string(k.count) +
                               "\nTotal Types:\t" + std::to_string(k.count) + "\n")
            << k.levels;
    }
    CliRun bad = RunCli("wordlist --quiet --type helsinki --delete 9 " + file, dir);
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("--delete: expected level numbers 0-6"), std::string::npos) << bad.err;
    EXPECT_TRUE(bad.out.empty());
}

}  // namespace
}  // namespace plix
