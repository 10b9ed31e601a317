// SGML markup: the line reading with tags excluded and attributes kept, the
// context stripper, the references and headers, and the scan of the options
// page, over arbitrary bytes. The reading never leaves a "<" in a line.
#include <algorithm>

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
    // Each switch bit excludes a tag or outputs a key; NOTE and B have end
    // tags, P and X end at the next tag.
    c.sgmlTags = {"NOTE", "P", "B", "X"};
    c.sgmlTagInfo = {"NOTE", "", "b", ""};
    c.sgmlAttributes = {"DIV N", "P TYPE", "B C", "NOTE N"};
    c.sgmlAttributeInfo = {"DIV", "P", "B", "NOTE"};
    for (unsigned i = 0; i < 4; ++i) {
        c.sgmlTagExclude.push_back((input.switches >> i) & 1);
        c.sgmlAttributeOutput.push_back((input.switches >> (i + 4)) & 1);
    }
    CSgml sgml;
    sgml.ResetForFile();
    sgml.WriteHeader(frame);
    const std::vector<std::string> lines = input.Lines();
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string line = lines[i];
        // Every other line as if it had been read ahead: its line feed stays.
        if ((i & 1) != 0) {
            line.insert(line.size() - 1, "\n");
        }
        const size_t before = line.size();
        sgml.ScanLine(frame, line);
        Require(line.size() <= before);
        Require(line.find('<') == std::string::npos);
        std::string reference;
        sgml.MakeReference(frame, frame.OutputType(), reference);
        std::string following;
        for (size_t k = i + 1; k < lines.size() && following.size() < 100; ++k) {
            following += lines[k] + "\n";
        }
        sgml.CleanFollowingText(frame, following);
        Require(following.find('<') == std::string::npos);
        ++frame.line;
    }
    sgml.WriteColumnHeading(frame, frame.OutputType());

    std::string text = input.text;
    sgml.StripTags(text);
    Require(text.find('<') == std::string::npos);

    CTagScan scan;
    scan.BeginFile();
    for (const std::string& line : lines) {
        scan.ReadText(line.substr(0, line.size() - 1));
    }
    sgml.TakeScan(scan);
    CTagOrder order;
    Require(std::adjacent_find(sgml.scannedTags.begin(), sgml.scannedTags.end(),
                               [&](const std::string& a, const std::string& b) {
                                   return !order(a, b);
                               }) == sgml.scannedTags.end());
    Require(sgml.scannedTagEnds.size() == sgml.scannedTags.size());
    Require(sgml.scannedAttributeTags.size() == sgml.scannedAttributes.size());
    Require(sgml.scannedAttributeFlags.size() == sgml.scannedAttributes.size());
    return 0;
}
