// Fixed-column information: the field cut out of each line and out of the
// lines read ahead, and a whole concordance of the Fixed type.
#include "corpora/fixed.h"

#include <gtest/gtest.h>

#include <climits>

#include "concordance_texts.h"
#include "support/handler_frame.h"

namespace plix {
namespace {

TEST(FixedColumns, CutFieldTakesTheColumnsAndJoinsTheRest)
{
    struct Case
    {
        int start, end;
        std::string line, info, rest;
    };
    const Case cases[] = {
        {1, 8, "A01 0010 some text", "A01 0010", " some text"},
        {3, 4, "abcdef", "cd", "abef"},
        {9, 12, "abcde", "", "abcde"},    // shorter than the start: no field
        {5, 5, "abcde", "e", "abcd"},     // the field is the last byte
        {3, 40, "abcdef", "cdef", "ab"},  // the line ends inside the field
        {4, 3, "abcdef", "", "abcdef"},   // end before start: nothing
        {0, 2, "abcdef", "ab", "cdef"},   // a start below 1 counts from column 1
        {-5, 2, "abcdef", "ab", "cdef"},
        {2, INT_MAX, "abcdef", "bcdef", "a"},
        {1, 1, "", "", ""},
    };
    for (const Case& k : cases) {
        CFixed fixed;
        std::string line = k.line;
        fixed.CutField(line, k.start, k.end);
        EXPECT_EQ(fixed.Info(), k.info) << k.start << "-" << k.end << " " << k.line;
        EXPECT_EQ(line, k.rest) << k.start << "-" << k.end << " " << k.line;
    }
}

TEST(FixedColumns, LinesReadAheadLoseTheirFieldAsTheScannedLineDid)
{
    struct Case
    {
        int start, end;
        std::string text, expected;
    };
    const Case cases[] = {
        {1, 8, "A01 0020 more text\n", " more text\n"},
        {1, 8, "A01\n", ""},  // ends inside the field: everything from the start goes
        {5, 8, "abc\n", "abc\n"},
        {3, 2, "abcdef\n", "abcdef\n"},
    };
    for (const Case& k : cases) {
        std::string text = k.text;
        CFixed::RemoveInfo(text, k.start, k.end);
        EXPECT_EQ(text, k.expected) << k.text;
    }
    // The handler cuts the lines read ahead with the range of the line it scanned.
    test::HandlerFrame frame;
    frame.settings.SetInfoRange(3, 4);
    CFixed fixed;
    std::string line = "abcdef ";
    fixed.ScanLine(frame, line);
    std::string peeked = "ghijkl\n";
    fixed.CleanPeekedLine(peeked);
    EXPECT_EQ(peeked, "ghkl\n");
}

TEST(FixedColumns, ConcordanceWithTheFieldInColumnsOneToFour)
{
    test::TypeConcordance c{
        kTypeFixed,
        "ID01 the first line ends with a key\n"
        "ID02 word and then a key text\n",
        "key",
        "(line) Field Occurrence",
        {
            // The right context comes from the next line, without its field.
            {"(1) ID01 ", "<hit file=\"{file}\" line=\"1\"><field>ID01</field>",
             "  line ends with a key  word and then"},
            {"(2) ID02 ", "<hit file=\"{file}\" line=\"2\"><field>ID02</field>",
             "   word and then a key text "},  // read ahead, it kept its line end
        }};
    c.infoStart = 1;
    c.infoEnd = 4;
    test::ExpectConcordanceTexts(c);
}

}  // namespace
}  // namespace plix
