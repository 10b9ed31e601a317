// CACE: ACE texts, SGML markup with an identifier element "<id>" whose text
// goes into the reference of every hit until the next one. The rest of the
// markup is the SGML handler's.
#pragma once

#include <cstdint>
#include <string>

#include "corpora/handler.h"

namespace plix {

class CCorpus;
class CSgml;

class CACE final : public CCorpusHandler
{
  public:
    explicit CACE(CSgml& sgml);

    void ResetForFile() override;
    // Takes the identifier out of the line, then the SGML markup.
    void ScanLine(CHandlerFrame& frame, std::string& line) override;
    void WriteHeader(CHandlerFrame& frame) override;
    void WriteColumnHeading(CHandlerFrame& frame, int outputType) override;
    void CleanFollowingText(CHandlerFrame& frame, std::string& text) override;
    void MakeReference(CHandlerFrame& frame, int outputType, std::string& reference) override;

    // The work of the roles.
    void Reset();
    // The "<id>" elements of the line: the last one's text, without its white
    // space, becomes the identifier, and the elements leave the line.
    void TakeIdentifier(std::string& line);
    // Removes every complete tag; a "<" without a ">" after it stays.
    static void StripTags(std::string& text);
    // Appends the location and the identifier (tag "infoid") to `out`.
    void BuildReference(const CCorpus& settings, std::string& out, int64_t lineNumber,
                        const std::string& fileName) const;
    void WriteColumnHeader(CHandlerFrame& frame) const;
    // The run's header block: the SGML handler's excluded tags.
    void WriteSelection(CHandlerFrame& frame) const;

    const std::string& TextId() const { return textId_; }

  private:
    CSgml& sgml_;
    std::string textId_;
};

}  // namespace plix
