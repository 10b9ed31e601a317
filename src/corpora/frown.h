// CFrown: the tags of the FROWN/FLOB texts ("<quote>", "<bold>" ...), removed
// from each line once CFixed has cut its identifier away, and from the text
// read ahead for a right context. It keeps nothing.
#pragma once

#include <string>

#include "corpora/handler.h"

namespace plix {

class CFrown final : public CCorpusHandler
{
  public:
    void ScanLine(CHandlerFrame& frame, std::string& line) override;
    void CleanFollowingText(CHandlerFrame& frame, std::string& text) override;

    // Removes every complete tag; a "<" that no ">" follows stays.
    static void StripTags(std::string& text);
};

}  // namespace plix
