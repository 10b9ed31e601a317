// What a corpus handler can have found in a file line before the line is
// handed to it: the places of a few texts it looks for in every line, found
// while the line is still being read (on the reader's own core).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace plix {

struct LineMarks
{
    size_t first = std::string::npos;
    size_t second = std::string::npos;
    size_t third = std::string::npos;
};

// Finds a handler's marks in a raw file line (without its line end, and
// without the blank the reader appends). Must be a pure function of the line.
using LinePrescan = LineMarks (*)(std::string_view raw);

}  // namespace plix
