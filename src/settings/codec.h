// Corpus text is bytes in the code page of the current locale; the desktop
// shows it as UTF-16. These convert losslessly both ways: a byte that does not
// decode stands for the code point U+DC00 + byte (a lone surrogate), so a
// result saved from a window gives back exactly the bytes it was made of.
#pragma once

#include <string>
#include <string_view>

namespace plix {

std::u16string DecodeLocaleText(std::string_view bytes);
std::string EncodeLocaleText(std::u16string_view text);

}  // namespace plix
