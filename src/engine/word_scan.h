// Splitting a line into words at the speed of memory. Words are the maximal
// runs of word characters. The scanner copies the line lowered (through the
// same table as everywhere else) and gives the start and end of each word, so
// that nothing downstream branches on the bytes. Where the word characters
// below 128 are plain ASCII letters (and digits, and a few other ASCII
// characters), it classifies sixteen bytes at a time; bytes from 128 up always
// go through the table.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace plix {

class CWordScanner
{
  public:
    // `wordLower[b]`: the lowered byte in the low eight bits, 0x100 when b is a
    // word character.
    explicit CWordScanner(const std::array<uint16_t, 256>& wordLower);

    // Writes the n bytes of `text` lowered to `out` (n bytes) and the offsets
    // of each word, plus `base`, to `starts` and `ends` (room for n / 2 + 2
    // each; an end is one past the word). Returns the number of words.
    size_t Scan(const unsigned char* text, size_t n, char* out, size_t base, size_t* starts,
                size_t* ends) const;
    // The same for text that may hold bytes from 128 up which the table does
    // not know (UTF-8): kNotAscii, and nothing to rely on in the output, as
    // soon as one is met.
    static constexpr size_t kNotAscii = ~size_t{0};
    size_t ScanAscii(const unsigned char* text, size_t n, char* out, size_t base, size_t* starts,
                     size_t* ends) const;
    // The same one byte at a time (the reference the fast path is tested against).
    size_t ScanBytes(const unsigned char* text, size_t n, char* out, size_t base, size_t* starts,
                     size_t* ends) const;
    // Writes the n bytes of `text` lowered to `out` and which of them are word
    // characters as bits, 64 bytes to a word of `masks` ((n + 63) / 64 of
    // them; the bits from n on are clear): for callers that want only a few
    // of the words.
    void Lower(const unsigned char* text, size_t n, char* out, uint64_t* masks) const;
    // Whether Scan classifies ASCII sixteen bytes at a time for this table.
    bool Vectorized() const { return vector_; }

  private:
    // One block of at most 64 bytes lowered into `out`, its word characters
    // as bits in `mask`; with kAsciiOnly false at a byte from 128 up.
    template <bool kAsciiOnly>
    bool LowerBlock(const unsigned char* text, size_t size, char* out, uint64_t& mask) const;
    template <bool kAsciiOnly>
    size_t ScanVector(const unsigned char* text, size_t n, char* out, size_t base, size_t* starts,
                      size_t* ends) const;
    std::array<uint16_t, 256> wordLower_;
    bool vector_ = false;
    bool digits_ = false;  // digits are word characters
    bool fold_ = false;    // ASCII capitals are lowered
    // ASCII word characters besides letters and digits (the diacritics of the
    // historical corpora: "&+=~`"), a few at most for the fast path.
    static constexpr size_t kMostExtras = 8;
    unsigned char extras_[kMostExtras] = {};
    size_t extraCount_ = 0;
};

}  // namespace plix
