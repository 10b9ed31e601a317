// COCOA references: the reference grammar, the selection, the reference and
// heading of each output type, and whole concordances in both forms.
#include <gtest/gtest.h>

#include "corpora/cocoa.h"
#include "engine/parse.h"
#include "support/engine_fixture.h"

namespace plix {
namespace {

TEST(CocoaReferences, GrammarTakesReferencesOutOfTheLine)
{
    struct Case
    {
        const char* line;
        const char* kept;
        std::vector<std::pair<char, std::string>> values;  // letters set, with their values
    };
    const Case cases[] = {
        {"<A Author one><T Title>Text here", "Text here", {{'A', "Author one"}, {'T', "Title"}}},
        {"x < y", "x < y", {}},
        {"<1 x> <é y>", "<1 x> <é y>", {}},
        {"<a lower>", "", {{'A', "lower"}}},
        {"before <B mid> after ", "before  after ", {{'B', "mid"}}},
        // A "<" followed by a letter is a reference even without its ">":
        // it takes the rest of the line as its value.
        {"a<b", "a", {{'B', ""}}},
        {"text <C open to the end ", "text ", {{'C', "open to the end "}}},
        // "<A>" is an empty value and ends at its own ">", not at a later one.
        {"<A>kept<B x>", "kept", {{'A', ""}, {'B', "x"}}},
        {"<<A v>>", "<>", {{'A', "v"}}},
    };
    for (const Case& k : cases) {
        CCocoa cocoa;
        std::string line = k.line;
        cocoa.ScanReferences(line);
        EXPECT_EQ(line, k.kept) << k.line;
        for (const auto& [letter, value] : k.values) {
            EXPECT_EQ(cocoa.GetValue(letter - 'A'), value) << k.line << " " << letter;
        }
        std::string stripped = k.line;
        CCocoa::StripReferences(stripped);
        EXPECT_EQ(stripped, k.kept) << "stripping " << k.line;
    }
}

TEST(CocoaReferences, ValuesLastUntilTheLetterComesAgainOrTheFileEnds)
{
    CCocoa cocoa;
    std::string line = "<A one><B two>";
    cocoa.ScanReferences(line);
    line = "<A >text";
    cocoa.ScanReferences(line);
    EXPECT_EQ(cocoa.GetValue(0), "");
    EXPECT_EQ(cocoa.GetValue(1), "two");
    EXPECT_EQ(cocoa.GetValue(26), "");
    EXPECT_EQ(cocoa.GetValue(-1), "");
    // Stripping a read-ahead text changes no value.
    std::string text = "<B three>";
    CCocoa::StripReferences(text);
    EXPECT_EQ(cocoa.GetValue(1), "two");
    cocoa.ResetForFile();
    EXPECT_EQ(cocoa.GetValue(1), "");
}

TEST(CocoaReferences, SelectionIgnoresCaseAndFailsOnUnsetLetters)
{
    struct Case
    {
        const char* line;
        std::vector<std::pair<int, std::string>> select;
        bool selected;
    };
    const Case cases[] = {
        {"<A ALPHA>", {{0, "alpha"}}, true},
        {"<A alpha>", {{0, "ALPHA"}}, true},
        {"<A alphabet>", {{0, "ALPHA"}}, false},
        {"<A alpha>", {{0, "ALPHA"}, {2, "X"}}, false},  // C never given
        {"<A alpha><C x>", {{0, "ALPHA"}, {2, "X"}}, true},
        {"nothing", {}, true},
    };
    for (const Case& k : cases) {
        CCorpus settings;
        for (const auto& [letter, value] : k.select) {
            settings.cocoaSelect[static_cast<size_t>(letter)] = value;
        }
        CCocoa cocoa;
        std::string line = k.line;
        cocoa.ScanReferences(line);
        EXPECT_EQ(cocoa.MatchesSelection(settings), k.selected) << k.line;
    }
}

TEST(CocoaReferences, ReferenceAndHeadingOfEachOutputType)
{
    struct Case
    {
        int outputType;
        const char* reference;
        const char* heading;
    };
    // A and C marked for output, A = "x", C empty, line 12 of the file "f".
    const Case cases[] = {
        {kOutputText, "(12) A=x ", "(line) A C Occurrence"},
        {kOutputComma, "\"12\",\"x\",", "\"line\",\"A\",\"C\",\"Occurrence\""},
        {kOutputTab, "12\tx\t", "line\tA\tC\tOccurrence"},
        {kOutputTagged, "f(12):A=x:", "filename(line):A:C:Occurrence"},
        {kOutputXml, "<hit file=\"f\" line=\"12\"><A>x</A>", ""},
        {kOutputOther, "[12] [x] ", "[line] [A] [C] [Occurrence]"},
    };
    for (const Case& k : cases) {
        CCorpus settings;
        settings.SetMarks("[", "]");
        settings.SetOutputType(k.outputType);
        settings.cocoaOutput[0] = 1;
        settings.cocoaOutput[2] = 1;
        CCocoa cocoa;
        std::string line = "<A x><B y>";
        cocoa.ScanReferences(line);
        EXPECT_EQ(cocoa.Reference(settings, 12, "f"), k.reference) << k.outputType;
        EXPECT_EQ(cocoa.ColumnHeading(settings, "\n"), std::string(k.heading) + "\n") << k.outputType;
    }
}

TEST(CocoaReferences, SelectedParameterLinesEndAsTheirForm)
{
    CCorpus settings;
    settings.cocoaSelect[0] = "ANN";
    settings.cocoaSelect[25] = "Z1";
    CCocoa cocoa;
    EXPECT_EQ(cocoa.SelectionLines(settings, "\r\n"),
              "Selected Parameter:A=ANN\r\nSelected Parameter:Z=Z1\r\n");
    EXPECT_EQ(cocoa.SelectionLines(settings, "\n"),
              "Selected Parameter:A=ANN\nSelected Parameter:Z=Z1\n");
}

class CocoaRun : public test::EngineTest, public ::testing::Test
{
protected:
    CocoaRun()
    {
        path = AddFile("a.cocoa",
                       "<A Ann><B one>The cat sat.\n<B two>The dog ran.\n<A Bob>The cat ran.\n");
        ctx.corpus.SetCorpusType(kTypeCocoa);
        ctx.corpus.cocoaSelect[0] = "ANN";
        ctx.corpus.cocoaOutput[0] = 1;
        ctx.corpus.cocoaOutput[1] = 1;
    }
    std::string Run(int outputType, bool toFile)
    {
        ctx.corpus.SetOutputType(outputType);
        ctx.corpus.SetOutputAsFiles(toFile ? 1 : 0);
        KeywordRequest k;
        k.keyword = "the";
        CommandOutcome outcome = RunCommand(AnalysisCommand::Concordance, k);
        EXPECT_TRUE(outcome.completed) << outcome.reason;
        return toFile ? test::ReadFile(ctx.corpus.GetOutputFile(0)) : Window();
    }

