// The ACE handler: the identifier out of its "<id>" element, the tags
// stripped from context texts, the reference and heading with the
// identifier, and ACE concordances through the whole engine.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "corpora/ace.h"
#include "corpora/frame.h"
#include "corpora/sgml.h"
#include "engine/parse.h"
#include "settings/corpus.h"
#include "support/engine_fixture.h"

namespace plix {
namespace {

using test::EngineTest;
using test::ReadFile;

// A frame that keeps what the handler writes.
class RecordingFrame final : public CHandlerFrame
{
  public:
    const CCorpus& Settings() const override { return settings; }
    int CorpusType() const override { return kTypeAce; }
    int OutputType() const override { return settings.GetOutputType(); }
    bool ToFile() const override { return settings.GetOutputAsFiles() != 0; }
    int64_t LineNumber() const override { return line; }
    const std::string& SourceName() const override { return source; }
    size_t HitOffset() const override { return 0; }
    void Write(std::string_view text) override { written.append(text); }

    CCorpus settings;
    int64_t line = 1;
    std::string source = "f.ace";
    std::string written;
};

TEST(AceIdentifier, TheLastIdElementOfALineIsTheIdentifier)
{
    struct Case
    {
        const char* what;
        std::string line;
        std::string kept;
        std::string textId;  // after the line; "old" stands for the one before
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
        {"an empty line", "", "", "old"},
        {"a 100 000-byte identifier", "<id>" + longId, "", longId},
    };
    for (const Case& k : cases) {
        CSgml sgml;
        CACE ace(sgml);
        ace.Reset();
        std::string line = "<id>old</id>";
        ace.TakeIdentifier(line);
        line = k.line;
        ace.TakeIdentifier(line);
        EXPECT_EQ(line, k.kept) << k.what;
        EXPECT_EQ(ace.TextId(), k.textId) << k.what;
    }
}

TEST(AceIdentifier, ScanLineLeavesTheRestToTheSgmlHandlerAndResetEmptiesIt)
{
    RecordingFrame frame;
    frame.settings.sgmlTags = {"NOTE"};
    frame.settings.sgmlTagInfo = {"NOTE"};
    frame.settings.sgmlTagExclude = {1};
    CSgml sgml;
    CACE ace(sgml);
    sgml.ResetForFile();
    ace.ResetForFile();
    std::string line = "<id> A 01 </id><p>Text<note>gone</note> here</p> ";
    ace.ScanLine(frame, line);
    EXPECT_EQ(line, "Text here ");
    EXPECT_EQ(ace.TextId(), "A01");
    ace.ResetForFile();
    EXPECT_EQ(ace.TextId(), "");
}

TEST(AceStripTags, CompleteTagsLeaveContextTexts)
{
    struct Case
    {
        std::string text;
        std::string kept;
    };
    const Case cases[] = {
        {"a <b c", "a <b c"},       {"a <b> c", "a  c"},
        {"x<y<z>w", "xw"},          {"<id>A01</id>text", "A01text"},
        {"a > b < c", "a > b < c"},
    };
    for (const Case& k : cases) {
        std::string text = k.text;
        CACE::StripTags(text);
        EXPECT_EQ(text, k.kept) << k.text;
    }
}

TEST(AceReference, IdentifierFieldAndHeadingPerOutputType)
{
    struct Case
    {
        int type;
        std::string reference;
        std::string heading;  // without the line end
    };
    const Case cases[] = {
        {kOutputText, "(4) A01 ", "(line) ID Occurrence"},
        {kOutputComma, "\"4\",\"A01\",", "\"line\",\"ID\",\"Occurrence\""},
        {kOutputTab, "4\tA01\t", "line\tID\tOccurrence"},
        {kOutputTagged, "f.ace(4):A01:", "filename(line):ID:Occurrence"},
        {kOutputXml, "<hit file=\"f.ace\" line=\"4\"><infoid>A01</infoid>", ""},
        {kOutputOther, "[[4]] [[A01]] ", "[[line]] [[ID]] [[Occurrence]]"},
    };
    for (const Case& k : cases) {
        for (bool toFile : {false, true}) {
            RecordingFrame frame;
            frame.settings.SetMarks("[[", "]]");
            frame.settings.SetOutputType(k.type);
            frame.settings.SetOutputAsFiles(toFile);
            frame.settings.sgmlTags = {"HI", "NOTE"};
            frame.settings.sgmlTagInfo = {"HI", ""};
            frame.settings.sgmlTagExclude = {0, 1};
            frame.line = 4;
            CSgml sgml;
            CACE ace(sgml);
            std::string line = "<id>A01</id>";
            ace.ScanLine(frame, line);
            std::string reference = "kept:";
            ace.MakeReference(frame, k.type, reference);
            EXPECT_EQ(reference, "kept:" + k.reference) << k.type;
            const std::string eol = toFile ? "\n" : "\r\n";
            ace.WriteColumnHeading(frame, k.type);
            EXPECT_EQ(frame.written, k.heading + eol) << k.type;
            frame.written.clear();
            ace.WriteHeader(frame);
            EXPECT_EQ(frame.written, "Excluded Tag:NOTE" + eol);
        }
    }
}

KeywordRequest Keyword(const std::string& text)
{
    KeywordRequest request;
    request.keyword = text;
    return request;
}

std::string Lines(const std::vector<std::string>& lines, const std::string& eol)
{
    std::string text;
    for (const std::string& line : lines) {
        text += line + eol;
    }
    return text;
}

// NOTE is excluded and has an end tag.
class AceRun : public EngineTest
{
  public:
    AceRun(bool toFile, int outputType)
    {
        path = AddFile("news.ace",
                       "<text><id> A 01 </id>\n"
                       "<p>The quay is new.<note>ed.</note></p>\n"
                       "<id>B02</id><p>An old quay\n"
                       "stood here.</p></text>\n");
        ctx.corpus.SetCorpusType(kTypeAce);
        ctx.corpus.SetLineFormat(40, 20);
        ctx.corpus.SetOutputType(outputType);
        ctx.corpus.SetOutputAsFiles(toFile);
        ctx.corpus.sgmlTags = {"NOTE", "P", "TEXT"};
        ctx.corpus.sgmlTagInfo = {"NOTE", "P", "TEXT"};
        ctx.corpus.sgmlTagExclude = {1, 0, 0};
    }
    std::string Result() const
    {
        return ctx.corpus.GetOutputAsFiles() ? ReadFile(ctx.corpus.GetOutputFile(0)) : Window();
    }

