// plix-cli and the PPCME2 and Brooklyn pages: a label or tag of the page's
// lists stands for its entry, any other text is taken as typed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/options.h"
#include "engine/context.h"
#include "settings/corpus.h"

namespace plix {
namespace {

TEST(Ppcme2CliOptions, LabelsAndTagsStandForTheirEntries)
{
    struct Case
    {
        std::vector<std::string> args;  // after "wordlist --type PPCME2"
        std::string node;
        std::string pos;
        std::string brooklyn;
    };
    const Case cases[] = {
        {{}, "", "", ""},
        {{"--ppcme2-node", "NP-SBJ"}, "NP-SBJ:noun phrase subject ", "", ""},
        {{"--ppcme2-node=NP-SBJ:noun phrase subject "}, "NP-SBJ:noun phrase subject ", "", ""},
        // Only the exact label is completed; other text is kept as typed.
        {{"--ppcme2-node", "np-sbj"}, "np-sbj", "", ""},
        {{"--ppcme2-node", "NP-SBJ-1"}, "NP-SBJ-1", "", ""},
        {{"--ppcme2-node", ""}, "", "", ""},
        {{"--ppcme2-pos", "VBD"}, "", "VBD: past (including past subjunctive)", ""},
        {{"--ppcme2-pos", "\""}, "", "\": Double quotation marks", ""},
        {{"--ppcme2-pos", "XYZ"}, "", "XYZ", ""},
        // Brooklyn's labels are kept as they are, listed or not.
        {{"--brooklyn-node", "nn"}, "", "", "nn"},
        {{"--brooklyn-node", "NP-SBJ"}, "", "", "NP-SBJ"},
    };
    for (const Case& k : cases) {
        CPlixContext ctx;
        cli::UsageError error;
        std::vector<std::string> args = {"wordlist", "--type", "PPCME2"};
        args.insert(args.end(), k.args.begin(), k.args.end());
        args.push_back("a.ppcme2");
        auto options = cli::ParseAndApply(args, ctx, error);
        ASSERT_TRUE(options.has_value()) << error.message;
        EXPECT_EQ(ctx.corpus.GetCorpusType(), kTypePpcme2);
        EXPECT_EQ(ctx.corpus.ppcme2Node, k.node) << args[3];
        EXPECT_EQ(ctx.corpus.ppcme2Pos, k.pos) << args[3];
        EXPECT_EQ(ctx.corpus.brooklynNode, k.brooklyn) << args[3];
    }
    CPlixContext ctx;
    cli::UsageError error;
    EXPECT_FALSE(cli::ParseAndApply({"wordlist", "a", "--ppcme2-node"}, ctx, error));
    EXPECT_EQ(error.message, "--ppcme2-node: missing value");
}

}  // namespace
}  // namespace plix
