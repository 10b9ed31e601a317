// plix-cli: option checking and the settings it applies, and the program's
// results, messages and exit statuses run as a separate process.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>

#include "cli/options.h"
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

TEST(CliOptions, UsageErrorsNameTheOption)
{
    struct Case
    {
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        {{"frobnicate", "a"}, "unknown command \"frobnicate\""},
        {{"wordlist"}, "wordlist: no corpus file given"},
        {{"wordlist", "--bogus", "a"}, "unknown option \"--bogus\""},
        {{"wordlist", "--length", "600", "a"}, "--length: Please enter an integer between 20 and 500."},
        {{"wordlist", "--length", "x", "a"}, "--length: Please enter a positive integer."},
        {{"wordlist", "--position", "100", "a"}, "--position: Position should be less than the length"},
        {{"wordlist", "--length", "200", "--position", "100", "--sort-column", "6", "a"},
         "--sort-column: Please enter an integer between 0 and 5."},
        {{"wordlist", "--lines", "5-3", "a"}, "--lines: the end line shoud be bigger than the start line"},
        {{"wordlist", "--lines", "five", "a"}, "--lines: expected FROM-TO"},
        {{"wordlist", "--format", "pdf", "a"}, "--format: expected text, csv"},
        {{"wordlist", "--locale", "Klingon", "a"}, "--locale: unknown locale \"Klingon\""},
        {{"wordlist", "--type", "Nonsense", "a"}, "--type: unknown corpus type"},
        {{"concordance", "a"}, "concordance needs a keyword"},
        {{"wordlist", "--cocoa-select", "\xe9=x", "a"}, "--cocoa-select: expected LETTER=VALUE"},
        {{"wordlist", "--cocoa-select", "AB", "a"}, "--cocoa-select: expected LETTER=VALUE"},
        {{"wordlist", "--cocoa-output", "A1", "a"}, "--cocoa-output: letters A-Z expected"},
        {{"wordlist", "--info", "0-3", "a"}, "--info: Please enter an integer between 1 and 500."},
        {{"concordance", "--keyword", "x", "--context-left", "11", "a"},
         "--context-left: Please enter an integer between 0 and 10."},
        {{"concordance", "--keyword", "a(b", "--regex", "a"}, "Unmatched \\("},
        {{"wordlist", "--filter", "[ab", "--filter-regex", "a"}, "Premature end of regular expression"},
        {{"wordlist", "--keyword", "x", "a"}, "--keyword: keyword options apply to"},
        {{"concordance", "--keyword", "x", "--filter", "y", "a"}, "--filter: the list filter applies to"},
        {{"wordlist", "--filter-left", "a"}, "need --filter"},
        {{"wordlist", "--window", "--to-files", "a"}, "exclude each other"},
        {{"wordlist", "--marks", "[", }, "--marks: missing value"},
        {{"wordlist", "--saved", "a"}, "--saved: not available yet"},
        {{"wordlist", "--memory", "12KB", "a"}, "--memory: expected a number of bytes"},
        {{"wordlist", "--memory", "0", "a"}, "--memory: expected a number of bytes"},
    };
    for (const Case& k : cases) {
        CPlixContext ctx;
        cli::UsageError error;
        EXPECT_FALSE(cli::ParseAndApply(k.args, ctx, error).has_value()) << k.args[0];
        EXPECT_NE(error.message.find(k.message), std::string::npos)
            << "got: " << error.message << "\nwanted: " << k.message;
    }
}

TEST(CliOptions, SettingsAppliedLikeTheDialogs)
{
    CPlixContext ctx;
    cli::UsageError error;
    std::vector<std::string> args = {
        "concordance-right", "--format", "other", "--marks", "<", ">", "--length", "120",
        "--position", "60", "--sort-column", "2", "--suppress-headers", "--no-numbers",
        "--case-sensitive", "--lines", "3-12", "--keyword", "Cat", "--left", "--context", "dog",
        "--context-right", "3", "a.txt", "b.txt=out/b.res", "c=d.txt=", "--whole", "--to-files",
        "--memory", "64K"};
    auto options = cli::ParseAndApply(args, ctx, error);
    ASSERT_TRUE(options.has_value()) << error.message;
    const CCorpus& c = ctx.corpus;
    EXPECT_EQ(c.GetOutputType(), kOutputOther);
    EXPECT_EQ(c.openQuote, "<");  // the marks were stored before the type
    EXPECT_EQ(c.GetLineLength(), 120);
    EXPECT_EQ(c.GetKeywordPosition(), 60);
    EXPECT_EQ(c.GetSortColumn(), 2);
    EXPECT_EQ(c.GetSuppressHeaders(), 1);
    EXPECT_EQ(c.countNumbers, 0);
    EXPECT_EQ(c.ignoreCase, 0);
    EXPECT_EQ(c.GetStartLine(), 3);
    EXPECT_EQ(c.GetEndLine(), 12);
    EXPECT_EQ(c.GetAsWhole(), 1);
    EXPECT_EQ(c.GetOutputAsFiles(), 1);
    EXPECT_EQ(c.GetMemoryBudget(), 65536u);
    EXPECT_EQ(c.inputFiles, (std::vector<std::string>{"a.txt", "b.txt", "c=d.txt"}));
    EXPECT_EQ(c.outputFiles, (std::vector<std::string>{"a.plx", "out/b.res", "c=d.plx"}));
    EXPECT_EQ(options->command, AnalysisCommand::ConcordanceRight);
    EXPECT_EQ(options->keyword.keyword, "Cat");
    EXPECT_TRUE(options->keyword.matchLeft);
    EXPECT_TRUE(options->keyword.useContextWord);
    EXPECT_EQ(options->keyword.contextRight, 3);
}

