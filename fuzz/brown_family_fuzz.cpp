// The Brown family as the engine runs it: category, identifier columns and
// LOB codes or FROWN tags on every line; the lines read ahead cleaned one by
// one, then the whole read-ahead text; the reference and heading.
#include "corpora/brown.h"
#include "corpora/fixed.h"
#include "corpora/frown.h"
#include "corpora/lob.h"
#include "fuzz_frame.h"

namespace {

// What StripCodes leaves can hold none of LOB's single signs and no "*".
bool HoldsLobSigns(const std::string& text)
{
    return text.find_first_of("^~_|\\{}*") != std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace plix;
    fuzz::FuzzInput input(data, size);
    fuzz::FuzzFrame frame;
    input.Configure(frame);
    static constexpr int kTypes[] = {kTypeBrown, kTypeLob, kTypeFrown};
    const int type = kTypes[input.switches % 3];
    frame.settings.SetCorpusType(type);
    Cbrown brown;
    CFixed fixed;
    CLOB lob;
    CFrown frown;
    fixed.ResetForFile();
    const std::vector<std::string> lines = input.Lines();
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string line = lines[i];
        brown.ScanLine(frame, line);
        fixed.ScanLine(frame, line);
        if (type == kTypeLob) {
            lob.ScanLine(frame, line);
            if (HoldsLobSigns(line)) {
                __builtin_trap();
            }
        } else if (type == kTypeFrown) {
            frown.ScanLine(frame, line);
        }
        std::string reference;
        fixed.MakeReference(frame, frame.OutputType(), reference);
        brown.MakeReference(frame, frame.OutputType(), reference);
        // The text a hit on this line would read ahead.
        std::string following;
        for (size_t j = i + 1; j < lines.size() && j < i + 4; ++j) {
            std::string peeked = lines[j];
            peeked.back() = '\n';
            fixed.CleanPeekedLine(peeked);
            following += peeked;
        }
        if (type == kTypeLob) {
            lob.CleanFollowingText(frame, following);
            if (HoldsLobSigns(following)) {
                __builtin_trap();
            }
        } else if (type == kTypeFrown) {
            frown.CleanFollowingText(frame, following);
        }
        ++frame.line;
    }
    std::string whole = input.text;
    CLOB::StripCodes(whole);
    whole = input.text;
    CFrown::StripTags(whole);
    brown.WriteColumnHeading(frame, frame.OutputType());
    return 0;
}
