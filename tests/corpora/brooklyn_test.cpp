// The Brooklyn corpus: its label list, its header note and heading, and
// Brooklyn runs through the whole engine, where the parsed-text handler does
// the line work with the label searched as plain text.
#include "corpora/brooklyn.h"

#include <gtest/gtest.h>

#include <string>

#include "concordance_texts.h"
#include "support/handler_frame.h"

namespace plix {
namespace {

TEST(BrooklynHeader, TheNodeNoteTheHeadingAndTheLabels)
{
    struct Case
    {
        int outputType;
        bool toFile;
        std::string node;
        std::string written;  // the note, then the column heading
    };
    const Case cases[] = {
        {kOutputText, true, "IP-S", "within the node: IP-S(line) Reference POS Occurrence\n"},
        {kOutputText, false, "nn", "within the node:nn(line) Reference POS Occurrence\r\n"},
        {kOutputComma, true, "", "\"line\",\"Reference\",\"POS\",\"Occurrence\"\n"},
    };
    for (const Case& k : cases) {
        test::HandlerFrame frame;
        frame.settings.SetCorpusType(kTypeBrooklyn);
        frame.settings.SetOutputType(k.outputType);
        frame.settings.brooklynNode = k.node;
        frame.toFile = k.toFile;
        CBrooklyn h;
        h.WriteHeader(frame);
        h.WriteColumnHeading(frame, k.outputType);
        EXPECT_EQ(frame.written, k.written) << k.outputType << " " << k.node;
    }
    EXPECT_EQ(CBrooklyn::GetLabelCount(), 119);
    EXPECT_EQ(CBrooklyn::GetLabelEntry(46), "IP-S-1");
    EXPECT_EQ(CBrooklyn::GetLabelEntry(118), "x");
    EXPECT_EQ(CBrooklyn::GetLabelEntry(119), "");
}

// Three blocks; the first hit reads ahead past the empty line that ends the
// second block, and the last block has no empty line after it.
const char kStory[] =
    "(IP-M (nn cyning)\n"
    "(vt cwaeth)\n"
    "(pp to (nn him)))\n"
    "\n"
    "(IP-S (nn lareow)\n"
    "(vt cwaeth))\n"
    "\n"
    "(IP-M (nn cyning)\n"
    "(vt cwaeth))\n";

test::TypeConcordance StoryConcordance()
{
    return {kTypeBrooklyn,
            kStory,
            "cwaeth",
            "(line) Reference POS Occurrence",
            {test::ParsedHit(4, "", "vt", " M (nn cyning) (vt cwaeth) (pp to (nn"),
             test::ParsedHit(7, "", "vt", " S (nn lareow) (vt cwaeth)) (IP-M (nn"),
             test::ParsedHit(9, "", "vt", " M (nn cyning) (vt cwaeth))")}};
}

test::TypeOptions Target(const std::string& label)
{
    test::TypeOptions options;
    options.configure = [label](CCorpus& c) { c.brooklynNode = label; };
    options.fileNote = "within the node: " + label;
    options.windowNote = "within the node:" + label;
    return options;
}

TEST(BrooklynRun, EachBlockIsAUnit)
{
    test::ExpectConcordanceTexts(StoryConcordance());
    // Each hit in its "vt" node has that node's tag, although the bracket
    // before the label is blanked in the text searched.
    test::ExpectConcordanceTexts(StoryConcordance(), Target("vt"));
    // "IP-S" is found in the second block only, and keeps its whole node.
    test::TypeConcordance c = StoryConcordance();
    c.hits = {c.hits[1]};
    test::ExpectConcordanceTexts(c, Target("IP-S"));
}

TEST(BrooklynRun, WordListsTakeTheWordsOnly)
{
    // With a target the label is no word, though its bracket is blanked.
    const std::pair<std::string, std::string> cases[] = {
        {"",
         "cwaeth\t3\r\ncyning\t2\r\nhim\t1\r\nlareow\t1\r\nto\t1\r\n\r\nTotal Tokens:\t8\r\n"
         "Total Types:\t5\r\n"},
        {"nn", "cyning\t2\r\nhim\t1\r\nlareow\t1\r\n\r\nTotal Tokens:\t4\r\nTotal Types:\t3\r\n"},
    };
    for (const auto& [node, words] : cases) {
        test::EngineTest t;
        const std::string path = t.AddFile("story.txt", kStory);
        t.ctx.corpus.SetCorpusType(kTypeBrooklyn);
        t.ctx.corpus.brooklynNode = node;
        ASSERT_TRUE(t.RunCommand(AnalysisCommand::Wordlist).completed);
        const std::string note = node.empty() ? "" : "within the node:" + node;
        EXPECT_EQ(t.Window(), "Corpus File: " + path + "\r\n" + note + "\r\n" + words) << node;
    }
}

}  // namespace
}  // namespace plix
