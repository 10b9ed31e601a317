// COCOA references: the line scan, the selection, the reference and the
// stripping of read-ahead text, over arbitrary bytes.
#include "corpora/cocoa.h"
#include "fuzz_frame.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace plix;
    fuzz::FuzzInput input(data, size);
    fuzz::FuzzFrame frame;
    input.Configure(frame);
    frame.settings.cocoaOutput[0] = 1;
    frame.settings.cocoaOutput[static_cast<size_t>(input.switches % 26)] = 1;
    if ((input.switches & 0x80) != 0) {
        frame.settings.cocoaSelect[1] = "B";
    }
    CCocoa cocoa;
    cocoa.ResetForFile();
    cocoa.WriteHeader(frame);
    for (std::string line : input.Lines()) {
        cocoa.ScanLine(frame, line);
        if (cocoa.IsSelected(frame)) {
            std::string reference;
            cocoa.MakeReference(frame, frame.OutputType(), reference);
        }
        ++frame.line;
    }
    std::string following = input.text;
    cocoa.CleanFollowingText(frame, following);
    cocoa.WriteColumnHeading(frame, frame.OutputType());
    return 0;
}
