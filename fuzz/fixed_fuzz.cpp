// Fixed columns: the field cut out of each line and of the lines read ahead,
// with an information range taken from the input, out-of-range values too.
#include "corpora/fixed.h"
#include "fuzz_frame.h"

#include <climits>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace plix;
    fuzz::FuzzInput input(data, size);
    fuzz::FuzzFrame frame;
    input.Configure(frame);
    // The switches byte and the first text byte give the range, signed so
    // that zero and negative columns come up.
    const int start = static_cast<int8_t>(input.switches);
    const int end = input.text.empty() ? 0 : static_cast<int8_t>(input.text[0]);
    frame.settings.SetInfoRange(start, end);
    CFixed fixed;
    fixed.ResetForFile();
    for (std::string line : input.Lines()) {
        const size_t before = line.size();
        fixed.ScanLine(frame, line);
        if (line.size() + fixed.Info().size() != before) {
            __builtin_trap();  // every byte is either kept or in the field
        }
        std::string reference;
        fixed.MakeReference(frame, frame.OutputType(), reference);
        std::string peeked = line + "\n";
        fixed.CleanPeekedLine(peeked);
        ++frame.line;
    }
    for (int a : {INT_MIN, -1, 0, 1, start, INT_MAX}) {
        for (int b : {INT_MIN, -1, 0, 1, end, INT_MAX}) {
            std::string text = input.text;
            CFixed::RemoveInfo(text, a, b);
            if (text.size() > input.text.size()) {
                __builtin_trap();
            }
        }
    }
    fixed.WriteColumnHeading(frame, frame.OutputType());
    return 0;
}
