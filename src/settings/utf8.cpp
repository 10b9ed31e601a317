#include "settings/utf8.h"

#include <langinfo.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <cwctype>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace plix {

size_t DecodeUtf8(const unsigned char* p, size_t left, char32_t& cp)
{
    if (left == 0) {
        return 0;
    }
    const unsigned char b = p[0];
    if (b < 0x80) {
        cp = b;
        return 1;
    }
    size_t n = 0;
    char32_t value = 0;
    char32_t least = 0;
    if (b >= 0xC2 && b <= 0xDF) {
        n = 2;
        value = b & 0x1F;
        least = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
        n = 3;
        value = b & 0x0F;
        least = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4;
        value = b & 0x07;
        least = 0x10000;
    } else {
        return 0;
    }
    if (left < n) {
        return 0;
    }
    for (size_t k = 1; k < n; ++k) {
        if ((p[k] & 0xC0) != 0x80) {
            return 0;
        }
        value = (value << 6) | (p[k] & 0x3F);
    }
    if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return 0;
    }
    cp = value;
    return n;
}

size_t EncodeUtf8(char32_t cp, char* out)
{
    if (cp < 0x80) {
        out[0] = static_cast<char>(cp);
        return 1;
    }
    if (cp < 0x800) {
        out[0] = static_cast<char>(0xC0 | (cp >> 6));
        out[1] = static_cast<char>(0x80 | (cp & 0x3F));
        return 2;
    }
    if (cp < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (cp >> 12));
        out[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (cp & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | (cp >> 18));
    out[1] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (cp & 0x3F));
    return 4;
}

size_t FirstNonAscii(const unsigned char* p, size_t n)
{
    size_t i = 0;
#if defined(__SSE2__)
    // Sixty-four bytes a round while nothing is found: most text is ASCII.
    for (; i + 64 <= n; i += 64) {
        const auto* q = reinterpret_cast<const __m128i*>(p + i);
        const __m128i any = _mm_or_si128(_mm_or_si128(_mm_loadu_si128(q), _mm_loadu_si128(q + 1)),
                                         _mm_or_si128(_mm_loadu_si128(q + 2), _mm_loadu_si128(q + 3)));
        if (_mm_movemask_epi8(any) != 0) {
            break;
        }
    }
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const int high = _mm_movemask_epi8(v);
        if (high != 0) {
            return i + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(high)));
        }
    }
    if (i < n && n >= 16) {
        // The last bytes, in the sixteen that end the text (those before
        // `i` are ASCII already).
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + n - 16));
        const unsigned high = static_cast<unsigned>(_mm_movemask_epi8(v));
        return high == 0 ? n : n - 16 + static_cast<size_t>(__builtin_ctz(high));
    }
#endif
    for (; i < n; ++i) {
        if (p[i] >= 0x80) {
            return i;
        }
    }
    return n;
}

bool CodesetIsUtf8()
{
    const char* name = nl_langinfo(CODESET);
    return name != nullptr && std::strcmp(name, "UTF-8") == 0;
}

int CharColumns(char32_t cp)
{
    if (cp < 0x80) {
        return 1;
    }
    const int w = ::wcwidth(static_cast<wchar_t>(cp));
    return w < 0 ? 1 : w;
}

namespace {

bool IsCombining(char32_t cp)
{
    return cp >= 0x300 && ::wcwidth(static_cast<wchar_t>(cp)) == 0;
}

}  // namespace

CUtf8Words::CUtf8Words(bool countNumbers, std::string_view diacritics)
    : countNumbers_(countNumbers)
{
    for (int b = 0; b < 128; ++b) {
        ascii_[static_cast<size_t>(b)] = countNumbers ? std::iswalnum(static_cast<wint_t>(b)) != 0
                                                      : std::iswalpha(static_cast<wint_t>(b)) != 0;
    }
    const auto* p = reinterpret_cast<const unsigned char*>(diacritics.data());
    size_t i = 0;
    while (i < diacritics.size()) {
        char32_t cp = 0;
        size_t n = DecodeUtf8(p + i, diacritics.size() - i, cp);
        if (n == 0) {
            // Bytes that are no character cannot stand in UTF-8 text as one.
            ++i;
            continue;
        }
        if (cp == 0) {
        } else if (cp < 0x80) {
            ascii_[cp] = true;
        } else {
            diacritics_.push_back(cp);
        }
        i += n;
    }
    std::sort(diacritics_.begin(), diacritics_.end());
}

bool CUtf8Words::IsWordCodePoint(char32_t cp) const
{
    if (cp < 0x80) {
        return ascii_[cp];
    }
    const auto wc = static_cast<wint_t>(cp);
    if (countNumbers_ ? std::iswalnum(wc) : std::iswalpha(wc)) {
        return true;
    }
    return std::binary_search(diacritics_.begin(), diacritics_.end(), cp);
}

