// Re-sorting a result window's text without the engine: what a window holds,
// the word-list and concordance orders (checked against concordances the
// engine itself made and sorted), the parts kept in place, and the tag-jump
// line parsing.
#include <gtest/gtest.h>

#include "engine/result_sort.h"
#include "settings/text.h"
#include "support/engine_fixture.h"

namespace plix {
namespace {

using test::EngineTest;

// A window's text as its lines: split at "\r\n", the text after the last line
// end being the last (usually empty) line, as a text view shows it.
std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (true) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            return lines;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
}

KeywordRequest Keyword(const std::string& text, bool regex = false)
{
    KeywordRequest k;
    k.keyword = text;
    k.regex = regex;
    return k;
}

// The lines of a word list after a re-sort: header, sorted block, the rest.
std::vector<std::string> ResortWordList(const std::vector<std::string>& lines, WordListOrder order)
{
    WordListLayout layout = FindWordListBlock(lines);
    std::optional<std::vector<size_t>> sorted = SortWordList(lines, layout, order, {});
    std::vector<std::string> out(lines.begin(), lines.begin() + static_cast<long>(layout.blockBegin));
    for (size_t index : sorted.value()) {
        out.push_back(lines[index]);
    }
    out.insert(out.end(), lines.begin() + static_cast<long>(layout.blockEnd), lines.end());
    return out;
}

std::vector<std::string> ResortConcordance(const std::vector<std::string>& lines, int mode, int column,
                                           const CCorpus& corpus)
{
    ConcordanceLayout layout = FindConcordanceLayout(lines);
    std::vector<std::string> out(lines.begin(), lines.begin() + static_cast<long>(layout.firstHit));
    std::optional<std::vector<size_t>> sorted = SortConcordance(lines, layout, mode, column, corpus, {});
    for (size_t first : sorted.value()) {
        for (size_t i = first; i < std::min(first + layout.LinesPerHit(), layout.blockEnd); ++i) {
            out.push_back(lines[i]);
        }
    }
    out.insert(out.end(), lines.begin() + static_cast<long>(layout.blockEnd), lines.end());
    return out;
}

TEST(ClassifyResult, HandMadeTexts)
{
    CCorpus corpus;
    struct Case
    {
        const char* name;
        std::vector<std::string> lines;
        ResultKind kind;
        int hitFormat;
    };
    const std::vector<std::string> thirty(30, "plain text without a tab");
    std::vector<std::string> late = thirty;
    late.push_back("Keyword: the");
    const Case cases[] = {
        {"empty", {}, ResultKind::Neither, 0},
        {"plain text", {"It was a dark night.", "", "The end 1999"}, ResultKind::Neither, 0},
        {"word list", {"Corpus File: a.txt", "", "the\t120", "of\t80"}, ResultKind::WordList, 0},
        {"backward list", {"", "\teht\t120"}, ResultKind::WordList, 0},
        {"a tab without a digit", {"the\tend"}, ResultKind::Neither, 0},
        {"a line starting with a blank", {" the\t12"}, ResultKind::Neither, 0},
        {"keyword line after 30 lines", late, ResultKind::Neither, 0},
        {"concordance, Text", {"Keyword: a", "Keyword Position: 5", "", "(3) ", "    a b"},
         ResultKind::Concordance, 1},
        {"concordance, Comma", {"Keyword: a", "", "\"3\",\"    a b\""}, ResultKind::Concordance, 2},
        {"concordance, Tab", {"Keyword: a", "", "3\t    a b"}, ResultKind::Concordance, 3},
        {"concordance, Tagged", {"Keyword: a", "", "x.txt(3):    a b"}, ResultKind::Concordance, 4},
        {"concordance without hits", {"Keyword: a", "", "<hit>"}, ResultKind::Concordance, 0},
        // The header lines are no hits, even with a keyword that looks like one.
        {"keyword like a reference", {"Keyword: (1|2)", "Keyword Position: 5", "", "3\t    1 b"},
         ResultKind::Concordance, 3},
        // A word-list line before the keyword line decides first.
        {"word list first", {"the\t3", "Keyword: a"}, ResultKind::WordList, 0},
    };
    for (const Case& k : cases) {
        ResultClass result = ClassifyResult(k.lines, corpus);
        EXPECT_EQ(result.kind, k.kind) << k.name;
        EXPECT_EQ(result.hitFormat, k.hitFormat) << k.name;
    }
}

TEST(ClassifyResult, EngineResultsInEachOutputType)
{
    struct Case
    {
        int type;
        int hitFormat;
    };
    const Case cases[] = {{kOutputText, 1},  {kOutputComma, 2}, {kOutputTab, 3},
                          {kOutputTagged, 4}, {kOutputXml, 0},   {kOutputOther, 0}};
    for (const Case& k : cases) {
        EngineTest t;
        t.AddFile("a.txt", "one cat and another cat\n");
        t.ctx.corpus.SetMarks("[[", "]]");
        t.ctx.corpus.SetOutputType(k.type);
        ASSERT_TRUE(t.RunCommand(AnalysisCommand::Concordance, Keyword("cat")).completed);
        ResultClass concordance = ClassifyResult(Lines(t.Window()), t.ctx.corpus);
        EXPECT_EQ(concordance.kind, ResultKind::Concordance) << k.type;
        EXPECT_EQ(concordance.hitFormat, k.hitFormat) << k.type;

        t.target.results.clear();
        ASSERT_TRUE(t.RunCommand(AnalysisCommand::Wordlist).completed);
        EXPECT_EQ(ClassifyResult(Lines(t.Window()), t.ctx.corpus).kind,
                  k.type == kOutputXml ? ResultKind::Neither : ResultKind::WordList)
            << k.type;
    }
}

TEST(WordListSort, FrequencyAndAlphabetKeepHeaderAndTotals)
{
    const std::vector<std::string> lines = {
        "Corpus File: a.txt", "", "the\t120", "of\t80", "and\t80", "", "Total Tokens:\t280",
        "Total Types:\t3",    ""};
    auto expect = [&](std::vector<std::string> block) {
        std::vector<std::string> out = {"Corpus File: a.txt", ""};
        out.insert(out.end(), block.begin(), block.end());
        out.insert(out.end(), {"", "Total Tokens:\t280", "Total Types:\t3", ""});
        return out;
    };
    EXPECT_EQ(ResortWordList(lines, WordListOrder::Frequency), expect({"the\t120", "and\t80", "of\t80"}));
    EXPECT_EQ(ResortWordList(lines, WordListOrder::Alphabet), expect({"and\t80", "of\t80", "the\t120"}));
}

TEST(WordListSort, OrdersOfAwkwardLines)
{
    struct Case
    {
        const char* name;
        std::vector<std::string> block;
        WordListOrder order;
        std::vector<std::string> expected;
    };
    const std::string longA = std::string(300, 'x') + "b\t1";
    const std::string longB = std::string(300, 'x') + "a\t1";
    const Case cases[] = {
        {"backward list by its reversed words", {"\teht\t3", "\tfo\t5", "\tdna\t4"}, WordListOrder::Alphabet,
         {"\tdna\t4", "\teht\t3", "\tfo\t5"}},
        {"backward list by frequency", {"\teht\t3", "\tfo\t5", "\tdna\t4"}, WordListOrder::Frequency,
         {"\tfo\t5", "\tdna\t4", "\teht\t3"}},
        {"counts as numbers, not text", {"a\t9", "b\t10", "c\t100"}, WordListOrder::Frequency,
         {"c\t100", "b\t10", "a\t9"}},
        {"a line without a TAB by its whole text", {"the\t2", "edited by hand\t", "zebra", "apple"},
         WordListOrder::Alphabet, {"apple", "edited by hand\t", "the\t2", "zebra"}},
        {"lines without a count after the counted ones", {"the\t2", "zebra", "apple", "a\t0"},
         WordListOrder::Frequency, {"the\t2", "a\t0", "apple", "zebra"}},
        {"words longer than 195 bytes compare whole", {longA, longB}, WordListOrder::Alphabet, {longB, longA}},
        {"equal words keep their order", {"b\t1", "a\t2", "a\t1"}, WordListOrder::Alphabet,
         {"a\t2", "a\t1", "b\t1"}},
    };
    for (const Case& k : cases) {
        std::vector<std::string> lines = k.block;
        lines.push_back("");
        std::vector<std::string> expected = k.expected;
        expected.push_back("");
        EXPECT_EQ(ResortWordList(lines, k.order), expected) << k.name;
    }
}

TEST(WordListSort, CollatesByTheLocale)
{
    test::LocaleGuard locale("de_DE.ISO-8859-1");
    if (!locale.Installed()) {
        GTEST_SKIP() << "no de_DE.ISO-8859-1 locale";
    }
    // e with acute (0xE9) sorts between e and f, not after z as its byte would.
    const std::vector<std::string> lines = {"zoo\t1", "f\t1", "\xe9t\xe9\t1", "ete\t1", ""};
    EXPECT_EQ(ResortWordList(lines, WordListOrder::Alphabet),
              (std::vector<std::string>{"ete\t1", "\xe9t\xe9\t1", "f\t1", "zoo\t1", ""}));
}

TEST(WordListSort, CancelGivesNothing)
{
    const std::vector<std::string> lines = {"a\t1", "b\t2", "c\t3", ""};
    int asked = 0;
    auto cancelSecond = [&](int) { return ++asked < 2; };
    EXPECT_FALSE(SortWordList(lines, FindWordListBlock(lines), WordListOrder::Alphabet, cancelSecond));
    EXPECT_EQ(asked, 2);
}

// The engine's own sort kinds and sort columns give the order a re-sort of its
// keyword-sorted result must give, in every layout of the hit lines.
TEST(ConcordanceSort, AgreesWithTheEngineInEveryLayout)
{
    struct Case
    {
        int mode;
        int column;
        std::string order;  // the sentences A, B, C in the order of their hits
    };
    const char* sentences[] = {
        "the old man saw KEY in a dark room\n",    // A
        "a young cat ate KEY on the big mat\n",    // B
        "an ugly dog hid KEY at some red door\n",  // C
    };
    const Case cases[] = {
        {kSortKeyword, 0, "CBA"}, {kSortLeft, 0, "BCA"},  {kSortLeft, 1, "BCA"},
        {kSortLeft, 2, "BCA"},    {kSortLeft, 3, "ACB"},  {kSortRight, 0, "CAB"},
        {kSortRight, 1, "CAB"},   {kSortRight, 2, "ACB"},
    };
    for (int type : {kOutputText, kOutputComma, kOutputTab, kOutputTagged}) {
        EngineTest t;
        // Reversed, so that every re-sort has to move hits.
        for (int i = 2; i >= 0; --i) {
            t.AddFile(std::string(1, static_cast<char>('a' + i)) + ".txt", sentences[i]);
        }
        t.ctx.corpus.SetAsWhole(1);
        t.ctx.corpus.SetLineFormat(60, 30);
        t.ctx.corpus.SetOutputType(type);
        ASSERT_TRUE(t.RunCommand(AnalysisCommand::Concordance, Keyword("key")).completed);
        const std::vector<std::string> lines = Lines(t.Window());
        for (const Case& k : cases) {
            t.ctx.corpus.sortColumn = k.column;
            std::vector<std::string> sorted = ResortConcordance(lines, k.mode, k.column, t.ctx.corpus);
            ASSERT_EQ(sorted.size(), lines.size());
            std::string order;
            for (const std::string& line : sorted) {
                order += line.find("man") != std::string::npos   ? "A"
                         : line.find("cat") != std::string::npos ? "B"
                         : line.find("dog") != std::string::npos ? "C"
                                                                 : "";
            }
            EXPECT_EQ(order, k.order) << "type " << type << " mode " << k.mode << " column " << k.column;
            // Header and footer stay where they were.
            EXPECT_EQ(sorted.front(), lines.front());
            EXPECT_EQ(sorted[sorted.size() - 3], lines[lines.size() - 3]);
        }
    }
}

// The keywords found from a window's text are the ones the engine coloured
// when it wrote the window, in every layout the re-sort reads.
TEST(HitKeywords, AreTheOnesTheEngineColoured)
{
    struct Case
    {
        const char* name;
        KeywordRequest keyword;
    };
    KeywordRequest partial = Keyword("ke");
    const Case cases[] = {
        {"plain", Keyword("key")},
        {"part of a word", partial},
        {"regular expression", Keyword("k.y", true)},
        {"two words", Keyword("key at")},
    };
    const char* corpus =
        "the old man saw KEY in a dark room\n"
        "Key at the start\n"
        "a young cat ate the keys on the big mat\n"
        "an ugly dog hid key at some red door, key again\n";
    for (int type : {kOutputText, kOutputComma, kOutputTab, kOutputTagged}) {
        for (const Case& k : cases) {
            SCOPED_TRACE(std::string(k.name) + ", output type " + std::to_string(type));
            EngineTest t;
            t.AddFile("a.txt", corpus);
            t.ctx.corpus.SetLineFormat(60, 30);
            t.ctx.corpus.SetOutputType(type);
            ASSERT_TRUE(t.RunCommand(AnalysisCommand::Concordance, k.keyword).completed);
            const std::string window = t.Window();
            std::vector<std::pair<size_t, size_t>> coloured;
            for (const test::CapturedHighlight& h : t.target.highlights) {
                coloured.emplace_back(h.offset, h.length);
            }
            ASSERT_FALSE(coloured.empty());

            const std::vector<std::string> lines = Lines(window);
            std::vector<size_t> lineStarts;
            size_t at = 0;
            for (const std::string& line : lines) {
                lineStarts.push_back(at);
                at += line.size() + 2;
            }
            std::vector<std::pair<size_t, size_t>> found;
            for (const HitKeyword& hit : FindHitKeywords(lines, t.ctx.corpus)) {
                found.emplace_back(lineStarts[hit.line] + hit.start, hit.length);
            }
            if (!k.keyword.regex) {
                EXPECT_EQ(found, coloured) << window;
                continue;
            }
            // What a pattern matched is not in the text: the word it starts
            // ("keys" for the match "key").
            ASSERT_EQ(found.size(), coloured.size()) << window;
            for (size_t i = 0; i < found.size(); ++i) {
                EXPECT_EQ(found[i].first, coloured[i].first);
                EXPECT_GE(found[i].second, coloured[i].second);
            }
        }
    }
}

TEST(HitKeywords, NoneWithoutAKeywordHeaderOrHitLines)
{
    CCorpus corpus;
    const std::vector<std::vector<std::string>> windows = {
        {"Corpus File: a.txt", "", "a\t2", "b\t1", "", "Total Tokens:\t3"},
        // the concordance of all words has no keyword lines
        {"Corpus File: a.txt", "", "", "(1) ", "     the cat", "", "Total Occurrence(s): 1"},
        {"Corpus File: a.txt", "", "Keyword: cat", "Keyword Position: 5", "", "no hits here"},
        {},
    };
    for (const std::vector<std::string>& lines : windows) {
        EXPECT_TRUE(FindHitKeywords(lines, corpus).empty()) << lines.size();
    }
}

TEST(ConcordanceSort, RightContextSecondWordIgnoresCaseAndKeepsTies)
{
    CCorpus corpus;
    const std::vector<std::string> lines = {
        "Corpus File: a.txt",
        "",
        "Keyword: key",
        "Keyword Position: 10",
        "",
        "(1) ",
        "     one key to Zulu end",
        "(2) ",
        "     two key to alpha end",
        "(3) ",
        "   three key in Mike one",
        "(4) ",
        "    four key at ZULU two",
        "",
        "Total Occurrence(s): 4",
        "",
    };
    std::vector<std::string> expected(lines.begin(), lines.begin() + 5);
    for (int hit : {2, 3, 1, 4}) {  // alpha, mike, zulu, ZULU: equal keys in window order
        expected.push_back(lines[static_cast<size_t>(3 + 2 * hit)]);
        expected.push_back(lines[static_cast<size_t>(4 + 2 * hit)]);
    }
    expected.insert(expected.end(), lines.end() - 3, lines.end());
    EXPECT_EQ(ResortConcordance(lines, kSortRight, 2, corpus), expected);
}

TEST(ConcordanceSort, Keys)
{
    CCorpus corpus;
    struct Case
    {
        const char* name;
        std::string line;
        int format;
        std::string keyword;
        int position;
        int mode;
        int column;
        std::string key;
    };
    const std::string longLeft = std::string(2990, 'w') + " ";
    const Case cases[] = {
        {"keyword lower-cased", "the old Key here", 1, "key", 9, kSortKeyword, 0, "key"},
        // Position 9 counted from 1 is the keyword's first byte: a one-letter
        // keyword is the keyword, not the word after it.
        {"one-letter keyword", "the old a here", 1, "a", 9, kSortKeyword, 0, "a"},
        {"keyword inside a word", "the oldKEYs here", 1, "key", 8, kSortKeyword, 0, "oldkeys"},
        {"left, whole context keeps case", "The Old Man KEY", 1, "key", 13, kSortLeft, 0, "Man Old The "},
        {"left, nearest word", "The Old Man KEY", 1, "key", 13, kSortLeft, 1, "man"},
        {"left, past the line start", "The Old Man KEY", 1, "key", 13, kSortLeft, 4, ""},
        {"right, rest lower-cased", "KEY, In A Room", 1, "key", 1, kSortRight, 0, "in a room"},
        {"right, second word", "KEY, In A Room", 1, "key", 1, kSortRight, 2, "a"},
        {"right, past the end", "KEY, In A Room", 1, "key", 1, kSortRight, 5, ""},
        {"Tab: from the last TAB", "12\tsaw KEY in", 3, "key", 5, kSortRight, 1, "in"},
        {"Tab: left context stops at the TAB", "12\tsaw KEY in", 3, "key", 5, kSortLeft, 0, "saw "},
        {"Comma: after the last \",\"", "\"12\",\"saw KEY in\"", 2, "key", 5, kSortRight, 0, "in\""},
        {"Tagged: after the colon", "/d/a.txt(12):saw KEY in", 4, "key", 5, kSortKeyword, 0, "key"},
        {"Tagged: left context stops at the colon", "/d/a.txt(12):saw KEY in", 4, "key", 5, kSortLeft, 0,
         "saw "},
        {"Tagged: n-th left word only within the text", "/d/a.txt(12):saw KEY in", 4, "key", 5, kSortLeft, 2,
         ""},
        // A colon in the left context, followed by the keyword too, is not the
        // end of the reference.
        {"Tagged: colon in the context", "/d/a.txt(12):he: KEY in", 4, "key", 5, kSortRight, 1, "in"},
        // A keyword that the lower-cased line never holds (a regular
        // expression): the column after the first "):".
        {"Tagged: regular expression", "/d/a.txt(12):saw KEY in", 4, "K.Y", 5, kSortRight, 1, "in"},
        {"Tagged name starting with a digit", "9.txt(12):saw KEY in", 3, "key", 5, kSortRight, 1, "in"},
        {"a line longer than 1995 bytes", longLeft + "KEY tail", 1, "key", 2992, kSortLeft, 1,
         std::string(2990, 'w')},
        {"a short line", "ab", 1, "key", 50, kSortRight, 0, ""},
    };
    for (const Case& k : cases) {
        ConcordanceKeyRule rule;
        rule.hitFormat = k.format;
        rule.sortKeyword = k.keyword;
        rule.sortKeywordPosition = k.position;
        rule.sortMode = k.mode;
        rule.sortColumn = k.column;
        EXPECT_EQ(ConcordanceSortKey(k.line, rule, corpus), k.key) << k.name;
    }
}

TEST(ConcordanceSort, LayoutOfTheWindow)
{
    struct Case
    {
        const char* name;
        std::vector<std::string> lines;
        size_t headerEnd, firstHit, blockEnd;
        std::vector<size_t> hits;
    };
    const Case cases[] = {
        {"two-line hits",
         {"Corpus File: a", "", "Keyword: k", "Keyword Position: 3", "", "(1) ", "  k", "(2) ", "  k", "",
          "Total"},
         5, 5, 9, {5, 7}},
        {"one-line hits after a column heading",
         {"Keyword: k", "Keyword Position: 3", "", "Reference", "1\t  k", "2\t  k", ""}, 3, 4, 6, {4, 5}},
        {"no position: nothing to sort", {"Keyword: k", "", "1\t  k", ""}, 2, 4, 4, {}},
        {"no hit line: nothing to sort", {"Keyword: k", "Keyword Position: 3", "", "<hit>", ""}, 3, 5, 5, {}},
        {"hits up to the end of the text", {"Keyword: k", "Keyword Position: 3", "", "1\t  k", "2\t  k"}, 3, 3,
         5, {3, 4}},
    };
    for (const Case& k : cases) {
        ConcordanceLayout layout = FindConcordanceLayout(k.lines);
        EXPECT_EQ(layout.headerEnd, k.headerEnd) << k.name;
        EXPECT_EQ(layout.firstHit, k.firstHit) << k.name;
        EXPECT_EQ(layout.blockEnd, k.blockEnd) << k.name;
        EXPECT_EQ(layout.hits, k.hits) << k.name;
    }
}

TEST(TagJump, ParsesTheReferenceOfATaggedHit)
{
    struct Case
    {
        std::string line;
        bool found;
        std::string file;
        int64_t number;
    };
    const std::string longName = "/data/" + std::string(400, 'n') + ".txt";
    const Case cases[] = {
        {"c:\\data\\a.txt(120):   the text of the hit", true, "c:\\data\\a.txt", 120},
        {"/corpus/a(b).txt(7):x (3): y", true, "/corpus/a(b).txt", 7},
        {"a.txt( 12 ):x", true, "a.txt", 12},
        {longName + "(9):text", true, longName, 9},
        {"(12) ", false, "", 0},
        {"a.txt(12) no colon", false, "", 0},
        {"a.txt(twelve):x", false, "", 0},
        {"a.txt():x", false, "", 0},
        {"(12):x", false, "", 0},
        {"no parenthesis):x", false, "", 0},
        {"", false, "", 0},
    };
    for (const Case& k : cases) {
        std::optional<TagJumpTarget> target = ParseTagJump(k.line);
        ASSERT_EQ(target.has_value(), k.found) << k.line.substr(0, 40);
        if (target) {
            EXPECT_EQ(target->fileName, k.file);
            EXPECT_EQ(target->line, k.number);
        }
    }
}

}  // namespace
}  // namespace plix

