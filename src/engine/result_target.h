// Where results go when they go to a window: the desktop implements this on a
// new result document, plix-cli --window on standard output, tests on a string.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace plix {

// A range to colour red, in bytes from the start of the text handed to Append.
struct HighlightRange
{
    size_t offset = 0;
    size_t length = 0;
};

class CResultTarget
{
public:
    virtual ~CResultTarget() = default;
    // A new result begins: open a new result window and make it the active one.
    virtual bool BeginResult() = 0;
    // Text appended at the end of the current result, in large blocks, with the
    // keyword ranges inside that block.
    virtual void Append(std::string_view text, const std::vector<HighlightRange>& highlights) = 0;
};

}  // namespace plix
