// The SGML handler: markup and excluded content out of each line, attribute
// values into the references, the context stripper, the header lines, the
// scan of the options page, and SGML concordances through the whole engine.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "corpora/sgml.h"
#include "engine/progress.h"
#include "settings/corpus.h"
#include "support/engine_fixture.h"

namespace plix {
namespace {

using test::EngineTest;
using test::ReadFile;

struct TagSetting
{
    std::string name;
    std::string end;
    unsigned exclude;
};

struct KeySetting
{
    std::string key;
    unsigned output;
};

// The six arrays as the options page leaves them.
void SetSgml(CCorpus& c, const std::vector<TagSetting>& tags, const std::vector<KeySetting>& keys)
{
    for (const TagSetting& t : tags) {
        c.sgmlTags.push_back(t.name);
        c.sgmlTagInfo.push_back(t.end);
        c.sgmlTagExclude.push_back(t.exclude);
    }
    for (const KeySetting& k : keys) {
        c.sgmlAttributes.push_back(k.key);
        c.sgmlAttributeInfo.push_back(k.key.substr(0, k.key.find(' ')));
        c.sgmlAttributeOutput.push_back(k.output);
    }
}

TEST(SgmlReadTags, MarkupAndExcludedContentLeaveTheLines)
{
    struct Case
    {
        const char* what;
        std::vector<TagSetting> tags;
        std::vector<std::string> lines;
        std::vector<std::string> kept;
    };
    const std::vector<TagSetting> pWithEnd = {{"P", "P", 1}};
    const std::vector<TagSetting> noteWithEnd = {{"NOTE", "NOTE", 1}};
    const std::vector<TagSetting> noteWithoutEnd = {{"NOTE", "", 1}};
    const std::string longLine(100000, 'a');
    const Case cases[] = {
        {"tags inside words leave no blank", {}, {"x<b>y</b>z "}, {"xyz "}},
        {"an excluded element with its end tag", pWithEnd, {"a<p>b</p>c"}, {"ac"}},
        {"names compared without case", noteWithEnd, {"a<Note>b</NOTE>c"}, {"ac"}},
        {"without an end tag the next tag ends it",
         noteWithoutEnd,
         {"a<note>gone<p>b</p>c"},
         {"abc"}},
        {"the end tag three lines later",
         noteWithEnd,
         {"a<note>x", "y", "z", "w</note>b"},
         {"a", "", "", "b"}},
        {"excluded elements do not nest", noteWithEnd, {"<note>a<note>b</note>c</note>d"}, {"cd"}},
        {"a start tag over two lines", {}, {"one <div n=4", "type=x>two"}, {"one ", "two"}},
        {"a lone < runs to the next >", {}, {"a < b ", "c > d "}, {"a ", " d "}},
        {"lines inside an open tag are emptied",
         {},
         {"a<b", "", "middle", "c>d"},
         {"a", "", "", "d"}},
        {"a 100 000-byte line inside an open tag", {}, {"x<" + longLine, "b>c"}, {"x", "c"}},
        {"an unclosed tag at the end of the text", {}, {"tail <" + longLine}, {"tail "}},
        {"declarations are tags to the reading", {}, {"<!DOCTYPE a>t<!-- c -->u"}, {"tu"}},
    };
    for (const Case& k : cases) {
        CCorpus settings;
        SetSgml(settings, k.tags, {});
        CSgml sgml;
        sgml.ResetForFile();
        std::vector<std::string> kept;
        for (std::string line : k.lines) {
            sgml.ReadTags(settings, line);
            kept.push_back(line);
        }
        EXPECT_EQ(kept, k.kept) << k.what;
    }
}

TEST(SgmlReadTags, AttributeValuesOfTheKeysMarkedForOutput)
{
    struct Case
    {
        const char* what;
        std::vector<std::string> lines;
        std::vector<std::string> values;  // DIV N, DIV TYPE, S N (not output), NOTE N
    };
    const std::string longValue(3000, 'v');
    const Case cases[] = {
        {"plain values", {"<div n=3 type=letter>"}, {"3", "letter", "", ""}},
        {"quoted values lose their quotes", {"<div type='a b' n=\"c d\">"}, {"c d", "a b", "", ""}},
        {"keys compared without case", {"<DIV N=5 Type=x>"}, {"5", "x", "", ""}},
        {"an attribute without = is passed over", {"<div compact n=7 type>"}, {"7", "", "", ""}},
        {"blanks around =", {"<div n = 8>"}, {"8", "", "", ""}},
        {"tabs and line feeds are blanks", {"<div\tn=2\ntype=t\r>"}, {"2", "t", "", ""}},
        {"read from the joined lines", {"<div n=4", "type=x>"}, {"4", "x", "", ""}},
        {"a value stays until met again", {"<div n=1 type=a>", "<div n=2>"}, {"2", "a", "", ""}},
        {"an excluded tag's attributes are not read",
         {"<note n=9>x</note><div n=1>"},
         {"1", "", "", ""}},
        {"a key not marked for output", {"<s n=4>"}, {"", "", "", ""}},
        {"a value longer than 2000 bytes", {"<div n=" + longValue + ">"}, {longValue, "", "", ""}},
    };
    for (const Case& k : cases) {
        CCorpus settings;
        SetSgml(settings, {{"NOTE", "NOTE", 1}},
                {{"DIV N", 1}, {"DIV TYPE", 1}, {"S N", 0}, {"NOTE N", 1}});
        CSgml sgml;
        sgml.ResetForFile();
        for (std::string line : k.lines) {
            sgml.ReadTags(settings, line);
        }
        std::vector<std::string> values;
        for (size_t i = 0; i < 4; ++i) {
            values.push_back(sgml.GetValue(i));
        }
        EXPECT_EQ(values, k.values) << k.what;
    }
}

TEST(SgmlReadTags, LongTagNamesAndTheNextFileStartFresh)
{
    const std::string name(2500, 'T');
    CCorpus settings;
    SetSgml(settings, {{name, "", 1}}, {{name + " N", 1}});
    CSgml sgml;
    sgml.ResetForFile();
    // Names and keys longer than 2000 bytes match whole, and only whole.
    std::string line = "<" + name + "X n=1>kept";
    sgml.ReadTags(settings, line);
    EXPECT_EQ(line, "kept");
    settings.sgmlTagExclude[0] = 0;
    line = "<" + name + " n=1>text";
    sgml.ReadTags(settings, line);
    EXPECT_EQ(line, "text");
    EXPECT_EQ(sgml.GetValue(0), "1");
    // An open tag, an exclusion and the values end with the file.
    settings.sgmlTagExclude[0] = 1;
    for (std::string open : {std::string("a <b"), "<" + name + ">gone"}) {
        sgml.ReadTags(settings, open);
        sgml.ResetForFile();
        EXPECT_EQ(sgml.GetValue(0), "");
        line = "c>d";
        sgml.ReadTags(settings, line);
        EXPECT_EQ(line, "c>d");
    }
}

TEST(SgmlStripTags, ContextTextsLoseEveryTag)
{
    struct Case
    {
        std::vector<std::string> texts;  // successive texts, one stripper
        std::vector<std::string> kept;
    };
    const Case cases[] = {
        {{"a <b> c", "a > b"}, {"a  c", "a > b"}},
        {{"x <y", "z> w <v> u"}, {"x ", " w  u"}},
        {{"<a", "no close", "b>c"}, {"", "", "c"}},
    };
    for (const Case& k : cases) {
        CSgml sgml;
        sgml.ResetForFile();
        std::vector<std::string> kept;
        for (std::string text : k.texts) {
            sgml.StripTags(text);
            kept.push_back(text);
        }
        EXPECT_EQ(kept, k.kept) << k.texts[0];
    }

    // The engine's context texts all start after the line just read, so one
    // starts inside a tag only when that line ended inside one: an unclosed
    // tag at the end of one hit's text does not eat the next hit's.
    CCorpus settings;
    CSgml sgml;
    sgml.ResetForFile();
    std::string line = "cat and dog ";
    sgml.ReadTags(settings, line);
    for (int hit = 0; hit < 2; ++hit) {
        std::string text = "a <b\n";
        sgml.StripContextText(text);
        EXPECT_EQ(text, "a ") << hit;
    }
    line = "cat <b ";
    sgml.ReadTags(settings, line);
    std::string text = "c=1> dog\n";
    sgml.StripContextText(text);
    EXPECT_EQ(text, " dog\n");
}

TEST(SgmlReference, LocationAndOutputAttributesPerOutputType)
{
    struct Case
    {
        int type;
        std::string reference;
        std::string heading;  // without the line end
    };
    const Case cases[] = {
        {kOutputText, "(12) 3  ", "(line) DIV N S N Occurrence"},
        {kOutputComma, "\"12\",\"3\",\"\",", "\"line\",\"DIV N\",\"S N\",\"Occurrence\""},
        {kOutputTab, "12\t3\t\t", "line\tDIV N\tS N\tOccurrence"},
        {kOutputTagged, "f.sgml(12):3::", "filename(line):DIV N:S N:Occurrence"},
        {kOutputXml, "<hit file=\"f.sgml\" line=\"12\"><DIV N>3</DIV N><S N></S N>", ""},
        {kOutputOther, "[[12]] [[3]] [[]] ", "[[line]] [[DIV N]] [[S N]] [[Occurrence]]"},
    };
    for (const Case& k : cases) {
        CCorpus settings;
        settings.SetMarks("[[", "]]");
        settings.SetOutputType(k.type);
        // DIV TYPE is met but not output; S N is output but not yet met.
        SetSgml(settings, {{"DIV", "DIV", 0}, {"NOTE", "", 1}, {"P", "P", 1}},
                {{"DIV N", 1}, {"DIV TYPE", 0}, {"S N", 1}});
        CSgml sgml;
        sgml.ResetForFile();
        std::string line = "<div n=3 type=x>";
        sgml.ReadTags(settings, line);
        EXPECT_EQ(sgml.Reference(settings, 12, "f.sgml"), k.reference) << k.type;
        EXPECT_EQ(sgml.ColumnHeading(settings, "\n"), k.heading + "\n") << k.type;
        EXPECT_EQ(sgml.ColumnHeading(settings, "\r\n"), k.heading + "\r\n") << k.type;
        EXPECT_EQ(sgml.ExcludedLines(settings, "\r\n"), "Excluded Tag:NOTE\r\nExcluded Tag:P\r\n");
        EXPECT_EQ(sgml.ExcludedLines(settings, "\n"), "Excluded Tag:NOTE\nExcluded Tag:P\n");
    }
}

// ---- the scan ---------------------------------------------------------------

struct Listed
{
    std::vector<std::string> tags;  // "NAME=END"
    std::vector<std::string> keys;  // "KEY=TAG"
};

Listed ListOf(const CSgml& sgml)
{
    Listed listed;
    for (size_t i = 0; i < sgml.scannedTags.size(); ++i) {
        listed.tags.push_back(sgml.scannedTags[i] + "=" + sgml.scannedTagEnds[i]);
    }
    for (size_t i = 0; i < sgml.scannedAttributes.size(); ++i) {
        listed.keys.push_back(sgml.scannedAttributes[i] + "=" + sgml.scannedAttributeTags[i]);
    }
    return listed;
}

TEST(SgmlScan, TagsEndTagsAndKeysOfTheLines)
{
    struct Case
    {
        const char* what;
        std::vector<std::string> lines;
        std::vector<std::string> tags;
        std::vector<std::string> keys;
    };
    const std::string longName(2100, 'Q');
    const Case cases[] = {
        {"names ascending, upper case, once",
         {"<s n=1><p>a</p><P>b<div type=x n=2>"},
         {"DIV=", "P=P", "S="},
         {"DIV N=DIV", "DIV TYPE=DIV", "S N=S"}},
        {"an end tag alone makes an entry", {"</x>"}, {"X=X"}, {}},
        {"the order ignores case like the names' comparison",
         {"<h10><h2><h1><a_b><ab>"},
         {"A_B=", "AB=", "H1=", "H10=", "H2="},
         {}},
        {"a start tag over lines",
         {"<div", "n=1", "type=a>"},
         {"DIV="},
         {"DIV N=DIV", "DIV TYPE=DIV"}},
        {"attributes without = are not listed",
         {"<option selected value=3 x>"},
         {"OPTION="},
         {"OPTION VALUE=OPTION"}},
        {"quoted values hide blanks and =",
         {"<a title=\"x y=z\" n='1 2'>"},
         {"A="},
         {"A N=A", "A TITLE=A"}},
        {"a < not followed by a letter or digit", {"a < b <-c> <#d> <3x>"}, {"3X="}, {}},
        {"declarations and comments are not tags",
         {"<!DOCTYPE t [", "<!ENTITY e 'a>b'>", "]><real n=1>"},
         {"REAL="},
         {"REAL N=REAL"}},
        {"a comment over lines, with an apostrophe and > in it",
         {"<!-- the editor's", "notes <fake f=1> -- > <kept>"},
         {"KEPT="},
         {}},
        {"tab-separated attributes", {"<w\tpos=nn\tn=3>"}, {"W="}, {"W N=W", "W POS=W"}},
        {"a name longer than 2000 bytes",
         {"<" + longName + " n=1>"},
         {longName + "="},
         {longName + " N=" + longName}},
    };
    for (const Case& k : cases) {
        CTagScan scan;
        scan.BeginFile();
        for (const std::string& line : k.lines) {
            scan.ReadText(line);
        }
        CSgml sgml;
        sgml.TakeScan(scan);
        Listed listed = ListOf(sgml);
        EXPECT_EQ(listed.tags, k.tags) << k.what;
        EXPECT_EQ(listed.keys, k.keys) << k.what;
        EXPECT_EQ(sgml.scannedTagFlags, std::vector<unsigned>(k.tags.size(), 0)) << k.what;
        EXPECT_EQ(sgml.scannedAttributeFlags, std::vector<unsigned>(k.keys.size(), 0)) << k.what;
    }
}

// Records what the scan shows and cancels at the chosen question.
class RecordingProgress : public CProgress
{
  public:
    void SetStatus(const std::string& text) override { statuses.push_back(text); }
    void SetPos(int percent) override { positions.push_back(percent); }
    bool IsCancelled() override { return cancelAt >= 0 && ++asked > cancelAt; }

