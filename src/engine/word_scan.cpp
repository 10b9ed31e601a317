#include "engine/word_scan.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace plix {

namespace {

bool IsAsciiLetter(int b)
{
    return (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z');
}

}  // namespace

CWordScanner::CWordScanner(const std::array<uint16_t, 256>& wordLower) : wordLower_(wordLower)
{
#if defined(__SSE2__)
    // The fast path knows two word definitions below 128 (letters, or letters
    // and digits) and two lowerings (none, or capitals to small letters); it is
    // used only when the table says exactly one of each.
    digits_ = (wordLower_['0'] & 0x100) != 0;
    fold_ = (wordLower_['A'] & 0xff) == 'a';
    bool same = true;
    for (int b = 0; b < 128 && same; ++b) {
        const bool letterOrDigit = IsAsciiLetter(b) || (b >= '0' && b <= '9');
        bool word = IsAsciiLetter(b) || (digits_ && b >= '0' && b <= '9');
        if (!letterOrDigit && b != 0 && (wordLower_[static_cast<size_t>(b)] & 0x100) != 0) {
            // Another ASCII word character: tested for on its own.
            if (extraCount_ == kMostExtras) {
                same = false;
                break;
            }
            extras_[extraCount_++] = static_cast<unsigned char>(b);
            word = true;
        }
        int lowered = fold_ && b >= 'A' && b <= 'Z' ? b + 32 : b;
        same = wordLower_[static_cast<size_t>(b)] == ((word ? 0x100 : 0) | lowered);
    }
    vector_ = same;
#endif
}

size_t CWordScanner::ScanBytes(const unsigned char* text, size_t n, char* out, size_t base,
                               size_t* starts, size_t* ends) const
{
    // Each offset is written every time and kept (by moving the count on)
    // only where a word starts or ends: word lengths are too irregular for
    // the processor to guess a branch at each end.
    size_t startCount = 0;
    size_t endCount = 0;
    size_t previous = 0;
    for (size_t i = 0; i < n; ++i) {
        const unsigned look = wordLower_[text[i]];
        const size_t inWord = look >> 8;
        out[i] = static_cast<char>(look);
        starts[startCount] = base + i;
        startCount += inWord & (previous ^ 1);
        ends[endCount] = base + i;
        endCount += previous & (inWord ^ 1);
        previous = inWord;
    }
    if (previous) {
        ends[endCount++] = base + n;
    }
    return startCount;
}

size_t CWordScanner::Scan(const unsigned char* text, size_t n, char* out, size_t base,
                          size_t* starts, size_t* ends) const
{
    if (!vector_) {
        return ScanBytes(text, n, out, base, starts, ends);
    }
    return ScanVector<false>(text, n, out, base, starts, ends);
}

size_t CWordScanner::ScanAscii(const unsigned char* text, size_t n, char* out, size_t base,
                               size_t* starts, size_t* ends) const
{
    if (!vector_) {
        for (size_t i = 0; i < n; ++i) {
            if (text[i] >= 0x80) {
                return kNotAscii;
            }
        }
        return ScanBytes(text, n, out, base, starts, ends);
    }
    return ScanVector<true>(text, n, out, base, starts, ends);
}

#if defined(__SSE2__)
template <bool kAsciiOnly>
inline __attribute__((always_inline)) bool CWordScanner::LowerBlock(const unsigned char* text,
                                                                     size_t size, char* out,
                                                                     uint64_t& mask) const
{
    const __m128i capitalShift = _mm_set1_epi8(static_cast<char>(0x80 - 'A'));
    const __m128i smallShift = _mm_set1_epi8(static_cast<char>(0x80 - 'a'));
    const __m128i digitShift = _mm_set1_epi8(static_cast<char>(0x80 - '0'));
    const __m128i below26 = _mm_set1_epi8(static_cast<char>(-128 + 26));
    const __m128i below10 = _mm_set1_epi8(static_cast<char>(-128 + 10));
    const __m128i caseBit = _mm_set1_epi8(fold_ ? 0x20 : 0);
    const __m128i digitMask = _mm_set1_epi8(digits_ ? -1 : 0);
    mask = 0;
    size_t i = 0;
    for (; i + 16 <= size; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
        uint32_t bits;
        if (_mm_movemask_epi8(v) == 0) {
            // x + (0x80 - 'A') < -128 + 26 as signed bytes: 'A' <= x <= 'Z'.
            const __m128i capital = _mm_cmplt_epi8(_mm_add_epi8(v, capitalShift), below26);
            const __m128i lowered = _mm_or_si128(v, _mm_and_si128(capital, caseBit));
            const __m128i small = _mm_cmplt_epi8(_mm_add_epi8(v, smallShift), below26);
            const __m128i digit = _mm_cmplt_epi8(_mm_add_epi8(v, digitShift), below10);
            __m128i word =
                _mm_or_si128(_mm_or_si128(capital, small), _mm_and_si128(digit, digitMask));
            for (size_t e = 0; e < extraCount_; ++e) {
                word = _mm_or_si128(word,
                                    _mm_cmpeq_epi8(v, _mm_set1_epi8(static_cast<char>(extras_[e]))));
            }
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), lowered);
            bits = static_cast<uint32_t>(_mm_movemask_epi8(word));
        } else {
            if (kAsciiOnly) {
                return false;
            }
            bits = 0;
            for (size_t k = 0; k < 16; ++k) {
                const unsigned look = wordLower_[text[i + k]];
                out[i + k] = static_cast<char>(look);
                bits |= (look >> 8) << k;
            }
        }
        mask |= static_cast<uint64_t>(bits) << i;
    }
    for (; i < size; ++i) {
        if (kAsciiOnly && text[i] >= 0x80) {
            return false;
        }
        const unsigned look = wordLower_[text[i]];
        out[i] = static_cast<char>(look);
        mask |= static_cast<uint64_t>(look >> 8) << i;
    }
    return true;
}
#endif

