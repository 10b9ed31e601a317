#include "match/gnu.h"

#include <gtest/gtest.h>

#include "match/translate.h"
#include "support/test_support.h"

#include <string>
#include <string_view>
#include <vector>

namespace plix {
namespace {

struct SearchCase
{
    const char* pattern;
    std::string text;
    std::size_t start;
    long offset;  // -1: no match
    std::size_t length;
};

std::string Describe(const SearchCase& c)
{
    return "pattern \"" + std::string(c.pattern) + "\" text \"" + c.text + "\" from " +
           std::to_string(c.start);
}

void ExpectKeywordSearches(const std::vector<SearchCase>& cases)
{
    for (const SearchCase& c : cases) {
        CGNU gnu;
        gnu.InitKeyword();
        ASSERT_EQ(gnu.CompileKeyword(c.pattern), "") << c.pattern;
        std::size_t length = 99;
        const long offset = gnu.SearchKeyword(c.text, c.start, length);
        EXPECT_EQ(offset, c.offset) << Describe(c);
        EXPECT_EQ(length, c.offset < 0 ? 0 : c.length) << Describe(c);
    }
}

// The pattern language, one construct at a time.
const std::vector<SearchCase>& LanguageCases()
{
    static const std::vector<SearchCase> cases = {
        {"ab*", "xabbbc", 0, 1, 4},
        {"x*", "abc", 0, 0, 1},  // an empty match counts as one byte
        {"x*", "abc", 2, 2, 1},
        {"", "abc", 0, 0, 1},
        {"(ab)\\1", "abab", 0, 0, 4},
        {"(ab)\\1", "abac", 0, -1, 0},
        {"\\1(ab)", "1ab", 0, 0, 3},  // no group 1 yet: the digit
        {"\\1(ab)", "ab", 0, -1, 0},
        {"(a\\1)", "a1", 0, 0, 2},  // group 1 still open: the digit
        {"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)\\9", "abcdefghiji", 0, 0, 11},
        {"(a)\\10", "aa0", 0, 0, 3},   // \1 then the digit 0
        {"(a)|b\\1", "b1a", 0, 2, 1},  // the group is in the other alternative
        {"a{2}", "a{2}", 0, 0, 4},
        {"a{2}", "aa", 0, -1, 0},
        {"[\\]x]", "]", 0, 0, 1},
        {"[\\]x]", "x", 0, 0, 1},
        {"[]x]", "]", 0, 0, 1},
        {"[]x]", "x", 0, 0, 1},
        {"[^]x]", "]xy", 0, 2, 1},
        {"[a-]", "-", 0, 0, 1},
        {"[a-]", "a", 0, 0, 1},
        {"[a-]", "b", 0, -1, 0},
        {"[\\\\]", "a\\b", 0, 1, 1},
        {"[:alpha:]", "p", 0, 0, 1},
        {"[[:alpha:]]", "a]", 0, 0, 2},
        {"[[:alpha:]]", "x", 0, -1, 0},
        {"[Z-a]", "_", 0, 0, 1},  // byte-value ranges
        {"[Z-a]", "^", 0, 0, 1},
        {"[z-a]", "za", 0, -1, 0},  // an empty range
        {"[zz-a]", "az", 0, 1, 1},
        {"[a-c-e]", "d", 0, 0, 1},  // a range may start where the last one ended
        {"[^a]", "a\n", 0, 1, 1},
        {"a.c", "a\nc", 0, -1, 0},
        {"a.c", "abc", 0, 0, 3},
        {"colou?r", "color", 0, 0, 5},
        {"colou?r", "colour", 0, 0, 6},
        {"colou\\?r", "colour", 0, -1, 0},
        {"colou\\?r", "colou?r", 0, 0, 7},
        {"ba+?", "b", 0, 0, 1},  // a run of operators: "+?" is "*"
        {"ba??c", "bc", 0, 0, 2},
        {"ba??c", "baac", 0, -1, 0},
        {"*a", "a", 0, 0, 1},  // nothing to repeat: ignored
        {"(*a)", "a", 0, 0, 1},
        {"b|*a", "a", 0, 0, 1},
        {"+", "xyz", 0, 0, 1},
        {"ab|cd", "xcd", 0, 1, 2},
        {"\\(a\\)", "(a)", 0, 0, 3},
        {"a\\|b", "a|b", 0, 0, 3},
        {"a\\+", "a+", 0, 0, 2},
        {"\\.", "a.b", 0, 1, 1},
        {"\\*", "*", 0, 0, 1},
        {"\\\\", "a\\b", 0, 1, 1},
        {"\\$", "$", 0, 0, 1},
        {"\\^", "^", 0, 0, 1},
        {"\\n", "n", 0, 0, 1},  // no control-character escapes
        {"\\t", "\t", 0, -1, 0},
        {"\\x41", "x41", 0, 0, 3},
        {"\\s", "a s", 0, 2, 1},
        {"a\nb", "a\nb", 0, 0, 3},
        {"end$", "the end", 0, 4, 3},
        {"end$", "the ending", 0, -1, 0},
        {"a$", "a\nb", 0, -1, 0},  // not at a newline inside the text
        {"^b", "a\nb", 0, -1, 0},
        {"^a", "ba", 0, -1, 0},
        {"^b", "ba", 0, 0, 1},
        {"\\`b", "ba", 0, 0, 1},
        {"a\\'", "aa", 0, 1, 1},
        {"$", "abc", 0, -1, 0},  // no attempt at the end of the text
        {"\\bcat\\b", "a cat.", 0, 2, 3},
        {"\\bcat\\b", "concat", 0, -1, 0},
        {"\\bcat\\b", "cats", 0, -1, 0},
        {"\\bcat\\b", "cat_", 0, 0, 3},    // "_" is not a word byte
        {"cat.\\b", "the cat.", 0, 4, 4},  // \b holds at the end of the text
        {"\\<b", "ab b", 0, 3, 1},
        {"a\\>", "ba ab", 0, 1, 1},
        {"\\Bc", "ac c", 0, 1, 1},
        {"\\w",
         "_\xe9"
         "a",
         0, 2, 1},
        {"\\W+",
         "a_\xe9"
         "b",
         0, 1, 2},
        {"\\b\\b\\b\\b\\b\\b\\b\\b\\b\\bx", "a x", 0, 2, 1},
        {"(\\bb)+", "bb", 0, 0, 1},  // the second b is not at a word start
        {"(b\\b)+\\W", "bb.", 0, 1, 2},
        {"Word", "word", 0, -1, 0},
        {"Word", "a Word", 0, 2, 4},
        {"_", "a_", 0, 1, 1},
        {"caf\xe9", "un caf\xe9", 0, 3, 4},
        {"[\xe0-\xef]+", "na\xefve \xe9t\xe9", 0, 2, 1},
        {"(\\w+) \\1", "it is is it", 0, 3, 5},
        {"(.)\\1", "letter", 0, 2, 2},
    };
    return cases;
}

TEST(RegexSearch, PatternLanguage)
{
    ExpectKeywordSearches(LanguageCases());
}

// The library reports the longest match at the leftmost offset where a
// backtracking matcher would report the first one it finds, and its \B holds
// at the end of the text after a non-word byte. These pin our answers.
TEST(RegexSearch, LibraryAnswersWhereItDiffersFromBacktracking)
{
    ExpectKeywordSearches({
        {"a|ab", "cab", 0, 1, 2},
        {"a?(ab)?", "ab", 0, 0, 2},
        {"ab|abc", "abc", 0, 0, 3},
        {"((a)|b\\2)+", "aba", 0, 0, 1},  // the reference is in the other alternative
        {"a.\\B", "a.", 0, 0, 2},
    });
}

// Bytes before the start offset are context for the word operators, never
// a place for ^ to hold.
TEST(RegexSearch, SearchFromAnOffset)
{
    ExpectKeywordSearches({
        {"\\bcat", "concat", 3, -1, 0},
        {"^cat", "concat", 3, -1, 0},
        {"\\`cat", "concat", 3, -1, 0},
        {"\\Bcat", "concat", 3, 3, 3},
        {"\\bcat", "a cat", 2, 2, 3},
        {"\\<cat", "con cat", 4, 4, 3},
        {"cat", "catcat", 1, 3, 3},
        {"c$", "abc", 2, 2, 1},
        {"x*", "abc", 3, -1, 0},
        {"a", "", 0, -1, 0},
        {"", "", 0, -1, 0},
    });
}

// Lines longer than a few hundred bytes are searched another way; the
// answers must not change.
TEST(RegexSearch, LongTextsGiveTheSameAnswers)
{
    const std::string dots(300, '.');
    const std::string letters(300, 'a');
    ExpectKeywordSearches({
        {"ab*", dots + "xabbbc", 0, 301, 4},
        {"a|ab", dots + "cab", 0, 301, 2},
        {"\\bcat\\b", dots + "a cat.", 0, 302, 3},
        {"\\bcat\\b", dots + "concat", 0, -1, 0},
        {"end$", dots + "the end", 0, 304, 3},
        {"end$", dots + "the end.", 0, -1, 0},
        {"^\\.", dots, 5, -1, 0},
        {"^\\.", dots, 0, 0, 1},
        {"\\bcat", letters + "cat", 300, -1, 0},
        {"\\Bcat", letters + "cat", 300, 300, 3},
        {"(\\bb)+", dots + "bb", 0, 300, 1},
        {"(b\\b)+\\W", dots + "bb.", 0, 301, 2},
        {"x*", dots, 0, 0, 1},
        {"[^.]+", dots + "ab" + dots, 0, 300, 2},
        {"(\\w+) \\1", dots + "the the", 0, 300, 7},
        {"a.*z", letters + "z" + dots, 0, 0, 301},
    });
}

TEST(RegexSearch, SuccessiveSearchesOverALongLine)
{
    // A concordance searches a line again from the end of each hit: every hit
    // of a long line must be found, each search costing about the distance to
    // its hit (a line with 200 000 empty matches would otherwise never end),
    // and the answers must be those of the same searches on short pieces.
    std::string piece = "the quick brown fox a ";
    std::string line;
    for (int i = 0; i < 10000; ++i) {
        line += piece;
    }
    struct Case
    {
        const char* pattern;
        size_t hitsPerPiece;
    };
    const Case cases[] = {{"x*", 22}, {"\\bthe\\b", 1}, {"qu[a-z]*", 1}, {"(a|b)*", 22},
                          {"o[wx]?", 2}, {"\\<[a-z]", 5}, {"fox|ck", 2}};
    for (const Case& k : cases) {
        CGNU gnu;
        ASSERT_EQ(gnu.CompileKeyword(k.pattern), "") << k.pattern;
        std::vector<std::pair<long, size_t>> inPiece;
        for (size_t at = 0;;) {
            size_t length = 0;
            long hit = gnu.SearchKeyword(piece, at, length);
            if (hit < 0) {
                break;
            }
            inPiece.emplace_back(hit, length);
            at = static_cast<size_t>(hit) + length;
        }
        ASSERT_EQ(inPiece.size(), k.hitsPerPiece) << k.pattern;
        size_t count = 0;
        for (size_t at = 0;;) {
            size_t length = 0;
            long hit = gnu.SearchKeyword(line, at, length);
            if (hit < 0) {
                break;
            }
            const auto& expected = inPiece[count % k.hitsPerPiece];
            ASSERT_EQ(hit % static_cast<long>(piece.size()), expected.first) << k.pattern;
            ASSERT_EQ(length, expected.second) << k.pattern;
            ++count;
            at = static_cast<size_t>(hit) + length;
        }
        EXPECT_EQ(count, 10000 * k.hitsPerPiece) << k.pattern;
    }
}

TEST(RegexSearch, ContextSlotIsSeparate)
{
    CGNU gnu;
    gnu.InitKeyword();
    gnu.InitContext();
    ASSERT_EQ(gnu.CompileKeyword("a"), "");
    ASSERT_EQ(gnu.CompileContext("ing"), "");
    std::size_t length = 0;
    EXPECT_EQ(gnu.SearchContext("bringer", 0, length), 2);
    EXPECT_EQ(length, 3u);
    EXPECT_EQ(gnu.SearchKeyword("bringer", 0, length), -1);
    EXPECT_EQ(gnu.CompileContext("(x"), kRegexUnmatchedOpen);
    EXPECT_FALSE(gnu.ContextReady());
    EXPECT_TRUE(gnu.KeywordReady());
    EXPECT_EQ(gnu.SearchKeyword("ba", 0, length), 1);
    EXPECT_EQ(gnu.SearchContext("x", 0, length), -1);
}

struct ErrorCase
{
    std::string pattern;
    const char* error;
};

TEST(RegexCompile, ErrorTexts)
{
    const std::vector<ErrorCase> cases = {
        {"[abc", kRegexPrematureEnd},
        {"[", kRegexPrematureEnd},
        {"[]", kRegexPrematureEnd},
        {"[abc\\", kRegexPrematureEnd},
        {"a)", kRegexUnmatchedClose},
        {")", kRegexUnmatchedClose},
        {"a)(", kRegexUnmatchedClose},
        {"a(b", kRegexUnmatchedOpen},
        {"((a)", kRegexUnmatchedOpen},
        {"(((((((((((a)))))))))))", kRegexNestingTooDeep},
        {"abc\\", kRegexInvalid},
        {"a\\\\\\", kRegexInvalid},
        {"(a\\", kRegexInvalid},
        {std::string(kRegexMaxPatternBytes + 1, 'a'), kRegexTooBig},
        {"(a*)\\1*", kRegexTooBig},  // a repeated reference to a group of any length
        {"([a-z]+)( \\1)+", kRegexTooBig},
        {"(a)\\1\\1\\1\\1\\1\\1\\1\\1\\1\\1", kRegexTooBig},  // ten references
        {"\\b\\B\\b\\B\\b\\B\\b\\B\\b\\B", kRegexTooBig},
        {"((((((((((a))))))))))", ""},
        {"\\\\", ""},
        {"(ha)\\1*", ""},
        {"(a)\\1\\1\\1\\1\\1\\1\\1\\1\\1", ""},
        {std::string(4000, '(') + std::string(4000, ')'), kRegexNestingTooDeep},
    };
    for (const ErrorCase& c : cases) {
        CGNU gnu;
        gnu.InitKeyword();
        const std::string pattern = c.pattern.substr(0, 40);
        EXPECT_EQ(gnu.CompileKeyword(c.pattern), c.error) << pattern;
        EXPECT_EQ(gnu.KeywordError(), c.error) << pattern;
        EXPECT_EQ(gnu.KeywordReady(), std::string(c.error).empty()) << pattern;
    }
}

TEST(RegexCompile, LibraryErrorTextsMapOntoOurs)
{
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"Memory exhausted", kRegexMemoryExhausted},
        {"Regular expression too big", kRegexTooBig},
        {"Premature end of regular expression", kRegexPrematureEnd},
        {"Unmatched [, [^, [:, [., or [=", kRegexPrematureEnd},
        {"Unmatched ( or \\(", kRegexUnmatchedOpen},
        {"Unmatched ) or \\)", kRegexUnmatchedClose},
        {"Trailing backslash", kRegexInvalid},
        {"Invalid back reference", kRegexInvalid},
    };
    for (const auto& [library, ours] : cases) {
        EXPECT_EQ(RegexErrorFromLibrary(library), ours) << library;
    }
}

