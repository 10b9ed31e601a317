// A run frame for calling one corpus handler directly: a settings record of
// its own, a chosen line number and source, and the written text kept.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "corpora/frame.h"
#include "settings/corpus.h"

namespace plix::test {

class HandlerFrame final : public CHandlerFrame
{
  public:
    // The separator and quotes come with the output type, as on start-up.
    HandlerFrame() { settings.SetOutputType(kOutputText); }

    const CCorpus& Settings() const override { return settings; }
    int CorpusType() const override { return settings.GetCorpusType(); }
    int OutputType() const override { return settings.GetOutputType(); }
    bool ToFile() const override { return toFile; }
    int64_t LineNumber() const override { return line; }
    const std::string& SourceName() const override { return source; }
    size_t HitOffset() const override { return 0; }
    void Write(std::string_view text) override { written.append(text); }

    CCorpus settings;
    bool toFile = false;
    int64_t line = 1;
    std::string source = "f.txt";
    std::string written;
};

}  // namespace plix::test
