// The parsed-text handler: the target node and tag out of the settings, the
// identifier cut off each unit, the text outside target nodes blanked with the
// unit kept whole, labels stripped for the lists, the tag of each hit, the
// reference and heading, and PPCME2 and York-Toronto-Helsinki runs through the
// whole engine.
#include "corpora/ppcme2.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "parsed_concordance.h"
#include "support/handler_frame.h"

namespace plix {
namespace {

const std::string kUnit = "( (IP-MAT (NP-SBJ (PRO he)) (VBD sayde)) (ID CMAELR3,1.2)) ";
const std::string kCut = "( (IP-MAT (NP-SBJ (PRO he)) (VBD sayde)) ";

TEST(Ppcme2Tables, EntriesByIndexAndNothingOutside)
{
    EXPECT_EQ(CPPCME2::GetPosCount(), 83);
    EXPECT_EQ(CPPCME2::GetLabelCount(), 82);
    EXPECT_EQ(CPPCME2::GetPosEntry(0), "BE: infinitive");
    EXPECT_EQ(CPPCME2::GetPosEntry(80), "\": Double quotation marks");
    EXPECT_EQ(CPPCME2::GetPosEntry(82), "LB: Line break");
    EXPECT_EQ(CPPCME2::GetLabelEntry(0), "ADJP:adjective phrase");
    EXPECT_EQ(CPPCME2::GetLabelEntry(62), "NP-SBJ:noun phrase subject ");
    EXPECT_EQ(CPPCME2::GetLabelEntry(81), "X:unknown ");
    for (int index : {-1, 83, 1000}) {
        EXPECT_EQ(CPPCME2::GetPosEntry(index), "") << index;
    }
    for (int index : {-1, 82}) {
        EXPECT_EQ(CPPCME2::GetLabelEntry(index), "") << index;
    }
    // Each key names one entry: the command line completes a key to its entry.
    for (const auto* table : {&CPPCME2::posTable}) {
        std::vector<std::string> keys;
        for (std::string_view entry : *table) {
            keys.emplace_back(entry.substr(0, entry.find(':')));
        }
        std::sort(keys.begin(), keys.end());
        EXPECT_EQ(std::adjacent_find(keys.begin(), keys.end()), keys.end());
    }
}

TEST(Ppcme2Reset, TargetNodeAndTagFromTheSettings)
{
    struct Case
    {
        int type;
        std::string node;
        std::string pos;
        std::string brooklyn;
        std::string target;
        std::string selectedPos;
    };
    const Case cases[] = {
        {kTypePpcme2, "NP-SBJ:noun phrase subject ", "VBD: past", "", "(NP-SBJ ", "VBD"},
        {kTypeYorkTorontoHelsinki, "ADJP:adjective phrase", "\": Double", "", "(ADJP ", "\""},
        {kTypePpcme2, "", "", "nn", "", ""},
        // A label typed into the box stands for itself.
        {kTypePpcme2, "NP-SBJ-1", "N", "", "(NP-SBJ-1 ", "N"},
        {kTypePpcme2, ":no label", ":", "", "", ""},
        // Brooklyn's label as it is, whatever the PPCME2 page holds.
        {kTypeBrooklyn, "NP-SBJ:noun phrase subject ", "", "IP-S", "IP-S", ""},
        {kTypeBrooklyn, "NP-SBJ:noun phrase subject ", "", "", "", ""},
    };
    for (const Case& k : cases) {
        test::HandlerFrame frame;
        CCorpus& c = frame.settings;
        CPPCME2 h;
        // What an earlier run chose counts for nothing.
        c.ppcme2Node = "VP:verb phrase ";
        c.ppcme2Pos = "D: Determiner";
        h.Reset(c);
        std::string line = kUnit;
        h.ScanUnit(line);
        ASSERT_EQ(h.UnitId(), "CMAELR3,1.2");
        c.SetCorpusType(k.type);
        c.ppcme2Node = k.node;
        c.ppcme2Pos = k.pos;
        c.brooklynNode = k.brooklyn;
        h.Reset(c);
        EXPECT_EQ(h.TargetNode(), k.target) << k.node << "|" << k.brooklyn;
        EXPECT_EQ(h.SelectedPos(), k.selectedPos) << k.pos;
        EXPECT_EQ(h.UnitId(), "");
        EXPECT_EQ(h.HitPos(), "");
    }
}

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
    const std::string tenThousand(10000, 'w');
    const Case cases[] = {
        {"no target", kTypePpcme2, "", kUnit, kCut, "CMAELR3,1.2"},
        {"the subject node whole", kTypePpcme2, "NP-SBJ:noun phrase subject ", kUnit,
         std::string(10, ' ') + "(NP-SBJ (PRO he))" + std::string(14, ' '), "CMAELR3,1.2"},
        {"a longer label is another label", kTypePpcme2, "NP-SBJ:",
         "(NP-SBJ-1 (N a)) (NP-SBJ (N b)) ", std::string(17, ' ') + "(NP-SBJ (N b))" + " ", "old"},
        {"nested nodes go with their node", kTypePpcme2,
         "NP:", "(IP (NP (D a) (NP (N b))) (VB c)) ",
         "    (NP (D a) (NP (N b)))" + std::string(9, ' '), "old"},
        {"every node of the label", kTypePpcme2, "N:", "(NP (N a) (N b)) ", "    (N a) (N b)  ",
         "old"},
        {"a target that never occurs blanks all", kTypePpcme2, "VB:", "(N a) ", "      ", "old"},
        {"a node that never closes runs to the end", kTypePpcme2, "NP:", "(IP (NP (N a) (N b ",
         "    (NP (N a) (N b ", "old"},
        {"a closing bracket too many ends the kept text", kTypePpcme2, "N:", "(N a)) x", "(N a)   ",
         "old"},
        {"plain text found inside a word", kTypeBrooklyn, "nn", "(x (nn cyning)) (vt cwaeth) ",
         "    nn cyning)" + std::string(14, ' '), "old"},
        {"plain text found inside a longer label", kTypeBrooklyn, "IP-S",
         "(IP-S-1 (N a)) (IP-S (N b)) ", " IP-S-1 (N a))  IP-S (N b)) ", "old"},
        {"one character", kTypePpcme2, "", "(N a) (ID 7)) ", "(N a) ", "7"},
        {"no letter or digit", kTypePpcme2, "", "(N a) (ID -.-)) ", "(N a) ", "-.-)) "},
        {"nothing after the node's name", kTypePpcme2, "", "(N a) (ID ", "(N a) ", ""},
        {"the first (ID counts", kTypePpcme2, "", "(N a) (ID A,1) (ID B,2)) ", "(N a) ",
         "A,1) (ID B,2"},
        {"a unit longer than the line buffer", kTypePpcme2,
         "N:", "(N " + tenThousand + ") (ID L,1)) ", "(N " + tenThousand + ") ", "L,1"},
        {"an empty line", kTypePpcme2, "N:", "", "", "old"},
    };
    for (const Case& k : cases) {
        CCorpus settings;
        settings.SetCorpusType(k.type);
        (k.type == kTypeBrooklyn ? settings.brooklynNode : settings.ppcme2Node) = k.node;
        CPPCME2 h;
        h.Reset(settings);
        std::string line = "(ID old)";
        h.ScanUnit(line);
        line = k.line;
        h.ScanUnit(line);
        EXPECT_EQ(line, k.scanned) << k.what;
        EXPECT_EQ(h.UnitId(), k.unitId) << k.what;
        // The kept unit has the offsets of the scanned one; past its end a
        // concordance line finds blanks.
        const std::string kept = k.line.substr(0, k.line.find("(ID "));
        EXPECT_EQ(h.TextCopy(), kept) << k.what;
        ASSERT_EQ(line.size(), kept.size()) << k.what;
        for (size_t i = 0; i < line.size(); ++i) {
            ASSERT_TRUE(line[i] == ' ' || line[i] == kept[i]) << k.what << " at " << i;
            ASSERT_EQ(h.CharAt(i), kept[i]) << k.what << " at " << i;
        }
        EXPECT_EQ(h.CharAt(kept.size()), ' ') << k.what;
        EXPECT_EQ(h.CharAt(kept.size() + 100), ' ') << k.what;
    }
}

TEST(Ppcme2StripLabels, TheWordsAreLeft)
{
    const std::pair<std::string, std::string> cases[] = {
        {kCut, "    he  sayde "},
        {"", ""},
        {"(((", ""},
        {")))a)", "a"},
        {"(N", ""},
        {"x (NP", "x "},
        {"(N(D a) b", " a b"},
        {">) (IP-MAT (PRO he)) ", ">   he "},
        {"(x (nn cyning)) (vt cwaeth) ", "  cyning  cwaeth "},
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
        {kCut, kCut.find("sayde"), "VBD"},
        {kCut, kCut.find("he"), "PRO"},
        {kCut, kCut.find("sayde") + 2, "VBD"},
        {kCut, 10000, "VBD"},  // past the end: the last node
        {kCut, 0, ""},         // "( (": the unit's own bracket has no tag
        {"(VBD x)", 0, "VBD"},
        {"(N", 1, "N"},
        {"(", 0, ""},
        {"words before any node (N a)", 3, ""},
        {"", 0, ""},
        {"(" + std::string(255, 'a') + " x", 257, std::string(255, 'a')},
        // No label is this long: the run is no tag, and would go into the
        // reference of each of its hits.
        {"(" + std::string(256, 'a') + " x", 258, ""},
        {"(" + std::string(100000, 'a'), 50000, ""},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(CPPCME2::TagBefore(k.text, k.offset), k.tag) << k.text << " @" << k.offset;
    }
    // A Brooklyn target begins at its label: the bracket before it is blanked
    // in the searched text, and the tag comes from the kept unit.
    test::HandlerFrame frame;
    frame.settings.SetCorpusType(kTypeBrooklyn);
    frame.settings.brooklynNode = "nn";
    CPPCME2 h;
    h.ResetForFile();
    std::string line = "(x (nn cyning)) (vt cwaeth) ";
    h.ScanLine(frame, line);
    ASSERT_EQ(line[3], ' ');
    h.LocateHit(frame, line, line.find("cyning"));
    EXPECT_EQ(h.HitPos(), "nn");

    // Hits in any order get the tags of their own nodes.
    line = "(x (nn cyning) a (vt (d b) c)) e (f ";
    h.ScanLine(frame, line);
    const std::string& kept = h.TextCopy();
    std::vector<size_t> offsets;
    for (size_t i = 0; i <= kept.size() + 1; ++i) {
        offsets.push_back(i);
    }
    for (int pass = 0; pass < 2; ++pass) {
        for (size_t offset : offsets) {
            h.LocateHit(frame, line, offset);
            EXPECT_EQ(h.HitPos(), CPPCME2::TagBefore(kept, offset)) << offset;
        }
        std::reverse(offsets.begin(), offsets.end());
    }
    // Words stand in nodes of their own: the bracket nearest before a hit is
    // its node's, also for text after a nested node.
    h.LocateHit(frame, line, kept.find(" a ") + 1);
    EXPECT_EQ(h.HitPos(), "nn");
    h.LocateHit(frame, line, kept.find('e'));
    EXPECT_EQ(h.HitPos(), "d");
}

TEST(Ppcme2Reference, IdentifierAndTagPerOutputType)
{
    const std::pair<int, std::string> cases[] = {
        {kOutputText, "(3) CMAELR3,1.2 VBD "},
        {kOutputComma, "\"3\",\"CMAELR3,1.2\",\"VBD\","},
        {kOutputTab, "3\tCMAELR3,1.2\tVBD\t"},
        {kOutputTagged, "f.txt(3):CMAELR3,1.2:VBD:"},
        {kOutputXml,
         "<hit file=\"f.txt\" line=\"3\"><reference>CMAELR3,1.2</reference><pos>VBD</pos>"},
    };
    for (const auto& [type, reference] : cases) {
        test::HandlerFrame frame;
        frame.settings.SetCorpusType(kTypePpcme2);
        frame.settings.SetOutputType(type);
        frame.line = 3;
        CPPCME2 h;
        h.ResetForFile();
        std::string line = kUnit;
        h.ScanLine(frame, line);
        h.LocateHit(frame, line, line.find("sayde"));
        std::string out = "kept:";
        h.MakeReference(frame, type, out);
        EXPECT_EQ(out, "kept:" + reference) << type;
    }
}

TEST(Ppcme2Header, ColumnHeaderAndTheNodeNote)
{
    struct Case
    {
        int outputType;
        bool toFile;
        std::string node;
        std::string written;  // the note, then the column header
    };
    const Case cases[] = {
        {kOutputText, true, "NP-SBJ:noun phrase subject ",
         "within the node: NP-SBJ (line) Reference POS Occurrence\n"},
        {kOutputText, false, "NP-SBJ:noun phrase subject ",
         "within the node:NP-SBJ (line) Reference POS Occurrence\r\n"},
        {kOutputTab, true, "", "line\tReference\tPOS\tOccurrence\n"},
        {kOutputXml, false, "", "\r\n"},
    };
    for (const Case& k : cases) {
        test::HandlerFrame frame;
        frame.settings.SetCorpusType(kTypePpcme2);
        frame.settings.SetOutputType(k.outputType);
        frame.settings.ppcme2Node = k.node;
        frame.toFile = k.toFile;
        CPPCME2 h;
        h.ResetForFile();
        h.WriteHeader(frame);
        h.WriteColumnHeading(frame, k.outputType);
        EXPECT_EQ(frame.written, k.written) << k.outputType << " " << k.node;
    }
}

TEST(Ppcme2Units, TheLastUnitOfAFileAndLinesReadBack)
{
    struct Case
    {
        const char* what;
        int type;
        std::vector<std::string> lines;  // as the reader hands them on
        std::vector<std::string> units;  // scanned, the one the end gives last
        std::vector<std::string> ids;
    };
    const Case cases[] = {
        // A unit cut short by the end of the file has no identifier of its own.
        {"ppcme2 without (ID at the end",
         kTypePpcme2,
         {"( (IP (N a)) ", "  (ID A,1)) ", "( (IP (N b) "},
         {"( (IP (N a)) ", "( (IP (N b) "},
         {"A,1", ""}},
        {"york-toronto-helsinki without (ID at the end",
         kTypeYorkTorontoHelsinki,
         {"( (CODE <x>) ", " (N a) (ID A,1)) ", "( (CODE <y>) ", " (N b) "},
         {">) (N a) ", ">) (N b) "},
         {"A,1", ""}},
        // Brooklyn units keep the last identifier met, as within a file.
        {"brooklyn block at the end",
         kTypeBrooklyn,
         {"(x (nn a)) (ID B,1) ", " ", "(x (nn b)) "},
         {"(x (nn a)) ", "(x (nn b)) "},
         {"B,1", "B,1"}},
        // A line read ahead for a context comes back with its line end: the
        // empty line still ends the block, the line end goes.
        {"brooklyn lines read back",
         kTypeBrooklyn,
         {"(x (nn a))\n ", "\n ", "(x (nn b)) "},
         {"(x (nn a)) ", "(x (nn b)) "},
         {"", ""}},
        {"ppcme2 lines read back",
         kTypePpcme2,
         {"( (IP (N a))\n ", "  (ID A,1))\n "},
         {"( (IP (N a)) "},
         {"A,1"}},
    };
    for (const Case& k : cases) {
        test::HandlerFrame frame;
        frame.settings.SetCorpusType(k.type);
        CPPCME2 h;
        h.ResetForFile();
        std::vector<std::string> units;
        std::vector<std::string> ids;
        for (std::string line : k.lines) {
            h.AssembleUnit(frame, line);
            h.ScanLine(frame, line);
            if (!line.empty()) {
                units.push_back(line);
                ids.push_back(h.UnitId());
            }
        }
        std::string line;
        if (h.FinishUnit(frame, line)) {
            h.ScanLine(frame, line);
            units.push_back(line);
            ids.push_back(h.UnitId());
        }
        EXPECT_FALSE(h.FinishUnit(frame, line)) << k.what;
        EXPECT_EQ(units, k.units) << k.what;
        EXPECT_EQ(ids, k.ids) << k.what;
    }
}

TEST(Ppcme2Units, ALongUnitIsHandledWhole)
{
    // 2500 word nodes over 2500 lines, some 25 000 bytes in all.
    test::HandlerFrame frame;
    frame.settings.SetCorpusType(kTypePpcme2);
    frame.settings.ppcme2Node = "NP:noun phrase ";
    CPPCME2 h;
    h.ResetForFile();
    std::string line = "( (IP-MAT (NP ";
    h.AssembleUnit(frame, line);
    std::string words;
    for (int i = 0; i < 2500; ++i) {
        const std::string word = "w" + std::to_string(i);
        words += word + " ";
        line = "  (N " + word + ") ";
        h.AssembleUnit(frame, line);
        ASSERT_TRUE(line.empty());
    }
    line = ")) (ID LONG,1)) ";
    h.AssembleUnit(frame, line);
    ASSERT_GT(line.size(), 20000u);
    h.ScanLine(frame, line);
    EXPECT_EQ(h.UnitId(), "LONG,1");
    h.LocateHit(frame, line, line.find("w2499"));
    EXPECT_EQ(h.HitPos(), "N");
    std::string list = line;
    CPPCME2::StripLabels(list);
    std::string joined;
    for (size_t i = 0; i < list.size(); ++i) {
        if (list[i] != ' ') {
            joined += list[i];
        } else if (!joined.empty() && joined.back() != ' ') {
            joined += ' ';
        }
    }
    EXPECT_EQ(joined, words);
    h.RestoreLine(line);
    EXPECT_EQ(line.substr(0, 15), "( (IP-MAT (NP (");
    EXPECT_EQ(h.ContextSource(), nullptr);
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

TEST(Ppcme2Run, ConcordanceOfEachUnit)
{
    // The first hit's right context runs on into the lines after its unit,
    // as they stand in the file.
    test::ExpectConcordanceTexts(
        {kTypePpcme2,
         kSermon,
         "word",
         test::kParsedHeading,
         {test::ParsedHit(5, "SERMON,1.1", "N", "(NP-OB1 (D the) (N word))) ( (CODE <P"),
          test::ParsedHit(10, "SERMON,1.2", "N", "(NP-SBJ (D the) (N word)) (VBD was) ")}});
}

TEST(Ppcme2Run, TargetNodeSearchedContextShownWhole)
{
    // Only the subject's "word" is found; its line shows the unit unblanked,
    // and the first unit stands unblanked to the left of the second.
    test::TypeConcordance c{
        kTypePpcme2,
        kSermon,
        "word",
        test::kParsedHeading,
        {test::ParsedHit(10, "SERMON,1.2", "N", "(NP-SBJ (D the) (N word)) (VBD was) ")}};
    test::ExpectTargetConcordance(
        c, [](CCorpus& corpus) { corpus.ppcme2Node = "NP-SBJ:noun phrase subject "; },
        "within the node: NP-SBJ ", "within the node:NP-SBJ ");
    // A hit near the start of a unit takes its left context from the unit
    // before it, unblanked.
    c.keyword = "np-sbj";
    c.hits = {test::ParsedHit(5, "SERMON,1.1", "NP-SBJ", "        ( (IP-MAT (NP-SBJ (PRO he)) "),
              test::ParsedHit(10, "SERMON,1.2", "NP-SBJ", "word))) ( (IP-MAT (NP-SBJ (D the) (N")};
    test::ExpectTargetConcordance(
        c, [](CCorpus& corpus) { corpus.ppcme2Node = "NP-SBJ:noun phrase subject "; },
        "within the node: NP-SBJ ", "within the node:NP-SBJ ");
}

TEST(Ppcme2Run, YorkTorontoHelsinkiConcordance)
{
    test::ExpectConcordanceTexts(
        {kTypeYorkTorontoHelsinki,
         kChronicle,
         "cwaeth",
         test::kParsedHeading,
         {test::ParsedHit(5, "cochad,1.1", "VBD", "SBJ (PRO he)) (VBD cwaeth))  ( (CODE "),
          test::ParsedHit(10, "cochad,1.2", "VBD", "  (N cyning)) (VBD cwaeth))")}});
}

TEST(Ppcme2Run, WordListsTakeTheWordsOnly)
{
    struct Case
    {
        int type;
        const char* corpus;
        std::string node;
        std::string note;   // window form
        std::string words;  // window form
        int tokens;
        int types;
    };
    const Case cases[] = {
        {kTypePpcme2, kSermon, "", "",
         "good\t1\r\nhe\t1\r\nsayde\t1\r\nthe\t2\r\nwas\t1\r\nword\t2\r\n", 8, 6},
        {kTypePpcme2, kSermon, "NP-SBJ:noun phrase subject ", "within the node:NP-SBJ ",
         "he\t1\r\nthe\t1\r\nword\t1\r\n", 3, 3},
        {kTypeYorkTorontoHelsinki, kChronicle, "", "", "cwaeth\t2\r\ncyning\t1\r\nhe\t1\r\n", 4, 3},
        {kTypeYorkTorontoHelsinki, kChronicle, "VBD", "within the node:VBD ", "cwaeth\t2\r\n", 2,
         1},
    };
    for (const Case& k : cases) {
        test::EngineTest t;
        const std::string path = t.AddFile("corpus.txt", k.corpus);
        t.ctx.corpus.SetCorpusType(k.type);
        t.ctx.corpus.ppcme2Node = k.node;
        ASSERT_TRUE(t.RunCommand(AnalysisCommand::Wordlist).completed);
        EXPECT_EQ(t.Window(), "Corpus File: " + path + "\r\n" + k.note + "\r\n" + k.words +
                                  "\r\nTotal Tokens:\t" + std::to_string(k.tokens) +
                                  "\r\nTotal Types:\t" + std::to_string(k.types) + "\r\n")
            << k.type << " " << k.node;
    }
}

TEST(Ppcme2Run, BadInputEndsTheRunNormally)
{
    const std::string binary("\0\xff(\x01)\n\x80(ID \0\n\n\r\n", 13);
    const std::string cases[] = {
        "",
        binary,
        std::string(100000, '(') + "\n",
        std::string(100000, ')') + "\n\n",
        "(" + std::string(100000, 'a') + "\n\n",
        "( (CODE <x>)\n(IP (N a) (ID " + std::string(100000, 'a') + "\n",
        "( (IP (NP-SBJ (N a) (N a\n(N a (N a\n",
    };
    const int types[] = {kTypePpcme2, kTypeBrooklyn, kTypeYorkTorontoHelsinki};
    for (const std::string& corpus : cases) {
        for (int type : types) {
            for (AnalysisCommand command : {AnalysisCommand::Wordlist, AnalysisCommand::Concordance,
                                            AnalysisCommand::ConcordanceAll}) {
                test::EngineTest t;
                t.AddFile("bad.txt", corpus);
                t.ctx.corpus.SetCorpusType(type);
                t.ctx.corpus.ppcme2Node = "NP-SBJ";
                t.ctx.corpus.brooklynNode = "a";
                KeywordRequest keyword;
                keyword.keyword = "a";
                EXPECT_TRUE(t.RunCommand(command, keyword).completed)
                    << type << " " << corpus.substr(0, 20);
            }
        }
    }
}

TEST(Ppcme2Run, ALongUnitGivesItsIdentifierAndTags)
{
    std::string corpus = "( (IP-MAT\n";
    for (int i = 0; i < 2000; ++i) {
        corpus += "  (N w" + std::to_string(i) + ")\n";
    }
    corpus += "  (VBD ende)) (ID LONG,1))\n";
    test::EngineTest t;
    t.AddFile("long.txt", corpus);
    t.ctx.corpus.SetCorpusType(kTypePpcme2);
    t.ctx.corpus.SetLineFormat(test::kTypeLineLength, test::kTypePosition);
    KeywordRequest keyword;
    keyword.keyword = "w1999";
    ASSERT_TRUE(t.RunCommand(AnalysisCommand::Concordance, keyword).completed);
    EXPECT_NE(t.Window().find("\r\n(2002) LONG,1 N \r\n      (N w1998) (N w1999) (VBD ende))\r\n"),
              std::string::npos)
        << t.Window();
}

}  // namespace
}  // namespace plix
