// The Brown family: the category taken from each line's first byte, the
// information range each type brings, the headings, and a whole Brown
// concordance.
#include "corpora/brown.h"

#include <gtest/gtest.h>

#include "concordance_texts.h"
#include "corpora/fixed.h"
#include "support/handler_frame.h"

namespace plix {
namespace {

TEST(BrownCategory, FirstByteOfEachLineAndKeptAcrossFiles)
{
    test::HandlerFrame frame;
    Cbrown brown;
    struct Step
    {
        std::string line, category;
    };
    const Step steps[] = {
        {"A01 0010 text ", "A"},
        {"", ""},  // an empty line has no first byte
        {"J17 0020 more ", "J"},
        {"\xe9t\xe9 ", "\xe9"},
    };
    for (const Step& s : steps) {
        std::string line = s.line;
        brown.ScanLine(frame, line);
        EXPECT_EQ(brown.Category(), s.category) << s.line;
        EXPECT_EQ(line, s.line);  // the line is left to CFixed
    }
    static_assert((RolesOf<Cbrown>() & RoleBit(Role::ResetForFile)) == 0);
}

TEST(BrownCategory, TheTypesBringTheirInformationColumns)
{
    struct Case
    {
        int type;
        std::string info, rest;
    };
    const std::string line = "A01 0010 The text ";
    const Case cases[] = {
        {kTypeBrown, "A01 0010 ", "The text "},
        {kTypeLob, "A01 0010", " The text "},
        {kTypeFrown, "A01 0010", " The text "},
    };
    for (const Case& k : cases) {
        test::HandlerFrame frame;
        frame.settings.SetInfoRange(4, 17);  // whatever the Fixed type held before
        frame.settings.SetCorpusType(k.type);
        EXPECT_EQ(frame.settings.GetInfoStart(), 1);
        CFixed fixed;
        std::string scanned = line;
        fixed.ScanLine(frame, scanned);
        EXPECT_EQ(fixed.Info(), k.info) << k.type;
        EXPECT_EQ(scanned, k.rest) << k.type;
    }
    // The handler reads the range from the record, not from the type.
    test::HandlerFrame frame;
    frame.settings.SetCorpusType(kTypeBrown);
    frame.settings.SetInfoRange(1, 3);
    CFixed fixed;
    std::string scanned = line;
    fixed.ScanLine(frame, scanned);
    EXPECT_EQ(fixed.Info(), "A01");
}

TEST(BrownCategory, ReferenceAfterTheFieldAndHeadingPerOutputType)
{
    struct Case
    {
        int type;
        std::string reference, heading;
    };
    const Case cases[] = {
        {kOutputText, "(7) A01 0010 A ", "(line) Field Category Occurrence\n"},
        {kOutputComma, "\"7\",\"A01 0010\",\"A\",",
         "\"line\",\"Field\",\"Category\",\"Occurrence\"\n"},
    };
    for (const Case& k : cases) {
        test::HandlerFrame frame;
        frame.toFile = true;
        frame.settings.SetCorpusType(kTypeLob);
        frame.settings.SetOutputType(k.type);
        frame.line = 7;
        Cbrown brown;
        CFixed fixed;
        std::string line = "A01 0010 Text ";
        brown.ScanLine(frame, line);
        fixed.ScanLine(frame, line);
        std::string reference;
        fixed.MakeReference(frame, k.type, reference);
        brown.MakeReference(frame, k.type, reference);
        EXPECT_EQ(reference, k.reference) << k.type;
        brown.WriteColumnHeading(frame, k.type);
        EXPECT_EQ(frame.written, k.heading) << k.type;
    }
}

TEST(BrownCategory, ConcordanceWithCategoriesOfTwoTexts)
{
    // Brown's identifier takes columns 1-9, its blank with it.
    test::ExpectConcordanceTexts(
        {kTypeBrown,
         "A01 0010 The jury said the city\n"
         "A01 0020 was well run today\n"
         "B01 0010 Our city is new\n",
         "city",
         "(line) Field Category Occurrence",
         {
             {"(1) A01 0010  A ",
              "<hit file=\"{file}\" line=\"1\"><field>A01 0010 </field><category>A</category>",
              " The jury said the city was well run"},
             {"(3) B01 0010  B ",
              "<hit file=\"{file}\" line=\"3\"><field>B01 0010 </field><category>B</category>",
              "    run today  Our city is new "},
         }});
}

}  // namespace
}  // namespace plix
