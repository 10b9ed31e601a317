// CICAMET: the ICAMET texts carry their book title, page and number in codes
// within the running text: "|b" with a bracketed or delimited title, "|p" and
// "|r" with digits. The codes are read out of each line and printed in the
// reference of every hit until a later code replaces them.
#pragma once

#include <cstdint>
#include <string>

#include "corpora/handler.h"

namespace plix {

class CCorpus;

class CICAMET final : public CCorpusHandler
{
  public:
    void ResetForFile() override;
    void ScanLine(CHandlerFrame& frame, std::string& line) override;
    void WriteColumnHeading(CHandlerFrame& frame, int outputType) override;
    void CleanFollowingText(CHandlerFrame& frame, std::string& text) override;
    void MakeReference(CHandlerFrame& frame, int outputType, std::string& reference) override;

    void Reset();
    // Reads the book, page and number codes of a line and removes them.
    void ReadCodes(std::string& line);
    // The text read ahead: every code goes, up to the next blank or line end.
    static void StripCodes(std::string& text);
    void BuildReference(const CCorpus& settings, int64_t lineNumber, const std::string& sourceName,
                        std::string& out) const;
    void WriteColumnHeader(CHandlerFrame& frame) const;

    const std::string& Book() const { return book_; }
    const std::string& Page() const { return page_; }
    const std::string& Number() const { return number_; }

  private:
    void ReadBook(std::string& line);

    std::string book_;
    std::string page_;
    std::string number_;
    // The line before held a book code: a book code on this line goes on
    // with its title instead of starting a new one.
    bool bookContinues_ = false;
};

}  // namespace plix