TEST(RegexCompile, FailedOrMissingCompileMatchesNothing)
{
    CGNU gnu;
    std::size_t length = 7;
    EXPECT_EQ(gnu.SearchKeyword("abc", 0, length), -1);  // never compiled
    EXPECT_EQ(length, 0u);
    ASSERT_EQ(gnu.CompileKeyword("b"), "");
    EXPECT_EQ(gnu.SearchKeyword("abc", 0, length), 1);
    EXPECT_EQ(gnu.CompileKeyword("a(b"), kRegexUnmatchedOpen);
    EXPECT_EQ(gnu.SearchKeyword("abc", 0, length), -1);  // not the old "b"
    EXPECT_EQ(gnu.SearchKeyword("a(b", 0, length), -1);
    ASSERT_EQ(gnu.CompileKeyword("c"), "");
    EXPECT_EQ(gnu.KeywordError(), "");
    EXPECT_EQ(gnu.SearchKeyword("abc", 0, length), 2);
    gnu.InitKeyword();
    EXPECT_FALSE(gnu.KeywordReady());
    EXPECT_EQ(gnu.SearchKeyword("abc", 0, length), -1);
}

// The language is byte-wise: ranges, word bytes, "." and errors do not
// follow the user's locale, whether it is set at compile or at search time.
TEST(RegexSearch, SameAnswersInEveryLocale)
{
    const std::vector<SearchCase> cases = {
        {"[a-z]", "\xe9", 0, -1, 0},
        {"[a-z]+", "\xc3\xa9t\xc3\xa9", 0, 2, 1},
        {"\\w", "\xe9\xc3\xa9_a", 0, 4, 1},
        {"\\bcaf",
         "\xe9"
         "caf",
         0, 1, 3},
        {"caf.$", "caf\xc3\xa9", 0, -1, 0},
        {"caf..$", "caf\xc3\xa9", 0, 0, 5},
        {"[\xe9]", "\xc3\xa9", 0, -1, 0},
        {"\xa4\xa2", "\xa4\xa4\xa4\xa2", 0, 2, 2},
        {"[^a]", "\xa4\xa2", 0, 0, 1},
        {"[[:alpha:]]", "\xe9]", 0, -1, 0},
        {"\xe9t\xe9|x", "l'\xe9t\xe9", 0, 2, 3},
    };
    // UTF-8 locales read characters (see utf8_test.cpp).
    for (const char* name : {"C", "en_US.ISO-8859-1", "ja_JP.eucJP"}) {
        test::LocaleGuard guard(name);
        if (!guard.Installed()) {
            continue;
        }
        SCOPED_TRACE(name);
        ExpectKeywordSearches(cases);
        CGNU gnu;
        EXPECT_EQ(gnu.CompileKeyword("a(b"), kRegexUnmatchedOpen);
    }
    CGNU gnu;
    ASSERT_EQ(gnu.CompileKeyword("[a-z]\\b"), "");
    test::LocaleGuard guard("en_US.ISO-8859-1");
    std::size_t length = 0;
    EXPECT_EQ(gnu.SearchKeyword("ab\xe9", 0, length), 1);
}

