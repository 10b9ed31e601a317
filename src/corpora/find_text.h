// A search for a short text in a long one that does not stop at every
// occurrence of the text's first byte: parse trees are full of "(", on which
// a search for "(ID " trying each "(" in turn would stop at every node.
#pragma once

#include <cstring>
#include <string>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace plix {

// Where `needle` first stands in `text` from `from` on, npos if nowhere.
// Sixteen places are tried at once on the needle's first and last bytes
// (in a parse tree the byte after a "(" begins many labels alike); only where
// both agree is the rest compared.
inline size_t FindText(std::string_view text, std::string_view needle, size_t from = 0)
{
    const size_t n = text.size();
    const size_t m = needle.size();
    if (from > n || m > n - from) {
        return std::string::npos;
    }
    if (m < 2) {
        return m == 0 ? from : text.find(needle[0], from);
    }
    const char* data = text.data();
    const size_t last = n - m;  // the last place the needle can start
    size_t i = from;
#if defined(__SSE2__)
    const __m128i first = _mm_set1_epi8(needle[0]);
    const __m128i lastByte = _mm_set1_epi8(needle[m - 1]);
    for (; i + 16 <= last + 1; i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + m - 1));
        unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(
            _mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, lastByte))));
        while (mask != 0) {
            const size_t at = i + static_cast<size_t>(__builtin_ctz(mask));
            if (std::memcmp(data + at + 1, needle.data() + 1, m - 2) == 0) {
                return at;
            }
            mask &= mask - 1;
        }
    }
    if (i <= last && last + 1 >= 16) {
        // The places left are tried at once too, in the sixteen that end at
        // the last one (those before `i` were tried already).
        const size_t j = last - 15;
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + j));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + j + m - 1));
        unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(
            _mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, lastByte))));
        mask &= ~((1u << (i - j)) - 1);
        while (mask != 0) {
            const size_t at = j + static_cast<size_t>(__builtin_ctz(mask));
            if (std::memcmp(data + at + 1, needle.data() + 1, m - 2) == 0) {
                return at;
            }
            mask &= mask - 1;
        }
        return std::string::npos;
    }
#endif
    for (; i <= last; ++i) {
        if (data[i] == needle[0] && std::memcmp(data + i + 1, needle.data() + 1, m - 1) == 0) {
            return i;
        }
    }
    return std::string::npos;
}

}  // namespace plix
