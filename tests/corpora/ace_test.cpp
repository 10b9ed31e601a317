// The ACE handler: the identifier out of its "<id>" element, the tags
// stripped from context texts, the reference with the identifier, and ACE
// concordances through the whole engine.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "corpora/ace.h"
#include "corpora/sgml.h"
#include "settings/corpus.h"
#include "support/engine_fixture.h"

namespace plix {
namespace {

TEST(AceIdentifier, TheLastIdElementOfALineIsTheIdentifier)
{
    struct Case
    {
        const char* what;
        std::string line;
        std::string kept;
        std::string textId;  // "old" is the one before the line
    };
    const std::string longId(100000, 'x');
    const Case cases[] = {
        {"blanks inside are left out", "<id> A 01 </id><p>Text", "<p>Text", "A01"},
        {"without </id> the rest of the line", "text <id>B 2 \n ", "text ", "B2"},
        {"up to the next tag inside the element", "<id>A<b>01</id>rest", "rest", "A"},
        {"several elements: the last counts", "x <id>C3</id> y <id>D4</id> z", "x  y  z", "D4"},
        {"no element keeps the identifier", "plain <p>text", "plain <p>text", "old"},
        {"the name is matched exactly", "<ID>E5</ID>", "<ID>E5</ID>", "old"},
        {"an element the removal brings together", "<i<id>x</id>d>", "", ""},
        {"a 100 000-byte identifier", "<id>" + longId, "", longId},
    };
    for (const Case& k : cases) {
        CSgml sgml;
        CACE ace(sgml);
        std::string line = "<id>old</id>";
        ace.TakeIdentifier(line);
        line = k.line;
        ace.TakeIdentifier(line);
        EXPECT_EQ(line, k.kept) << k.what;
        EXPECT_EQ(ace.TextId(), k.textId) << k.what;
    }
}

TEST(AceStripTags, CompleteTagsLeaveContextTexts)
{
    const std::pair<std::string, std::string> cases[] = {
        {"a <b c", "a <b c"}, {"a <b> c", "a  c"}, {"x<y<z>w", "xw"}, {"a > b < c", "a > b < c"}};
    for (const auto& [text, kept] : cases) {
        std::string stripped = text;
        CACE::StripTags(stripped);
        EXPECT_EQ(stripped, kept) << text;
    }
}

TEST(AceReference, IdentifierFieldPerOutputType)
{
    const std::pair<int, std::string> cases[] = {
        {kOutputText, "(4) A01 "},
        {kOutputComma, "\"4\",\"A01\","},
        {kOutputTab, "4\tA01\t"},
        {kOutputTagged, "f.ace(4):A01:"},
        {kOutputXml, "<hit file=\"f.ace\" line=\"4\"><infoid>A01</infoid>"},
        {kOutputOther, "[[4]] [[A01]] "},
    };
    for (const auto& [type, reference] : cases) {
        CCorpus settings;
        settings.SetMarks("[[", "]]");
        settings.SetOutputType(type);
        CSgml sgml;
        CACE ace(sgml);
        std::string line = "<id>A01</id>";
        ace.TakeIdentifier(line);
        std::string out = "kept:";
        ace.BuildReference(settings, out, 4, "f.ace");
        EXPECT_EQ(out, "kept:" + reference) << type;
    }
}

TEST(AceRun, ConcordanceInTextAndXmlOutput)
{
    KeywordRequest keyword;
    keyword.keyword = "quay";
    for (int type : {kOutputText, kOutputXml}) {
        for (bool toFile : {false, true}) {
            test::EngineTest t;
            const std::string path = t.AddFile("news.ace",
                                               "<text><id> A 01 </id>\n"
                                               "<p>The quay is new.<note>ed.</note></p>\n"
                                               "<id>B02</id><p>An old quay\n"
                                               "stood here.</p></text>\n");
            CCorpus& c = t.ctx.corpus;
            c.SetCorpusType(kTypeAce);
            c.SetLineFormat(40, 20);
            c.SetOutputType(type);
            c.SetOutputAsFiles(toFile);
            c.sgmlTags = {"NOTE", "P", "TEXT"};
            c.sgmlTagInfo = {"NOTE", "P", "TEXT"};
            c.sgmlTagExclude = {1, 0, 0};
            ASSERT_TRUE(t.RunCommand(AnalysisCommand::Concordance, keyword).completed);
            // A context text loses its tags only, so the identifier's text
            // stands in it; the third line was read ahead for the first hit
            // and keeps its line end, a second blank after "quay".
            const std::string first = std::string(15, ' ') + "The quay is new. B02An";
            const std::string second = "    is new. An old quay  stood here.";
            std::vector<std::string> lines;
            if (type == kOutputText) {
                lines = {"Corpus File: " + path,
                         "Excluded Tag:NOTE",
                         "",
                         "Keyword: quay",
                         "Keyword Position: 20",
                         "",
                         "(line) ID Occurrence",
                         "(2) A01 ",
                         first,
                         "(3) B02 ",
                         second,
                         "",
                         "Total Occurrence(s): 2",
                         ""};
            } else {
                const std::string hit = "<hit file=\"" + path + "\" line=\"";
                lines = {"<?xml version=\"1.0\"?>",
                         "<plix>",
                         "<source>" + path + "</source>",
                         "<plix_info>Excluded Tag:NOTE",
                         "",
                         "Keyword: quay",
                         "Keyword Position: 20",
                         "</plix_info>",
                         "",
                         hit + "2\"><infoid>A01</infoid>" + first + "</hit>",
                         hit + "3\"><infoid>B02</infoid>" + second + "</hit>",
                         "<total>2</total>",
                         "</plix>",
                         ""};
            }
            std::string expected;
            for (const std::string& text : lines) {
                expected += text + (toFile ? "\n" : "\r\n");
            }
            EXPECT_EQ(toFile ? test::ReadFile(c.GetOutputFile(0)) : t.Window(), expected)
                << type << " " << toFile;
        }
    }
}

}  // namespace
}  // namespace plix