// Patterns that make a naive search take quadratic, cubic or exponential
// time finish, or are refused when compiled.
TEST(RegexSearch, PathologicalPatternsReturn)
{
    const std::string as(100000, 'a');
    ExpectKeywordSearches({
        {"(a*)*b", as, 0, -1, 0},
        {"(a*)*b", as + "b", 0, 0, 100001},
        {"x.*y", std::string(100000, 'x'), 0, -1, 0},
        {"x.*y", std::string(100000, 'x') + "y", 0, 0, 100001},
        {"(a*)*\\1b", as, 0, -1, 0},
        {"(a*)\\1b", "aab", 0, 0, 3},
    });
    for (const char* pattern : {"(a*)*\\1b", "(a*)\\1b", "(a*)(a*)\\2\\1b", "((a*)*)*\\2\\1b"}) {
        CGNU gnu;
        ASSERT_EQ(gnu.CompileKeyword(pattern), "") << pattern;
        for (const std::string& text : {std::string(1000, 'a') + "b", as + "b"}) {
            std::size_t length = 0;
            const long offset = gnu.SearchKeyword(text, 0, length);
            if (offset >= 0) {
                EXPECT_LE(static_cast<std::size_t>(offset) + length, text.size()) << pattern;
            }
        }
    }
    std::string nested(10000, '(');
    nested += 'a';
    nested += std::string(10000, ')');
    std::string sequence;
    for (int i = 0; i < 10000; ++i) {
        sequence += "(a)";
    }
    CGNU gnu;
    EXPECT_EQ(gnu.CompileKeyword(nested), kRegexTooBig);
    EXPECT_EQ(gnu.CompileKeyword(sequence), kRegexTooBig);
    EXPECT_EQ(gnu.CompileKeyword(std::string(100000, 'x')), kRegexTooBig);
    std::string manyGroups;
    for (int i = 0; i < 500; ++i) {
        manyGroups += "()";
    }
    ASSERT_EQ(gnu.CompileKeyword(manyGroups), "");
    std::size_t length = 0;
    EXPECT_EQ(gnu.SearchKeyword(as, 0, length), 0);
}

TEST(RegexSearch, TextWithNulBytesIsSearched)
{
    CGNU gnu;
    ASSERT_EQ(gnu.CompileKeyword("b.c"), "");
    std::size_t length = 0;
    EXPECT_EQ(gnu.SearchKeyword(std::string_view("ab\0c", 4), 0, length), 1);
    EXPECT_EQ(length, 3u);
}

}  // namespace
}  // namespace plix
