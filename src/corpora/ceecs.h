// CCEECS: the values the COCOA parameters take in the CEECS sampler of early
// English correspondence, offered by the COCOA options page for that corpus
// type. A table only: the run reads CEECS texts with the Helsinki and COCOA
// handlers.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace plix {

class CCEECS
{
  public:
    CCEECS() = default;

    // The values of letter index 0 (A) to 25 (Z), in stored order; an empty
    // list for letters without values and out of range.
    const std::vector<std::string>& GetValues(int letterIndex) const;

  private:
    // The corpus gives values only for its writers (A), collection files
    // (B), letter identifiers (Q) and two writers under X, all names of the
    // corpus itself: every list stays empty, and the page offers what a scan
    // of the user's files finds.
    std::array<std::vector<std::string>, 26> valueLists{};
};

}  // namespace plix
