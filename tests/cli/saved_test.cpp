// plix-cli --saved: the desktop program's saved settings are the starting point,
// the options given change them, the command line still says which files and
// where the results go, and the store is never written.
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "cli/options.h"
#include "corpora/dispatch.h"
#include "settings/persistence.h"
#include "support/test_support.h"

namespace plix {
namespace {

// Hands out copies of one in-memory store and remembers whether anything was
// written to them.
struct SavedStore
{
    class Store : public CMemorySettingsStore
    {
      public:
        explicit Store(SavedStore& owner) : owner_(owner) {}
        void WriteInt(const std::string&, const std::string&, int) override { ++owner_.writes; }
        void WriteString(const std::string&, const std::string&, const std::string&) override
        {
            ++owner_.writes;
        }
        void Delete(const std::string&, const std::string&) override { ++owner_.writes; }

      private:
        SavedStore& owner_;
    };

    CMemorySettingsStore saved;
    int opened = 0;
    int writes = 0;

    cli::SavedStoreOpener Opener()
    {
        return [this]() -> std::unique_ptr<CSettingsStore> {
            ++opened;
            auto store = std::make_unique<Store>(*this);
            store->values = saved.values;
            return store;
        };
    }
};

// A desktop session's settings: tab separated, line 120/60, two files, both
// switches on, ASCII, a keyword in the history.
SavedStore DesktopSession()
{
    CCorpus desktop;
    desktop.AddInputFile("/desktop/one.txt");
    desktop.AddOutputFile("/desktop/one.plx");
    desktop.AddInputFile("/desktop/two.txt");
    desktop.AddOutputFile("/desktop/two.plx");
    desktop.SetOutputAsFiles(1);
    desktop.SetAsWhole(1);
    desktop.language = "ASCII";
    desktop.SetMarks("[", "]");
    desktop.SetOutputType(kOutputTab);
    desktop.SetLineFormat(120, 60);
    desktop.PushHistoryKeyword("saved keyword");
    SavedStore store;
    SaveSettings(desktop, store.saved);
    return store;
}

TEST(CliSaved, SavedSettingsAreTheStartingPointForTheOptionsGiven)
{
    struct Case
    {
        std::vector<std::string> args;
        int type, length, position;
        const char* openQuote;
    };
    const Case cases[] = {
        {{"wordlist", "--saved", "a.txt"}, kOutputTab, 120, 60, ""},
        {{"wordlist", "--saved", "--length", "200", "a.txt"}, kOutputTab, 200, 60, ""},
        {{"wordlist", "--position", "30", "--saved", "a.txt"}, kOutputTab, 120, 30, ""},
        {{"wordlist", "--saved", "--format", "csv", "a.txt"}, kOutputComma, 120, 60, "\""},
        // The saved marks are in place before the type that uses them.
        {{"wordlist", "--saved", "--format", "other", "a.txt"}, kOutputOther, 120, 60, "["},
        {{"wordlist", "--saved", "--format", "other", "--marks", "<", ">", "a.txt"},
         kOutputOther,
         120,
         60,
         "<"},
        {{"wordlist", "a.txt"}, kOutputText, 100, 50, ""},
    };
    for (const Case& k : cases) {
        SavedStore store = DesktopSession();
        CPlixContext ctx;
        cli::UsageError error;
        auto options = cli::ParseAndApply(k.args, ctx, error, store.Opener());
        ASSERT_TRUE(options.has_value()) << error.message;
        const CCorpus& c = ctx.corpus;
        const bool saved = options->saved;
        EXPECT_EQ(store.opened, saved ? 1 : 0);
        EXPECT_EQ(c.GetOutputType(), k.type) << k.args[2];
        EXPECT_EQ(c.openQuote, k.openQuote) << k.args[2];
        EXPECT_EQ(c.GetLineLength(), k.length) << k.args[2];
        EXPECT_EQ(c.GetKeywordPosition(), k.position) << k.args[2];
        EXPECT_EQ(c.GetLanguage(), saved ? "ASCII" : "System");
        EXPECT_EQ(c.keywordHistory.size(), saved ? 1u : 0u);
        // The list and its switches are this command line's.
        EXPECT_EQ(c.inputFiles, std::vector<std::string>{"a.txt"});
        EXPECT_EQ(c.outputFiles, std::vector<std::string>{"a.plx"});
        EXPECT_EQ(c.GetAsWhole(), 0);
        EXPECT_EQ(store.writes, 0);
    }
}

TEST(CliSaved, OptionsAreCheckedAgainstTheSavedValues)
{
    SavedStore store;
    store.saved.WriteInt("Type", "Len", 40);
    store.saved.WriteInt("Type", "Pos", 20);
    CPlixContext ctx;
    cli::UsageError error;
    EXPECT_FALSE(cli::ParseAndApply({"wordlist", "--saved", "--position", "45", "a.txt"}, ctx,
                                    error, store.Opener()));
    EXPECT_EQ(error.message, "--position: Position should be less than the length");
}

TEST(CliSaved, DamagedStoreGivesTheDefaults)
{
    SavedStore store;
    store.saved.WriteString("Type", "Len", "five");
    store.saved.WriteString("Type", "Format", "42");
    store.saved.WriteString("CorpusList", "Max", "2000000000");
    CPlixContext ctx;
    cli::UsageError error;
    auto options = cli::ParseAndApply({"wordlist", "--saved", "a.txt"}, ctx, error, store.Opener());
    ASSERT_TRUE(options.has_value()) << error.message;
    EXPECT_EQ(ctx.corpus.GetLineLength(), 100);
    EXPECT_EQ(ctx.corpus.GetOutputType(), kOutputText);
    EXPECT_EQ(ctx.corpus.GetFileCount(), 1);
}

TEST(CliSaved, SavedCorpusTypeThatCannotRunIsAUsageError)
{
    // As in a program built without the handler the saved type needs.
    const int missing = kTypeBnc;
    SavedStore store;
    store.saved.WriteInt("Type", "Type", missing);
    {
        CPlixContext ctx;
        ctx.handlers.StandIn(HandlerId::Bnc, static_cast<CCorpusHandler*>(nullptr));
        cli::UsageError error;
        EXPECT_FALSE(
            cli::ParseAndApply({"wordlist", "--saved", "a.txt"}, ctx, error, store.Opener()));
        EXPECT_NE(error.message.find("--saved: the saved corpus type \"" +
                                     std::string(CorpusTypeNames()[static_cast<size_t>(missing)]) +
                                     "\" is not available yet"),
                  std::string::npos)
            << error.message;
    }
    {
        CPlixContext ctx;
        cli::UsageError error;
        ctx.handlers.StandIn(HandlerId::Bnc, static_cast<CCorpusHandler*>(nullptr));
        auto options = cli::ParseAndApply({"wordlist", "--saved", "--type", "text", "a.txt"}, ctx,
                                          error, store.Opener());
        ASSERT_TRUE(options.has_value()) << error.message;
        EXPECT_EQ(ctx.corpus.GetCorpusType(), kTypeText);
    }
}

TEST(CliSaved, WithoutAStoreTheOptionIsRefused)
{
    CPlixContext ctx;
    cli::UsageError error;
    EXPECT_FALSE(cli::ParseAndApply({"wordlist", "--saved", "a.txt"}, ctx, error));
    EXPECT_NE(error.message.find("--saved: not available"), std::string::npos) << error.message;
}

struct CliRun
{
    int status = -1;
    std::string out;
    std::string err;
};

// Runs plix-cli with its per-user settings under `configHome`.
CliRun RunWithConfig(const std::string& configHome, const std::string& args,
                     const test::TempDir& dir)
{
    const std::string errFile = dir.File("stderr.txt");
    const std::string command =
        "XDG_CONFIG_HOME='" + configHome + "' " + PLIX_CLI_BINARY + " " + args + " 2>" + errFile;
    CliRun run;
    FILE* pipe = popen(command.c_str(), "r");
    std::array<char, 4096> buf{};
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), pipe)) > 0) {
        run.out.append(buf.data(), n);
    }
    const int raw = pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.err = test::ReadFile(errFile);
    return run;
}

