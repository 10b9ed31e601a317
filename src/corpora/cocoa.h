// CCocoa: COCOA references, the tags <X value> in running text that set the
// one-letter parameter X (A-Z) for all following text of the file. Used by the
// COCOA type, the Helsinki family and PPCME1.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "corpora/handler.h"

namespace plix {

class CCorpus;

class CCocoa final : public CCorpusHandler
{
  public:
    void ResetForFile() override;
    // Takes the references out of the line, keeping their values.
    void ScanLine(CHandlerFrame& frame, std::string& line) override;
    bool IsSelected(CHandlerFrame& frame) override;
    void WriteHeader(CHandlerFrame& frame) override;
    void WriteColumnHeading(CHandlerFrame& frame, int outputType) override;
    void CleanFollowingText(CHandlerFrame& frame, std::string& text) override;
    void MakeReference(CHandlerFrame& frame, int outputType, std::string& reference) override;

    // The work of the roles, for the handlers that share COCOA references.
    void ScanReferences(std::string& line);
    bool MatchesSelection(const CCorpus& settings) const;
    std::string SelectionLines(const CCorpus& settings, const char* eol) const;
    std::string ColumnHeading(const CCorpus& settings, const char* eol) const;
    std::string Reference(const CCorpus& settings, int64_t lineNumber,
                          const std::string& sourceName) const;
    // Removes every reference from a text; no value changes.
    static void StripReferences(std::string& text);
    // Calls `found` with the letter (upper-cased) and the value of every
    // reference in `text`, in order, as ScanLine reads them.
    static void ForEachReference(const std::string& text,
                                 const std::function<void(char, const std::string&)>& found);

    // The current value of parameter `index` (0 for A), "" out of range.
    std::string GetValue(int index) const;

    // The values each parameter takes in the corpus files of the last scan
    // from the options page, offered there beside the known values.
    std::array<std::vector<std::string>, 26> scannedValues{};

  private:
    std::array<std::string, 26> values_{};
};

}  // namespace plix
