// CLOB: the typographic codes of the LOB/WC texts (such as "*'" for a quote,
// "^" before a capital, "\0" and "{0" before a special sign), removed from
// each line once CFixed has cut its identifier away, and from the text read
// ahead for a right context. It keeps nothing.
#pragma once

#include <string>

#include "corpora/handler.h"

namespace plix {

class CLOB final : public CCorpusHandler
{
  public:
    void ScanLine(CHandlerFrame& frame, std::string& line) override;
    void CleanFollowingText(CHandlerFrame& frame, std::string& text) override;

    static void StripCodes(std::string& text);
};

}  // namespace plix
