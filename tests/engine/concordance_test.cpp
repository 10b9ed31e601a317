// Concordances, the concordance of all words and the collocation list through
// the whole engine: hits, context lines, sort keys, layouts and colouring.
#include <gtest/gtest.h>

#include <cctype>
#include <random>

#include "engine/parse.h"
#include "support/engine_fixture.h"
#include "support/test_support.h"

namespace plix {
namespace {

using test::EngineTest;
using test::ReadFile;

KeywordRequest Keyword(const std::string& text, bool left = false, bool right = false)
{
    KeywordRequest k;
    k.keyword = text;
    k.matchLeft = left;
    k.matchRight = right;
    return k;
}

// The concordance lines of a Text window result (every second line after the
// header, the references dropped), and the references.
struct Hits
{
    std::vector<std::string> references;
    std::vector<std::string> lines;
};

Hits TextHits(const std::string& window)
{
    Hits hits;
    size_t start = window.find("Keyword Position:");
    start = window.find("\r\n\r\n", start) + 4;
    size_t end = window.find("\r\n\r\nTotal Occurrence");
    std::vector<std::string> rows;
    for (size_t pos = start; pos < end + 2;) {
        size_t eol = window.find("\r\n", pos);
        rows.push_back(window.substr(pos, eol - pos));
        pos = eol + 2;
    }
    for (size_t i = 0; i + 1 < rows.size(); i += 2) {
        hits.references.push_back(rows[i]);
        hits.lines.push_back(rows[i + 1]);
    }
    return hits;
}

std::string LowerAscii(std::string text)
{
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

std::string Pad(size_t blanks, const std::string& text)
{
    return std::string(blanks, ' ') + text;
}

class Concordance : public EngineTest, public ::testing::Test
{
};

TEST_F(Concordance, MatchSwitchesOnOtherThenTheEnd)
{
    struct Case
    {
        bool left, right;
        std::vector<std::string> lines;
    };
    // With position 50 the keyword starts in column 50 of every line.
    const std::string all = "Other then the end";
    const Case cases[] = {
        // Sorted by the word the keyword begins in: other, the, then.
        {false, false, {Pad(48, all), Pad(38, all), Pad(43, all)}},
        {true, false, {Pad(38, all), Pad(43, all)}},
        {false, true, {Pad(38, all)}},
        {true, true, {Pad(38, all)}},
    };
    for (const Case& k : cases) {
        EngineTest t;
        t.AddFile("a.txt", "Other then the end\n");
        ASSERT_TRUE(t.RunCommand(AnalysisCommand::Concordance, Keyword("The", k.left, k.right)).completed);
        Hits hits = TextHits(t.Window());
        EXPECT_EQ(hits.lines, k.lines) << k.left << k.right;
        for (const std::string& line : hits.lines) {
            EXPECT_EQ(LowerAscii(line.substr(49, 3)), "the");
        }
    }
}

TEST_F(Concordance, KeywordFoundWhereverItStandsInWhateverCase)
{
    // Lines of every length up to well past the sixteen places the search
    // tests at once, dense with near misses; keywords of one to five bytes,
    // and in an 8-bit locale one whose first and last letters have capitals
    // above 127. The hits are the leftmost non-overlapping matches, ignoring
    // case, of each line.
    struct Case
    {
        const char* locale;
        std::string keyword;
        std::string alphabet;
    };
    const Case cases[] = {
        {"C", "the", "tThHeE x"},
        {"C", "t", "tTa "},
        {"C", "tt", "tTx "},
        {"C", "theta", "tThHeEaA "},
        {"de_DE.ISO-8859-1", "\xe9t\xe9", "\xe9\xc9tTe "},
    };
    std::mt19937 random(5);
    for (const Case& c : cases) {
        test::LocaleGuard locale(c.locale);
        if (!locale.Installed()) {
            continue;
        }
        const auto fold = [](unsigned char b) { return static_cast<unsigned char>(std::tolower(b)); };
        std::string corpus;
        size_t want = 0;
        for (int i = 0; i < 400; ++i) {
            std::string line(random() % 90, ' ');
            for (char& ch : line) {
                ch = c.alphabet[random() % c.alphabet.size()];
            }
            for (size_t at = 0; at + c.keyword.size() <= line.size();) {
                size_t k = 0;
                while (k < c.keyword.size() &&
                       fold(static_cast<unsigned char>(line[at + k])) ==
                           static_cast<unsigned char>(c.keyword[k])) {
                    ++k;
                }
                if (k == c.keyword.size()) {
                    ++want;
                    at += k;
                } else {
                    ++at;
                }
            }
            corpus += line + "\n";
        }
        EngineTest t;
        t.AddFile("a.txt", corpus);
        ASSERT_TRUE(t.RunCommand(AnalysisCommand::Concordance, Keyword(c.keyword)).completed);
        const std::string window = t.Window();
        EXPECT_NE(window.find("Total Occurrence(s): " + std::to_string(want) + "\r\n"),
                  std::string::npos)
            << c.locale << " " << c.keyword << " want " << want;
        for (const std::string& line : TextHits(window).lines) {
            std::string found = line.substr(49, c.keyword.size());
            for (char& ch : found) {
                ch = static_cast<char>(fold(static_cast<unsigned char>(ch)));
            }
            EXPECT_EQ(found, c.keyword) << c.locale;
        }
    }
}

TEST_F(Concordance, WholeWindowTextAndColouring)
{
    std::string path = AddFile("a.txt", "a cat\nthe Cat sat\n");
    ctx.corpus.SetLineFormat(30, 15);
    ASSERT_TRUE(RunCommand(AnalysisCommand::Concordance, Keyword("cat")).completed);
    // The hit in the first line has blanks to its left; the right context
    // comes from the next line, which is then read normally.
    EXPECT_EQ(Window(), "Corpus File: " + path +
                            "\r\n\r\nKeyword: cat\r\nKeyword Position: 15\r\n\r\n"
                            "(1) \r\n" + Pad(12, "a cat the Cat") + "\r\n"
                            // A line read ahead keeps its line end, as a blank.
                            "(2) \r\n" + Pad(4, "a cat the Cat sat ") + "\r\n"
                            "\r\nTotal Occurrence(s): 2\r\n\r\n");
    EXPECT_EQ(target.ColouredTexts(0), (std::vector<std::string>{"cat", "Cat"}));
}

TEST_F(Concordance, ReferenceAndLineLayoutPerOutputType)
{
    struct Case
    {
        int type;
        std::string window;  // the body of a window result
        std::string file;    // the body of a file result
        const char* coloured;
    };
    const std::string line = Pad(10, "one cat");
    const Case cases[] = {
        {kOutputText, "(1) \r\n" + line + "\r\n", "(1) \n" + line + "\n", "cat"},
        {kOutputComma, "\"1\",\"" + line + "\"\r\n", "\"1\",\"" + line + "\"\n", "cat"},
        {kOutputTab, "1\t" + line + "\r\n", "1\t" + line + "\n", "cat"},
        {kOutputTagged, "P(1):" + line + "\r\n", "P(1):" + line + "\n", "cat"},
        {kOutputXml, "<hit file=\"P\" line=\"1\">" + line + "</hit>\r\n",
         "<hit file=\"P\" line=\"1\">" + line + "</hit>\n", "cat"},
        {kOutputOther, "[[1]] [[" + line + "]]\r\n", "[[1]] [[" + line + "]]\n", "cat"},
    };
    for (const Case& k : cases) {
        for (bool toFile : {false, true}) {
            EngineTest t;
            std::string path = t.AddFile("a.txt", "one cat\n");
            t.ctx.corpus.SetMarks("[[", "]]");
            t.ctx.corpus.SetOutputType(k.type);
            t.ctx.corpus.SetLineFormat(30, 15);
            t.ctx.corpus.suppressHeaders = 1;
            t.ctx.corpus.SetOutputAsFiles(toFile);
            ASSERT_TRUE(t.RunCommand(AnalysisCommand::Concordance, Keyword("cat")).completed);
            std::string expected = toFile ? k.file : k.window;
            size_t p;
            while ((p = expected.find("P(")) != std::string::npos ||
                   (p = expected.find("\"P\"")) != std::string::npos) {
                expected.replace(expected[p] == 'P' ? p : p + 1, 1, path);
            }
            std::string actual = toFile ? ReadFile(t.ctx.corpus.GetOutputFile(0)) : t.Window();
            EXPECT_EQ(actual, expected) << "type " << k.type << " file " << toFile;
            if (!toFile) {
                EXPECT_EQ(t.target.ColouredTexts(0), (std::vector<std::string>{k.coloured}))
                    << "type " << k.type;
            }
        }
    }
}

TEST_F(Concordance, TabSeparatedColourStartsAfterTheReference)
{
    AddFile("a.txt", "x\nx\nx\nx\nx\nx\nx\nx\nx\nsome KEY here\n");
    ctx.corpus.SetOutputType(kOutputTab);
    ctx.corpus.suppressHeaders = 1;
    ASSERT_TRUE(RunCommand(AnalysisCommand::Concordance, Keyword("key")).completed);
    ASSERT_EQ(target.highlights.size(), 1u);
    // Column 50 of the line counted from 1, plus the reference "10\t".
    EXPECT_EQ(target.highlights[0].offset, 49u + 3u);
    EXPECT_EQ(target.highlights[0].length, 3u);
}

TEST_F(Concordance, SortKindsAndSortColumns)
{
    struct Case
    {
        AnalysisCommand command;
        int column;
        std::string order;  // the sentences A, B, C in the order of their hits
    };
    // One sentence a file, so that no context reaches into another sentence.
    const char* sentences[] = {
        "the old man saw KEY in a dark room\n",   // A
        "a young cat ate KEY on the big mat\n",   // B
        "an ugly dog hid KEY at some red door\n", // C
    };
    const Case cases[] = {
        {AnalysisCommand::Concordance, 0, "ABC"},       // equal keys: text order
        {AnalysisCommand::ConcordanceLeft, 0, "BCA"},   // ate, hid, saw ...
        {AnalysisCommand::ConcordanceLeft, 1, "BCA"},   // ate, hid, saw
        {AnalysisCommand::ConcordanceLeft, 2, "BCA"},   // cat, dog, man
        {AnalysisCommand::ConcordanceLeft, 3, "ACB"},   // old, ugly, young
        {AnalysisCommand::ConcordanceRight, 0, "CAB"},  // at some, in a, on the
        {AnalysisCommand::ConcordanceRight, 1, "CAB"},  // at, in, on
        {AnalysisCommand::ConcordanceRight, 2, "ACB"},  // a, some, the
    };
    for (const Case& k : cases) {
        EngineTest t;
        for (int i = 0; i < 3; ++i) {
            t.AddFile(std::string(1, static_cast<char>('a' + i)) + ".txt", sentences[i]);
        }
        t.ctx.corpus.SetAsWhole(1);
        t.ctx.corpus.SetLineFormat(60, 30);
        t.ctx.corpus.sortColumn = k.column;
        ASSERT_TRUE(t.RunCommand(k.command, Keyword("key")).completed);
        std::string order;
        for (const std::string& line : TextHits(t.Window()).lines) {
            order += line.find("man") != std::string::npos   ? 'A'
                     : line.find("cat") != std::string::npos ? 'B'
                                                             : 'C';
        }
        EXPECT_EQ(order, k.order) << static_cast<int>(k.command) << " column " << k.column;
    }
}

TEST_F(Concordance, LeftContextOrderIsThatOfTheWordsFromTheKeywordOutwards)
{
    // Many hits with left contexts of words, punctuation, capitals and the
    // start of the file: the hits must come in the order of their left
    // contexts read word by word from the keyword outwards (lowered, each
    // other byte a blank, places before the text blank), equal contexts in
    // text order — for keyword positions on both sides of 64 places.
    std::mt19937 random(11);
    const char* const words[] = {"a", "Ab", "ab", "b", "the", "The", "x-y", "of", "z", "zz", "q,", "--"};
    std::string corpus;
    for (int line = 0; line < 400; ++line) {
        const int count = static_cast<int>(random() % 9);
        for (int w = 0; w < count; ++w) {
            corpus += words[random() % std::size(words)];
            corpus += random() % 4 == 0 ? "  " : " ";
        }
        corpus += "key";
        corpus += random() % 3 == 0 ? "\n" : " tail\n";
    }
    for (int position : {6, 20, 63, 64, 65, 66, 90}) {
        SCOPED_TRACE("keyword position " + std::to_string(position));
        EngineTest t;
        t.AddFile("a.txt", corpus);
        t.ctx.corpus.SetLineFormat(position + 20, position);
        ASSERT_TRUE(t.RunCommand(AnalysisCommand::ConcordanceLeft, Keyword("key")).completed);
        const std::vector<std::string> lines = TextHits(t.Window()).lines;
        ASSERT_EQ(lines.size(), 400u);
        auto keyOf = [&](const std::string& line) {
            // The keyword stands at column `position` - 1 of each line.
            const std::string left = line.substr(0, static_cast<size_t>(position - 1));
            std::string key;
            size_t end = left.size();
            while (end > 0) {
                if (!std::isalnum(static_cast<unsigned char>(left[end - 1]))) {
                    key += ' ';
                    --end;
                    continue;
                }
                size_t start = end;
                while (start > 0 && std::isalnum(static_cast<unsigned char>(left[start - 1]))) {
                    --start;
                }
                for (size_t k = start; k < end; ++k) {
                    key += static_cast<char>(std::tolower(static_cast<unsigned char>(left[k])));
                }
                end = start;
            }
            return key;
        };
        for (size_t i = 1; i < lines.size(); ++i) {
            ASSERT_LE(keyOf(lines[i - 1]), keyOf(lines[i])) << "hits " << i - 1 << " and " << i;
        }
    }
}

TEST_F(Concordance, SortKeysOfTheExampleLine)
{
    EngineTest t;
    t.ctx.corpus.SetLineFormat(60, 30);
    CParse parse(t.ctx);
    parse.contextLine = Pad(13, "the old man saw KEY in a dark room");
    parse.keywordLength = 3;
    struct Case
    {
        int kind, column;
        const char* key;
    };
    const Case cases[] = {
        {0, 0, "key"},
        {0, 3, "key"},
        // Every byte that is not a letter adds a blank after the word before it.
        {1, 0, " saw man old the             "},
        {1, 1, "saw"},
        {1, 2, "man"},
        {1, 4, "the"},
        {1, 5, ""},
        {2, 0, " in a dark room"},
        {2, 1, "in"},
        {2, 2, "a"},
        {2, 4, ""},  // "room" runs to the end of the line and never counts
    };
    for (const Case& k : cases) {
        t.ctx.corpus.sortColumn = k.column;
        parse.MakeSortKey(k.kind);
        EXPECT_EQ(parse.word, k.key) << k.kind << "/" << k.column;
    }
}

TEST_F(Concordance, ControlCharactersBecomeBlanksOnBothSides)
{
    // Tabs, DEL and line ends, in the text before the hit line, in the hit
    // line and in the lines read ahead, all show as blanks.
    AddFile("a.txt", "aa\tbb\x7f" "cc dd ee\nkey\tff\nzz\x01yy\n");
    ctx.corpus.SetLineFormat(30, 15);
    ASSERT_TRUE(RunCommand(AnalysisCommand::Concordance, Keyword("key")).completed);
    EXPECT_EQ(TextHits(Window()).lines,
              (std::vector<std::string>{"  bb cc dd ee key ff zz yy"}));
}

TEST_F(Concordance, EqualKeysKeepTextOrderAcrossFiles)
{
    AddFile("a.txt", "key one\nkey two\n");
    AddFile("b.txt", "key three\n");
    ctx.corpus.SetAsWhole(1);
    ctx.corpus.SetLineFormat(30, 10);
    ASSERT_TRUE(RunCommand(AnalysisCommand::Concordance, Keyword("key")).completed);
    Hits hits = TextHits(Window());
    EXPECT_EQ(hits.references, (std::vector<std::string>{"(1) ", "(2) ", "(1) "}));
    // Each file starts with blanks to the left; the second line's left context
    // is the first line, its right end the blank of its line end.
    EXPECT_EQ(hits.lines, (std::vector<std::string>{Pad(9, "key one key two"),
                                                    " key one key two ", Pad(9, "key three")}));
}

TEST_F(Concordance, ConcordanceOfAllWords)
{
    std::string path = AddFile("a.txt", "b a b\n");
    ctx.corpus.SetLineFormat(20, 10);
    ASSERT_TRUE(RunCommand(AnalysisCommand::ConcordanceAll).completed);
    // No keyword: the window header has no keyword lines at all.
    EXPECT_EQ(Window(), "Corpus File: " + path + "\r\n\r\n\r\n"
                            "(1) \r\n" + Pad(7, "b a b") + "\r\n"
                            "(1) \r\n" + Pad(9, "b a b") + "\r\n"
                            "(1) \r\n" + Pad(5, "b a b") + "\r\n"
                            "\r\nTotal Occurrence(s): 3\r\n\r\n");
    EXPECT_EQ(target.ColouredTexts(0), (std::vector<std::string>{"a", "b", "b"}));
    // The file header keeps the position line.
    EngineTest f;
    f.AddFile("a.txt", "b a b\n");
    f.ctx.corpus.SetOutputAsFiles(1);
    ASSERT_TRUE(f.RunCommand(AnalysisCommand::ConcordanceAll).completed);
    EXPECT_NE(ReadFile(f.ctx.corpus.GetOutputFile(0)).find("\n\nKeyword Position: 50\n\n(1) \n"),
              std::string::npos);
}

TEST_F(Concordance, ContextWordWithSpans)
{
    struct Case
    {
        int left, right;
        const char* word;
        size_t hits;
    };
    // Hits: "x KEY y", "y z KEY", "KEY q y".
    const Case cases[] = {
        {1, 1, "y", 1}, {2, 0, "y", 1}, {0, 2, "y", 2}, {2, 2, "y", 3},
        {0, 0, "y", 0}, {1, 1, "", 3},  // an empty context word switches the test off
    };
    for (const Case& k : cases) {
        EngineTest t;
        t.AddFile("a.txt", "x key y.\ny z key.\nkey q y.\n");
        KeywordRequest r = Keyword("key");
        r.useContextWord = true;
        r.contextWord = k.word;
        r.contextLeft = k.left;
        r.contextRight = k.right;
        t.ctx.corpus.SetLineFormat(24, 12);
        ASSERT_TRUE(t.RunCommand(AnalysisCommand::Concordance, r).completed);
        EXPECT_EQ(TextHits(t.Window()).lines.size(), k.hits) << k.left << "/" << k.right << k.word;
    }
}

TEST_F(Concordance, ContextWordHeaderLine)
{
    AddFile("a.txt", "x key y\n");
    KeywordRequest r = Keyword("KEY");
    r.useContextWord = true;
    r.contextWord = "Y";
    r.contextLeft = 0;
    r.contextRight = 2;
    ASSERT_TRUE(RunCommand(AnalysisCommand::Concordance, r).completed);
    EXPECT_NE(Window().find("Keyword: key\r\nKeyword Position: 50\r\n"
                            "collocates with y; left:0 words, right:2 words\r\n\r\n"),
              std::string::npos);
    EXPECT_EQ(ctx.corpus.GetHistoryKeyword(0), "KEY");  // the history keeps it as typed
}

TEST_F(Concordance, EmptyKeywordDoesNothing)
{
    AddFile("a.txt", "x\n");
    CommandOutcome outcome = RunCommand(AnalysisCommand::Concordance, Keyword(""));
    EXPECT_FALSE(outcome.started);
    EXPECT_TRUE(target.results.empty());
}

TEST_F(Concordance, ToFilesAppendsAndAsAWholeUsesTheFirstOutput)
{
    AddFile("a.txt", "key\n");
    AddFile("b.txt", "key\n");
    ctx.corpus.SetOutputAsFiles(1);
    ctx.corpus.suppressHeaders = 1;
    ctx.corpus.SetLineFormat(20, 10);
    ASSERT_TRUE(RunCommand(AnalysisCommand::Concordance, Keyword("key")).completed);
    ASSERT_TRUE(RunCommand(AnalysisCommand::Concordance, Keyword("key")).completed);
    const std::string one = "(1) \n" + Pad(9, "key") + "\n";
    EXPECT_EQ(ReadFile(ctx.corpus.GetOutputFile(0)), one + one);
    EXPECT_EQ(ReadFile(ctx.corpus.GetOutputFile(1)), one + one);
    ctx.corpus.SetAsWhole(1);
    ASSERT_TRUE(RunCommand(AnalysisCommand::Concordance, Keyword("key")).completed);
    EXPECT_EQ(ReadFile(ctx.corpus.GetOutputFile(0)), one + one + one + one);
    EXPECT_EQ(ReadFile(ctx.corpus.GetOutputFile(1)), one + one);
}

TEST_F(Concordance, CancelWhileReadingAndWhileWriting)
{
    {
        EngineTest t;
        t.AddFile("a.txt", "key\nkey\nkey\n");
        t.progress.cancelAfter = 2;
        CommandOutcome outcome = t.RunCommand(AnalysisCommand::Concordance, Keyword("key"));
        EXPECT_FALSE(outcome.completed);
        EXPECT_EQ(t.Window().find("Total Occurrence"), std::string::npos);
    }
    {
        EngineTest t;
        t.AddFile("a.txt", "key\nkey\nkey\n");
        t.progress.cancelAfter = 3 + 1;  // three lines read, one hit written
        ASSERT_TRUE(t.RunCommand(AnalysisCommand::Concordance, Keyword("key")).completed);
        // The hit, the cut-short line after an empty line, and the footer of
        // the whole result.
        Hits hits = TextHits(t.Window());
        ASSERT_EQ(hits.lines.size(), 2u);
        EXPECT_EQ(hits.references[1], "");
        EXPECT_EQ(hits.lines[1], "Cancelled: 1 of 3 entries written.");
        EXPECT_NE(t.Window().find("Total Occurrence(s): 3"), std::string::npos);
    }
}

TEST_F(Concordance, LongContextWordsAndLines)
{
    std::string longWord(150, 'q');
    std::string line = std::string(30000, 'a') + " " + longWord + " key " + longWord + " z\n";
    AddFile("a.txt", line);
    KeywordRequest r = Keyword("key");
    r.useContextWord = true;
    r.contextWord = longWord;
    r.contextLeft = 1;
    ctx.corpus.SetLineFormat(500, 250);
    ctx.corpus.sortColumn = 1;
    ASSERT_TRUE(RunCommand(AnalysisCommand::ConcordanceRight, r).completed);
    Hits hits = TextHits(Window());
    ASSERT_EQ(hits.lines.size(), 1u);
    EXPECT_EQ(hits.lines[0].substr(249, 3), "key");
}

class Collocation : public EngineTest, public ::testing::Test
{
};

TEST_F(Collocation, TheCatSatOnTheMat)
{
    std::string path = AddFile("a.txt", "the cat sat on the mat\n");
    ctx.corpus.SetLineFormat(80, 40);
    ASSERT_TRUE(RunCommand(AnalysisCommand::Collocation, Keyword("sat")).completed);
    EXPECT_EQ(Window(), "Corpus File: " + path +
                            "\r\n\r\nKeyword: sat\r\n\r\n"
                            "Word\tTotal\t-5\t-4\t-3\t-2\t-1\t0\t1\t2\t3\t4\t5\r\n"
                            "cat\t1\t0\t0\t0\t0\t1\t-\t0\t0\t0\t0\t0\r\n"
                            "on\t1\t0\t0\t0\t0\t0\t-\t1\t0\t0\t0\t0\r\n"
                            "the\t2\t0\t0\t0\t1\t0\t-\t0\t1\t0\t0\t0\r\n"
                            "\r\nTotal Tokens:\t4\r\nTotal Types:\t3\r\n");
    // The line format is the user's again afterwards.
    EXPECT_EQ(ctx.corpus.GetLineLength(), 80);
    EXPECT_EQ(ctx.corpus.GetKeywordPosition(), 40);
}

TEST_F(Collocation, FormatRestoredWhenTheKeywordIsEmpty)
{
    AddFile("a.txt", "x\n");
    ctx.corpus.SetLineFormat(80, 40);
    EXPECT_FALSE(RunCommand(AnalysisCommand::Collocation, Keyword("")).started);
    EXPECT_EQ(ctx.corpus.GetLineLength(), 80);
    EXPECT_EQ(ctx.corpus.GetKeywordPosition(), 40);
}

TEST_F(Collocation, PositionsDistanceAndRepeatedHits)
{
    // "k" inside "kx" does not count the rest of its word; w6 is six words away.
    AddFile("a.txt", "w6 w5 w4 w3 w2 w1 k r1 r2 r3 r4 r5 r6 kx y z\n");
    ctx.corpus.suppressHeaders = 1;
    ASSERT_TRUE(RunCommand(AnalysisCommand::Collocation, Keyword("k")).completed);
    std::string w = Window();
    EXPECT_EQ(w.find("w6\t"), std::string::npos);
    EXPECT_EQ(w.find("x\t"), std::string::npos);
    EXPECT_NE(w.find("w5\t1\t1\t0\t0\t0\t0\t-"), std::string::npos);
    // r1..r5 are right of the first hit; r2..r6 left of the second (kx).
    EXPECT_NE(w.find("r3\t2\t0\t1\t0\t0\t0\t-\t0\t0\t1\t0\t0"), std::string::npos);
    EXPECT_NE(w.find("y\t1\t0\t0\t0\t0\t0\t-\t1\t0"), std::string::npos);
}

TEST_F(Collocation, CountsDoNotWrapAt65535)
{
    std::string text;
    for (int i = 0; i < 66000; ++i) {
        text += "a k b\n";
    }
    AddFile("a.txt", text);
    ctx.corpus.suppressHeaders = 1;
    ASSERT_TRUE(RunCommand(AnalysisCommand::Collocation, Keyword("k", true, true)).completed);
    // Every hit has "b" just right of it; the neighbouring lines add the rest.
    EXPECT_NE(Window().find("\r\nb\t263995\t65998\t0\t0\t65999\t0\t-\t66000\t0\t0\t65998\t0\r\n"),
              std::string::npos)
        << Window().substr(0, 200);
}

TEST_F(Collocation, FileHeaderClosesXmlInformationAfterTheEmptyLine)
{
    AddFile("a.txt", "a sat b\n");
    ctx.corpus.SetOutputAsFiles(1);
    ctx.corpus.SetOutputType(kOutputXml);
    ASSERT_TRUE(RunCommand(AnalysisCommand::Collocation, Keyword("sat")).completed);
    EXPECT_NE(ReadFile(ctx.corpus.GetOutputFile(0)).find("Keyword: sat\n\n</plix_info>\nWord\tTotal"),
              std::string::npos);
    EngineTest w;
    w.AddFile("a.txt", "a sat b\n");
    w.ctx.corpus.SetOutputType(kOutputXml);
    ASSERT_TRUE(w.RunCommand(AnalysisCommand::Collocation, Keyword("sat")).completed);
    EXPECT_NE(w.Window().find("Keyword: sat\r\n</plix_info>\r\n\r\nWord\tTotal"), std::string::npos);
}

}  // namespace
}  // namespace plix
