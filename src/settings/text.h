// Byte-string helpers that follow the current C locale: lower-casing, reversal
// and substring search that keep multibyte characters whole, and collation keys.
#pragma once

#include <string>
#include <string_view>

namespace plix {

// Lower-cases by the current locale. Single-byte characters go through tolower;
// a multibyte character is lowered only when its lower case has the same byte
// length, so offsets in the result always match offsets in the input.
std::string LowerMb(std::string_view text);
void LowerMbInPlace(std::string& text);

// Upper-cases byte by byte by the current locale (values the pages store
// upper-cased, such as COCOA selections).
std::string UpperBytes(std::string_view text);

// Reverses character by character: a multibyte character keeps its bytes in order.
std::string ReverseMb(std::string_view text);

// First occurrence of `needle` in `hay` that starts on a character boundary;
// npos when there is none. An empty needle is found at 0.
size_t FindMb(std::string_view hay, std::string_view needle);

// True when the current locale has characters of more than one byte.
bool LocaleIsMultibyte();

// A key whose byte order (memcmp) is the collation order of the current locale
// (strxfrm); in the "C" locale this is the text itself. Text containing NUL is
// keyed up to the first NUL, as strcoll would see it.
std::string CollationKey(std::string_view text);
// The strxfrm key of `text` (up to a NUL) appended to `out`, whatever the
// locale's collation; `source` is scratch room for the text.
void AppendCollationKey(std::string_view text, std::string& out, std::string& source);

// strcoll on byte strings that need not be NUL-terminated.
int Collate(std::string_view a, std::string_view b);

// True when the current LC_COLLATE is plain byte order ("C" / "POSIX").
bool CollationIsByteOrder();

}  // namespace plix
