#include "settings/codec.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace plix {
namespace {

TEST(LocaleCodec, RoundTripsEveryByteInEveryLocale)
{
    std::string all;
    for (int b = 1; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    const std::string japanese = "\xa4\xa2\xa4\xa4 abc";  // two EUC-JP kana
    for (const char* name : {"C", "en_US.ISO-8859-1", "pl_PL.ISO-8859-2", "en_US.UTF-8", "ja_JP.eucJP"}) {
        test::LocaleGuard locale(name);
        if (!locale.Installed()) {
            continue;
        }
        for (const std::string& text : {all, japanese, std::string("caf\xc3\xa9"), std::string()}) {
            EXPECT_EQ(EncodeLocaleText(DecodeLocaleText(text)), text) << name;
        }
    }
}

TEST(LocaleCodec, DecodesByTheLocaleCodePage)
{
    struct Case
    {
        const char* locale;
        std::string bytes;
        std::u16string text;
    };
    const Case cases[] = {
        {"C", "a\xe9", u"a\u00e9"},
        {"en_US.ISO-8859-1", "\xe9", u"\u00e9"},
        {"pl_PL.ISO-8859-2", "\xb1", u"\u0105"},  // a with ogonek
        {"en_US.UTF-8", "\xc3\xa9", u"\u00e9"},
        {"en_US.UTF-8", "\xe9", u"\xdce9"},  // not UTF-8: kept as an escaped byte
        {"ja_JP.eucJP", "\xa4\xa2", u"\u3042"},
    };
    for (const Case& k : cases) {
        test::LocaleGuard locale(k.locale);
        if (!locale.Installed()) {
            continue;
        }
        EXPECT_EQ(DecodeLocaleText(k.bytes), k.text) << k.locale;
    }
}

}  // namespace
}  // namespace plix