void CWordScanner::Lower(const unsigned char* text, size_t n, char* out, uint64_t* masks) const
{
    for (size_t block = 0; block < n; block += 64) {
        const size_t size = n - block < 64 ? n - block : 64;
        uint64_t mask = 0;
#if defined(__SSE2__)
        if (vector_) {
            (void)LowerBlock<false>(text + block, size, out + block, mask);
            masks[block / 64] = mask;
            continue;
        }
#endif
        for (size_t i = 0; i < size; ++i) {
            const unsigned look = wordLower_[text[block + i]];
            out[block + i] = static_cast<char>(look);
            mask |= static_cast<uint64_t>(look >> 8) << i;
        }
        masks[block / 64] = mask;
    }
}

template <bool kAsciiOnly>
size_t CWordScanner::ScanVector(const unsigned char* text, size_t n, char* out, size_t base,
                                size_t* starts, size_t* ends) const
{
#if !defined(__SSE2__)
    if (kAsciiOnly) {
        for (size_t i = 0; i < n; ++i) {
            if (text[i] >= 0x80) {
                return kNotAscii;
            }
        }
    }
    return ScanBytes(text, n, out, base, starts, ends);
#else
    size_t startCount = 0;
    size_t endCount = 0;
    uint64_t carry = 0;  // 1 when the byte before the block is a word character
    for (size_t block = 0; block < n; block += 64) {
        const size_t size = n - block < 64 ? n - block : 64;
        uint64_t mask = 0;
        if (!LowerBlock<kAsciiOnly>(text + block, size, out + block, mask)) {
            return kNotAscii;
        }
        const uint64_t before = (mask << 1) | carry;
        uint64_t starting = mask & ~before;
        // A word ends at the first byte that is not a word character.
        uint64_t ending = ~mask & before;
        if (size < 64) {
            ending &= (uint64_t{1} << size) - 1;
        }
        while (starting != 0) {
            starts[startCount++] = base + block + static_cast<size_t>(__builtin_ctzll(starting));
            starting &= starting - 1;
        }
        while (ending != 0) {
            ends[endCount++] = base + block + static_cast<size_t>(__builtin_ctzll(ending));
            ending &= ending - 1;
        }
        carry = (mask >> (size - 1)) & 1;
    }
    if (carry) {
        ends[endCount++] = base + n;
    }
    return startCount;
#endif
}

}  // namespace plix
