// CCOPC: the COPC texts begin each sample with a header line such as
// "1A(1850)B2 Some text": a reference, the year in parentheses and an
// information code, then the sample's text. The header codes are taken out of
// the line and printed in the reference of every hit until the next header.
#pragma once

#include <cstdint>
#include <string>

#include "corpora/handler.h"

namespace plix {

class CCorpus;

class CCOPC final : public CCorpusHandler
{
  public:
    void ResetForFile() override;
    void ScanLine(CHandlerFrame& frame, std::string& line) override;
    void WriteColumnHeading(CHandlerFrame& frame, int outputType) override;
    void MakeReference(CHandlerFrame& frame, int outputType, std::string& reference) override;
    void CleanPeekedLine(std::string& line) override;

    void Reset();
    // A digit and a capital letter, or a ":" in the fifth byte with something
    // other than white space after it.
    static bool IsHeaderLine(const std::string& line);
    // Reads the codes of a header line and leaves only its text.
    void ReadHeader(std::string& line);
    // A line read ahead: a header line loses what stands before its first
    // blank.
    static void CleanText(std::string& line);
    void BuildReference(const CCorpus& settings, int64_t lineNumber, const std::string& sourceName,
                        std::string& out) const;
    void WriteColumnHeader(CHandlerFrame& frame) const;

    const std::string& Reference() const { return reference_; }
    const std::string& Year() const { return year_; }
    const std::string& Info() const { return info_; }

  private:
    std::string reference_;
    std::string year_;
    std::string info_;
};

}  // namespace plix
