// The values of the concordance keyword dialog, as the front end hands them to
// the engine (the desktop fills it from its dialog, plix-cli from its options).
#pragma once

#include <string>

namespace plix {

struct KeywordRequest
{
    std::string keyword;
    bool matchLeft = false;
    bool matchRight = false;
    bool regex = false;
    bool useContextWord = false;
    std::string contextWord;
    int contextLeft = 0;
    int contextRight = 0;
};

}  // namespace plix
