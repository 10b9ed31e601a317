// Word lists, backward and frequency lists, through the whole engine: the exact
// texts of a result in a window and in a file, the list filter, the word
// definition, and the corpus list's combinations.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "support/engine_fixture.h"

namespace plix {
namespace {

using test::EngineTest;
using test::ReadFile;

class WordList : public EngineTest, public ::testing::Test
{
};

TEST_F(WordList, WindowTextInEachOutputType)
{
    std::string path = AddFile("a.txt", "a b\na\n");
    struct Case
    {
        int type;
        int suppress;
        std::string expected;
    };
    const std::string head = "Corpus File: " + path + "\r\n\r\n";
    const Case cases[] = {
        {kOutputText, 0, head + "a\t2\r\nb\t1\r\n\r\nTotal Tokens:\t3\r\nTotal Types:\t2\r\n"},
        // List lines keep their TAB whatever the separator of the output type.
        {kOutputComma, 0, head + "a\t2\r\nb\t1\r\n\r\nTotal Tokens:\t3\r\nTotal Types:\t2\r\n"},
        {kOutputText, 1, "a\t2\r\nb\t1\r\n"},
        {kOutputXml, 0,
         "<?xml version=\"1.0\"?>\r\n<plix>\r\n<source>" + path +
             "</source>\r\n<plix_info>\r\n</plix_info>\r\n"
             "<list><word>a</word><count>2</count></list>\r\n"
             "<list><word>b</word><count>1</count></list>\r\n"
             "<token>3</token>\r\n<type>2</type>\r\n</plix>\n"},
        // The information block is closed even without headers.
        {kOutputXml, 1,
         "</plix_info>\r\n<list><word>a</word><count>2</count></list>\r\n"
         "<list><word>b</word><count>1</count></list>\r\n"},
    };
    for (const Case& k : cases) {
        target.results.clear();
        ctx.corpus.SetOutputType(k.type);
        ctx.corpus.suppressHeaders = k.suppress;
        ASSERT_TRUE(RunCommand(AnalysisCommand::Wordlist).completed);
        ASSERT_EQ(target.results.size(), 1u);
        EXPECT_EQ(Window(), k.expected) << "type " << k.type << " suppress " << k.suppress;
    }
}

TEST_F(WordList, FileTextInEachOutputType)
{
    std::string path = AddFile("a.txt", "a b\na\n");
    ctx.corpus.SetOutputAsFiles(1);
    std::string out = ctx.corpus.GetOutputFile(0);
    ctx.corpus.SetOutputType(kOutputText);
    ASSERT_TRUE(RunCommand(AnalysisCommand::Wordlist).completed);
    const std::string text = "Corpus File: " + path +
                             "\n\na\t2\nb\t1\n\nTotal Tokens:\t3\nTotal Types:\t2\n";
    EXPECT_EQ(ReadFile(out), text);
    // A second run appends; nothing is truncated.
    ctx.corpus.SetOutputType(kOutputXml);
    ASSERT_TRUE(RunCommand(AnalysisCommand::Wordlist).completed);
    EXPECT_EQ(ReadFile(out), text + "<?xml version=\"1.0\"?>\n<plix>\n<source>" + path +
                                 "</source>\n<plix_info>\n</plix_info>\n"
                                 "<list><word>a</word><count>2</count></list>\n"
                                 "<list><word>b</word><count>1</count></list>\n"
                                 "<token>3</token>\n<type>2</type>\n</plix>\n");
    EXPECT_TRUE(target.results.empty());
}

TEST_F(WordList, EmptyFileGivesHeaderAndZeroTotals)
{
    std::string path = AddFile("empty.txt", "");
    ASSERT_TRUE(RunCommand(AnalysisCommand::Wordlist).completed);
    EXPECT_EQ(Window(), "Corpus File: " + path +
                            "\r\n\r\n\r\nTotal Tokens:\t0\r\nTotal Types:\t0\r\n");
}

// The body lines of a Text window result: between the header's empty line and
// the footer's.
std::vector<std::string> BodyLines(const std::string& window)
{
    std::vector<std::string> lines;
    size_t start = window.find("\r\n\r\n");
    if (start == std::string::npos) {
        return lines;
    }
    start += 4;
    size_t end = window.find("\r\n\r\nTotal Tokens");
    std::string body = window.substr(start, end == std::string::npos ? std::string::npos
                                                                    : end + 2 - start);
    size_t pos = 0;
    while (pos < body.size()) {
        size_t eol = body.find("\r\n", pos);
        lines.push_back(body.substr(pos, eol - pos));
        pos = eol + 2;
    }
    return lines;
}

TEST_F(WordList, OrdersAndLayouts)
{
    struct Case
    {
        const char* name;
        AnalysisCommand command;
        const char* text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"alphabetical", AnalysisCommand::Wordlist, "the cat, the dog.", {"cat\t1", "dog\t1", "the\t2"}},
        // Reversed spellings gnir, gnis, tab; printed forwards after a TAB.
        {"backward", AnalysisCommand::BackwardList, "sing ring bat", {"\tring\t1", "\tsing\t1", "\tbat\t1"}},
        {"descending ties alphabetical", AnalysisCommand::DescendingWordlist, "c b a b c b b a",
         {"b\t4", "a\t2", "c\t2"}},
        {"ascending ties alphabetical", AnalysisCommand::AscendingWordlist, "c b a b c b b a",
         {"a\t2", "c\t2", "b\t4"}},
        {"ignore case", AnalysisCommand::Wordlist, "The the THE", {"the\t3"}},
        {"punctuation separates", AnalysisCommand::Wordlist, "don't co-op", {"co\t1", "don\t1", "op\t1", "t\t1"}},
    };
    for (const Case& k : cases) {
        EngineTest t;
        t.AddFile("a.txt", k.text);
        ASSERT_TRUE(t.RunCommand(k.command).completed) << k.name;
        EXPECT_EQ(BodyLines(t.Window()), k.lines) << k.name;
    }
}

TEST_F(WordList, WordDefinitionSettings)
{
    struct Case
    {
        const char* name;
        int ignoreCase, countNumbers;
        const char* language;
        const char* diacritics;
        const char* text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"case kept, byte order", 0, 1, "ASCII", "", "the The THE", {"THE\t1", "The\t1", "the\t1"}},
        {"numbers counted", 1, 1, "ASCII", "", "abc123def", {"abc123def\t1"}},
        {"numbers not counted", 1, 0, "ASCII", "", "abc123def 42", {"abc\t1", "def\t1"}},
        {"helsinki diacritics", 1, 1, "ASCII", "&+=~`", "a+b c", {"a+b\t1", "c\t1"}},
        {"digit as diacritic", 1, 0, "ASCII", "7", "a7b 8", {"a7b\t1"}},
    };
    for (const Case& k : cases) {
        EngineTest t;
        t.ctx.corpus.ignoreCase = k.ignoreCase;
        t.ctx.corpus.countNumbers = k.countNumbers;
        t.ctx.corpus.SetLanguage(k.language);
        t.ctx.corpus.diacritics = k.diacritics;
        t.AddFile("a.txt", k.text);
        ASSERT_TRUE(t.RunCommand(AnalysisCommand::Wordlist).completed) << k.name;
        EXPECT_EQ(BodyLines(t.Window()), k.lines) << k.name;
    }
    std::setlocale(LC_ALL, "C");
}

