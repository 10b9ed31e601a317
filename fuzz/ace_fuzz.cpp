// ACE texts: the identifier taken out of "<id>" elements, then the SGML
// markup; references, headers and the stripping of read-ahead text, over
// arbitrary bytes.
#include <cctype>

#include "corpora/ace.h"
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
    frame.settings.sgmlTags = {"NOTE", "P"};
    frame.settings.sgmlTagInfo = {"NOTE", ""};
    frame.settings.sgmlTagExclude = {input.switches & 1u, (input.switches >> 1) & 1u};
    CSgml sgml;
    CACE ace(sgml);
    sgml.ResetForFile();
    ace.ResetForFile();
    ace.WriteHeader(frame);
    for (std::string line : input.Lines()) {
        std::string alone = line;
        ace.TakeIdentifier(alone);
        Require(alone.find("<id>") == std::string::npos);
        for (char c : ace.TextId()) {
            Require(!std::isspace(static_cast<unsigned char>(c)));
        }
        ace.ScanLine(frame, line);
        std::string reference;
        ace.MakeReference(frame, frame.OutputType(), reference);
        ++frame.line;
    }
    std::string following = input.text;
    ace.CleanFollowingText(frame, following);
    ace.WriteColumnHeading(frame, frame.OutputType());
    return 0;
}
