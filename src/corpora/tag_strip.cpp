#include "corpora/tag_strip.h"

namespace plix {

void StripCompleteTags(std::string& text)
{
    // Built in one pass: a text with many tags costs its length, not its
    // length times the number of tags.
    if (text.find('<') == std::string::npos) {
        return;
    }
    std::string kept;
    kept.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        size_t open = text.find('<', pos);
        if (open == std::string::npos) {
            break;
        }
        size_t close = text.find('>', open + 1);
        if (close == std::string::npos) {
            // No ">" after this "<", so none after any later "<" either.
            break;
        }
        // A "<" between this one and the ">" starts the tag that is removed:
        // the search from the same place finds the first "<" again, and the
        // first ">" after it.
        kept.append(text, pos, open - pos);
        pos = close + 1;
    }
    kept.append(text, pos, std::string::npos);
    text = std::move(kept);
}

}  // namespace plix
