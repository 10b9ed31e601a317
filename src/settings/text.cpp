#include "settings/text.h"

#include <langinfo.h>
#include <string.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <vector>

namespace plix {

std::string UpperBytes(std::string_view text)
{
    std::string upper(text);
    for (char& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return upper;
}


namespace {

// Length of the character starting at `p` (at least 1, so malformed bytes are
// taken one at a time).
size_t CharLength(const char* p, size_t left, std::mbstate_t& state)
{
    if (left == 0) {
        return 0;
    }
    size_t n = std::mbrlen(p, left, &state);
    if (n == 0 || n == static_cast<size_t>(-1) || n == static_cast<size_t>(-2)) {
        state = std::mbstate_t{};
        return 1;
    }
    return n;
}

}  // namespace

bool LocaleIsMultibyte()
{
    return MB_CUR_MAX > 1;
}

namespace {

// How the current locale's code page treats bytes below 0x80. In UTF-8 and
// EUC-JP they are always whole ASCII characters, never part of a longer one,
// so they can be handled a byte at a time; Shift_JIS and the like use them as
// second bytes and need the character-by-character path throughout.
enum class Codeset { SingleByte, Utf8, Euc, Other };

Codeset CurrentCodeset()
{
    if (!LocaleIsMultibyte()) {
        return Codeset::SingleByte;
    }
    const char* name = nl_langinfo(CODESET);
    if (name == nullptr) {
        return Codeset::Other;
    }
    if (std::strcmp(name, "UTF-8") == 0) {
        return Codeset::Utf8;
    }
    if (std::strncmp(name, "EUC-", 4) == 0 || std::strcmp(name, "GB2312") == 0) {
        return Codeset::Euc;
    }
    return Codeset::Other;
}

bool AsciiIsWhole(Codeset codeset)
{
    return codeset == Codeset::Utf8 || codeset == Codeset::Euc;
}

unsigned char LowerAscii(unsigned char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

// Lowers the multibyte character of `n` bytes at `p` in place when its lower
// case has the same length.
void LowerCharacter(char* p, size_t n)
{
    wchar_t wc = 0;
    std::mbstate_t s{};
    if (std::mbrtowc(&wc, p, n, &s) != n) {
        return;
    }
    wchar_t lower = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(wc)));
    if (lower == wc) {
        return;
    }
    char buf[MB_LEN_MAX];
    std::mbstate_t out{};
    if (std::wcrtomb(buf, lower, &out) == n) {
        std::memcpy(p, buf, n);
    }
}

}  // namespace

void LowerMbInPlace(std::string& text)
{
    const Codeset codeset = CurrentCodeset();
    if (codeset == Codeset::SingleByte) {
        for (char& c : text) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        return;
    }
    std::mbstate_t state{};
    size_t i = 0;
    while (i < text.size()) {
        auto byte = static_cast<unsigned char>(text[i]);
        if (AsciiIsWhole(codeset) && byte < 0x80) {
            text[i++] = static_cast<char>(LowerAscii(byte));
            continue;
        }
        size_t n = CharLength(text.data() + i, text.size() - i, state);
        if (n == 1) {
            text[i] = static_cast<char>(std::tolower(byte));
        } else {
            LowerCharacter(text.data() + i, n);
        }
        i += n;
    }
}

std::string LowerMb(std::string_view text)
{
    std::string result(text);
    LowerMbInPlace(result);
    return result;
}

std::string ReverseMb(std::string_view text)
{
    if (!LocaleIsMultibyte()) {
        return std::string(text.rbegin(), text.rend());
    }
    std::string result(text.size(), '\0');
    std::mbstate_t state{};
    size_t i = 0;
    size_t out = text.size();
    while (i < text.size()) {
        size_t n = CharLength(text.data() + i, text.size() - i, state);
        out -= n;
        std::memcpy(result.data() + out, text.data() + i, n);
        i += n;
    }
    return result;
}

size_t FindMb(std::string_view hay, std::string_view needle)
{
    if (needle.empty()) {
        return 0;
    }
    const Codeset codeset = CurrentCodeset();
    // Where any match must start on a character boundary, a plain byte search
    // is enough: always in a single-byte code page; in UTF-8 unless the needle
    // starts with a continuation byte; in EUC when it starts with ASCII.
    const auto first = static_cast<unsigned char>(needle[0]);
    const bool boundaryOnly = codeset == Codeset::SingleByte ||
                              (AsciiIsWhole(codeset) && first < 0x80) ||
                              (codeset == Codeset::Utf8 && first >= 0xC0);
    if (boundaryOnly) {
        const void* hit = memmem(hay.data(), hay.size(), needle.data(), needle.size());
        return hit == nullptr ? std::string_view::npos
                              : static_cast<size_t>(static_cast<const char*>(hit) - hay.data());
    }
    std::mbstate_t state{};
    size_t i = 0;
    while (i + needle.size() <= hay.size()) {
        if (hay.compare(i, needle.size(), needle) == 0) {
            return i;
        }
        i += CharLength(hay.data() + i, hay.size() - i, state);
    }
    return std::string_view::npos;
}

bool CollationIsByteOrder()
{
    // The C library's own UTF-8 locale ("C.UTF-8", "C.utf8") collates by code
    // point, which for UTF-8 is byte order: no strxfrm needs to be paid for it.
    const char* name = std::setlocale(LC_COLLATE, nullptr);
    return name == nullptr || std::strcmp(name, "C") == 0 || std::strcmp(name, "POSIX") == 0 ||
           std::strncmp(name, "C.", 2) == 0;
}

std::string CollationKey(std::string_view text)
{
    if (CollationIsByteOrder()) {
        return std::string(text.substr(0, std::min(text.size(), text.find('\0'))));
    }
    std::string key;
    std::string source;
    AppendCollationKey(text, key, source);
    return key;
}

void AppendCollationKey(std::string_view text, std::string& out, std::string& source)
{
    source.assign(text.substr(0, std::min(text.size(), text.find('\0'))));
    const size_t at = out.size();
    const size_t room = source.size() * 4 + 16;
    out.resize(at + room);
    size_t n = std::strxfrm(out.data() + at, source.c_str(), room);
    if (n >= room) {
        out.resize(at + n + 1);
        n = std::strxfrm(out.data() + at, source.c_str(), n + 1);
    }
    out.resize(at + n);
}

int Collate(std::string_view a, std::string_view b)
{
    std::string sa(a.substr(0, std::min(a.size(), a.find('\0'))));
    std::string sb(b.substr(0, std::min(b.size(), b.find('\0'))));
    return std::strcoll(sa.c_str(), sb.c_str());
}

}  // namespace plix
