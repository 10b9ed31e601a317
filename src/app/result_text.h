// Turning a block of result text from the engine (bytes of the locale's code
// page, lines ending in "\r\n", keyword ranges as byte offsets) into the text a
// result view inserts, with the ranges as positions in that text.
#pragma once

#include <QString>

#include <string_view>
#include <vector>

#include "engine/result_target.h"

namespace plix {

struct TextRange
{
    int position = 0;
    int length = 0;
};

struct DecodedBlock
{
    // Lines end in "\n": the text view takes "\r\n" as one line break anyway,
    // and positions must count it as one character.
    QString text;
    // The highlight ranges, as positions in `text`, in the order given.
    std::vector<TextRange> ranges;
};

DecodedBlock DecodeResultBlock(std::string_view bytes, const std::vector<HighlightRange>& highlights);

}  // namespace plix