TEST(CliOptions, TypeGivesHelsinkiDiacriticsUnlessTheyAreGiven)
{
    // Only plain text can run today, so the rule is checked on the record.
    CPlixContext ctx;
    cli::UsageError error;
    auto options = cli::ParseAndApply({"wordlist", "--type", "0", "--diacritics", "-'", "a"}, ctx, error);
    ASSERT_TRUE(options.has_value()) << error.message;
    EXPECT_EQ(ctx.corpus.diacritics, "-'");
    EXPECT_EQ(ctx.corpus.GetCorpusType(), kTypeText);
}

TEST(CliProgram, ResultsMessagesAndExitStatus)
{
    test::TempDir dir;
    std::string a = dir.Write("a.txt", "The cat\nthe dog\n");
    CliRun run = RunCli("wordlist --quiet " + a, dir);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "Corpus File: " + a +
                           "\n\ncat\t1\ndog\t1\nthe\t2\n\nTotal Tokens:\t4\nTotal Types:\t3\n");
    EXPECT_EQ(run.err, "");

    run = RunCli("wordlist --window --suppress-headers --quiet " + a, dir);
    EXPECT_EQ(run.out, "cat\t1\r\ndog\t1\r\nthe\t2\r\n");

    run = RunCli("wordlist --filter-regex --filter '^d' --suppress-headers --quiet " + a, dir);
    EXPECT_EQ(run.status, 0) << run.err;

    run = RunCli("wordlist --quiet " + a + " " + dir.File("missing.txt") + " " + a, dir);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("Abort Process"), std::string::npos);
    EXPECT_NE(run.err.find("missing.txt"), std::string::npos);
    // The first entry's result stays; the third entry is not run.
    EXPECT_EQ(run.out.find("Corpus File: " + a), 0u);
    EXPECT_EQ(run.out.find("Corpus File: " + a, 1), std::string::npos);

    run = RunCli("wordlist --length 5 " + a, dir);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("--length"), std::string::npos);

    run = RunCli("--version", dir);
    EXPECT_EQ(run.status, 0);
    run = RunCli("--help", dir);
    EXPECT_NE(run.out.find("Usage: plix-cli"), std::string::npos);
}

TEST(CliProgram, ToFilesAppendsAndPrintsNothing)
{
    test::TempDir dir;
    std::string a = dir.Write("a.txt", "x\n");
    std::string out = dir.File("result.txt");
    for (int i = 0; i < 2; ++i) {
        CliRun run = RunCli("index --to-files --suppress-headers --quiet " + a + "=" + out, dir);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(test::ReadFile(out), "x\t1\n 1\nx\t1\n 1\n");
}

TEST(CliProgram, ConcordanceAndCollocation)
{
    test::TempDir dir;
    std::string a = dir.Write("a.txt", "the cat sat on the mat\n");
    CliRun run = RunCli("collocation --keyword sat --suppress-headers --quiet " + a, dir);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "cat\t1\t0\t0\t0\t0\t1\t-\t0\t0\t0\t0\t0\n"
                       "on\t1\t0\t0\t0\t0\t0\t-\t1\t0\t0\t0\t0\n"
                       "the\t2\t0\t0\t0\t1\t0\t-\t0\t1\t0\t0\t0\n");
    run = RunCli("concordance --keyword 'c.t' --regex --length 20 --position 10 "
                 "--suppress-headers --format tagged --quiet " + a, dir);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, a + "(1):     the cat sat\n");
}