TEST_F(WordList, Latin1LettersAreWordCharactersInTheirLocale)
{
    test::LocaleGuard latin1("en_US.ISO-8859-1");
    if (!latin1.Installed()) {
        GTEST_SKIP() << "en_US.ISO-8859-1 is not installed";
    }
    AddFile("a.txt", "caf\xc9 Caf\xe9 na\xefve");
    ASSERT_TRUE(RunCommand(AnalysisCommand::Wordlist).completed);
    EXPECT_EQ(BodyLines(Window()), (std::vector<std::string>{"caf\xe9\t2", "na\xefve\t1"}));
}

TEST_F(WordList, ListFilterKeyword)
{
    struct Case
    {
        const char* name;
        AnalysisCommand command;
        const char* keyword;
        int left, right;
        std::vector<std::string> lines;
    };
    const char* text = "sing ingot ing abxab ring";
    const Case cases[] = {
        {"anywhere", AnalysisCommand::Wordlist, "ing", 0, 0, {"ing\t1", "ingot\t1", "ring\t1", "sing\t1"}},
        {"right", AnalysisCommand::Wordlist, "ing", 0, 1, {"ing\t1", "ring\t1", "sing\t1"}},
        {"left", AnalysisCommand::Wordlist, "ing", 1, 0, {"ing\t1", "ingot\t1"}},
        {"both", AnalysisCommand::Wordlist, "ing", 1, 1, {"ing\t1"}},
        // Only the first occurrence is tested.
        {"first occurrence only", AnalysisCommand::Wordlist, "ab", 0, 1, {}},
        // The backward list reverses the keyword and swaps the switches.
        {"backward right", AnalysisCommand::BackwardList, "ing", 0, 1, {"\ting\t1", "\tring\t1", "\tsing\t1"}},
        {"backward left", AnalysisCommand::BackwardList, "ing", 1, 0, {"\ting\t1", "\tingot\t1"}},
    };
    for (const Case& k : cases) {
        EngineTest t;
        t.AddFile("a.txt", text);
        t.ctx.corpus.keyword = k.keyword;
        t.ctx.corpus.matchLeft = k.left;
        t.ctx.corpus.matchRight = k.right;
        ASSERT_TRUE(t.RunCommand(k.command).completed) << k.name;
        EXPECT_EQ(BodyLines(t.Window()), k.lines) << k.name;
        // The filter serves one command only.
        EXPECT_EQ(t.ctx.corpus.keyword, "") << k.name;
    }
}

