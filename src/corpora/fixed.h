// CFixed: corpora that keep a line or text identifier in a fixed range of
// columns of every line ("Info Starts at" to "Info Ends at"). The columns are
// cut out of each line and printed as a field of each hit's reference. The
// Brown family has the same layout and uses this handler beside its own.
#pragma once

#include <cstdint>
#include <string>

#include "corpora/handler.h"

namespace plix {

class CCorpus;

class CFixed final : public CCorpusHandler
{
  public:
    void ResetForFile() override;
    void ScanLine(CHandlerFrame& frame, std::string& line) override;
    void WriteColumnHeading(CHandlerFrame& frame, int outputType) override;
    void MakeReference(CHandlerFrame& frame, int outputType, std::string& reference) override;
    // Each line read ahead for a right context loses its information columns.
    void CleanPeekedLine(std::string& line) override;

    // Takes columns `start` to `end` (from 1, inclusive) out of `line` as the
    // current information field; the columns after them move up to `start`.
    void CutField(std::string& line, int start, int end);
    // The same cut without keeping anything.
    static void RemoveInfo(std::string& text, int start, int end);
    // Appends the location of the hit and the information field.
    void BuildReference(const CCorpus& settings, int64_t lineNumber, const std::string& sourceName,
                        std::string& out) const;

    const std::string& Info() const { return info_; }

  private:
    std::string info_;
    // The range of the last line scanned: the lines read ahead after a hit
    // are cut as its line was.
    int start_ = 1;
    int end_ = 0;
};

}  // namespace plix
