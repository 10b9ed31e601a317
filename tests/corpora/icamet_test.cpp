// ICAMET codes: book, page and number read out of lines, codes removed from
// the text read ahead, codes at the very end of a line, the book as the
// reference shows it, and a whole ICAMET concordance.
#include "corpora/icamet.h"

#include <gtest/gtest.h>

#include "concordance_texts.h"
#include "support/handler_frame.h"

namespace plix {
namespace {

TEST(IcametCodes, ReadCodesOfOneLine)
{
    struct Case
    {
        std::string line, book, page, number, rest;
    };
    const Case cases[] = {
        {"|b{Mirror} text |p12 more |r3 end", "Mirror", "12", "3", " text  more  end"},
        {"|b(Psalter) a", "Psalter", "", "", " a"},
        {"|b[Hours] a", "Hours", "", "", " a"},
        {"|b\"Quoted\" a", "Quoted", "", "", " a"},
        {"x |b{Open title", "Open title", "", "", "x "},  // no closing byte: cut at the code
        {"|b_Long title", "Long title", "", "", ""},
        {"a |p7 b |p8 c", "", "7", "", "a  b |p8 c"},  // only the first "|p" is read
        {"a |px b", "", "", "", "a |px b"},            // a "|p" without digits stays
        {"a |rx b |r9c d", "", "", "", "a  b  d"},     // the first "|r" has no digits: none read
        {"a |r5 b |r6 c", "", "", "5", "a  b  c"},     // the other "|r" codes go
        // Codes as the very last bytes of the line.
        {"text |b", "", "", "", "text "},
        {"text |b{", "", "", "", "text "},
        {"text |p", "", "", "", "text |p"},
        {"text |r", "", "", "", "text "},
        {"text |p12", "", "12", "", "text "},
        {"text |", "", "", "", "text |"},
        {"", "", "", "", ""},
    };
    for (const Case& k : cases) {
        CICAMET icamet;
        std::string line = k.line;
        icamet.ReadCodes(line);
        EXPECT_EQ(icamet.Book(), k.book) << k.line;
        EXPECT_EQ(icamet.Page(), k.page) << k.line;
        EXPECT_EQ(icamet.Number(), k.number) << k.line;
        EXPECT_EQ(line, k.rest) << k.line;
    }
}

TEST(IcametCodes, BookCodesOnFollowingLinesJoinTheirTitles)
{
    struct Step
    {
        std::string line, book;
    };
    const Step steps[] = {
        {"|b_Long title", "Long title"},
        {"|b(part two)", "Long titlepart two"},
        {"plain text", "Long titlepart two"},  // no code: the book stays ...
        {"|b{New}", "New"},                    // ... and the next code starts anew
    };
    CICAMET icamet;
    for (const Step& s : steps) {
        std::string line = s.line;
        icamet.ReadCodes(line);
        EXPECT_EQ(icamet.Book(), s.book) << s.line;
    }
    icamet.ResetForFile();
    EXPECT_EQ(icamet.Book() + icamet.Page() + icamet.Number(), "");
}

TEST(IcametCodes, StripCodesFromTheTextReadAhead)
{
    struct Case
    {
        std::string text, expected;
    };
    const Case cases[] = {
        {"|b{Mirror} text |p12 more |r3 end", " text  more  end"},
        {"a |b{Two words} b", "a  words} b"},    // up to the next blank
        {"a |p12\nnext line", "a \nnext line"},  // a code ends with its line
        {"end |r", "end "},
        {"end |", "end |"},
        {"||b x", "| x"},
        {"|bx|p3 y", " y"},
    };
    for (const Case& k : cases) {
        test::HandlerFrame frame;
        CICAMET icamet;
        std::string text = k.text;
        icamet.CleanFollowingText(frame, text);
        EXPECT_EQ(text, k.expected) << k.text;
        EXPECT_EQ(icamet.Book(), "");
    }
}

TEST(IcametCodes, ReferenceShowsFifteenBytesOfTheBook)
{
    test::HandlerFrame frame;
    frame.line = 4;
    CICAMET icamet;
    std::string line = "|b{A Very Long Book Title} |p12 |r3 text ";
    icamet.ScanLine(frame, line);
    EXPECT_EQ(icamet.Book(), "A Very Long Book Title");
    std::string reference;
    icamet.MakeReference(frame, kOutputText, reference);
    EXPECT_EQ(reference, "(4) A Very Long Boo 12 3 ");
}

TEST(IcametCodes, ConcordanceWithCodesInTheTextReadAhead)
{
    test::ExpectConcordanceTexts(
        {kTypeIcamet,
         "|b{Mirror} The preacher |r3 spoke |p12 of the\n"
         "|p13 long road |r4 home\n",
         "of",
         "(line) b p r Occurrence",
         {
             {"(1) Mirror 12 3 ",
              "<hit file=\"{file}\" line=\"1\"><book>Mirror</book><page>12</page>"
              "<number>3</number>",
              "  preacher  spoke  of the  long road "},
         }});
}

}  // namespace
}  // namespace plix