    long cancelAt = -1;
    long asked = 0;
    std::vector<std::string> statuses;
    std::vector<int> positions;
};

TEST(SgmlScan, FilesInOrderWithProgressCancelAndUnreadableFiles)
{
    test::TempDir dir;
    // Windows line ends are line ends; a tag or declaration open at the end of
    // a file does not reach into the next one.
    const std::string a = dir.Write("a.sgml", "<p n=1>one</p>\r\n<div>two<!-- open <x>\r\n");
    const std::string b = dir.Write("b.sgml", "<b>\n<s n=2\n");
    const std::string c = dir.Write("c.sgml", "<note>three</note> <div type=t>\n");
    CSgml sgml;
    RecordingProgress progress;
    std::string error;
    ASSERT_EQ(sgml.Scan({a, b}, progress, error), SgmlScanOutcome::Done);
    Listed first = ListOf(sgml);
    EXPECT_EQ(first.tags, (std::vector<std::string>{"B=", "DIV=", "P=P"}));
    EXPECT_EQ(first.keys, (std::vector<std::string>{"P N=P"}));
    EXPECT_EQ(progress.statuses, (std::vector<std::string>{a, b}));
    // Before each line and once at the end: a holds lines of 16 and 23 bytes
    // with their line ends, b of 4 and 7.
    EXPECT_EQ(progress.positions, (std::vector<int>{0, 41, 100, 0, 36, 100}));

    // Cancelled in the second file, or stopped by a file that cannot be
    // read: the lists keep the last scan's result.
    for (long cancelAt : {0L, 4L}) {
        RecordingProgress cancelling;
        cancelling.cancelAt = cancelAt;
        EXPECT_EQ(sgml.Scan({c, a}, cancelling, error), SgmlScanOutcome::Cancelled);
        EXPECT_EQ(ListOf(sgml).tags, first.tags);
        EXPECT_EQ(ListOf(sgml).keys, first.keys);
    }
    const std::string missing = dir.File("missing.sgml");
    error.clear();
    EXPECT_EQ(sgml.Scan({c, missing, a}, progress, error), SgmlScanOutcome::Unreadable);
    EXPECT_NE(error.find(missing), std::string::npos) << error;
    EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;
    error.clear();
    EXPECT_EQ(sgml.Scan({c, dir.Path()}, progress, error), SgmlScanOutcome::Unreadable);
    EXPECT_NE(error.find("Is a directory"), std::string::npos) << error;
    EXPECT_EQ(ListOf(sgml).tags, first.tags);

    ASSERT_EQ(sgml.Scan({c}, progress, error), SgmlScanOutcome::Done);
    EXPECT_EQ(ListOf(sgml).tags, (std::vector<std::string>{"DIV=", "NOTE=NOTE"}));
    ASSERT_EQ(sgml.Scan({}, progress, error), SgmlScanOutcome::Done);
    EXPECT_TRUE(sgml.scannedTags.empty());
    EXPECT_TRUE(sgml.scannedAttributes.empty());
}

// ---- through the engine -----------------------------------------------------

TEST(SgmlRun, ConcordanceInTextAndXmlOutput)
{
    KeywordRequest keyword;
    keyword.keyword = "boat";
    for (int type : {kOutputText, kOutputXml}) {
        for (bool toFile : {false, true}) {
            EngineTest t;
            const std::string path =
                t.AddFile("log.sgml",
                          "<div n=1 type=log><s n=1>The boat left at dawn.</s>\n"
                          "<note>Tide table <b>lost</b>.</note><s n=2>A second boat\n"
                          "followed.</s></div>\n");
            CCorpus& c = t.ctx.corpus;
            c.SetCorpusType(kTypeSgml);
            c.SetLineFormat(40, 20);
            c.SetOutputType(type);
            c.SetOutputAsFiles(toFile);
            SetSgml(c, {{"B", "B", 0}, {"DIV", "DIV", 0}, {"NOTE", "NOTE", 1}, {"S", "S", 0}},
                    {{"DIV N", 1}, {"DIV TYPE", 0}, {"S N", 1}});
            ASSERT_TRUE(t.RunCommand(AnalysisCommand::Concordance, keyword).completed);
            // The note's content is left out of the line, but a context text
            // only loses its tags. The second line was read ahead for the
            // first hit, so it keeps its line end: a second blank after "boat".
            const std::string first = std::string(15, ' ') + "The boat left at dawn.";
            const std::string second = " at dawn. A second boat  followed.";
            std::vector<std::string> lines;
            if (type == kOutputText) {
                lines = {"Corpus File: " + path,
                         "Excluded Tag:NOTE",
                         "",
                         "Keyword: boat",
                         "Keyword Position: 20",
                         "",
                         "(line) DIV N S N Occurrence",
                         "(1) 1 1 ",
                         first,
                         "(2) 1 2 ",
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
                         "Keyword: boat",
                         "Keyword Position: 20",
                         "</plix_info>",
                         "",
                         hit + "1\"><DIV N>1</DIV N><S N>1</S N>" + first + "</hit>",
                         hit + "2\"><DIV N>1</DIV N><S N>2</S N>" + second + "</hit>",
                         "<total>2</total>",
                         "</plix>",
                         ""};
            }
            std::string expected;
            for (const std::string& text : lines) {
                expected += text + (toFile ? "\n" : "\r\n");
            }
            EXPECT_EQ(toFile ? ReadFile(c.GetOutputFile(0)) : t.Window(), expected)
                << type << " " << toFile;
        }
    }
}

}  // namespace
}  // namespace plix
