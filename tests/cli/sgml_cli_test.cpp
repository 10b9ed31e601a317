// plix-cli and the SGML page: the scan-sgml listing, and --sgml-exclude and
// --sgml-output, whose tags and keys come from a scan of the corpus files.
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>

#include "cli/options.h"
#include "cli/sgml_scan.h"
#include "engine/progress.h"
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

const char* const kLetter =
    "<!-- a comment, with the editor's <note> in it -->\n"
    "<div n=1 type=x><p>Text</p>\n"
    "<note resp=ed>n</note></div>\n";

TEST(SgmlCliOptions, UsageErrorsNameTheOption)
{
    struct Case
    {
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        {{"scan-sgml"}, "scan-sgml: no corpus file given"},
        {{"scan-sgml", "--keyword", "x", "a"}, "scan-sgml: --keyword does not apply"},
        {{"scan-sgml", "--window", "a"}, "scan-sgml: --window does not apply"},
        {{"concordance", "--keyword", "x", "--sgml-exclude", "P", "a"},
         "--sgml-exclude: applies to the corpus types SGML, ACE and BNC"},
        {{"wordlist", "--type", "cocoa", "--sgml-output", "DIV N", "a"},
         "--sgml-output: applies to the corpus types SGML, ACE and BNC"},
    };
    for (const Case& k : cases) {
        CPlixContext ctx;
        cli::UsageError error;
        EXPECT_FALSE(cli::ParseAndApply(k.args, ctx, error).has_value()) << k.args[0];
        EXPECT_NE(error.message.find(k.message), std::string::npos)
            << "got: " << error.message << "\nwanted: " << k.message;
    }
}

TEST(SgmlCliOptions, TheScanGivesTheRecordItsTagsAndKeysWithTheChosenSwitches)
{
    struct Case
    {
        std::vector<std::string> choices;
        cli::SgmlChoiceOutcome outcome;
        const char* message;
        std::vector<unsigned> exclude;  // DIV, NOTE, P
        std::vector<unsigned> output;   // DIV N, DIV TYPE, NOTE RESP
    };
    using O = cli::SgmlChoiceOutcome;
    const Case cases[] = {
        {{"--sgml-exclude", "note", "--sgml-output", "div n"},
         O::Applied,
         "",
         {0, 1, 0},
         {1, 0, 0}},
        {{"--sgml-exclude", "P", "--sgml-exclude", "Div", "--sgml-output", "NOTE RESP",
          "--sgml-output", "div type"},
         O::Applied,
         "",
         {1, 0, 1},
         {0, 1, 1}},
        {{"--sgml-exclude", "HEAD"},
         O::UsageError,
         "--sgml-exclude: the scan of the corpus files found no tag \"HEAD\"",
         {},
         {}},
        {{"--sgml-output", "DIV"},
         O::UsageError,
         "--sgml-output: the scan of the corpus files found no tag-attribute key \"DIV\"",
         {},
         {}},
    };
    test::TempDir dir;
    const std::string file = dir.Write("a.sgml", kLetter);
    for (const Case& k : cases) {
        std::vector<std::string> args = {"concordance", "--keyword", "x", "--type", "SGML"};
        args.insert(args.end(), k.choices.begin(), k.choices.end());
        args.push_back(file);
        CPlixContext ctx;
        cli::UsageError error;
        auto options = cli::ParseAndApply(args, ctx, error);
        ASSERT_TRUE(options.has_value()) << error.message;
        CProgress progress;
        std::string message;
        EXPECT_EQ(cli::ApplySgmlChoices(*options, ctx, progress, message), k.outcome)
            << k.choices[1];
        EXPECT_NE(message.find(k.message), std::string::npos) << message;
        if (k.outcome != O::Applied) {
            continue;
        }
        const CCorpus& c = ctx.corpus;
        EXPECT_EQ(c.sgmlTags, (std::vector<std::string>{"DIV", "NOTE", "P"}));
        EXPECT_EQ(c.sgmlTagInfo, (std::vector<std::string>{"DIV", "NOTE", "P"}));
        EXPECT_EQ(c.sgmlTagExclude, k.exclude) << k.choices[1];
        EXPECT_EQ(c.sgmlAttributes, (std::vector<std::string>{"DIV N", "DIV TYPE", "NOTE RESP"}));
        EXPECT_EQ(c.sgmlAttributeInfo, (std::vector<std::string>{"DIV", "DIV", "NOTE"}));
        EXPECT_EQ(c.sgmlAttributeOutput, k.output) << k.choices[1];
    }

    // Without either option nothing is scanned: a file that cannot be read
    // is the run's business, and the record keeps its lists.
    CPlixContext ctx;
    cli::UsageError error;
    auto options =
        cli::ParseAndApply({"wordlist", "--type", "SGML", dir.File("missing.sgml")}, ctx, error);
    ASSERT_TRUE(options.has_value()) << error.message;
    ctx.corpus.sgmlTags = {"KEPT"};
    CProgress progress;
    std::string message;
    EXPECT_EQ(cli::ApplySgmlChoices(*options, ctx, progress, message), O::Applied);
    EXPECT_EQ(ctx.corpus.sgmlTags, (std::vector<std::string>{"KEPT"}));
}