    std::string path;
    // The third line is left out (A is Bob there); references are stripped
    // from the text read ahead.
    const std::string line1 = std::string(49, ' ') + "The cat sat. The dog ran. The cat ran.";
    const std::string line2 = std::string(36, ' ') + "The cat sat. The dog ran.  The cat ran.";
};

TEST_F(CocoaRun, TextConcordanceInBothForms)
{
    for (bool toFile : {false, true}) {
        const std::string eol = toFile ? "\n" : "\r\n";
        const std::string expected = "Corpus File: " + path + eol + "Selected Parameter:A=ANN" + eol +
                                     eol + "Keyword: the" + eol + "Keyword Position: 50" + eol + eol +
                                     "(line) A B Occurrence" + eol + "(1) A=Ann B=one " + eol + line1 +
                                     eol + "(2) A=Ann B=two " + eol + line2 + eol + eol +
                                     "Total Occurrence(s): 2" + eol + eol;
        EXPECT_EQ(Run(kOutputText, toFile), expected) << toFile;
    }
}

TEST_F(CocoaRun, XmlConcordanceInBothForms)
{
    for (bool toFile : {false, true}) {
        const std::string eol = toFile ? "\n" : "\r\n";
        const std::string hit = "<hit file=\"" + path + "\" line=\"";
        const std::string expected =
            "<?xml version=\"1.0\"?>" + eol + "<plix>" + eol + "<source>" + path + "</source>" + eol +
            "<plix_info>Selected Parameter:A=ANN" + eol + eol + "Keyword: the" + eol +
            "Keyword Position: 50" + eol + "</plix_info>" + eol + eol + hit + "1\"><A>Ann</A><B>one</B>" +
            line1 + "</hit>" + eol + hit + "2\"><A>Ann</A><B>two</B>" + line2 + "</hit>" + eol +
            "<total>2</total>" + eol + "</plix>" + eol + eol;
        EXPECT_EQ(Run(kOutputXml, toFile), expected) << toFile;
    }
}

TEST_F(CocoaRun, ListsCountOnlyTheSelectedLinesWithoutTheReferences)
{
    ctx.corpus.cocoaSelect[0] = "bob";
    ASSERT_TRUE(RunCommand(AnalysisCommand::Wordlist).completed);
    EXPECT_EQ(Window(), "Corpus File: " + path +
                            "\r\nSelected Parameter:A=bob\r\n\r\ncat\t1\r\nran\t1\r\nthe\t1\r\n"
                            "\r\nTotal Tokens:\t3\r\nTotal Types:\t3\r\n");
}

}  // namespace
}  // namespace plix
