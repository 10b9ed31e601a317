// COPC header lines: the codes read out of each line, the lines read ahead
// cleaned, the reference and heading, over arbitrary bytes.
#include "corpora/copc.h"
#include "fuzz_frame.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace plix;
    fuzz::FuzzInput input(data, size);
    fuzz::FuzzFrame frame;
    input.Configure(frame);
    CCOPC copc;
    copc.ResetForFile();
    for (std::string line : input.Lines()) {
        // Now and then without the appended blank, as a window gives lines.
        if ((input.switches & 1) != 0) {
            line.pop_back();
        }
        const size_t before = line.size();
        const bool header = CCOPC::IsHeaderLine(line);
        copc.ScanLine(frame, line);
        if (header &&
            copc.Reference().size() + copc.Year().size() + copc.Info().size() + line.size() >
                before) {
            __builtin_trap();  // the fields and the text come out of the line
        }
        std::string reference;
        copc.MakeReference(frame, frame.OutputType(), reference);
        std::string peeked = line + "\n";
        copc.CleanPeekedLine(peeked);
        ++frame.line;
    }
    std::string whole = input.text;
    CCOPC::CleanText(whole);
    copc.WriteColumnHeading(frame, frame.OutputType());
    return 0;
}