TEST_F(WordList, BackwardFilterAppliesInEveryFileOfTheCommand)
{
    AddFile("a.txt", "sing bat");
    AddFile("b.txt", "ring cat");
    ctx.corpus.keyword = "ing";
    ctx.corpus.matchRight = 1;
    ASSERT_TRUE(RunCommand(AnalysisCommand::BackwardList).completed);
    ASSERT_EQ(target.results.size(), 2u);
    EXPECT_EQ(BodyLines(Window(0)), (std::vector<std::string>{"\tsing\t1"}));
    EXPECT_EQ(BodyLines(Window(1)), (std::vector<std::string>{"\tring\t1"}));
}

TEST_F(WordList, LineRanges)
{
    struct Case
    {
        int start, end;
        std::vector<std::string> lines;
    };
    const std::string text = "l1\nl2\nl3\nl4\nl5\nl6\n";
    const Case cases[] = {
        {3, 5, {"l3\t1", "l4\t1", "l5\t1"}},
        {0, 5, {"l1\t1", "l2\t1", "l3\t1", "l4\t1", "l5\t1", "l6\t1"}},
        {5, 3, {}},
        {6, 100, {"l6\t1"}},
    };
    for (const Case& k : cases) {
        EngineTest t;
        t.AddFile("a.txt", text);
        t.AddFile("b.txt", text);
        t.ctx.corpus.startLine = k.start;
        t.ctx.corpus.endLine = k.end;
        ASSERT_TRUE(t.RunCommand(AnalysisCommand::Wordlist).completed);
        ASSERT_EQ(t.target.results.size(), 2u);
        // Line numbers restart in each file.
        EXPECT_EQ(BodyLines(t.Window(0)), k.lines) << k.start << "-" << k.end;
        EXPECT_EQ(BodyLines(t.Window(1)), k.lines) << k.start << "-" << k.end;
    }
}

