// LOB's typographic codes, removed from lines and from the text read ahead,
// and a whole LOB/WC concordance whose right context loses its codes.
#include "corpora/lob.h"

#include <gtest/gtest.h>

#include "concordance_texts.h"

namespace plix {
namespace {

TEST(LobCodes, StripCodes)
{
    struct Case
    {
        std::string text, expected;
    };
    const Case cases[] = {
        {"the *'Smith*' ^said", "the Smith said"},
        {"^mr ^brown", "mr brown"},
        {"a \\0^mr b", "a mr b"},  // "\0" goes up to the next letter
        {"x \\0.5 y", "x  y"},     // ... or white space
        {"end\\0", "end"},         // ... or the end of the text
        {"\\0\\0a", "a"},
        {"a{0*}b c", "ab c"},           // "{0" likewise
        {"a{b}c_d|e~f\\g", "abcdefg"},  // the single signs
        {"**", ""},                     // the last "*" goes too
        {"a*1*", "a"},
        {"a*12", "a2"},  // no letter before the last byte: it stays
        {"x*", "x"},
        {"*", ""},
        {"5*3 = 15", "5 = 15"},
        {"no codes", "no codes"},
        {"", ""},
        {"line one*'\nline", "line one\nline"},  // a line end is white space
    };
    for (const Case& k : cases) {
        std::string text = k.text;
        CLOB::StripCodes(text);
        EXPECT_EQ(text, k.expected) << k.text;
    }
}

TEST(LobCodes, LongTextOfCodesHandledWhole)
{
    std::string text;
    for (int i = 0; i < 20000; ++i) {
        text += "*'w\\0^";
    }
    text += "*";
    CLOB::StripCodes(text);
    EXPECT_EQ(text, std::string(20000, 'w'));
}

TEST(LobCodes, ConcordanceWithCodesInTheLineAndInTheTextReadAhead)
{
    test::ExpectConcordanceTexts(
        {kTypeLob,
         "A01 0010 ^the ^judge said *'order in the\n"
         "A01 0020 court*' and \\0^mr ^jones sat\n",
         "order",
         "(line) Field Category Occurrence",
         {
             {"(1) A01 0010 A ",
              "<hit file=\"{file}\" line=\"1\"><field>A01 0010</field><category>A</category>",
              "    the judge said order in the  court"},
         }});
}

}  // namespace
}  // namespace plix
