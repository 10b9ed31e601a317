// BNC lines in each layout: the SGML reading and the bracket cleaning, the
// text read ahead cleaned, and the word tag at every position of every line,
// over arbitrary bytes. The cleaning leaves no markup delimiter that opens a
// tag; a word tag is found only for a position inside the line, and does not
// depend on the order in which the positions are asked for.
#include <vector>

#include "corpora/bnc.h"
#include "corpora/sgml.h"
#include "fuzz_frame.h"

namespace {

void Require(bool condition)
{
    if (!condition) {
        __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace plix;
    fuzz::FuzzInput input(data, size);
    fuzz::FuzzFrame frame;
    input.Configure(frame);
    CCorpus& c = frame.settings;
    const int layout = input.switches & 3;
    c.bncFormat = layout;
    c.bncPosOutput = (input.switches >> 2) & 1;
    c.sgmlTags = {"NOTE", "P"};
    c.sgmlTagInfo = {"NOTE", ""};
    c.sgmlTagExclude = {(input.switches >> 3) & 1u, (input.switches >> 4) & 1u};
    c.sgmlAttributes = {"S N"};
    c.sgmlAttributeInfo = {"S"};
    c.sgmlAttributeOutput = {(input.switches >> 5) & 1u};

    CSgml sgml;
    CBNC bnc(sgml);
    sgml.ResetForFile();
    bnc.ResetForFile();
    sgml.WriteHeader(frame);
    bnc.WriteColumnHeading(frame, frame.OutputType());
    const std::vector<std::string> lines = input.Lines();
    std::vector<std::string> forwards;
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string line = lines[i];
        if ((i & 1) != 0) {
            line.insert(line.size() - 1, "\n");  // read back from the lines read ahead
        }
        const size_t before = line.size();
        bnc.ScanLine(frame, line);
        Require(line.size() <= before);
        Require(line.find('<') == std::string::npos);
        Require(layout == 0 || line.find('[') == std::string::npos);

        forwards.clear();
        for (size_t position = 0; position <= line.size() + 1; ++position) {
            bnc.LocateHit(frame, line, position);
            Require(bnc.WordTag().empty() || position < line.size());
            Require(bnc.WordTag().size() <= before);
            forwards.push_back(bnc.WordTag());
            std::string reference;
            bnc.MakeReference(frame, frame.OutputType(), reference);
        }
        for (size_t position = line.size() + 2; position-- > 0;) {
            bnc.FindWordTag(position);
            Require(bnc.WordTag() == forwards[position]);
        }

        std::string following;
        for (size_t k = i + 1; k < lines.size() && following.size() < 100; ++k) {
            following += lines[k] + "\n";
        }
        bnc.CleanFollowingText(frame, following);
        Require(following.find('<') == std::string::npos);
        Require(layout == 0 || following.find('[') == std::string::npos);
        ++frame.line;
    }
    std::string whole = input.text;
    CBNC::RemoveBracketTags(whole, nullptr);
    Require(whole.find('[') == std::string::npos);
    return 0;
}