TEST_F(WordList, AsAWholeInOneWindow)
{
    std::string a = AddFile("a.txt", "x y");
    std::string b = AddFile("b.txt", "y");
    std::string c = AddFile("c.txt", "z y");
    ctx.corpus.SetAsWhole(1);
    ASSERT_TRUE(RunCommand(AnalysisCommand::Wordlist).completed);
    ASSERT_EQ(target.results.size(), 1u);
    EXPECT_EQ(Window(), "Corpus File: " + a + "\r\n\r\nCorpus File: " + b +
                            "\r\n\r\nCorpus File: " + c +
                            "\r\n\r\nx\t1\r\ny\t3\r\nz\t1\r\n\r\n"
                            "Total Tokens:\t5\r\nTotal Types:\t3\r\n");
}

TEST_F(WordList, AsAWholeToFilesWritesTheFirstOutputOnly)
{
    std::string a = AddFile("a.txt", "x y");
    std::string b = AddFile("b.txt", "y");
    std::string c = AddFile("c.txt", "z");
    ctx.corpus.SetAsWhole(1);
    ctx.corpus.SetOutputAsFiles(1);
    ASSERT_TRUE(RunCommand(AnalysisCommand::Wordlist).completed);
    EXPECT_EQ(ReadFile(ctx.corpus.GetOutputFile(0)),
              "Corpus File: " + a + "\n\nCorpus File: " + b + "\n\nCorpus File: " + c +
                  "\n\nx\t1\ny\t2\nz\t1\n\nTotal Tokens:\t4\nTotal Types:\t3\n");
    EXPECT_FALSE(std::filesystem::exists(ctx.corpus.GetOutputFile(1)));
    EXPECT_FALSE(std::filesystem::exists(ctx.corpus.GetOutputFile(2)));
}

TEST_F(WordList, ToFilesAppendsToEachOutputOnEveryRun)
{
    AddFile("a.txt", "x");
    AddFile("b.txt", "y");
    AddFile("c.txt", "z");
    ctx.corpus.SetOutputAsFiles(1);
    ctx.corpus.suppressHeaders = 1;
    ASSERT_TRUE(RunCommand(AnalysisCommand::Wordlist).completed);
    ASSERT_TRUE(RunCommand(AnalysisCommand::Wordlist).completed);
    EXPECT_EQ(ReadFile(ctx.corpus.GetOutputFile(0)), "x\t1\nx\t1\n");
    EXPECT_EQ(ReadFile(ctx.corpus.GetOutputFile(1)), "y\t1\ny\t1\n");
    EXPECT_EQ(ReadFile(ctx.corpus.GetOutputFile(2)), "z\t1\nz\t1\n");
}

TEST_F(WordList, CancelWhileReadingDropsTheResult)
{
    std::string a = AddFile("a.txt", "one\ntwo\n");
    AddFile("b.txt", "three\nfour\nfive\n");
    AddFile("c.txt", "six\n");
    ctx.corpus.SetAsWhole(1);
    ctx.corpus.keyword = "o";
    progress.cancelAfter = 3;  // the first line of the second file
    CommandOutcome outcome = RunCommand(AnalysisCommand::Wordlist);
    EXPECT_FALSE(outcome.completed);
    EXPECT_EQ(outcome.failedEntry, 1);
    EXPECT_EQ(aborts.size(), 1u);
    // The headers already written stay; no list, no footer; the third file is not read.
    ASSERT_EQ(target.results.size(), 1u);
    EXPECT_EQ(Window(), "Corpus File: " + a + "\r\n\r\nCorpus File: " +
                            ctx.corpus.GetInputFile(1) + "\r\n\r\n");
    EXPECT_EQ(progress.made, 2);
    EXPECT_EQ(ctx.corpus.keyword, "");  // cleared after an abort too
}

TEST_F(WordList, CancelWhileWritingKeepsTheFooter)
{
    AddFile("a.txt", "a b c d");
    progress.cancelAfter = 1 + 2;  // one line read, then two entries written
    ASSERT_TRUE(RunCommand(AnalysisCommand::Wordlist).completed);
    EXPECT_EQ(BodyLines(Window()),
              (std::vector<std::string>{"a\t1", "b\t1", "", "Cancelled: 2 of 4 entries written."}));
    EXPECT_NE(Window().find("Total Tokens:\t4\r\nTotal Types:\t4\r\n"), std::string::npos);
}

