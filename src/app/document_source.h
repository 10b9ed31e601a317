// The lines of a result document as the engine's input, for "Quick Wordlist"
// and "Quick PLIX": taken when the command starts, as they stand, without line
// ends; the source name is the document's title.
#pragma once

#include <string>
#include <vector>

#include "engine/input.h"

namespace plix {

class CPlixDoc;

class CDocumentSource : public CWindowSource
{
  public:
    explicit CDocumentSource(const CPlixDoc& doc);

    size_t LineCount() const override { return lines_.size(); }
    std::string Line(size_t index) const override;
    std::string Title() const override { return title_; }

  private:
    std::vector<std::string> lines_;
    std::string title_;
};

}  // namespace plix
