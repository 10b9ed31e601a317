// Helsinki markup: the deletion of the chosen levels within a line and over
// line ends, the read-ahead text of a hit, the header and column heading, the
// tables the options pages show, and whole concordances of the family.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "corpora/helsinki.h"
#include "engine/parse.h"
#include "support/engine_fixture.h"

namespace plix {
namespace {

using Switches = std::array<int, CHelsinki::kLevelCount>;

// Only the levels named.
Switches Levels(std::initializer_list<int> levels)
{
    Switches on{};
    for (int level : levels) {
        on[static_cast<size_t>(level)] = 1;
    }
    return on;
}

const Switches kDefaults = {0, 0, 0, 0, 1, 1, 1};

TEST(HelsinkiDeletion, LinesOneAfterAnotherWithStretchesCarriedOver)
{
    struct Case
    {
        const char* what;
        Switches on;
        std::vector<std::string> lines;
        std::vector<std::string> kept;
        Switches openAfter;  // the stretches still open after the last line
    };
    std::string longLine;
    std::string longKept;
    for (int i = 0; i < 20000; ++i) {
        longLine += "ab[\\x\\]";
        longKept += "ab";
    }
    longLine += " [\\ open";
    longKept += " ";
    const Case cases[] = {
        {"both blanks around a stretch stay",
         Levels({4}),
         {"one [\\ note \\] two"},
         {"one  two"},
         {}},
        {"a stretch over three lines",
         Levels({4}),
         {"abc [\\ note", "no close here", "still note \\] def"},
         {"abc ", "", " def"},
         {}},
        {"every switch off keeps the marks", Levels({}), {"(^x^) [\\y\\]"}, {"(^x^) [\\y\\]"}, {}},
        {"lower levels first: a font stretch inside a corpus comment",
         Levels({0, 5}),
         {"[^ a (^b^) c ^] d"},
         {" d"},
         {}},
        {"the marks of levels switched off stay",
         kDefaults,
         {"(^x^) (\\y\\) (}z}) [{w{] [\\c\\] [^h^] [}t}] end"},
         {"(^x^) (\\y\\) (}z}) [{w{]    end"},
         {}},
        {"each level's own marks",
         Levels({0, 1, 2, 3}),
         {"a(^x^)b(\\y\\)c(}z})d[{w{]e"},
         {"abcde"},
         {}},
        {"stretches do not nest: the first close mark ends one",
         Levels({4}),
         {"[\\ a [\\ b \\] c \\] d"},
         {" c \\] d"},
         {}},
        {"a stretch closes, a new one opens and runs on",
         Levels({4}),
         {"x [\\ a", "b \\] y [\\ c \\] z [\\ d", "e \\] f"},
         {"x ", " y  z ", " f"},
         {}},
        {"two levels open at once close in level order",
         Levels({0, 4}),
         {"a [\\ b (^ c", "d ^) e \\] f"},
         {"a ", " f"},
         {}},
        {"a stretch never closed stays open",
         Levels({6}),
         {"[} head", "more"},
         {"", ""},
         Levels({6})},
        {"a long line with many stretches, then one that runs on",
         Levels({4}),
         {longLine, std::string(100000, 'q') + "\\]tail"},
         {longKept, "tail"},
         {}},
    };
    for (const Case& k : cases) {
        CHelsinki helsinki;
        helsinki.SetDeleteSwitches(k.on);
        helsinki.ResetForFile();
        std::vector<std::string> kept;
        for (std::string line : k.lines) {
            helsinki.DeleteMarkup(line);
            kept.push_back(line);
        }
        EXPECT_EQ(kept, k.kept) << k.what;
        EXPECT_EQ(helsinki.inDeleted, k.openAfter) << k.what;
        helsinki.ResetForFile();
        EXPECT_EQ(helsinki.inDeleted, Switches{}) << k.what;
    }
}

TEST(HelsinkiDeletion, ReadAheadTextIsCleanedWithoutChangingTheState)
{
    struct Case
    {
        const char* what;
        Switches on;
        const char* lineBefore;  // the line scanned before the text is read ahead
        const char* text;
        const char* kept;
    };
    const Case cases[] = {
        {"a stretch over the line ends of the text", kDefaults, "", "x [\\ a\nb \\] y\n", "x  y\n"},
        {"a stretch that does not close drops the rest", kDefaults, "", "x [^ a\nb\n", "x "},
        // The scanned line left an editor's comment open: the text read ahead
        // starts inside it.
        {"the text starts inside an open stretch", kDefaults, "abc [\\ note", "b \\] y\n", " y\n"},
        {"all of it inside an open stretch", kDefaults, "abc [\\ note", "b c\nd\n", ""},
    };
    for (const Case& k : cases) {
        CHelsinki helsinki;
        helsinki.SetDeleteSwitches(k.on);
        std::string line = k.lineBefore;
        helsinki.DeleteMarkup(line);
        const Switches openBefore = helsinki.inDeleted;
        std::string text = k.text;
        helsinki.DeleteFollowingMarkup(text);
        EXPECT_EQ(text, k.kept) << k.what;
        EXPECT_EQ(helsinki.inDeleted, openBefore) << k.what;
    }
}

TEST(HelsinkiHeader, DeletedLevelLinesAndColumnHeadings)
{
    CHelsinki helsinki;
    EXPECT_EQ(helsinki.DeleteSwitches(), kDefaults);
    EXPECT_EQ(helsinki.DeletedLevelLines("\r\n"),
              "Deleted text level:editor's comment\r\n"
              "Deleted text level:Helsinki Corpus comment\r\n"
              "Deleted text level:heading\r\n");
    helsinki.SetDeleteSwitches({1, 2, 0, 0, 0, 0, -1});  // any non-zero value is on
    EXPECT_EQ(helsinki.DeleteSwitches(), (Switches{1, 1, 0, 0, 0, 0, 1}));
    EXPECT_EQ(helsinki.DeletedLevelLines("\n"),
              "Deleted text level:font other than the basic font\n"
              "Deleted text level:foreign language\n"
              "Deleted text level:heading\n");
    helsinki.SetDeleteSwitches({});
    EXPECT_EQ(helsinki.DeletedLevelLines("\n"), "");

    struct Case
    {
        int outputType;
        const char* heading;
    };
    // A, G and L marked for output; L has no name.
    const Case cases[] = {
        {kOutputText, "(line) A=author G=relationship to foreign orignial L= Occurrence"},
        {kOutputTab, "line\tA=author\tG=relationship to foreign orignial\tL=\tOccurrence"},
        {kOutputXml, ""},
    };
    for (const Case& k : cases) {
        CCorpus settings;
        settings.SetOutputType(k.outputType);
        settings.cocoaOutput[0] = 1;
        settings.cocoaOutput[6] = 1;
        settings.cocoaOutput[11] = 1;
        EXPECT_EQ(helsinki.ColumnHeading(settings, "\r\n"), std::string(k.heading) + "\r\n")
            << k.outputType;
    }
}

TEST(HelsinkiTables, LevelCaptionsAndNames)
{
    const char* const captions[] = {"(^.....^) = font other than the basic font",
                                    "(\\.....\\) = foreign language",
                                    "(}.....}) = runes",
                                    "[{.....{] = emendation",
                                    "[\\.....\\] = editor's comment",
                                    "[^.....^] = Helsinki Corpus comment",
                                    "[}.....}] = heading"};
    for (int level = 0; level < CHelsinki::kLevelCount; ++level) {
        EXPECT_EQ(CHelsinki::LevelCaption(level), captions[level]) << level;
    }
    for (int level : {-1, 7}) {
        EXPECT_EQ(CHelsinki::LevelCaption(level), "");
        EXPECT_STREQ(CHelsinki::LevelName(level), "");
    }
}

TEST(HelsinkiTables, ParameterNamesAndTheGivenValueLists)
{
    const CHelsinki helsinki;
    const char* const names[26] = {"author",
                                   "name of text file",
                                   "part of corpus",
                                   "dialect",
                                   "participant relationship",
                                   "foreign original",
                                   "relationship to foreign orignial",
                                   "social rank",
                                   "setting",
                                   "interaction",
                                   "contemporaneity",
                                   "",
                                   "date of manuscript",
                                   "name of text",
                                   "date of original",
                                   "page",
                                   "text identifier",
                                   "record",
                                   "sample",
                                   "text type",
                                   "audience description",
                                   "verse or prose",
                                   "relationship to spoken language",
                                   "sex of author",
                                   "age of author",
                                   "prototypical text category"};
    // The writers, files, text names and identifiers (A, B, N, Q) are the
    // corpus's own and stay empty here.
    const size_t counts[26] = {0, 0,  23, 25, 7, 6, 3,  7, 3, 2, 4, 0, 9,
                               0, 12, 0,  0,  0, 0, 32, 3, 2, 4, 3, 5, 7};
    size_t total = 0;
    for (size_t i = 0; i < 26; ++i) {
        const char letter = static_cast<char>('A' + i);
        EXPECT_EQ(helsinki.parameterNames[i], names[i]) << letter;
        EXPECT_EQ(helsinki.parameterValues[i].size(), counts[i]) << letter;
        total += helsinki.parameterValues[i].size();
    }
    EXPECT_EQ(total, 157u);

    using List = std::vector<std::string>;
    auto values = [&helsinki](char letter) {
        return helsinki.parameterValues[static_cast<size_t>(letter - 'A')];
    };
    EXPECT_EQ(values('M'), (List{"-850", "850-950", "950-1050", "1050-1150", "1150-1250",
                                 "1250-1350", "1350-1420", "1420-1500", "X"}));
    EXPECT_EQ(values('O'),
              (List{"-850", "850-950", "950-1050", "1050-1150", "1150-1250", "1250-1350",
                    "1350-1420", "1420-1500", "1500-1570", "1570-1640", "1640-1710", "X"}));
    EXPECT_EQ(values('X'), (List{"MALE", "FEMALE", "X"}));
}

// ---- whole runs ----------------------------------------------------------------

class HelsinkiRun : public test::EngineTest, public ::testing::Test
{
  protected:
    HelsinkiRun()
    {
        path = AddFile("a.hel",
                       "<A ANON><T HISTORY>[} THE CHRONICLE }]\n"
                       "The king rode to the town.\n"
                       "[\\ a note that runs\n"
                       "over two lines \\] and spoke.\n"
                       "<T LAW>The law [^ corpus note ^] was read.\n"
                       "<T HISTORY>The queen [\\ the scribe\n"
                       "wrote this twice \\] went home.\n");
        ctx.corpus.SetCorpusType(kTypeHelsinki);
        ctx.corpus.cocoaSelect[19] = "HISTORY";
        ctx.corpus.cocoaOutput[0] = 1;
        ctx.corpus.cocoaOutput[19] = 1;
    }
    std::string Run(int outputType, bool toFile)
    {
        ctx.corpus.SetOutputType(outputType);
        ctx.corpus.SetOutputAsFiles(toFile ? 1 : 0);
        KeywordRequest k;
        k.keyword = "the";
        CommandOutcome outcome = RunCommand(AnalysisCommand::Concordance, k);
        EXPECT_TRUE(outcome.completed) << outcome.reason;
        if (!toFile) {
            return Window();
        }
        const std::string text = test::ReadFile(ctx.corpus.GetOutputFile(0));
        std::remove(ctx.corpus.GetOutputFile(0).c_str());  // the next run appends afresh
        return text;
    }

