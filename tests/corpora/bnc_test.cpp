// The BNC handler: the markup of the four layouts out of each line and of the
// text read ahead, the word tag of each hit, the reference and heading with
// the "POS" field, and BNC concordances through the whole engine.
#include "corpora/bnc.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "concordance_texts.h"
#include "corpora/sgml.h"
#include "support/handler_frame.h"

namespace plix {
namespace {

constexpr int kText = 0;
constexpr int kPlain = 1;
constexpr int kPos = 2;
constexpr int kSgmlLayout = 3;

// NOTE excluded up to its end tag; the attribute "S N" printed.
void ExcludeNoteAndPrintSentence(CCorpus& c)
{
    c.sgmlTags = {"NOTE"};
    c.sgmlTagInfo = {"NOTE"};
    c.sgmlTagExclude = {1};
    c.sgmlAttributes = {"S N"};
    c.sgmlAttributeInfo = {"S"};
    c.sgmlAttributeOutput = {1};
}

TEST(BncBrackets, StretchesInBracketsLeaveTheText)
{
    struct Case
    {
        std::string text;
        std::string kept;
        std::vector<std::string> tags;  // "offset:tag" of each word tag removed
    };
    const std::string longTag = "[w " + std::string(100000, 'x');
    const Case cases[] = {
        {"[w NN1]cat [w VVZ]sits", "cat sits", {"0:NN1", "4:VVZ"}},
        {"[w NN1]dog[c PUN].", "dog.", {"0:NN1", "3:PUN"}},
        {"[s n=1][W AJ0]old", "old", {"0:AJ0"}},  // a sentence is no word
        {"[w ]x [w]y", "x y", {"0:"}},
        {"a [w NN1 b", "a ", {}},  // a "[" without a "]" takes the rest
        {"[[a]b]", "b]", {}},
        {"x]y", "x]y", {}},
        {longTag, "", {}},
        {"", "", {}},
    };
    for (const Case& k : cases) {
        std::string text = k.text;
        std::vector<CBNC::WordTagAt> found;
        CBNC::RemoveBracketTags(text, &found);
        EXPECT_EQ(text, k.kept) << k.text.substr(0, 40);
        std::vector<std::string> tags;
        for (const CBNC::WordTagAt& tag : found) {
            tags.push_back(std::to_string(tag.at) + ":" + tag.tag);
        }
        EXPECT_EQ(tags, k.tags) << k.text.substr(0, 40);
    }
}

TEST(BncWordTag, EachHitGetsTheTagOfItsOwnWordOrNone)
{
    struct Case
    {
        const char* what;
        int layout;
        std::vector<std::string> lines;  // the hits are in the last one
        std::string cleaned;
        std::vector<size_t> positions;  // in the order the hits are located
        std::vector<std::string> tags;
    };
    const Case cases[] = {
        {"the example of the Text layout",
         kText,
         {"<s n=1><w AT0>The <w NN1>cat "},
         "The cat ",
         {4, 0, 5},
         {"NN1", "AT0", "NN1"}},  // inside a word: the word's tag
        {"the tag right before the word",
         kText,
         {"<w PNP>It <w VVD>rained "},
         "It rained ",
         {3},
         {"VVD"}},
        {"punctuation has its own tag",
         kText,
         {"<w NN1>dog<c PUN>. "},
         "dog. ",
         {3, 0},
         {"PUN", "NN1"}},
        {"a word without a tag gets none", kText, {"<w AT0>The cat "}, "The cat ", {4}, {""}},
        {"attributes of other elements are no tags",
         kText,
         {"<u who=PS1><s n=2>Hello <w ITJ>hi "},
         "Hello hi ",
         {0, 6},
         {"", "ITJ"}},
        {"a tag inside an excluded element names no word",
         kText,
         {"x <note><w NN1>foo</note>bar "},
         "x bar ",
         {2},
         {""}},
        {"text moved by an exclusion",
         kText,
         {"<w AT0>The <note>n</note><w NN1>cat "},
         "The cat ",
         {4},
         {"NN1"}},
        {"the second line of a tag split over lines",
         kText,
         {"<w AT0>The <w", "NN1>cat <w VVZ>sat "},
         "cat sat ",
         {0, 4},
         {"", "VVZ"}},
        {"a tag left open at the end of the line",
         kText,
         {"<w AT0>The <w NN1 cat"},
         "The ",
         {0, 9},
         {"AT0", ""}},
        {"a hit past the line", kText, {"<w AT0>a "}, "a ", {7}, {""}},
        {"the Plain layout",
         kPlain,
         {"[w NN1]cat [w VVZ]sits "},
         "cat sits ",
         {4, 0},
         {"VVZ", "NN1"}},
        {"a hit element first",
         kPos,
         {"<hit n=1>[w AT0]the [w NN1]cat "},
         "the cat ",
         {4},
         {"NN1"}},
        {"a sentence in the SGML layout",
         kSgmlLayout,
         {"[s n=1][w AT0]the [w NN1]cat "},
         "the cat ",
         {0},
         {"AT0"}},
        {"angle tags are markup in a bracket layout",
         kPlain,
         {"<w NN1>cat [w VVZ]sits "},
         "cat sits ",
         {0, 4},
         {"", "VVZ"}},
        {"a bracket left open", kPlain, {"[w AT0]the [w NN1 cat "}, "the ", {0}, {"AT0"}},
        {"a blank after the tag", kPlain, {"[w NN1] cat "}, " cat ", {1}, {"NN1"}},
    };
    for (const Case& k : cases) {
        CCorpus settings;
        ExcludeNoteAndPrintSentence(settings);
        settings.bncFormat = k.layout;
        CSgml sgml;
        CBNC bnc(sgml);
        sgml.ResetForFile();
        bnc.ResetForFile();
        std::string line;
        for (const std::string& text : k.lines) {
            line = text;
            bnc.ReadLine(settings, line);
        }
        EXPECT_EQ(line, k.cleaned) << k.what;
        EXPECT_EQ(bnc.RawLine(), k.lines.back()) << k.what;
        std::vector<std::string> tags;
        for (size_t position : k.positions) {
            bnc.FindWordTag(position);
            tags.push_back(bnc.WordTag());
        }
        EXPECT_EQ(tags, k.tags) << k.what;
    }
}

TEST(BncClean, LinesAndContextTextsPerLayout)
{
    struct Case
    {
        const char* what;
        int layout;
        std::string line;  // read before the text
        std::string text;
        std::string lineKept;
        std::string textKept;
    };
    const Case cases[] = {
        {"Text: the SGML tags", kText, "a ", "<w AT0>the <w NN1>cat\n", "a ", "the cat\n"},
        {"Text: brackets are text", kText, "[w x]a ", "[c PUN]!\n", "[w x]a ", "[c PUN]!\n"},
        {"Plain: tags and brackets", kPlain, "[w AT0]a ", "<p>[w NN1]cat\n", "a ", "cat\n"},
        {"a context text after a line ending inside a tag", kPos, "a <hit", "n=2>[w NN1]cat\n",
         "a ", "cat\n"},
        // The reading has taken every tag out of the line: what is left of a
        // line that ends inside a tag is text, ">" and all.
        {"a line ending inside a tag keeps its text", kPlain, "a > b <w", "x\n", "a > b ", ""},
        {"an unclosed bracket in a context text", kSgmlLayout, "a ", "[s n=1] x [w NN1\n", "a ",
         " x "},
    };
    for (const Case& k : cases) {
        test::HandlerFrame frame;
        frame.settings.bncFormat = k.layout;
        CSgml sgml;
        CBNC bnc(sgml);
        sgml.ResetForFile();
        bnc.ResetForFile();
        std::string line = k.line;
        bnc.ScanLine(frame, line);
        EXPECT_EQ(line, k.lineKept) << k.what;
        std::string text = k.text;
        bnc.CleanFollowingText(frame, text);
        EXPECT_EQ(text, k.textKept) << k.what;
    }
}

TEST(BncLayout, TheDelimitersAreChosenForEachFile)
{
    test::HandlerFrame frame;
    CSgml sgml;
    CBNC bnc(sgml);
    for (int layout : {kPlain, kText, kSgmlLayout}) {
        frame.settings.bncFormat = layout;
        bnc.ResetForFile();
        std::string line = "x ";
        bnc.ScanLine(frame, line);
        EXPECT_EQ(bnc.TagOpen(), layout == kText ? '<' : '[') << layout;
        EXPECT_EQ(bnc.TagClose(), layout == kText ? '>' : ']') << layout;
        EXPECT_EQ(bnc.WordTag(), "");
    }
}

TEST(BncReference, WordTagFieldAndPosHeading)
{
    struct Case
    {
        int type;
        bool pos;
        std::string reference;
        std::string heading;
    };
    const Case cases[] = {
        {kOutputText, true, "(7) 4 NN1 ", "(line) S N POS Occurrence\r\n"},
        {kOutputText, false, "(7) 4 ", "(line) S N Occurrence\r\n"},
        {kOutputTab, true, "7\t4\tNN1\t", "line\tS N\tPOS\tOccurrence\r\n"},
        {kOutputXml, true, "<hit file=\"f.bnc\" line=\"7\"><S N>4</S N><wordtag>NN1</wordtag>",
         "\r\n"},
        {kOutputXml, false, "<hit file=\"f.bnc\" line=\"7\"><S N>4</S N>", "\r\n"},
    };
    for (const Case& k : cases) {
        test::HandlerFrame frame;
        ExcludeNoteAndPrintSentence(frame.settings);
        frame.settings.SetOutputType(k.type);
        frame.settings.bncPosOutput = k.pos;
        frame.line = 7;
        frame.source = "f.bnc";
        CSgml sgml;
        CBNC bnc(sgml);
        sgml.ResetForFile();
        bnc.ResetForFile();
        std::string line = "<s n=4><w NN1>cat ";
        bnc.ScanLine(frame, line);
        bnc.LocateHit(frame, line, 0);
        std::string reference = "kept:";
        bnc.MakeReference(frame, k.type, reference);
        EXPECT_EQ(reference, "kept:" + k.reference) << k.type << k.pos;
        bnc.WriteColumnHeading(frame, k.type);
        EXPECT_EQ(frame.written, k.heading) << k.type << k.pos;
    }
}

TEST(BncRun, TextLayoutWithAnExcludedElementAndAnAttribute)
{
    // The "cat" inside the note is not found; the first hit's right context
    // comes from the next lines, their tags stripped, and those lines come
    // back from the read-ahead with their line ends, a second blank each.
    test::TypeOptions options;
    options.configure = ExcludeNoteAndPrintSentence;
    options.headerLines = {"Excluded Tag:NOTE"};
    test::ExpectConcordanceTexts(
        {
            kTypeBnc,
            "<s n=1><w AT0>The <w NN1>cat <w VVD>sat<note>a <w NN1>cat note</note> <w PRP>on\n"
            "<w AT0>the <w NN1>mat<c PUN>.\n"
            "<s n=2><w NN1>Cat<c PUN>!\n",
            "cat",
            "(line) S N POS Occurrence",
            {
                {"(1) 1 NN1 ", "<hit file=\"{file}\" line=\"1\"><S N>1</S N><wordtag>NN1</wordtag>",
                 std::string(15, ' ') + "The cat sat on the mat."},
                {"(3) 2 NN1 ", "<hit file=\"{file}\" line=\"3\"><S N>2</S N><wordtag>NN1</wordtag>",
                 "  sat on the mat.  Cat! "},
            },
        },
        options);
}

TEST(BncRun, PosLayout)
{
    test::TypeOptions options;
    options.configure = [](CCorpus& c) { c.bncFormat = kPos; };
    test::ExpectConcordanceTexts(
        {
            kTypeBnc,
            "<hit n=1>[w AT0]The [w NN1]cat [w VVZ]sits\n"
            "[w PRP]on [w AT0]the [w NN1]mat[c PUN].\n",
            "sits",
            "(line) POS Occurrence",
            {
                {"(1) VVZ ", "<hit file=\"{file}\" line=\"1\"><wordtag>VVZ</wordtag>",
                 std::string(11, ' ') + "The cat sits on the mat."},
            },
        },
        options);
}

}  // namespace
}  // namespace plix