    std::string path;
};

// The context text after a hit loses its tags only, so the identifier's text
// stands in it; the third line was read ahead for the first hit and keeps its
// line end, a second blank after "quay".
const char* const kFirst = "               The quay is new. B02An";
const char* const kSecond = "    is new. An old quay  stood here.";

TEST(AceRun, ConcordanceInTextOutput)
{
    for (bool toFile : {false, true}) {
        AceRun t(toFile, kOutputText);
        ASSERT_TRUE(t.RunCommand(AnalysisCommand::Concordance, Keyword("quay")).completed);
        const std::string expected =
            Lines({"Corpus File: " + t.path, "Excluded Tag:NOTE", "", "Keyword: quay",
                   "Keyword Position: 20", "", "(line) ID Occurrence", "(2) A01 ", kFirst,
                   "(3) B02 ", kSecond, "", "Total Occurrence(s): 2", ""},
                  toFile ? "\n" : "\r\n");
        EXPECT_EQ(t.Result(), expected) << toFile;
    }
}

TEST(AceRun, ConcordanceInXmlOutput)
{
    for (bool toFile : {false, true}) {
        AceRun t(toFile, kOutputXml);
        ASSERT_TRUE(t.RunCommand(AnalysisCommand::Concordance, Keyword("quay")).completed);
        const std::string hit = "<hit file=\"" + t.path + "\" line=\"";
        const std::string expected =
            Lines({"<?xml version=\"1.0\"?>", "<plix>", "<source>" + t.path + "</source>",
                   "<plix_info>Excluded Tag:NOTE", "", "Keyword: quay", "Keyword Position: 20",
                   "</plix_info>", "", hit + "2\"><infoid>A01</infoid>" + kFirst + "</hit>",
                   hit + "3\"><infoid>B02</infoid>" + kSecond + "</hit>", "<total>2</total>",
                   "</plix>", ""},
                  toFile ? "\n" : "\r\n");
        EXPECT_EQ(t.Result(), expected) << toFile;
    }
}

}  // namespace
}  // namespace plix
