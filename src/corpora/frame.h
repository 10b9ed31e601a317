// What a corpus handler sees of the run it serves: the settings record, where
// the run stands (line number, source, the hit being made) and the writer for
// its header lines. Handlers get this view, never the engine object itself, so
// that a handler cannot read a buffer of the frame other than the one it is
// handed.
#pragma once

#include "corpora/line_marks.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace plix {

class CCorpus;

class CHandlerFrame
{
  public:
    virtual ~CHandlerFrame() = default;

    virtual const CCorpus& Settings() const = 0;
    virtual int CorpusType() const = 0;
    // The output type of this run (copied when the run began).
    virtual int OutputType() const = 0;
    // True when the result goes to an output file, false for a result window.
    virtual bool ToFile() const = 0;
    const char* Eol() const { return ToFile() ? "\n" : "\r\n"; }
    // Number of the line being processed within its file, from 1.
    virtual int64_t LineNumber() const = 0;
    // The corpus file path, or the title of the result window a quick command reads.
    virtual const std::string& SourceName() const = 0;
    // Offset in the line of the hit whose concordance line is being made.
    virtual size_t HitOffset() const = 0;
    // Appends to the current result (header and column-heading lines).
    virtual void Write(std::string_view text) = 0;
    // The marks of the handler's prescan in the physical line just read,
    // when they were found in it as it stands; else nullptr.
    virtual const LineMarks* CurrentLineMarks() const { return nullptr; }
};

}  // namespace plix