TEST(CliProgram, ASmallMemoryBudgetSpillsToTmpdirWithTheSameResult)
{
    test::TempDir dir;
    std::string text;
    for (int i = 0; i < 300; ++i) {
        text += "the cat " + std::to_string(i % 17) + " sat on the mat of the " +
                std::to_string(i % 5) + "\n";
    }
    const std::string a = dir.Write("a.txt", text);
    const std::string tmp = dir.File("tmp");
    ASSERT_EQ(mkdir(tmp.c_str(), 0700), 0);
    const char* given = std::getenv("TMPDIR");
    const std::string saved = given != nullptr ? given : "";
    for (const char* command : {"concordance-all", "concordance-left --keyword the"}) {
        SCOPED_TRACE(command);
        const CliRun held = RunCli(std::string(command) + " --quiet " + a, dir);
        ASSERT_EQ(held.status, 0) << held.err;
        setenv("TMPDIR", tmp.c_str(), 1);
        const CliRun spilled = RunCli(std::string(command) + " --memory 4K --quiet " + a, dir);
        EXPECT_EQ(spilled.status, 0) << spilled.err;
        EXPECT_TRUE(spilled.out == held.out);
        // Where temporary files cannot be made, the run fails and says why.
        setenv("TMPDIR", dir.File("none").c_str(), 1);
        const CliRun nowhere = RunCli(std::string(command) + " --memory 4K --quiet " + a, dir);
        if (given != nullptr) {
            setenv("TMPDIR", saved.c_str(), 1);
        } else {
            unsetenv("TMPDIR");
        }
        EXPECT_EQ(nowhere.status, 1);
        EXPECT_NE(nowhere.err.find("Abort Process: cannot make a temporary file in " +
                                   dir.File("none")),
                  std::string::npos)
            << nowhere.err;
        EXPECT_EQ(nowhere.out.find("Total Occurrence(s)"), std::string::npos);
    }
    EXPECT_EQ(rmdir(tmp.c_str()), 0);  // nothing was left in it
}

}  // namespace
}  // namespace plix

namespace plix {
namespace {

TEST(CliProgram, CtrlCCancelsTheRun)
{
    // The corpus is a pipe that the test feeds by hand, so the interrupt is
    // sure to arrive while the run is reading.
    test::TempDir dir;
    std::string fifo = dir.File("corpus.fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::string errFile = dir.File("stderr.txt");
    std::string outFile = dir.File("stdout.txt");
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        freopen(outFile.c_str(), "w", stdout);
        freopen(errFile.c_str(), "w", stderr);
        execl(PLIX_CLI_BINARY, PLIX_CLI_BINARY, "wordlist", "--quiet", fifo.c_str(), nullptr);
        _exit(127);
    }
    FILE* feed = fopen(fifo.c_str(), "w");
    ASSERT_NE(feed, nullptr);
    fputs("one line\n", feed);
    fflush(feed);
    usleep(200000);
    kill(pid, SIGINT);
    usleep(100000);
    fputs("another line\n", feed);
    fclose(feed);
    int raw = 0;
    waitpid(pid, &raw, 0);
    ASSERT_TRUE(WIFEXITED(raw));
    EXPECT_EQ(WEXITSTATUS(raw), 1);
    EXPECT_NE(test::ReadFile(errFile).find("Abort Process: cancelled"), std::string::npos);
    // The header was written; the list and its totals were not.
    EXPECT_EQ(test::ReadFile(outFile).find("Total Tokens"), std::string::npos);
}

}  // namespace
}  // namespace plix

namespace plix {
namespace {

TEST(CliProgram, CtrlCWhileWritingCutsTheResultShort)
{
    // A concordance far larger than a pipe holds: once output has come, the
    // run is writing, and it waits on the pipe until the test reads on.
    constexpr int kHits = 20000;
    test::TempDir dir;
    std::string corpus;
    for (int line = 1; line <= kHits; ++line) {
        corpus += "the boats come in at five " + std::to_string(line) + "\n";
    }
    const std::string path = dir.Write("a.txt", corpus);
    const std::string errFile = dir.File("stderr.txt");
    int out[2];
    ASSERT_EQ(pipe(out), 0);
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        freopen(errFile.c_str(), "w", stderr);
        execl(PLIX_CLI_BINARY, PLIX_CLI_BINARY, "concordance", "--keyword", "boats", "--quiet",
              path.c_str(), nullptr);
        _exit(127);
    }
    close(out[1]);
    std::string text;
    std::array<char, 4096> buf{};
    auto readSome = [&]() {
        ssize_t n = read(out[0], buf.data(), buf.size());
        if (n > 0) {
            text.append(buf.data(), static_cast<size_t>(n));
        }
        return n > 0;
    };
    while (text.size() < 16384 && readSome()) {
    }
    ASSERT_GE(text.size(), 16384u);
    kill(pid, SIGINT);
    while (readSome()) {
    }
    close(out[0]);
    int raw = 0;
    waitpid(pid, &raw, 0);
    ASSERT_TRUE(WIFEXITED(raw));
    EXPECT_EQ(WEXITSTATUS(raw), 1);

    const std::string total = " of " + std::to_string(kHits) + " entries written.";
    const size_t note = text.find("\n\nCancelled: ");
    ASSERT_NE(note, std::string::npos)
        << text.substr(text.size() - std::min<size_t>(text.size(), 300));
    const size_t numberEnd = text.find(total, note);
    ASSERT_NE(numberEnd, std::string::npos);
    const std::string written = text.substr(note + 13, numberEnd - note - 13);
    EXPECT_GT(std::stol(written), 0);
    EXPECT_LT(std::stol(written), kHits);
    // The footer follows as for a whole result.
    EXPECT_EQ(text.substr(numberEnd + total.size()),
              "\n\nTotal Occurrence(s): " + std::to_string(kHits) + "\n\n");
    EXPECT_EQ(test::ReadFile(errFile), "plix-cli: Cancelled: " + written + total + "\n");
}

}  // namespace
}  // namespace plix
