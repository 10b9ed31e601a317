#include "corpora/frown.h"

#include "corpora/tag_strip.h"

namespace plix {

void CFrown::StripTags(std::string& text)
{
    StripCompleteTags(text);
}

void CFrown::ScanLine(CHandlerFrame&, std::string& line)
{
    StripTags(line);
}

void CFrown::CleanFollowingText(CHandlerFrame&, std::string& text)
{
    StripTags(text);
}

}  // namespace plix
