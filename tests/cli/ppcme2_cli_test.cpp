// plix-cli and the PPCME2 and Brooklyn pages: a label or tag of the page's
// lists stands for its entry, any other text is taken as typed, and the three
// parsed types run from the command line.
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/options.h"
#include "engine/context.h"
#include "settings/corpus.h"
#include "support/test_support.h"

namespace plix {
namespace {

TEST(Ppcme2CliOptions, LabelsAndTagsStandForTheirEntries)
{
    struct Case
    {
        std::vector<std::string> args;  // after "wordlist --type PPCME2"
        std::string node;
        std::string pos;
        std::string brooklyn;
    };
    const Case cases[] = {
        {{}, "", "", ""},
        {{"--ppcme2-node", "NP-SBJ"}, "NP-SBJ:noun phrase subject ", "", ""},
        {{"--ppcme2-node", "ADJP"}, "ADJP:adjective phrase", "", ""},
        {{"--ppcme2-node=NP-SBJ:noun phrase subject "}, "NP-SBJ:noun phrase subject ", "", ""},
        // Only the exact label is completed; other text is kept as typed.
        {{"--ppcme2-node", "np-sbj"}, "np-sbj", "", ""},
        {{"--ppcme2-node", "NP-SBJ-1"}, "NP-SBJ-1", "", ""},
        {{"--ppcme2-node", "NP-SBJ "}, "NP-SBJ ", "", ""},
        {{"--ppcme2-node", ""}, "", "", ""},
        {{"--ppcme2-pos", "VBD"}, "", "VBD: past (including past subjunctive)", ""},
        {{"--ppcme2-pos", "\""}, "", "\": Double quotation marks", ""},
        {{"--ppcme2-pos", "$"}, "", "$: Possessive ending 'S or HIS used as possessive clitic", ""},
        {{"--ppcme2-pos", "XYZ"}, "", "XYZ", ""},
        // Brooklyn's labels are kept as they are, listed or not.
        {{"--brooklyn-node", "nn"}, "", "", "nn"},
        {{"--brooklyn-node", "NP-SBJ"}, "", "", "NP-SBJ"},
    };
    for (const Case& k : cases) {
        CPlixContext ctx;
        cli::UsageError error;
        std::vector<std::string> args = {"wordlist", "--type", "PPCME2"};
        args.insert(args.end(), k.args.begin(), k.args.end());
        args.push_back("a.ppcme2");
        auto options = cli::ParseAndApply(args, ctx, error);
        ASSERT_TRUE(options.has_value()) << error.message;
        EXPECT_EQ(ctx.corpus.GetCorpusType(), kTypePpcme2);
        EXPECT_EQ(ctx.corpus.ppcme2Node, k.node) << args[3];
        EXPECT_EQ(ctx.corpus.ppcme2Pos, k.pos) << args[3];
        EXPECT_EQ(ctx.corpus.brooklynNode, k.brooklyn) << args[3];
    }
    CPlixContext ctx;
    cli::UsageError error;
    EXPECT_FALSE(cli::ParseAndApply({"wordlist", "a", "--ppcme2-node"}, ctx, error));
    EXPECT_EQ(error.message, "--ppcme2-node: missing value");
}

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

TEST(Ppcme2Cli, TheParsedTypesRun)
{
    test::TempDir dir;
    const std::string sermon = dir.Write("sermon.ppcme2",
                                         "( (IP-MAT (NP-SBJ (PRO he))\n"
                                         "  (VBD sayde) (NP-OB1 (N word)))\n"
                                         "  (ID S,1))\n"
                                         "( (IP-MAT (NP-SBJ (D the) (N word))\n"
                                         "  (VBD was)) (ID S,2))\n");
    const std::string story = dir.Write("story.brooklyn", "(IP-S (nn cyning)\n(vt cwaeth))\n");
    const std::string letter = dir.Write("letter.yth",
                                         "( (CODE <L1>)\n"
                                         "  (IP-MAT (NP-SBJ (PRO he)) (VBD wrat))\n"
                                         "  (ID letter,1))\n");
    struct Case
    {
        std::string args;
        std::string out;
    };
    const Case cases[] = {
        {"concordance --type PPCME2 --ppcme2-node NP-SBJ --keyword word --length 40 "
         "--position 20 " +
             sermon,
         "Corpus File: " + sermon +
             "\nwithin the node: NP-SBJ \nKeyword: word\nKeyword Position: 20\n\n"
             "(line) Reference POS Occurrence\n(5) S,2 N \n"
             "(NP-SBJ (D the) (N word)) (VBD was))\n\nTotal Occurrence(s): 1\n\n"},
        // The last block needs no empty line after it.
        {"wordlist --type brooklyn --brooklyn-node nn --window " + story,
         "Corpus File: " + story +
             "\r\nwithin the node:nn\r\ncyning\t1\r\n\r\nTotal Tokens:\t1\r\nTotal Types:\t1\r\n"},
        {"wordlist --type york-toronto-helsinki --suppress-headers " + letter, "he\t1\nwrat\t1\n"},
    };
    for (const Case& k : cases) {
        CliRun run = RunCli(k.args + " --quiet", dir);
        EXPECT_EQ(run.status, 0) << k.args << "\n" << run.err;
        EXPECT_EQ(run.out, k.out) << k.args;
    }
    CliRun help = RunCli("--help", dir);
    for (const char* option :
         {"--ppcme2-node LABEL", "--ppcme2-pos TAG", "--brooklyn-node LABEL"}) {
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    }
}

}  // namespace
}  // namespace plix
