// What every handler fuzz target shares: a run frame over a settings record
// whose output type and switches come from the first input bytes, and the
// input split into lines as the reader hands them on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "corpora/frame.h"
#include "settings/corpus.h"

namespace plix::fuzz {

class FuzzFrame final : public CHandlerFrame
{
public:
    CCorpus settings;
    std::string written;
    std::string source = "fuzz.txt";
    int64_t line = 1;
    size_t hit = 0;

    const CCorpus& Settings() const override { return settings; }
    int CorpusType() const override { return settings.GetCorpusType(); }
    int OutputType() const override { return settings.GetOutputType(); }
    bool ToFile() const override { return toFile; }
    int64_t LineNumber() const override { return line; }
    const std::string& SourceName() const override { return source; }
    size_t HitOffset() const override { return hit; }
    void Write(std::string_view text) override { written.append(text); }
    bool toFile = false;
};

// Reads a few control bytes off the front of the input: the output type, the
// form, and a byte for the caller's own switches.
struct FuzzInput
{
    FuzzInput(const uint8_t* data, size_t size)
    {
        size_t used = 0;
        auto take = [&]() -> uint8_t { return used < size ? data[used++] : 0; };
        outputType = take() % kOutputTypeCount;
        toFile = (take() & 1) != 0;
        switches = take();
        text.assign(reinterpret_cast<const char*>(data) + used, size - used);
    }
    // The text as the line reader hands it on: without line ends, each with one
    // blank appended.
    std::vector<std::string> Lines() const
    {
        std::vector<std::string> lines;
        size_t start = 0;
        while (start <= text.size()) {
            size_t end = text.find('\n', start);
            if (end == std::string::npos) {
                if (start < text.size()) {
                    lines.push_back(text.substr(start) + " ");
                }
                break;
            }
            lines.push_back(text.substr(start, end - start) + " ");
            start = end + 1;
        }
        return lines;
    }
    void Configure(FuzzFrame& frame) const
    {
        frame.settings.SetMarks("<<", ">>");
        frame.settings.SetOutputType(outputType);
        frame.toFile = toFile;
    }

    int outputType = 0;
    bool toFile = false;
    uint8_t switches = 0;
    std::string text;
};

}  // namespace plix::fuzz
