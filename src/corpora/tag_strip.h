// Removing the complete tags of a text, as the ACE and FROWN/FLOB handlers do
// on their lines and on the text read ahead for a right context.
#pragma once

#include <string>

namespace plix {

// From the text's start: the first "<" that a ">" follows is removed with
// everything through that ">", and the search starts again from the same
// place; a "<" that no ">" follows stays, and the search goes on after it.
void StripCompleteTags(std::string& text);

}  // namespace plix
