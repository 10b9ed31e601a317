// plix-cli and the ICE and BNC pages: the options set the fields the pages
// set, and refuse what the pages refuse.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/options.h"
#include "engine/context.h"
#include "settings/corpus.h"

namespace plix {
namespace {

// The ICE and BNC fields of the record in one line.
std::string Fields(const CCorpus& c)
{
    return "show=" + std::to_string(c.iceFunctionOn) + std::to_string(c.iceCategoryOn) +
           std::to_string(c.iceFeatureOn) + " f=" + c.iceFunction + " c=" + c.iceCategory +
           " e=" + c.iceFeature + " text=" + std::to_string(c.iceIgnored) +
           std::to_string(c.iceAddition) + std::to_string(c.iceOverlap) + " p=" + c.iceSpeaker +
           " s=" + c.iceSubtext + " bnc=" + std::to_string(c.bncFormat) +
           std::to_string(c.bncPosOutput);
}

TEST(IceBncCliOptions, TheOptionsSetThePagesFields)
{
    struct Case
    {
        std::vector<std::string> args;  // after "wordlist --type ..."
        std::string fields;
    };
    const std::string none = "show=000 f= c= e= text=000 p= s= bnc=01";
    const Case cases[] = {
        {{}, none},
        {{"--ice-show", "function,feature"}, "show=101 f= c= e= text=000 p= s= bnc=01"},
        {{"--ice-show", ""}, none},
        {{"--ice-function", "NP", "--ice-category", "N", "--ice-feature", "encl "},
         "show=000 f=NP c=N e=encl  text=000 p= s= bnc=01"},
        {{"--ice-ignored", "--ice-overlap"}, "show=000 f= c= e= text=101 p= s= bnc=01"},
        {{"--ice-speaker", "b", "--ice-subtext", "2"}, "show=000 f= c= e= text=000 p=B s=2 bnc=01"},
        {{"--bnc-format", "POS", "--no-bnc-pos"}, "show=000 f= c= e= text=000 p= s= bnc=20"},
        {{"--bnc-format", "sgml"}, "show=000 f= c= e= text=000 p= s= bnc=31"},
    };
    for (const Case& k : cases) {
        CPlixContext ctx;
        cli::UsageError error;
        std::vector<std::string> args = {"wordlist", "--type", "ICE"};
        args.insert(args.end(), k.args.begin(), k.args.end());
        args.push_back("a.ice");
        auto options = cli::ParseAndApply(args, ctx, error);
        ASSERT_TRUE(options.has_value()) << error.message;
        EXPECT_EQ(ctx.corpus.GetCorpusType(), kTypeIce);
        EXPECT_EQ(Fields(ctx.corpus), k.fields) << args[3];
    }
}

TEST(IceBncCliOptions, UsageErrorsNameTheOption)
{
    struct Case
    {
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        {{"--ice-speaker", "AB"}, "--ice-speaker: Please enter no more than 1 characters."},
        {{"--ice-show", "function,speaker"}, "--ice-show: unknown switch \"speaker\""},
        {{"--bnc-format", "xml"}, "--bnc-format: expected text, plain, pos or sgml"},
    };
    for (const Case& k : cases) {
        CPlixContext ctx;
        cli::UsageError error;
        std::vector<std::string> args = {"wordlist", "--type", "BNC"};
        args.insert(args.end(), k.args.begin(), k.args.end());
        args.push_back("a.bnc");
        EXPECT_FALSE(cli::ParseAndApply(args, ctx, error).has_value()) << k.message;
        EXPECT_NE(error.message.find(k.message), std::string::npos) << error.message;
    }
}

}  // namespace
}  // namespace plix
