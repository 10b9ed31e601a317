// Long lines: the answer of a search must be the answer on the whole line,
// whatever the line's length and whatever the machine.
#include "match/gnu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace plix {
namespace {

// "w0 w1 w2 ..." with no word twice in a row, then the tail.
std::string Words(int count, const std::string& tail)
{
    // No word ends with the letter the next one starts with.
    static const char* const kWords[] = {"one", "two", "three", "four", "five", "six", "seven"};
    std::string line;
    for (int i = 0; i < count; ++i) {
        line += kWords[i % 7];
        line += ' ';
    }
    return line + tail;
}

std::string LongRun()
{
    // "x" at 300, a run of a's and b's with one "b" at 701, "z" at 2199.
    std::string line(300, '.');
    line += 'x';
    line += std::string(400, 'a');
    line += 'b';
    line += std::string(2199 - line.size(), 'a');
    line += 'z';
    return line + std::string(20, '.');
}

struct LongCase
{
    const char* pattern;
    std::string text;
    std::size_t start;
    long offset;
    std::size_t length;
};

TEST(RegexLongLine, AnswerIsTheWholeLineAnswer)
{
    const std::string words = Words(2500, "the the");
    const std::string run = LongRun();
    const std::string dots(3000, '.');
    const std::vector<LongCase> cases = {
        {"(\\w+) \\1", words, 0, static_cast<long>(words.size() - 7), 7},
        {"(\\w+) \\1$", words, 0, static_cast<long>(words.size() - 7), 7},
        {"\\b(\\w+) \\1\\b", words, 100, static_cast<long>(words.size() - 7), 7},
        {"x[ab]*z|b", run, 0, 300, 1900},
        {"x[ab]*z|b", run, 301, 701, 1},
        {"b|x[ab]*z", run, 0, 300, 1900},
        {"x.*z|b", run, 0, 300, 1900},
        {"\\bx[ab]*z|b", run, 0, 300, 1900},
        {"x[ab]*z|b", run.substr(0, 2199), 0, 701, 1},  // no z: only the b
        {"(a|b)+z", run, 0, 301, 1899},
        {"[xz]", dots + "z" + dots + "x", 0, 3000, 1},
        {"q.*r|s", dots + "q" + dots + "s" + dots + "r", 0, 3000, 6003},
    };
    for (const LongCase& c : cases) {
        CGNU gnu;
        ASSERT_EQ(gnu.CompileKeyword(c.pattern), "") << c.pattern;
        std::size_t length = 0;
        EXPECT_EQ(gnu.SearchKeyword(c.text, c.start, length), c.offset) << c.pattern;
        EXPECT_EQ(length, c.offset < 0 ? 0 : c.length) << c.pattern;
        EXPECT_TRUE(gnu.TakeGaveUpNotes().empty()) << c.pattern;
    }
}

// Every hit of a long line, searched hit after hit, is the hit that the
// short-text search finds in the next 250 bytes (all hits here are short).
TEST(RegexLongLine, SuccessiveHitsAgreeWithShortSearches)
{
    std::string line;
    for (int i = 0; i < 300; ++i) {
        line += i % 3 == 0 ? "xab" : "ba";
        line += std::string(static_cast<std::size_t>(i % 11), 'a');
        line += i % 5 == 0 ? "z " : " ";
    }
    for (const char* pattern : {"x[ab]*z|b", "a+z|x", "(ab|ba)+ ", "\\<x[^ ]*z\\>|a\\b"}) {
        CGNU gnu;
        ASSERT_EQ(gnu.CompileKeyword(pattern), "") << pattern;
        std::size_t hits = 0;
        for (std::size_t at = 0; at + 250 < line.size();) {
            std::size_t length = 0;
            const long hit = gnu.SearchKeyword(line, at, length);
            std::size_t shortLength = 0;
            const long shortHit = gnu.SearchKeyword(line.substr(0, at + 250), at, shortLength);
            ASSERT_GE(shortHit, 0) << pattern << " from " << at;
            ASSERT_EQ(hit, shortHit) << pattern << " from " << at;
            ASSERT_EQ(length, shortLength) << pattern << " at " << hit;
            at = static_cast<std::size_t>(hit) + length;
            ++hits;
        }
        EXPECT_GT(hits, 20u) << pattern;
    }
}

// A search that needs more work than it may take gives up the same way on
// every run and says so once, naming the pattern; the next compile starts
// afresh.
TEST(RegexLongLine, GivingUpIsCountedAndReported)
{
    const std::string as(100000, 'a');
    CGNU gnu;
    ASSERT_EQ(gnu.CompileKeyword("(a*)*\\1b"), "");
    std::size_t length = 0;
    const long first = gnu.SearchKeyword(as + "b", 0, length);
    const long again = gnu.SearchKeyword(as + "b", 0, length);
    EXPECT_EQ(first, again);
    const std::vector<std::string> notes = gnu.TakeGaveUpNotes();
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes.front(), RegexGaveUpNote("(a*)*\\1b"));
    EXPECT_NE(notes.front().find("\"(a*)*\\1b\""), std::string::npos);
    EXPECT_TRUE(gnu.TakeGaveUpNotes().empty());
    ASSERT_EQ(gnu.CompileContext("(\\w+) \\1"), "");
    const std::string words = Words(2500, "the the");
    EXPECT_EQ(gnu.SearchContext(words, 0, length), static_cast<long>(words.size() - 7));
    EXPECT_TRUE(gnu.TakeGaveUpNotes().empty());
}

}  // namespace
}  // namespace plix
