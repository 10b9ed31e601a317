// The ICE handler: unit markers, stretch markers, text identifiers and tree
// nodes read out of each line, the lines read ahead turned into their words,
// the filters of the options page, the references and headings, and ICE
// concordances through the whole engine.
#include "corpora/ice.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "concordance_texts.h"
#include "support/engine_fixture.h"
#include "support/handler_frame.h"

namespace plix {
namespace {

// What the handler holds, in one line: unit, subtext, speaker (0 shown as
// "0"), identifier, the node's three values and the three stretch flags.
std::string State(const CICE& ice)
{
    const std::string speaker = ice.Speaker() == 0 ? "0" : std::string(1, ice.Speaker());
    return "u=" + ice.Unit() + " s=" + ice.Subtext() + " p=" + speaker + " id=" + ice.FileId() +
           " node=" + ice.Function() + "," + ice.Category() + "(" + ice.Features() + ") " +
           (ice.InIgnored() ? "I" : "-") + (ice.InAddition() ? "A" : "-") +
           (ice.InOverlap() ? "O" : "-");
}

TEST(IceLabels, TheOptionsPageListsTheLabelsInOrder)
{
    EXPECT_EQ(CICE::functionLabels.front(), "A");
    EXPECT_EQ(CICE::functionLabels[56], "NPHD");
    EXPECT_EQ(CICE::functionLabels.back(), "?");
    EXPECT_EQ(CICE::featureLabels.front(), "add");
    EXPECT_EQ(CICE::featureLabels.back(), "with");
    std::vector<std::string> blankEnded;
    for (std::string_view label : CICE::featureLabels) {
        if (!label.empty() && label.back() == ' ') {
            blankEnded.emplace_back(label);
        }
    }
    EXPECT_EQ(blankEnded, (std::vector<std::string>{"disc ", "ellipt ", "encl ", "neg "}));
}

TEST(IceReadLine, EachKindOfLineGivesItsValuesAndItsWord)
{
    struct Case
    {
        const char* what;
        std::vector<std::string> lines;  // after a reset and the source name "f.ice"
        std::string kept;                // the last line after reading
        std::string state;
    };
    const std::string longWord(100000, 'w');
    const Case cases[] = {
        // Markup lines.
        {"a full unit marker", {"[<#12:3:B> <->] "}, "", "u=12 s=3 p=B id=f.ice node=,() I--"},
        {"no speaker: a blank", {"[<#5:1>] "}, "", "u=5 s=1 p=  id=f.ice node=,() ---"},
        {"cut in the subtext at the line end",
         {"[<#12:3 "},
         "",
         "u=12 s=3 p=  id=f.ice node=,() ---"},
        {"cut in the unit", {"[<#12 "}, "", "u=12 s= p=  id=f.ice node=,() ---"},
        {"the marker at the very end", {"[<#"}, "", "u= s= p=  id=f.ice node=,() ---"},
        {"cut after the second colon", {"[<#1:2:"}, "", "u=1 s=2 p=  id=f.ice node=,() ---"},
        {"a unit without subtext", {"[<#12>] "}, "", "u=12 s= p=  id=f.ice node=,() ---"},
        {"an empty speaker", {"[<#1:2:>] "}, "", "u=1 s=2 p=  id=f.ice node=,() ---"},
        {"a markup line without a marker keeps the unit",
         {"[<#4:1:A>] ", "[<+>] "},
         "",
         "u=4 s=1 p=A id=f.ice node=,() -A-"},
        {"opened and closed on one line", {"[<-> x </->] "}, "", "u= s= p=0 id=f.ice node=,() ---"},
        {"each stretch closed by its own marker",
         {"[<-> <+> <[>] ", "[</+>] "},
         "",
         "u= s= p=0 id=f.ice node=,() I-O"},
        // Text lines.
        {"the identifier up to the blank",
         {"<ICE-GB:S1A-001 #1:1:A> "},
         "",
         "u= s= p=0 id=S1A-001 node=,() ---"},
        {"and up to the end of the element",
         {"<ICE-GB:S1A-002>\n "},
         "",
         "u= s= p=0 id=S1A-002 node=,() ---"},
        {"at the very end of the line", {"<ICE-GB:"}, "", "u= s= p=0 id= node=,() ---"},
        {"a text line with a word", {"<X:Y> {Hello} "}, "Hello ", "u= s= p=0 id=Y node=,() ---"},
        // Node lines.
        {"a word node",
         {"NPHD,N(prop,sing) {London} "},
         "London ",
         "u= s= p=0 id=f.ice node=NPHD,N(prop,sing) ---"},
        {"indented and read back from the lines read ahead",
         {"  NPHD,N(prop,sing) {London}\n "},
         "London ",
         "u= s= p=0 id=f.ice node=NPHD,N(prop,sing) ---"},
        {"an inner node sets its values and leaves nothing",
         {"CL,CL(main,intr) "},
         "",
         "u= s= p=0 id=f.ice node=CL,CL(main,intr) ---"},
        {"values cut at the line end",
         {"NPHD,N(prop "},
         "",
         "u= s= p=0 id=f.ice node=NPHD,N(prop) ---"},
        {"no parenthesis keeps the last node's values",
         {"SU,NP(sing) ", "X,Y {x} "},
         "x ",
         "u= s= p=0 id=f.ice node=SU,NP(sing) ---"},
        {"a brace without its end",
         {"PU,PUNC() {dash "},
         "dash ",
         "u= s= p=0 id=f.ice node=PU,PUNC() ---"},
        {"only the first braces", {"{a} {b} "}, "a ", "u= s= p=0 id=f.ice node=,() ---"},
        {"a 100 000-byte word",
         {"N,N() {" + longWord + "} "},
         longWord + " ",
         "u= s= p=0 id=f.ice node=N,N() ---"},
        {"an empty window line", {""}, "", "u= s= p=0 id=f.ice node=,() ---"},
        {"bytes of no kind",
         {std::string("\x01\xff(\x00,", 5)},
         "",
         "u= s= p=0 id=f.ice node=,() ---"},
    };
    for (const Case& k : cases) {
        CICE ice;
        ice.Reset();
        ice.SetFileId("f.ice");
        std::string line;
        for (const std::string& text : k.lines) {
            line = text;
            ice.ReadLine(line);
        }
        EXPECT_EQ(line, k.kept) << k.what;
        EXPECT_EQ(State(ice), k.state) << k.what;
    }
}

TEST(IceCleanText, LinesReadAheadGiveTheWordsOfTheirBraces)
{
    const std::pair<std::string, std::string> cases[] = {
        {"NPHD,N(prop,sing) {London}\n", "London "},
        {"[<#1:1:A>] {x}\n", ""},  // a markup line
        {"[no closing bracket {x}\n", ""},
        {"CL,CL(main)\n", ""},
        {"{a} {b}\n", "a b "},
        {"{a\n", "a "},  // a brace without its end: the rest of the line
        {"x}{y}\n", "y "},
        {"{\n", " "},
        {"", ""},
    };
    for (const auto& [text, words] : cases) {
        std::string cleaned = text;
        CICE::CleanText(cleaned);
        EXPECT_EQ(cleaned, words) << text;
    }
}

TEST(IceFilter, TheOptionsPageChoosesTheLines)
{
    const std::vector<std::string> corpus = {
        "<ICE-GB:S1A-001 #1:1:A> ",
        "[<#1:1:A> <->] ",
        "NPHD,N(prop,sing) {London} ",
        "[</->] ",
        "[<#2:1:A>] ",
        "VB,V(intr,pres) {rains} ",
        "[<#3:2:B> <+>] ",
        "AVHD,ADV(inten) {very} ",
        "[</+> <[>] ",
        "AJHD,ADJ(ge) {hard} ",
        "[</[>] ",
        "[<#4:2>] ",
        "PU,PUNC() {.} ",
    };
    struct Case
    {
        const char* what;
        void (*set)(CCorpus&);
        std::vector<std::string> words;
    };
    const Case cases[] = {
        {"nothing chosen", [](CCorpus&) {}, {"London", "rains", "very", "hard", "."}},
        {"function as a substring", [](CCorpus& c) { c.iceFunction = "NP"; }, {"London"}},
        {"function", [](CCorpus& c) { c.iceFunction = "HD"; }, {"London", "very", "hard"}},
        {"category", [](CCorpus& c) { c.iceCategory = "N"; }, {"London", "."}},
        {"feature", [](CCorpus& c) { c.iceFeature = "in"; }, {"London", "rains", "very"}},
        {"feature, case-sensitive", [](CCorpus& c) { c.iceFeature = "Pres"; }, {}},
        {"ignored", [](CCorpus& c) { c.iceIgnored = 1; }, {"rains", "very", "hard", "."}},
        {"addition", [](CCorpus& c) { c.iceAddition = 1; }, {"London", "rains", "hard", "."}},
        {"overlap", [](CCorpus& c) { c.iceOverlap = 1; }, {"London", "rains", "very", "."}},
        {"speaker", [](CCorpus& c) { c.iceSpeaker = "B"; }, {"very", "hard"}},
        {"speaker of the blank marker",
         [](CCorpus& c) { c.iceSpeaker = "A"; },
         {"London", "rains"}},
        {"subtext, exactly", [](CCorpus& c) { c.iceSubtext = "2"; }, {"very", "hard", "."}},
        {"a subtext that is only a prefix", [](CCorpus& c) { c.iceSubtext = "1:"; }, {}},
        {"all together",
         [](CCorpus& c) {
             c.iceFunction = "HD";
             c.iceSpeaker = "B";
             c.iceOverlap = 1;
         },
         {"very"}},
    };
    for (const Case& k : cases) {
        CCorpus settings;
        k.set(settings);
        CICE ice;
        ice.Reset();
        std::vector<std::string> words;
        for (std::string line : corpus) {
            ice.ReadLine(line);
            if (ice.Accepts(settings) && !line.empty()) {
                words.push_back(line.substr(0, line.size() - 1));
            }
        }
        EXPECT_EQ(words, k.words) << k.what;
    }
}

TEST(IceReference, FieldsAndHeadingsPerOutputType)
{
    struct Case
    {
        int type;
        bool nodeValues;  // Function, Category and Feature switched on
        bool marker;      // a unit marker has been read
        std::string reference;
        std::string heading;
    };
    const Case cases[] = {
        // Before the first marker the speaker is an empty field.
        {kOutputText, false, false, "(4) S1A    ",
         "(line) File Unit Subtext Speaker Occurrence\r\n"},
        {kOutputText, true, true, "(4) S1A 3 2 B NPHD N prop,sing ",
         "(line) File Unit Subtext Speaker Function Category Feature Occurrence\r\n"},
        {kOutputTagged, true, true, "f.ice(4):S1A:3:2:B:NPHD:N:prop,sing:",
         "filename(line):File:Unit:Subtext:Speaker:Function:Category:Feature:Occurrence\r\n"},
        {kOutputXml, true, false,
         "<hit file=\"f.ice\" line=\"4\"><fileID>S1A</fileID><unit></unit><subtext></subtext>"
         "<speaker></speaker><function>NPHD</function><category>N</category>"
         "<feature>prop,sing</feature>",
         "\r\n"},
    };
    for (const Case& k : cases) {
        test::HandlerFrame frame;
        frame.settings.SetOutputType(k.type);
        frame.settings.iceFunctionOn = k.nodeValues;
        frame.settings.iceCategoryOn = k.nodeValues;
        frame.settings.iceFeatureOn = k.nodeValues;
        frame.line = 4;
        frame.source = "f.ice";
        CICE ice;
        ice.ResetForFile();
        ice.SourceOpened("f.ice");
        for (std::string line : {std::string("<ICE:S1A> "), std::string("[<#3:2:B>] "),
                                 std::string("NPHD,N(prop,sing) {x} ")}) {
            if (k.marker || line[0] != '[') {
                ice.ScanLine(frame, line);
            }
        }
        std::string reference = "kept:";
        ice.MakeReference(frame, k.type, reference);
        EXPECT_EQ(reference, "kept:" + k.reference) << k.type;
        EXPECT_EQ(reference.find('\0'), std::string::npos);
        ice.WriteColumnHeading(frame, k.type);
        EXPECT_EQ(frame.written, k.heading) << k.type;
    }
}

// A word before the text line names the file by its path and has no unit or
// speaker yet; the second hit takes its right context from the lines read
// ahead for the first, and the markup and inner nodes among them leave
// nothing in it.
const char kTalk[] =
    "NPHD,N(prop,sing) {London}\n"
    "[<#1:1:A>]\n"
    "<ICE-GB:S1A-001 #1:1:A>\n"
    "PU,CL(main,intr,pres)\n"
    "SU,NP()\n"
    "NPHD,N(prop,sing) {London}\n"
    "VB,V(intr,pres) {is}\n"
    "[<#2:1:B>]\n"
    "AJHD,ADJ(ge) {big}\n";

TEST(IceRun, ConcordanceWithTheUnitFields)
{
    test::ExpectConcordanceTexts({
        kTypeIce,
        kTalk,
        "london",
        "(line) File Unit Subtext Speaker Occurrence",
        {
            {"(1) {file}    ",
             "<hit file=\"{file}\" line=\"1\"><fileID>{file}</fileID><unit></unit>"
             "<subtext></subtext><speaker></speaker>",
             std::string(19, ' ') + "London London is"},
            {"(6) S1A-001 1 1 A ",
             "<hit file=\"{file}\" line=\"6\"><fileID>S1A-001</fileID><unit>1</unit>"
             "<subtext>1</subtext><speaker>A</speaker>",
             std::string(12, ' ') + "London London is big"},
        },
    });
}

TEST(IceRun, ConcordanceWithTheNodeValuesAndAFilter)
{
    test::TypeConcordance c{
        kTypeIce,
        kTalk,
        "is",
        "(line) File Unit Subtext Speaker Function Category Feature Occurrence",
        {
            // Only the nodes whose function holds "V" are searched; the
            // lines left out still make the left context.
            {"(7) S1A-001 1 1 A VB V intr,pres ",
             "<hit file=\"{file}\" line=\"7\"><fileID>S1A-001</fileID><unit>1</unit>"
             "<subtext>1</subtext><speaker>A</speaker><function>VB</function>"
             "<category>V</category><feature>intr,pres</feature>",
             std::string(5, ' ') + "London London is big"},
        },
    };
    test::TypeOptions options;
    options.configure = [](CCorpus& settings) {
        settings.iceFunctionOn = 1;
        settings.iceCategoryOn = 1;
        settings.iceFeatureOn = 1;
        settings.iceFunction = "V";
    };
    test::ExpectConcordanceTexts(c, options);
}

}  // namespace
}  // namespace plix