TEST(SgmlCliProgram, ScanListsTagsThenKeys)
{
    test::TempDir dir;
    const std::string a = dir.Write("a.sgml", kLetter);
    const std::string b = dir.Write("b.sgml", "<P>more</P><s n=2>\n");
    CliRun run = RunCli("scan-sgml --quiet " + a + " " + b, dir);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "DIV\tDIV\nNOTE\tNOTE\nP\tP\nS\t\n--\n"
              "DIV N\tDIV\nDIV TYPE\tDIV\nNOTE RESP\tNOTE\nS N\tS\n");
    EXPECT_EQ(run.err, "");

    const std::string missing = dir.File("missing.sgml");
    run = RunCli("scan-sgml --quiet " + a + " " + missing, dir);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("Abort Process"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(missing), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("No such file or directory"), std::string::npos) << run.err;

    run = RunCli("scan-sgml --left " + a, dir);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("--left"), std::string::npos) << run.err;
}

TEST(SgmlCliProgram, ExcludeAndOutputInAConcordance)
{
    test::TempDir dir;
    const std::string log = dir.Write("log.sgml",
                                      "<div n=1><s n=1>The boat left.</s>\n"
                                      "<note>x</note><s n=2>A boat came.</s></div>\n");
    CliRun run = RunCli(
        "concordance --quiet --type SGML --sgml-exclude note --sgml-output 'div n' "
        "--keyword boat --length 30 --position 15 " +
            log,
        dir);
    EXPECT_EQ(run.status, 0) << run.err;
    // The note stays out of the lines, but not out of a context text, which
    // only loses its tags.
    EXPECT_EQ(run.out, "Corpus File: " + log +
                           "\nExcluded Tag:NOTE\n\nKeyword: boat\nKeyword Position: 15\n\n"
                           "(line) DIV N Occurrence\n"
                           "(1) 1 \n          The boat left. xA\n"
                           "(2) 1 \n boat left. A boat came. \n"
                           "\nTotal Occurrence(s): 2\n\n");

    run = RunCli("concordance --quiet --type SGML --sgml-exclude HEAD --keyword boat " + log, dir);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("--sgml-exclude"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("\"HEAD\""), std::string::npos) << run.err;

    const std::string missing = dir.File("missing.sgml");
    run = RunCli(
        "concordance --quiet --type SGML --sgml-output 'S N' --keyword boat " + log + " " + missing,
        dir);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("Abort Process"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(missing), std::string::npos) << run.err;
}

}  // namespace
}  // namespace plix
