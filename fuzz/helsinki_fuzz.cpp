// Helsinki markup: the deletion of the levels chosen by the input's switch
// byte over arbitrary lines, with stretches carried over line ends, and the
// cleaning of read-ahead text, checked against what deletion may do.
#include <cstdlib>

#include "corpora/helsinki.h"
#include "fuzz_frame.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace plix;
    fuzz::FuzzInput input(data, size);
    fuzz::FuzzFrame frame;
    input.Configure(frame);
    frame.settings.cocoaOutput[static_cast<size_t>(input.switches % 26)] = 1;
    CHelsinki helsinki;
    std::array<int, CHelsinki::kLevelCount> switches{};
    for (size_t level = 0; level < switches.size(); ++level) {
        switches[level] = (input.switches >> level) & 1;
    }
    helsinki.SetDeleteSwitches(switches);
    helsinki.ResetForFile();
    helsinki.WriteHeader(frame);
    helsinki.WriteColumnHeading(frame, frame.OutputType());
    for (std::string line : input.Lines()) {
        const size_t before = line.size();
        helsinki.ScanLine(frame, line);
        // Deletion only ever takes text away.
        if (line.size() > before) {
            std::abort();
        }
        std::string following = input.text;
        helsinki.CleanFollowingText(frame, following);
        if (following.size() > input.text.size()) {
            std::abort();
        }
    }
    for (size_t level = 0; level < switches.size(); ++level) {
        // Only a level that is switched on can be left open.
        if (helsinki.inDeleted[level] && !switches[level]) {
            std::abort();
        }
    }
    return 0;
}
