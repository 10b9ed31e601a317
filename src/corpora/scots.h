// CSCOTS: the values the COCOA parameters take in the Helsinki Corpus of
// Older Scots, offered by the COCOA options page for that corpus type. A
// table only: the run reads Scots texts with the Helsinki and COCOA handlers.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace plix {

class CSCOTS
{
  public:
    CSCOTS();

    // The values of letter index 0 (A) to 25 (Z), in stored order; an empty
    // list for letters without values and out of range.
    const std::vector<std::string>& GetValues(int letterIndex) const;

  private:
    // The writers (A), text files (B), text names (N), dates (O) and text
    // identifiers (Q) are names of the corpus itself: the page offers what a
    // scan of the user's files finds.
    std::array<std::vector<std::string>, 26> valueLists{};
};

}  // namespace plix
