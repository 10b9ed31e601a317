// COPC header lines: the codes read and removed, the lines read ahead cleaned,
// the reference and heading, and a whole COPC concordance.
#include "corpora/copc.h"

#include <gtest/gtest.h>

#include "concordance_texts.h"
#include "support/handler_frame.h"

namespace plix {
namespace {

TEST(CopcHeaders, HeaderLinesGiveTheirCodesAndKeepTheirText)
{
    struct Case
    {
        std::string line, reference, year, info, rest;
    };
    const std::string hundred(150, 'x');
    const Case cases[] = {
        {"1A(1850)B2 Some text", "1A", "1850", "B2", "Some text"},
        {"Some text", "", "", "", "Some text"},  // no header: nothing read
        {"ABCD:E(1901)F x", "ABCD:E", "1901", "F", "x"},
        {"ABCD: no", "", "", "", "ABCD: no"},  // white space after the ":"
        {"abcd:", "", "", "", "abcd:"},        // nothing after the ":"
        {"1a(1850)B2 x", "", "", "", "1a(1850)B2 x"},
        {"1A no parenthesis ", "1A no parenthesis ", "", "", ""},
        {"1A(1850 open", "1A", "1850 open", "", ""},
        {"1A(1850)B2", "1A", "1850", "B2", ""},
        {"1A() ", "1A", "", "", ""},
        // Fields longer than any work buffer are taken whole.
        {"1A" + hundred + "(" + hundred + ")" + hundred + " text", "1A" + hundred, hundred, hundred,
         "text"},
        {"1", "", "", "", "1"},
        {"", "", "", "", ""},
    };
    for (const Case& k : cases) {
        CCOPC copc;
        std::string line = k.line;
        copc.ReadHeader(line);
        EXPECT_EQ(copc.Reference(), k.reference) << k.line;
        EXPECT_EQ(copc.Year(), k.year) << k.line;
        EXPECT_EQ(copc.Info(), k.info) << k.line;
        EXPECT_EQ(line, k.rest) << k.line;
    }
}

TEST(CopcHeaders, LinesReadAheadLoseTheCodesBeforeTheFirstBlank)
{
    struct Case
    {
        std::string text, expected;
    };
    const Case cases[] = {
        {"2B(1851)C3 cold and grey\n", " cold and grey\n"},
        {"2B(1851)C3\n", ""},
        {"plain text\n", "plain text\n"},
    };
    for (const Case& k : cases) {
        CCOPC copc;
        std::string text = k.text;
        copc.CleanPeekedLine(text);
        EXPECT_EQ(text, k.expected) << k.text;
        EXPECT_EQ(copc.Year(), "");  // nothing is kept from a line read ahead
    }
}

TEST(CopcHeaders, CommaSeparatedReferenceAndHeading)
{
    struct Case
    {
        int type;
        std::string reference, heading;
    };
    const Case cases[] = {
        {kOutputComma, "\"9\",\"1A\",\"1850\",\"B2\",",
         "\"line\",\"Reference\",\"Year\",\"Info\",\"Occurrence\"\r\n"},
    };
    for (const Case& k : cases) {
        test::HandlerFrame frame;
        frame.settings.SetOutputType(k.type);
        frame.line = 9;
        CCOPC copc;
        std::string line = "1A(1850)B2 Some text ";
        copc.ScanLine(frame, line);
        std::string reference;
        copc.MakeReference(frame, k.type, reference);
        EXPECT_EQ(reference, k.reference) << k.type;
        copc.WriteColumnHeading(frame, k.type);
        EXPECT_EQ(frame.written, k.heading) << k.type;
    }
}

TEST(CopcHeaders, ConcordanceWithAHeaderInTheTextReadAhead)
{
    test::ExpectConcordanceTexts(
        {kTypeCopc,
         "1A(1850)B2 Dear sister, the weather was\n"
         "2B(1851)C3 cold weather all week\n",
         "weather",
         "(line) Reference Year Info Occurrence",
         {
             {"(1) 1A 1850 B2 ",
              "<hit file=\"{file}\" line=\"1\"><reference>1A</reference><year>1850</year>"
              "<info>B2</info>",
              "  Dear sister, the weather was  cold"},
             {"(2) 2B 1851 C3 ",
              "<hit file=\"{file}\" line=\"2\"><reference>2B</reference><year>1851</year>"
              "<info>C3</info>",
              "  weather was cold weather all week "},
         }});
}

}  // namespace
}  // namespace plix
