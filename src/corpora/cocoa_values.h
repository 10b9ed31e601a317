// The values the COCOA parameters really take in the user's corpus files, for
// the "Select" box of the COCOA options page: the lists the corpus
// documentation leaves to the corpus itself (writers, files, text names and
// identifiers) come from the files this way. The scan runs outside any
// analysis and changes no handler.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace plix {

class CProgress;

enum class CocoaValueScanOutcome
{
    Done,
    Cancelled,
    Unreadable
};

// Reads the references of `files`, in list order, with the grammar of the
// COCOA handler, each line as a run hands it to that handler. On Done,
// `values[i]` holds letter i's distinct non-empty values, spelt as first met,
// in the order first met. When cancelled or stopped by a file that cannot be
// read, `values` keeps what it held, and for Unreadable `error` names the file
// and the reason. Progress is set and cancel asked once per line.
CocoaValueScanOutcome ScanCocoaValues(const std::vector<std::string>& files, CProgress& progress,
                                      std::array<std::vector<std::string>, 26>& values,
                                      std::string& error);

// The list the page offers: `given` in its order, then each of `found` that
// is not yet in the list. Values are compared without regard to case, as the
// selection compares them, so that no two entries select the same lines; a
// found value keeps its own spelling.
std::vector<std::string> MergedValues(const std::vector<std::string>& given,
                                      const std::vector<std::string>& found);

}  // namespace plix
