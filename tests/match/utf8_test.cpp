// In a UTF-8 locale a pattern reads characters; in 8-bit locales bytes.
#include "match/gnu.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

#include <string>
#include <vector>

namespace plix {
namespace {

struct Utf8Case
{
    const char* pattern;
    std::string text;
    long offset;
    std::size_t length;
};

TEST(RegexUtf8, CharactersNotBytes)
{
    const std::vector<Utf8Case> cases = {
        {"caf.", "un café", 3, 5},
        {"caf.$", "café", 0, 5},
        {"[éè]", "très", 2, 2},
        {"[^a]", "é", 0, 2},
        {"[а-я]+", "ЖУК жук", 7, 6},
        {"\\w+", "naïve", 0, 6},
        {"\\w+", "Straße", 0, 7},
        {"\\bжук\\b", "большой жук.", 15, 6},
        {"\\<日本", "x 日本語", 2, 6},
        {"語\\>", "日本語 x", 6, 3},
        {"\\W", "Жук_", 6, 1},
        {"é\\b", "caféx", -1, 0},
        {"(\\w+) \\1", "très très", 0, 11},
        {"(\\w+) \\1", std::string(300, '.') + " Жук Жук", 301, 13},
        {"ü.", std::string(400, 'a') + "über", 400, 3},
        {"[éè]", std::string(2000, 'x') + "è", 2000, 2},
    };
    for (const char* name : {"en_US.UTF-8", "C.UTF-8"}) {
        test::LocaleGuard guard(name);
        if (!guard.Installed()) {
            continue;
        }
        for (const Utf8Case& c : cases) {
            CGNU gnu;
            ASSERT_EQ(gnu.CompileKeyword(c.pattern), "") << c.pattern;
            std::size_t length = 0;
            EXPECT_EQ(gnu.SearchKeyword(c.text, 0, length), c.offset) << name << " " << c.pattern;
            EXPECT_EQ(length, c.offset < 0 ? 0 : c.length) << name << " " << c.pattern;
        }
    }
}

TEST(RegexUtf8, WordCharactersFollowTheSettings)
{
    test::LocaleGuard guard("C.UTF-8");
    if (!guard.Installed()) {
        GTEST_SKIP();
    }
    struct Case
    {
        RegexWordCharacters words;
        const char* text;
        long offset;
    };
    const Case cases[] = {
        {{true, ""}, "ab1", 0},
        {{false, ""}, "ab1", 0},
        {{false, ""}, "1", -1},
        {{true, "'"}, "'", 0},
        {{true, "·"}, "·", 0},
    };
    for (const Case& c : cases) {
        CGNU gnu;
        ASSERT_EQ(gnu.CompileKeyword("\\w", c.words), "");
        std::size_t length = 0;
        EXPECT_EQ(gnu.SearchKeyword(c.text, 0, length), c.offset) << c.text;
    }
}

}  // namespace
}  // namespace plix
