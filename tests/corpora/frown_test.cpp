// FROWN/FLOB tags, removed from lines and from the text read ahead, and a
// whole FROWN/FLOB concordance.
#include "corpora/frown.h"

#include <gtest/gtest.h>

#include "concordance_texts.h"
#include "support/handler_frame.h"

namespace plix {
namespace {

TEST(FrownTags, StripTagsOnLinesAndFollowingText)
{
    struct Case
    {
        std::string text, expected;
    };
    const Case cases[] = {
        {"<quote>Yes</quote> he said", "Yes he said"},
        {"a <b c", "a <b c"},  // no ">": the "<" stays
        {"a <b> c", "a  c"},
        {"<<x>y", "y"},
        {"x<", "x<"},
    };
    for (const Case& k : cases) {
        test::HandlerFrame frame;
        CFrown frown;
        std::string line = k.text;
        frown.ScanLine(frame, line);
        EXPECT_EQ(line, k.expected) << k.text;
        std::string following = k.text;
        frown.CleanFollowingText(frame, following);
        EXPECT_EQ(following, k.expected) << k.text;
    }
}

TEST(FrownTags, ConcordanceWithTagsInTheLineAndInTheTextReadAhead)
{
    test::ExpectConcordanceTexts(
        {kTypeFrown,
         "A01 0010 she wrote <bold>a long letter</bold> to\n"
         "A01 0020 <quote>my dear</quote> friend\n",
         "letter",
         "(line) Field Category Occurrence",
         {
             {"(1) A01 0010 A ",
              "<hit file=\"{file}\" line=\"1\"><field>A01 0010</field><category>A</category>",
              "  she wrote a long letter to  my dear"},
         }});
}

}  // namespace
}  // namespace plix
