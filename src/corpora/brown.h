// Cbrown: the text category of the Brown family (Brown, LOB/WC, FROWN/FLOB),
// the first byte of each line's identifier ("A" of "A01 0010"). It works
// beside CFixed, which cuts the identifier out of the line; the category is
// printed after CFixed's field in each hit's reference. It is not reset
// between files: every line sets it anew.
#pragma once

#include <string>

#include "corpora/handler.h"

namespace plix {

class CCorpus;

class Cbrown final : public CCorpusHandler
{
  public:
    // Takes the line's first byte as the category; the line stays as it is.
    void ScanLine(CHandlerFrame& frame, std::string& line) override;
    void WriteColumnHeading(CHandlerFrame& frame, int outputType) override;
    void MakeReference(CHandlerFrame& frame, int outputType, std::string& reference) override;

    // `firstByte` is the line's first byte, or empty for an empty line.
    void SetCategory(const std::string& firstByte);
    // Appends the category field to a reference that CFixed began.
    void BuildReference(const CCorpus& settings, std::string& out) const;
    void WriteColumnHeader(CHandlerFrame& frame) const;

    const std::string& Category() const { return category_; }

  private:
    std::string category_;
};

}  // namespace plix
