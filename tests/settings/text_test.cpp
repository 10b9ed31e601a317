// Lower-casing and substring search that keep multibyte characters whole, in
// the code pages the Locale list leads to.
#include "settings/text.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace plix {
namespace {

TEST(LocaleText, LowerCasingPerCodePage)
{
    struct Case
    {
        const char* locale;
        std::string text;
        std::string lowered;
    };
    const Case cases[] = {
        {"C", "ABC xyz \xc9", "abc xyz \xc9"},
        {"en_US.ISO-8859-1", "CAF\xc9 Na\xefve", "caf\xe9 na\xefve"},
        {"pl_PL.ISO-8859-2", "\xa1", "\xb1"},  // A with ogonek
        {"en_US.UTF-8", "CAF\xc3\x89 \xce\x91 ABC", "caf\xc3\xa9 \xce\xb1 abc"},
        {"en_US.UTF-8", "BAD\xff BYTE", "bad\xff byte"},  // not UTF-8: left as it is
        // Two-byte kana stay as they are; ASCII around them is lowered.
        {"ja_JP.eucJP", "ABC\xa4\xa2XYZ", "abc\xa4\xa2xyz"},
        // Full-width Latin capital A lowers to full-width small a.
        {"ja_JP.eucJP", "\xa3\xc1", "\xa3\xe1"},
    };
    for (const Case& k : cases) {
        test::LocaleGuard locale(k.locale);
        if (!locale.Installed()) {
            continue;
        }
        EXPECT_EQ(LowerMb(k.text), k.lowered) << k.locale;
        EXPECT_EQ(LowerMb(k.text).size(), k.text.size()) << k.locale;
    }
}

TEST(LocaleText, SubstringSearchStartsOnCharacterBoundaries)
{
    struct Case
    {
        const char* locale;
        std::string hay;
        std::string needle;
        size_t found;
    };
    const size_t none = std::string::npos;
    const Case cases[] = {
        {"C", "the cat", "cat", 4},
        {"C", "the cat", "dog", none},
        {"C", "abc", "", 0},
        {"en_US.UTF-8", "caf\xc3\xa9 cat", "cat", 6},
        {"en_US.UTF-8", "\xc3\xa9t\xc3\xa9", "\xc3\xa9", 0},
        // "\xa2\xa4" is the end of one kana and the start of the next: no match.
        {"ja_JP.eucJP", "\xa4\xa2\xa4\xa4", "\xa2\xa4", none},
        {"ja_JP.eucJP", "\xa4\xa2\xa4\xa4", "\xa4\xa4", 2},
        {"ja_JP.eucJP", "\xa4\xa2" "ab", "ab", 2},
    };
    for (const Case& k : cases) {
        test::LocaleGuard locale(k.locale);
        if (!locale.Installed()) {
            continue;
        }
        EXPECT_EQ(FindMb(k.hay, k.needle), k.found) << k.locale << " " << k.needle;
    }
}

TEST(LocaleText, ReversalKeepsCharactersWhole)
{
    test::LocaleGuard utf8("en_US.UTF-8");
    if (!utf8.Installed()) {
        GTEST_SKIP();
    }
    EXPECT_EQ(ReverseMb("a\xc3\xa9z"), "z\xc3\xa9" "a");
}

}  // namespace
}  // namespace plix
