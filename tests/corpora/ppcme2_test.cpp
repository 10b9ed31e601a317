// The parsed-text handler: the target node out of the settings, the identifier
// cut off each unit, the text outside target nodes blanked with the unit kept
// whole, labels stripped for the lists, the tag of each hit, the reference and
// header, and PPCME2 and York-Toronto-Helsinki runs through the whole engine.
#include "corpora/ppcme2.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "concordance_texts.h"
#include "support/handler_frame.h"

namespace plix {
namespace {

const std::string kUnit = "( (IP-MAT (NP-SBJ (PRO he)) (VBD sayde)) (ID CMAELR3,1.2)) ";
const std::string kCut = "( (IP-MAT (NP-SBJ (PRO he)) (VBD sayde)) ";

TEST(Ppcme2Scan, IdentifierCutAndTargetNodesKept)
{
    struct Case
    {
        const char* what;
        int type;
        std::string node;  // the page's text: PPCME2's entry, or Brooklyn's label
        std::string line;
        std::string scanned;
        std::string unitId;  // "old" is the one before the line
    };
    const std::string longWord(20000, 'w');
    const Case cases[] = {
        {"no target", kTypePpcme2, "", kUnit, kCut, "CMAELR3,1.2"},
        {"an entry of the list", kTypePpcme2, "NP-SBJ:noun phrase subject ", kUnit,
         std::string(10, ' ') + "(NP-SBJ (PRO he))" + std::string(14, ' '), "CMAELR3,1.2"},
        {"a longer label is another label", kTypePpcme2, "NP-SBJ",
         "(NP-SBJ-1 (N a)) (NP-SBJ (N b)) ", std::string(17, ' ') + "(NP-SBJ (N b)) ", "old"},
        {"nested nodes go with their node", kTypePpcme2,
         "NP:", "(IP (NP (D a) (NP (N b))) (NP c)) ", "    (NP (D a) (NP (N b))) (NP c)  ", "old"},
        {"no label: no target", kTypeYorkTorontoHelsinki, ":x", "(N a) ", "(N a) ", "old"},
        {"a target that never occurs", kTypePpcme2, "VB:", "(N a) ", "      ", "old"},
        {"a node that never closes", kTypePpcme2, "NP:", "(IP (NP (N a) (N b ",
         "    (NP (N a) (N b ", "old"},
        {"plain text, inside a word too", kTypeBrooklyn, "nn", "(x (nn cyning)) (vt mann) ",
         "    nn cyning)        nn) ", "old"},
        {"one character", kTypePpcme2, "", "(N a) (ID 7)) ", "(N a) ", "7"},
        {"no letter or digit", kTypePpcme2, "", "(N a) (ID -.-)) ", "(N a) ", "-.-)) "},
        {"a unit longer than any line", kTypePpcme2, "N:", "(N " + longWord + ") (ID L,1)) ",
         "(N " + longWord + ") ", "L,1"},
    };
    for (const Case& k : cases) {
        CCorpus settings;
        CPPCME2 h;
        // What an earlier run chose counts for nothing.
        settings.ppcme2Node = "N:";
        h.Reset(settings);
        settings.SetCorpusType(k.type);
        (k.type == kTypeBrooklyn ? settings.brooklynNode : settings.ppcme2Node) = k.node;
        h.Reset(settings);
        std::string line = "(ID old)";
        h.ScanUnit(line);
        line = k.line;
        h.ScanUnit(line);
        EXPECT_EQ(line, k.scanned) << k.what;
        EXPECT_EQ(h.UnitId(), k.unitId) << k.what;
        EXPECT_EQ(h.KeptUnit(line), k.line.substr(0, k.line.find("(ID "))) << k.what;
        EXPECT_EQ(h.CharAt(line, line.size()), ' ') << k.what;
    }
}

TEST(Ppcme2StripLabels, TheWordsAreLeft)
{
    const std::pair<std::string, std::string> cases[] = {
        {kCut, "    he  sayde "}, {"", ""},        {"(((", ""},
        {")))a)", "a"},           {"x (NP", "x "}, {"(N(D a) b", " a b"},
    };
    for (const auto& [text, words] : cases) {
        std::string stripped = text;
        CPPCME2::StripLabels(stripped);
        EXPECT_EQ(stripped, words) << text;
    }
}

TEST(Ppcme2LocateHit, TheTagOfTheNodeTheHitStandsIn)
{
    struct Case
    {
        std::string text;
        size_t offset;
        std::string tag;
    };
    const Case cases[] = {
        {kCut, kCut.find("sayde") + 2, "VBD"},
        {kCut, kCut.find("he"), "PRO"},
        {kCut, 10000, "VBD"},  // past the end: the last node
        {kCut, 0, ""},         // "( (": the unit's own bracket has no label
        {"words before any node (N a)", 3, ""},
        {"", 0, ""},
        // No label is this long: it would go into the reference of every hit.
        {"(" + std::string(256, 'a') + " x", 258, ""},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(CPPCME2::TagBefore(k.text, k.offset), k.tag) << k.text << " @" << k.offset;
    }
    // The bracket before a Brooklyn target is blanked in the searched text:
    // the tag comes from the kept unit.
    test::HandlerFrame frame;
    frame.settings.SetCorpusType(kTypeBrooklyn);
    frame.settings.brooklynNode = "nn";
    CPPCME2 h;
    h.ResetForFile();
    std::string line = "(x (nn cyning)) (vt cwaeth) ";
    h.ScanLine(frame, line);
    h.LocateHit(frame, line, line.find("cyning"));
    EXPECT_EQ(h.HitPos(), "nn");
}

TEST(Ppcme2Output, ReferenceNoteAndHeading)
{
    struct Case
    {
        int outputType;
        bool toFile;
        std::string node;
        std::string reference;
        std::string header;  // the note, then the column heading
    };
    const Case cases[] = {
        {kOutputText, true, "NP-SBJ:noun phrase subject ", "(3) CMAELR3,1.2 VBD ",
         "within the node: NP-SBJ (line) Reference POS Occurrence\n"},
        {kOutputText, false, "VBD", "(3) CMAELR3,1.2 VBD ",
         "within the node:VBD (line) Reference POS Occurrence\r\n"},
        {kOutputTab, true, "", "3\tCMAELR3,1.2\tVBD\t", "line\tReference\tPOS\tOccurrence\n"},
        {kOutputXml, false, "",
         "<hit file=\"f.txt\" line=\"3\"><reference>CMAELR3,1.2</reference><pos>VBD</pos>", "\r\n"},
    };
    for (const Case& k : cases) {
        test::HandlerFrame frame;
        frame.settings.SetCorpusType(kTypePpcme2);
        frame.settings.SetOutputType(k.outputType);
        frame.settings.ppcme2Node = k.node;
        frame.toFile = k.toFile;
        frame.line = 3;
        CPPCME2 h;
        h.ResetForFile();
        h.WriteHeader(frame);
        h.WriteColumnHeading(frame, k.outputType);
        EXPECT_EQ(frame.written, k.header) << k.outputType << " " << k.node;
        std::string line = kUnit;
        h.ScanLine(frame, line);
        h.LocateHit(frame, line, kCut.find("sayde"));
        std::string reference = "kept:";
        h.MakeReference(frame, k.outputType, reference);
        EXPECT_EQ(reference, "kept:" + k.reference) << k.outputType;
    }
    EXPECT_EQ(CPPCME2::GetPosEntry(80), "\": Double quotation marks");
    EXPECT_EQ(CPPCME2::GetPosEntry(83), "");
    EXPECT_EQ(CPPCME2::GetLabelEntry(62), "NP-SBJ:noun phrase subject ");
    EXPECT_EQ(CPPCME2::GetLabelEntry(82), "");
    EXPECT_EQ(CPPCME2::GetLabelEntry(-1), "");
}

TEST(Ppcme2Units, TheLastUnitOfAFileAndLinesReadBack)
{
    struct Case
    {
        const char* what;
        int type;
        std::vector<std::string> lines;  // as the reader hands them on
        std::vector<std::string> units;  // scanned, "id|unit"; the end gives the last
    };
    const Case cases[] = {
        // A unit cut short by the end of the file has no identifier of its own.
        {"ppcme2 without (ID at the end",
         kTypePpcme2,
         {"( (IP (N a)) ", "  (ID A,1)) ", "( (IP (N b) "},
         {"A,1|( (IP (N a)) ", "|( (IP (N b) "}},
        {"york-toronto-helsinki without (ID at the end",
         kTypeYorkTorontoHelsinki,
         {"( (CODE <x>) (N a) (ID A,1)) ", "( (CODE <y>) ", " (N b) "},
         {"A,1|>) (N a) ", "|>) (N b) "}},
        // Brooklyn units keep the last identifier met, as within a file.
        {"brooklyn block at the end",
         kTypeBrooklyn,
         {"(x (nn a)) (ID B,1) ", " ", "(x (nn b)) "},
         {"B,1|(x (nn a)) ", "B,1|(x (nn b)) "}},
        // A line read ahead for a context comes back with its line end: the
        // empty line still ends the block, the line end goes.
        {"lines read back",
         kTypeBrooklyn,
         {"(x (nn a))\n ", "\n ", "(x (nn b)) "},
         {"|(x (nn a)) ", "|(x (nn b)) "}},
    };
    for (const Case& k : cases) {
        test::HandlerFrame frame;
        frame.settings.SetCorpusType(k.type);
        CPPCME2 h;
        h.ResetForFile();
        std::vector<std::string> units;
        for (std::string line : k.lines) {
            h.AssembleUnit(frame, line);
            h.ScanLine(frame, line);
            if (!line.empty()) {
                units.push_back(h.UnitId() + "|" + line);
            }
        }
        std::string line;
        if (h.FinishUnit(frame, line)) {
            h.ScanLine(frame, line);
            units.push_back(h.UnitId() + "|" + line);
        }
        EXPECT_FALSE(h.FinishUnit(frame, line)) << k.what;
        EXPECT_EQ(units, k.units) << k.what;
    }
}

// --- through the engine --------------------------------------------------------

// The text before the first unit and the CODE lines are no part of any unit.
const char kSermon[] =
    "Sermon of the word, a made-up text\n"
    "( (IP-MAT (NP-SBJ (PRO he))\n"
    "          (VBD sayde)\n"
    "          (NP-OB1 (D the) (N word)))\n"
    "  (ID SERMON,1.1))\n"
    "( (CODE <P_1>))\n"
    "( (IP-MAT (NP-SBJ (D the) (N word))\n"
    "  (CODE <P_2>) (VBD was)\n"
    "  (ADJP (ADJ good)))\n"
    "  (ID SERMON,1.2))\n";

// York-Toronto-Helsinki units begin at their CODE line, cut to its ">)".
const char kChronicle[] =
    "junk before\n"
    "( (CODE <T1,1>)\n"
    "  (IP-MAT (NP-SBJ (PRO he))\n"
    "    (VBD cwaeth))\n"
    "  (ID cochad,1.1))\n"
    "\n"
    "( (CODE <T1,2>)\n"
    "  (IP-MAT (NP-SBJ (N cyning))\n"
    "    (VBD cwaeth))\n"
    "  (ID cochad,1.2))\n";

const char kHeading[] = "(line) Reference POS Occurrence";

TEST(Ppcme2Run, ConcordanceOfEachUnit)
{
    // The first hit's right context runs on into the lines after its unit,
    // as they stand in the file.
    test::ExpectConcordanceTexts(
        {kTypePpcme2,
         kSermon,
         "word",
         kHeading,
         {test::ParsedHit(5, "SERMON,1.1", "N", "(NP-OB1 (D the) (N word))) ( (CODE <P"),
          test::ParsedHit(10, "SERMON,1.2", "N", "(NP-SBJ (D the) (N word)) (VBD was) ")}});
    test::ExpectConcordanceTexts(
        {kTypeYorkTorontoHelsinki,
         kChronicle,
         "cwaeth",
         kHeading,
         {test::ParsedHit(5, "cochad,1.1", "VBD", "SBJ (PRO he)) (VBD cwaeth))  ( (CODE "),
          test::ParsedHit(10, "cochad,1.2", "VBD", "  (N cyning)) (VBD cwaeth))")}});
}

TEST(Ppcme2Run, TargetNodeSearchedContextShownWhole)
{
    test::TypeOptions subject;
    subject.configure = [](CCorpus& c) { c.ppcme2Node = "NP-SBJ:noun phrase subject "; };
    subject.fileNote = "within the node: NP-SBJ ";
    subject.windowNote = "within the node:NP-SBJ ";
    // Only the subject's "word" is found; its line shows the unit unblanked.
    test::TypeConcordance c{
        kTypePpcme2,
        kSermon,
        "word",
        kHeading,
        {test::ParsedHit(10, "SERMON,1.2", "N", "(NP-SBJ (D the) (N word)) (VBD was) ")}};
    test::ExpectConcordanceTexts(c, subject);
    // A hit near the start of a unit has the unit before it, unblanked, to its left.
    c.keyword = "np-sbj";
    c.hits = {test::ParsedHit(5, "SERMON,1.1", "NP-SBJ", "        ( (IP-MAT (NP-SBJ (PRO he)) "),
              test::ParsedHit(10, "SERMON,1.2", "NP-SBJ", "word))) ( (IP-MAT (NP-SBJ (D the) (N")};
    test::ExpectConcordanceTexts(c, subject);
}

TEST(Ppcme2Run, WordListsTakeTheWordsOnly)
{
    struct Case
    {
        int type;
        const char* corpus;
        std::string node;
        std::string text;  // after the corpus-file line, window form
    };
    const Case cases[] = {
        {kTypePpcme2, kSermon, "",
         "\r\ngood\t1\r\nhe\t1\r\nsayde\t1\r\nthe\t2\r\nwas\t1\r\nword\t2\r\n\r\n"
         "Total Tokens:\t8\r\nTotal Types:\t6\r\n"},
        {kTypePpcme2, kSermon, "NP-SBJ:noun phrase subject ",
         "within the node:NP-SBJ \r\nhe\t1\r\nthe\t1\r\nword\t1\r\n\r\n"
         "Total Tokens:\t3\r\nTotal Types:\t3\r\n"},
        {kTypeYorkTorontoHelsinki, kChronicle, "VBD",
         "within the node:VBD \r\ncwaeth\t2\r\n\r\nTotal Tokens:\t2\r\nTotal Types:\t1\r\n"},
    };
    for (const Case& k : cases) {
        test::EngineTest t;
        const std::string path = t.AddFile("corpus.txt", k.corpus);
        t.ctx.corpus.SetCorpusType(k.type);
        t.ctx.corpus.ppcme2Node = k.node;
        ASSERT_TRUE(t.RunCommand(AnalysisCommand::Wordlist).completed);
        EXPECT_EQ(t.Window(), "Corpus File: " + path + "\r\n" + k.text) << k.type << k.node;
    }
}

TEST(Ppcme2Run, BadInputEndsTheRunNormally)
{
    const std::string cases[] = {
        "",
        std::string("\0\xff(\x01)\n\x80(ID \0\n\n\r\n", 13),
        std::string(100000, '(') + "\n",
        std::string(100000, ')') + "\n\n",
        "( (CODE <x>)\n(IP (N a) (ID " + std::string(100000, 'a') + "\n",
        "( (IP (NP-SBJ (N a) (N a\n(N a (N a\n",
    };
    for (const std::string& corpus : cases) {
        for (int type : {kTypePpcme2, kTypeBrooklyn, kTypeYorkTorontoHelsinki}) {
            for (AnalysisCommand command :
                 {AnalysisCommand::Wordlist, AnalysisCommand::ConcordanceAll}) {
                test::EngineTest t;
                t.AddFile("bad.txt", corpus);
                t.ctx.corpus.SetCorpusType(type);
                t.ctx.corpus.ppcme2Node = "NP-SBJ";
                t.ctx.corpus.brooklynNode = "a";
                EXPECT_TRUE(t.RunCommand(command).completed) << type << " " << corpus.size();
            }
        }
    }
}

}  // namespace
}  // namespace plix