size_t CUtf8Words::WordAt(std::string_view text, size_t i) const
{
    if (i >= text.size()) {
        return 0;
    }
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    if (p[i] < 0x80) {
        return ascii_[p[i]] ? 1 : 0;
    }
    char32_t cp = 0;
    const size_t n = DecodeUtf8(p + i, text.size() - i, cp);
    if (n == 0) {
        return 0;
    }
    if (IsWordCodePoint(cp)) {
        return n;
    }
    if (IsCombining(cp)) {
        // A mark belongs to the character before it: a word character when
        // that one is (looking back over further marks).
        size_t start = i;
        while (start > 0) {
            size_t back = start - 1;
            while (back > 0 && (p[back] & 0xC0) == 0x80 && start - back < 4) {
                --back;
            }
            char32_t before = 0;
            if (DecodeUtf8(p + back, start - back, before) != start - back) {
                return 0;
            }
            if (!IsCombining(before)) {
                return IsWordCodePoint(before) ? n : 0;
            }
            start = back;
        }
    }
    return 0;
}

void CUtf8Words::MarkWords(std::string_view text, std::vector<unsigned char>& mask) const
{
    mask.assign(text.size(), 0);
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    bool previousWord = false;
    size_t i = 0;
    while (i < text.size()) {
        if (p[i] < 0x80) {
            previousWord = ascii_[p[i]];
            mask[i++] = previousWord ? 1 : 0;
            continue;
        }
        char32_t cp = 0;
        const size_t n = DecodeUtf8(p + i, text.size() - i, cp);
        if (n == 0) {
            previousWord = false;
            ++i;
            continue;
        }
        bool word = IsWordCodePoint(cp) || (previousWord && IsCombining(cp));
        if (word) {
            std::memset(mask.data() + i, 1, n);
        }
        previousWord = word;
        i += n;
    }
}

std::string LowerUtf8(std::string_view text, std::vector<size_t>* origins)
{
    std::string out;
    out.reserve(text.size() + 8);
    if (origins != nullptr) {
        origins->clear();
        origins->reserve(text.size() + 9);
    }
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    size_t i = 0;
    while (i < text.size()) {
        const size_t start = i;
        char32_t cp = 0;
        size_t n = DecodeUtf8(p + i, text.size() - i, cp);
        size_t written = out.size();
        if (n == 0) {
            out.push_back(static_cast<char>(p[i]));
            n = 1;
        } else if (cp < 0x80) {
            out.push_back(static_cast<char>(cp >= 'A' && cp <= 'Z' ? cp + ('a' - 'A') : cp));
        } else {
            const auto lower = static_cast<char32_t>(std::towlower(static_cast<wint_t>(cp)));
            char buf[4];
            out.append(buf, EncodeUtf8(lower, buf));
        }
        i += n;
        if (origins != nullptr) {
            for (; written < out.size(); ++written) {
                origins->push_back(start);
            }
        }
    }
    if (origins != nullptr) {
        origins->push_back(text.size());
    }
    return out;
}

size_t CharLengthAt(std::string_view text, size_t i)
{
    char32_t cp = 0;
    const size_t n =
        DecodeUtf8(reinterpret_cast<const unsigned char*>(text.data()) + i, text.size() - i, cp);
    return n == 0 ? 1 : n;
}

std::string ReverseUtf8(std::string_view text)
{
    std::string result(text.size(), '\0');
    size_t out = text.size();
    size_t i = 0;
    while (i < text.size()) {
        const size_t n = CharLengthAt(text, i);
        out -= n;
        std::memcpy(result.data() + out, text.data() + i, n);
        i += n;
    }
    return result;
}

size_t TextColumns(std::string_view text)
{
    size_t columns = 0;
    size_t i = 0;
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    while (i < text.size()) {
        char32_t cp = 0;
        size_t n = DecodeUtf8(p + i, text.size() - i, cp);
        columns += n == 0 ? 1 : static_cast<size_t>(CharColumns(cp));
        i += n == 0 ? 1 : n;
    }
    return columns;
}

size_t OffsetOfColumn(std::string_view text, size_t columns)
{
    size_t used = 0;
    size_t i = 0;
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    while (i < text.size()) {
        char32_t cp = 0;
        size_t n = DecodeUtf8(p + i, text.size() - i, cp);
        const size_t w = n == 0 ? 1 : static_cast<size_t>(CharColumns(cp));
        if (used + w > columns) {
            break;
        }
        used += w;
        i += n == 0 ? 1 : n;
    }
    return i;
}

}  // namespace plix