TEST_F(WordList, MissingCorpusFileAbortsWithItsNameAndReason)
{
    AddFile("a.txt", "x");
    ctx.corpus.AddInputFile(dir.File("missing.txt"));
    ctx.corpus.AddOutputFile(dir.File("missing.plx"));
    AddFile("c.txt", "z");
    CommandOutcome outcome = RunCommand(AnalysisCommand::Wordlist);
    EXPECT_FALSE(outcome.completed);
    EXPECT_EQ(outcome.failedEntry, 1);
    EXPECT_NE(outcome.reason.find("missing.txt"), std::string::npos);
    EXPECT_NE(outcome.reason.find("No such file or directory"), std::string::npos);
    // The first result stays; the third entry is not run.
    EXPECT_EQ(target.results.size(), 1u);
}

TEST_F(WordList, UnreadableInputsFailCleanly)
{
    ctx.corpus.AddInputFile(dir.Path());  // a folder, not a file
    ctx.corpus.AddOutputFile(dir.File("x.plx"));
    CommandOutcome outcome = RunCommand(AnalysisCommand::Wordlist);
    EXPECT_FALSE(outcome.completed);
    EXPECT_NE(outcome.reason.find("Is a directory"), std::string::npos);
}

TEST_F(WordList, OutputFileThatCannotBeOpenedAborts)
{
    AddFile("a.txt", "x");
    ctx.corpus.outputFiles[0] = dir.File("no/such/folder/a.plx");
    ctx.corpus.SetOutputAsFiles(1);
    CommandOutcome outcome = RunCommand(AnalysisCommand::Wordlist);
    EXPECT_FALSE(outcome.completed);
    EXPECT_NE(outcome.reason.find("a.plx"), std::string::npos);
}

TEST_F(WordList, LinesLongerThanACountingPieceLoseNoWord)
{
    // Lines of megabytes are counted in pieces cut between words: words near
    // every cut, a word longer than a piece, and a line of one word must all
    // come out whole.
    std::string giant(600000, 'g');
    std::string line;
    int64_t words = 0;
    while (line.size() < 700000) {
        line += "ab" + std::to_string(words % 7) + (words % 3 == 0 ? "  " : " ");
        ++words;
    }
    std::map<std::string, int64_t> counts;
    for (int64_t i = 0; i < words; ++i) {
        ++counts["ab" + std::to_string(i % 7)];
    }
    AddFile("a.txt", line + giant + " " + line + "\n" + giant + "\n" + std::string(300000, 'h'));
    ctx.corpus.suppressHeaders = 1;
    ASSERT_TRUE(RunCommand(AnalysisCommand::Wordlist).completed);
    std::string want;
    for (const auto& [w, c] : counts) {
        want += w + "\t" + std::to_string(2 * c) + "\r\n";
    }
    want += giant + "\t2\r\n" + std::string(300000, 'h') + "\t1\r\n";
    EXPECT_TRUE(Window() == want) << Window().substr(0, 200);
}

TEST_F(WordList, LongLinesAndWordsAreTakenWhole)
{
    std::string longWord(300, 'w');
    std::string line;
    for (int i = 0; i < 20000; ++i) {
        line += "abcd ";
    }
    line += longWord;  // a 100 300-byte line ending in a 300-byte word
    AddFile("a.txt", line + "\n" + longWord + "x\n");
    ASSERT_TRUE(RunCommand(AnalysisCommand::Wordlist).completed);
    EXPECT_EQ(BodyLines(Window()),
              (std::vector<std::string>{"abcd\t20000", longWord + "\t1", longWord + "x\t1"}));
}

TEST_F(WordList, NulBytesAndCarriageReturnsAreSeparators)
{
    AddFile("a.txt", std::string("ab\0cd\r\nef\r\n", 12));
    ASSERT_TRUE(RunCommand(AnalysisCommand::Wordlist).completed);
    EXPECT_EQ(BodyLines(Window()), (std::vector<std::string>{"ab\t1", "cd\t1", "ef\t1"}));
}

