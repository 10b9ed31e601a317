// A search for a short text in a long one that does not stop at every
// occurrence of the text's first byte: parse trees are full of "(", on which
// a search for "(ID " trying each "(" in turn would stop at every node.
#pragma once

#include <algorithm>
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

// Where `a` and where `b` first stand in `text` (npos where one does not), in
// one pass: both begin with the same byte. Places are tried sixteen at once on
// each text's first two bytes and its last one; only where one agrees is the
// rest compared.
struct FoundTwo
{
    size_t a = std::string::npos;
    size_t b = std::string::npos;
};
inline FoundTwo FindTwo(std::string_view text, std::string_view a, std::string_view b)
{
    FoundTwo found;
    const size_t n = text.size();
    if (a.size() < 3 || b.size() < 3 || a[0] != b[0]) {
        found.a = FindText(text, a);
        found.b = FindText(text, b);
        return found;
    }
    const char* data = text.data();
    auto tryAt = [&](size_t at) {
        if (found.a == std::string::npos && a.size() <= n - at &&
            std::memcmp(data + at, a.data(), a.size()) == 0) {
            found.a = at;
        }
        if (found.b == std::string::npos && b.size() <= n - at &&
            std::memcmp(data + at, b.data(), b.size()) == 0) {
            found.b = at;
        }
        return found.a != std::string::npos && found.b != std::string::npos;
    };
    size_t i = 0;
#if defined(__SSE2__)
    const size_t longest = std::max(a.size(), b.size());
    const __m128i first = _mm_set1_epi8(a[0]);
    const __m128i secondA = _mm_set1_epi8(a[1]);
    const __m128i secondB = _mm_set1_epi8(b[1]);
    const __m128i lastA = _mm_set1_epi8(a.back());
    const __m128i lastB = _mm_set1_epi8(b.back());
    auto load = [data](size_t at) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
    };
    auto candidates = [&](size_t at) {
        const __m128i starts = _mm_cmpeq_epi8(load(at), first);
        const __m128i second = load(at + 1);
        const __m128i isA = _mm_and_si128(_mm_cmpeq_epi8(second, secondA),
                                          _mm_cmpeq_epi8(load(at + a.size() - 1), lastA));
        const __m128i isB = _mm_and_si128(_mm_cmpeq_epi8(second, secondB),
                                          _mm_cmpeq_epi8(load(at + b.size() - 1), lastB));
        return static_cast<unsigned>(
            _mm_movemask_epi8(_mm_and_si128(starts, _mm_or_si128(isA, isB))));
    };
    for (; i + 15 + longest <= n; i += 16) {
        unsigned mask = candidates(i);
        while (mask != 0) {
            if (tryAt(i + static_cast<size_t>(__builtin_ctz(mask)))) {
                return found;
            }
            mask &= mask - 1;
        }
    }
    if (n >= 15 + longest && i + 1 < n) {
        // The places left where the longer text still fits are tried in the
        // sixteen that end at the last of them; the rest byte by byte.
        const size_t j = n - 15 - longest;
        unsigned mask = candidates(j) & ~((1u << (i - j)) - 1);
        while (mask != 0) {
            if (tryAt(j + static_cast<size_t>(__builtin_ctz(mask)))) {
                return found;
            }
            mask &= mask - 1;
        }
        i = j + 16;
    }
#endif
    for (; i + 1 < n; ++i) {
        if (data[i] == a[0] && (data[i + 1] == a[1] || data[i + 1] == b[1]) && tryAt(i)) {
            return found;
        }
    }
    return found;
}

}  // namespace plix
