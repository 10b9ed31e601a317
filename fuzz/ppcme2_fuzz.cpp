// Parsed text of the three types that the parsed-text handler serves: lines
// joined into units, the identifier cut off, the text outside a target node
// blanked, the tag at every position of every unit, the labels stripped for
// the lists and the reference made, over arbitrary bytes. The searched unit
// keeps the offsets of the kept one and differs from it only by blanks; a tag
// is one run of bytes of the unit without a blank; the stripped text holds no
// bracket; the kept unit comes back whole.
#include <string>
#include <vector>

#include "corpora/brooklyn.h"
#include "corpora/ppcme2.h"
#include "fuzz_frame.h"

namespace {

void Require(bool condition)
{
    if (!condition) {
        __builtin_trap();
    }
}

// Labels chosen to meet brackets at odd places as well as real nodes.
const char* const kPpcme2Nodes[] = {"", "NP-SBJ:noun phrase subject ", "N", "(", ")", ":x"};
const char* const kBrooklynNodes[] = {"", "nn", "IP-S", "(", ")", " "};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace plix;
    fuzz::FuzzInput input(data, size);
    fuzz::FuzzFrame frame;
    input.Configure(frame);
    CCorpus& c = frame.settings;
    const uint8_t s = input.switches;
    const int types[] = {kTypePpcme2, kTypeBrooklyn, kTypeYorkTorontoHelsinki};
    c.SetCorpusType(types[s % 3]);
    c.ppcme2Node = kPpcme2Nodes[(s >> 2) % 6];
    c.brooklynNode = kBrooklynNodes[(s >> 2) % 6];
    c.ppcme2Pos = (s & 0x80) != 0 ? "VBD: past" : "";

    CPPCME2 h;
    CBrooklyn brooklyn;
    h.ResetForFile();
    h.WriteHeader(frame);
    brooklyn.WriteHeader(frame);
    h.WriteColumnHeading(frame, frame.OutputType());

    auto unitWork = [&](std::string line) {
        h.ScanLine(frame, line);
        const std::string& kept = h.KeptUnit(line);
        Require(line.size() == kept.size());
        for (size_t i = 0; i < line.size(); ++i) {
            Require(line[i] == ' ' || line[i] == kept[i]);
            Require(h.CharAt(line, i) == kept[i]);
        }
        Require(h.CharAt(line, kept.size()) == ' ');
        for (size_t offset = 0; offset <= line.size() + 1; ++offset) {
            h.LocateHit(frame, line, offset);
            Require(h.HitPos().find(' ') == std::string::npos);
            Require(h.HitPos().size() <= 255);
            Require(h.HitPos().empty() || kept.find(h.HitPos()) != std::string::npos);
            Require(h.HitPos() == CPPCME2::TagBefore(kept, offset));
            std::string reference;
            h.MakeReference(frame, frame.OutputType(), reference);
        }
        // Asked for in any order, the tags are the same.
        for (size_t offset = line.size() + 2; offset-- > 0;) {
            h.LocateHit(frame, line, offset);
            Require(h.HitPos() == CPPCME2::TagBefore(kept, offset));
        }
        std::string list = line;
        h.CleanListLine(frame, list);
        Require(list.size() <= line.size());
        Require(list.find_first_of("()") == std::string::npos);
        const std::string copy = kept;
        h.RestoreLine(line);
        Require(line == copy);
        Require(h.ContextSource() == nullptr);
    };

    const std::vector<std::string> lines = input.Lines();
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string line = lines[i];
        if ((i & 1) != 0) {
            line.insert(line.size() - 1, "\n");  // read back from the lines read ahead
        }
        h.AssembleUnit(frame, line);
        unitWork(line);
        ++frame.line;
    }
    std::string rest;
    if (h.FinishUnit(frame, rest)) {
        Require(!rest.empty());
        unitWork(rest);
    }
    Require(!h.FinishUnit(frame, rest));

    std::string whole = input.text;
    CPPCME2::StripLabels(whole);
    Require(whole.find_first_of("()") == std::string::npos);
    return 0;
}