TEST_F(WordList, UnicodeCollationCountsEqualSpellingsOnce)
{
    test::LocaleGuard utf8("en_US.UTF-8");
    if (!utf8.Installed()) {
        GTEST_SKIP() << "en_US.UTF-8 is not installed";
    }
    // Words that collate differently still come out in collation order.
    AddFile("a.txt", "b a B c");
    ctx.corpus.ignoreCase = 0;
    ASSERT_TRUE(RunCommand(AnalysisCommand::Wordlist).completed);
    EXPECT_EQ(BodyLines(Window()), (std::vector<std::string>{"a\t1", "b\t1", "B\t1", "c\t1"}));
}

TEST_F(WordList, SortedInputIsNotAProblem)
{
    std::string text;
    for (int i = 0; i < 50000; ++i) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "w%06d\n", i);
        text += buf;
    }
    AddFile("sorted.txt", text);
    ctx.corpus.suppressHeaders = 1;
    ASSERT_TRUE(RunCommand(AnalysisCommand::DescendingWordlist).completed);
    EXPECT_EQ(BodyLines("\r\n\r\n" + Window()).size(), 50000u);
}

TEST_F(WordList, LargeCorporaCountedOnTheSecondCoreGiveExactCounts)
{
    // Enough words for many batches of the word counter, as one result over
    // three files, in every word-list order and with a filter: the counts and
    // totals must be those of a plain count.
    std::map<std::string, int64_t> counts;
    std::map<std::string, int64_t> filtered;
    int64_t tokens = 0;
    int64_t filteredTokens = 0;
    for (int f = 0; f < 3; ++f) {
        std::string text;
        for (int i = 0; i < 40000; ++i) {
            int n = (i * 7919 + f * 104729) % 2003;
            std::string word = (i % 3 == 0 ? "W" : "w") + std::to_string(n) + (n % 5 == 0 ? "ing" : "");
            text += word + (i % 11 == 10 ? ".\n" : ", ");
            std::string lowered = "w" + word.substr(1);
            ++counts[lowered];
            ++tokens;
            if (n % 5 == 0) {
                ++filtered[lowered];
                ++filteredTokens;
            }
        }
        AddFile("f" + std::to_string(f) + ".txt", text);
    }
    ctx.corpus.SetAsWhole(1);
    auto expect = [](const std::map<std::string, int64_t>& m, bool backward) {
        std::vector<std::string> lines;
        for (const auto& [word, count] : m) {
            lines.push_back((backward ? "\t" + word : word) + "\t" + std::to_string(count));
        }
        return lines;
    };
    auto totals = [](const std::map<std::string, int64_t>& m, int64_t total) {
        return "Total Tokens:\t" + std::to_string(total) + "\r\nTotal Types:\t" + std::to_string(m.size());
    };
    // The entries: after the header's file lines, before the totals.
    auto entries = [this] {
        std::vector<std::string> lines = BodyLines(Window());
        lines.erase(std::remove_if(lines.begin(), lines.end(),
                                   [](const std::string& l) { return l.find('\t') == std::string::npos; }),
                    lines.end());
        return lines;
    };
    ASSERT_TRUE(RunCommand(AnalysisCommand::Wordlist).completed);
    EXPECT_EQ(entries(), expect(counts, false));
    EXPECT_NE(Window().find(totals(counts, tokens)), std::string::npos);

    target.results.clear();
    ctx.corpus.keyword = "ing";
    ctx.corpus.matchRight = 1;
    ASSERT_TRUE(RunCommand(AnalysisCommand::BackwardList).completed);
    // The backward list is ordered by the reversed words.
    std::vector<std::string> body = entries();
    std::sort(body.begin(), body.end());
    EXPECT_EQ(body, expect(filtered, true));
    EXPECT_NE(Window().find(totals(filtered, filteredTokens)), std::string::npos);
}

}  // namespace
}  // namespace plix
