// Text read as UTF-8 characters rather than bytes: decoding, the word
// definition over code points, per-character lowering and reversal, and the
// display columns a character takes. Used only when "UTF-8 text" is set and
// the installed locale is a UTF-8 one; the byte rules stay the rule otherwise.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace plix {

// The length of the whole, valid UTF-8 sequence at `p` (at most `left` bytes)
// with its code point in `cp`; 0 for a byte that does not begin one (a stray
// continuation byte, a cut or over-long sequence, a surrogate).
size_t DecodeUtf8(const unsigned char* p, size_t left, char32_t& cp);
// Writes `cp` as UTF-8 to `out` (room for 4) and returns its length.
size_t EncodeUtf8(char32_t cp, char* out);
// Index of the first byte from 128 up in the n bytes, or n; sixteen at a time.
size_t FirstNonAscii(const unsigned char* p, size_t n);
// Whether the current LC_CTYPE decodes UTF-8.
bool CodesetIsUtf8();
// The three bytes that open a UTF-8 file written with a byte-order mark.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// Display columns of a character: 2 for East Asian wide ones, 0 for combining
// marks, 1 for the rest (controls and unassigned code points included, so a
// line never loses its width to bytes the terminal would not show).
int CharColumns(char32_t cp);

// The word definition in UTF-8 text: a letter (or letter or digit), one of the
// diacritics (read as UTF-8), or a combining mark directly after one of these.
class CUtf8Words
{
  public:
    CUtf8Words() = default;
    CUtf8Words(bool countNumbers, std::string_view diacritics);

    bool IsWordCodePoint(char32_t cp) const;
    // The byte length of the word character at text[i], 0 when there is none
    // (not a word character, or bytes that are no whole character).
    size_t WordAt(std::string_view text, size_t i) const;
    // For every byte of `text`: 1 when it belongs to a word character, else 0.
    void MarkWords(std::string_view text, std::vector<unsigned char>& mask) const;
    // The word characters below 128, as a byte table.
    bool AsciiWord(unsigned char b) const { return ascii_[b]; }

  private:
    bool countNumbers_ = true;
    std::array<bool, 128> ascii_{};
    std::vector<char32_t> diacritics_;  // from 128 up, sorted
};

// Lower-cases character by character (towlower). A lowered character may take
// another number of bytes; bytes that are no whole character stay as they are.
// With `origins`, origins[k] is the offset in `text` of the character that
// byte k of the result came from, with one more entry for the end.
std::string LowerUtf8(std::string_view text, std::vector<size_t>* origins = nullptr);
// Reverses character by character, each character keeping its bytes in order
// (a stray byte counts as a character of its own).
std::string ReverseUtf8(std::string_view text);
// The byte length of the character that starts at text[i] (1 for a stray byte).
size_t CharLengthAt(std::string_view text, size_t i);
// Display columns of the text.
size_t TextColumns(std::string_view text);
// The byte offset at which `columns` display columns of `text` are used up
// (the end when the text is narrower).
size_t OffsetOfColumn(std::string_view text, size_t columns);

}  // namespace plix