#ifdef PLIX_HAVE_SAVED_STORE

TEST(CliSavedProgram, ReadsTheDesktopStoreAndLeavesItAsItWas)
{
    test::TempDir dir;
    const std::string corpus = dir.Write("a.txt", "The cat\nthe dog\n");
    const std::string other = dir.Write("other.txt", "nothing here\n");
    const std::string home = dir.Path() + "/config";
    // The desktop program's settings file, as QSettings writes it.
    const std::string conf =
        "[CorpusList]\nMax=1\nFile=1\nWhole=1\nLanguage=System\n\n"
        "[Input]\nInput1=" +
        other +
        "\n\n"
        "[Output]\nOutput1=" +
        dir.File("other.plx") +
        "\n\n"
        "[Type]\nType=0\nFormat=1\nLen=40\nPos=20\n";
    std::filesystem::create_directories(home + "/PLIX");
    const std::string confPaths[] = {dir.Write("config/PLIX/plix.conf", conf)};

    const std::string command = "concordance --keyword cat --quiet ";
    const CliRun saved = RunWithConfig(home, command + "--saved " + corpus, dir);
    const CliRun given =
        RunWithConfig(home, command + "--format csv --length 40 --position 20 " + corpus, dir);
    const CliRun plain = RunWithConfig(home, command + corpus, dir);
    EXPECT_EQ(saved.status, 0) << saved.err;
    EXPECT_EQ(saved.out, given.out);
    EXPECT_NE(saved.out, plain.out);
    // The saved list and "To Output as Files" did not take over this run.
    EXPECT_EQ(saved.out.find(other), std::string::npos);
    for (const std::string& path : confPaths) {
        EXPECT_EQ(test::ReadFile(path), conf) << path;
    }

    // Without a saved settings file the initial settings apply.
    const CliRun fresh = RunWithConfig(dir.Path() + "/nowhere", command + "--saved " + corpus, dir);
    EXPECT_EQ(fresh.status, 0) << fresh.err;
    EXPECT_EQ(fresh.out, plain.out);
}

#else

TEST(CliSavedProgram, WithoutQtTheOptionIsNotAvailable)
{
    test::TempDir dir;
    const std::string corpus = dir.Write("a.txt", "x\n");
    const CliRun run = RunWithConfig(dir.Path(), "wordlist --saved --quiet " + corpus, dir);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("--saved: not available"), std::string::npos) << run.err;
}

#endif

}  // namespace
}  // namespace plix
