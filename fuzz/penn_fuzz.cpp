// PPCME1: arbitrary lines assembled into units, scanned, selected, located at
// every offset of each unit (and past its end), referenced and untagged, with
// the deletion levels and "Untag" chosen by the input's switch byte; checked
// against what cleaning and locating may do.
#include <cctype>
#include <cstdlib>

#include "corpora/cocoa.h"
#include "corpora/penn.h"
#include "fuzz_frame.h"

namespace {

void Check(bool ok)
{
    if (!ok) {
        std::abort();
    }
}

bool HasControlByte(const std::string& text)
{
    for (char byte : text) {
        if (std::iscntrl(static_cast<unsigned char>(byte))) {
            return true;
        }
    }
    return false;
}

// A label holds no byte that ends a label.
bool IsLabel(const std::string& label)
{
    for (char byte : label) {
        const auto b = static_cast<unsigned char>(byte);
        if (b == '-' || std::isspace(b) || std::iscntrl(b)) {
            return false;
        }
    }
    return true;
}

void Unit(plix::CPenn& penn, plix::fuzz::FuzzFrame& frame, std::string& line)
{
    const size_t assembled = line.size();
    penn.ScanLine(frame, line);
    // Cutting and stripping only ever take text away.
    Check(line.size() <= assembled);
    (void)penn.IsSelected(frame);
    for (size_t hit = 0; hit <= line.size() + 1; ++hit) {
        frame.hit = hit;
        penn.LocateHit(frame, line, hit);
        Check(IsLabel(penn.clause) && IsLabel(penn.annotation));
        Check(penn.clause.empty() || std::isupper(static_cast<unsigned char>(penn.clause[0])));
        Check(penn.annotation.empty() ||
              !std::isupper(static_cast<unsigned char>(penn.annotation[0])));
        const bool unit = line.size() > 1 && line[0] == '(';
        Check(unit || penn.unitType == 0);
        Check(!std::iscntrl(static_cast<unsigned char>(penn.unitType)) || penn.unitType == 0);
        std::string reference;
        penn.MakeReference(frame, frame.OutputType(), reference);
        std::string contextLine;
        penn.AmendContextLine(frame, line, contextLine);
        Check(!HasControlByte(contextLine));
        Check(penn.untag ? contextLine.size() <= line.size() + 4 : contextLine.empty());
    }
    std::string listLine = line;
    penn.CleanListLine(frame, listLine);
    Check(listLine.size() <= line.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace plix;
    fuzz::FuzzInput input(data, size);
    fuzz::FuzzFrame frame;
    input.Configure(frame);
    frame.settings.cocoaOutput[static_cast<size_t>(input.switches % 26)] = 1;
    if (input.switches & 0x80) {
        frame.settings.cocoaSelect[static_cast<size_t>(input.switches % 26)] = "x";
    }
    CCocoa cocoa;
    CPenn penn(cocoa);
    std::array<int, CPenn::kLevelCount> switches{};
    for (size_t level = 0; level < switches.size(); ++level) {
        switches[level] = (input.switches >> level) & 1;
    }
    penn.SetDeleteSwitches(switches);
    penn.SetUntagSwitch((input.switches >> 7) & 1);
    cocoa.ResetForFile();
    penn.ResetForFile();
    penn.WriteHeader(frame);
    penn.WriteColumnHeading(frame, frame.OutputType());
    for (std::string line : input.Lines()) {
        penn.AssembleUnit(frame, line);
        Unit(penn, frame, line);
        ++frame.line;
    }
    std::string last;
    if (penn.FinishUnit(frame, last)) {
        Unit(penn, frame, last);
    }
    // Untagging arbitrary text, not only assembled units.
    std::string text = input.text;
    penn.Untag(text);
    Check(text.size() <= input.text.size());
    return 0;
}