namespace plix {
namespace {

TEST(ConcordanceSort, Utf8KeysCountDisplayColumns)
{
    test::LocaleGuard guard("C.UTF-8");
    ASSERT_TRUE(guard.Installed());
    CCorpus corpus;
    corpus.SaveSystemLocale();
    corpus.utf8Text = 1;
    corpus.SetLanguage("System");
    struct Case
    {
        const char* line;
        int position;
        int mode;
        int column;
        const char* key;
    };
    // The keyword stands in column 9: after eight columns, whatever their bytes.
    const Case cases[] = {
        {"Жук ест ЖУК лист", 9, kSortKeyword, 0, "жук"},
        {"日本語  ЖУК лист", 9, kSortKeyword, 0, "жук"},
        {"日本語  ЖУК Лист", 9, kSortRight, 1, "лист"},
        {"Ёж, ест ЖУКА лист", 9, kSortLeft, 1, "ест"},
        {"Ёж, ест ЖУКА лист", 9, kSortLeft, 2, "ёж"},
    };
    for (const Case& k : cases) {
        ConcordanceKeyRule rule;
        rule.hitFormat = 1;
        rule.sortKeyword = "жук";
        rule.sortKeywordPosition = k.position;
        rule.sortMode = k.mode;
        rule.sortColumn = k.column;
        EXPECT_EQ(ConcordanceSortKey(k.line, rule, corpus), k.key) << k.line;
    }
}

}  // namespace
}  // namespace plix
