// ICAMET codes: book, page and number read out of each line, the codes
// stripped from the text read ahead, the reference and heading, over
// arbitrary bytes (codes at the very end of a line included).
#include "corpora/icamet.h"
#include "fuzz_frame.h"

namespace {

bool HoldsCode(const std::string& text)
{
    return text.find("|b") != std::string::npos || text.find("|p") != std::string::npos ||
           text.find("|r") != std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace plix;
    fuzz::FuzzInput input(data, size);
    fuzz::FuzzFrame frame;
    input.Configure(frame);
    CICAMET icamet;
    icamet.ResetForFile();
    for (std::string line : input.Lines()) {
        // Now and then without the appended blank, so that a code can be the
        // very last bytes.
        if ((input.switches & 1) != 0) {
            line.pop_back();
        }
        const size_t before = line.size();
        icamet.ScanLine(frame, line);
        if (line.size() > before || line.find("|r") != std::string::npos) {
            __builtin_trap();
        }
        std::string reference;
        icamet.MakeReference(frame, frame.OutputType(), reference);
        ++frame.line;
    }
    std::string following = input.text;
    icamet.CleanFollowingText(frame, following);
    if (HoldsCode(following)) {
        __builtin_trap();
    }
    icamet.WriteColumnHeading(frame, frame.OutputType());
    return 0;
}