    std::string path;
    // The heading, the comments and the scribe's repetition are gone; the law
    // line is left out (T is LAW there) but its text stands in the contexts.
    // The comment over the third and fourth lines is deleted from the text
    // read ahead for the hits of the second line; the one the sixth line
    // leaves open hides the start of the seventh in the queen's line. Lines
    // that were read ahead come back with their line ends, which the contexts
    // show as blanks.
    const std::string kingLine =
        std::string(49, ' ') + "The king rode to the town.  and spoke. The law ";
    const std::string townLine =
        std::string(32, ' ') + "The king rode to the town.  and spoke. The law  was read. The";
    const std::string queenLine =
        "   to the town.  and spoke.  The law  was read.  The queen  went home.";
};

TEST_F(HelsinkiRun, TextConcordanceInBothFormsForHelsinkiAndCeecs)
{
    for (auto [type, toFile] : {std::pair{kTypeHelsinki, false}, std::pair{kTypeHelsinki, true},
                                std::pair{kTypeCeecs, false}, std::pair{kTypeCeecs, true}}) {
        ctx.corpus.SetCorpusType(type);
        const std::string eol = toFile ? "\n" : "\r\n";
        const std::string expected =
            "Corpus File: " + path + eol + "Selected Parameter:T=HISTORY" + eol +
            "Deleted text level:editor's comment" + eol +
            "Deleted text level:Helsinki Corpus comment" + eol + "Deleted text level:heading" +
            eol + eol + "Keyword: the" + eol + "Keyword Position: 50" + eol + eol +
            "(line) A=author T=text type Occurrence" + eol + "(2) A=ANON T=HISTORY " + eol +
            kingLine + eol + "(2) A=ANON T=HISTORY " + eol + townLine + eol +
            "(6) A=ANON T=HISTORY " + eol + queenLine + eol + eol + "Total Occurrence(s): 3" + eol +
            eol;
        EXPECT_EQ(Run(kOutputText, toFile), expected) << type << " " << toFile;
    }
}

TEST_F(HelsinkiRun, XmlConcordanceInBothForms)
{
    for (bool toFile : {false, true}) {
        const std::string eol = toFile ? "\n" : "\r\n";
        const std::string hit = "<hit file=\"" + path + "\" line=\"";
        const std::string refs = "\"><A>ANON</A><T>HISTORY</T>";
        const std::string expected =
            "<?xml version=\"1.0\"?>" + eol + "<plix>" + eol + "<source>" + path + "</source>" +
            eol + "<plix_info>Selected Parameter:T=HISTORY" + eol +
            "Deleted text level:editor's comment" + eol +
            "Deleted text level:Helsinki Corpus comment" + eol + "Deleted text level:heading" +
            eol + eol + "Keyword: the" + eol + "Keyword Position: 50" + eol + "</plix_info>" + eol +
            eol + hit + "2" + refs + kingLine + "</hit>" + eol + hit + "2" + refs + townLine +
            "</hit>" + eol + hit + "6" + refs + queenLine + "</hit>" + eol + "<total>3</total>" +
            eol + "</plix>" + eol + eol;
        EXPECT_EQ(Run(kOutputXml, toFile), expected) << toFile;
    }
}

// A stretch that is never closed deletes the rest of its file, and no more:
// each file starts outside every stretch, also when the files make one result.
TEST(HelsinkiFiles, AnUnclosedStretchEndsWithItsFile)
{
    for (bool whole : {false, true}) {
        test::EngineTest t;
        t.AddFile("a.hel", "<A X>one [\\ never closed\nlost words\n");
        t.AddFile("b.hel", "<A Y>kept words\n");
        t.ctx.corpus.SetCorpusType(kTypeHelsinki);
        t.ctx.corpus.SetAsWhole(whole ? 1 : 0);
        t.ctx.corpus.suppressHeaders = 1;
        ASSERT_TRUE(t.RunCommand(AnalysisCommand::Wordlist).completed) << whole;
        if (whole) {
            EXPECT_EQ(t.Window(), "kept\t1\r\none\t1\r\nwords\t1\r\n");
        } else {
            EXPECT_EQ(t.Window(0), "one\t1\r\n");
            EXPECT_EQ(t.Window(1), "kept\t1\r\nwords\t1\r\n");
        }
    }
}

}  // namespace
}  // namespace plix
