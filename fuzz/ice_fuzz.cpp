// ICE lines: markup, text and node lines read, the lines read ahead cleaned,
// the filters, references and heading, over arbitrary bytes. Nothing the
// handler keeps or leaves is longer than the line it came from, and no
// reference holds a NUL byte the input did not.
#include <cstring>

#include "corpora/ice.h"
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
    const uint8_t s = input.switches;
    c.iceFunctionOn = s & 1;
    c.iceCategoryOn = (s >> 1) & 1;
    c.iceFeatureOn = (s >> 2) & 1;
    c.iceIgnored = (s >> 3) & 1;
    c.iceAddition = (s >> 4) & 1;
    c.iceOverlap = (s >> 5) & 1;
    c.iceSpeaker = (s >> 6) & 1 ? "A" : "";
    c.iceSubtext = (s >> 7) & 1 ? "1" : "";
    c.iceFunction = (s & 3) == 3 ? "NP" : "";
    const bool inputHasNul = std::memchr(input.text.data(), 0, input.text.size()) != nullptr;

    CICE ice;
    ice.ResetForFile();
    ice.SourceOpened(frame.source);
    ice.WriteColumnHeading(frame, frame.OutputType());
    const std::vector<std::string> lines = input.Lines();
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string line = lines[i];
        // Now and then as a line read back from the lines read ahead, or as
        // a window line without its blank.
        if ((i % 3) == 1) {
            line.insert(line.size() - 1, "\n");
        } else if ((i % 3) == 2) {
            line.pop_back();
        }
        const size_t before = line.size();
        const char first = line.empty() ? '\0' : line[0];
        const bool node = first != '[' && first != '<' && line.find('(') != std::string::npos;
        const std::string unit = ice.Unit();
        ice.ScanLine(frame, line);
        Require(line.size() <= before);
        Require(line.empty() || line.back() == ' ');
        // What a line sets comes out of it; the other values stay as they were.
        if (first == '[') {
            Require(ice.Unit() == unit || ice.Unit().size() + ice.Subtext().size() < before);
        }
        if (node) {
            Require(ice.Function().size() + ice.Category().size() + ice.Features().size() <=
                    before);
        }
        (void)ice.IsSelected(frame);
        std::string reference;
        ice.MakeReference(frame, frame.OutputType(), reference);
        Require(inputHasNul || std::memchr(reference.data(), 0, reference.size()) == nullptr);

        std::string peeked = lines[i] + "\n";
        const size_t peekedBefore = peeked.size();
        ice.CleanPeekedLine(peeked);
        Require(peeked.size() <= peekedBefore);
        Require(peeked.empty() || peeked.back() == ' ');
        ++frame.line;
    }
    std::string whole = input.text;
    CICE::CleanText(whole);
    Require(whole.size() <= input.text.size() + 1);
    return 0;
}
