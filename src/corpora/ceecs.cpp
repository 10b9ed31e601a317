#include "corpora/ceecs.h"

namespace plix {

const std::vector<std::string>& CCEECS::GetValues(int letterIndex) const
{
    static const std::vector<std::string> none;
    if (letterIndex < 0 || letterIndex >= static_cast<int>(valueLists.size())) {
        return none;
    }
    return valueLists[static_cast<size_t>(letterIndex)];
}

}  // namespace plix
