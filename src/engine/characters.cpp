// The steps of the run that differ when the text is read as UTF-8 characters:
// words of whole characters, lowering and reversal per character, and the
// concordance line measured in display columns. ASCII goes the byte way
// wherever it can, so plain English text costs what it costs in "C".
#include <algorithm>
#include <cstring>
#include <cwctype>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "engine/parse.h"
#include "settings/text.h"

namespace plix {

namespace {

bool IsControl(unsigned char byte)
{
    return byte < 0x20 || byte == 0x7f;
}

bool AllAscii(std::string_view text)
{
    return FirstNonAscii(reinterpret_cast<const unsigned char*>(text.data()), text.size()) ==
           text.size();
}

// True when every byte of `text` is printable ASCII or a byte from 0x20 to
// 0x7e: the line is known to be ASCII and to have no control character in one
// pass (so nearly every line of English text).
bool PlainAscii(std::string_view text)
{
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const size_t n = text.size();
    size_t i = 0;
#if defined(__SSE2__)
    // As signed bytes, printable ASCII is 0x20..0x7e; bytes from 0x80 up are
    // negative, so one range test covers both questions.
    const __m128i below = _mm_set1_epi8(0x1f);
    const __m128i above = _mm_set1_epi8(0x7f);
    auto bad = [&](size_t at) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at));
        return _mm_or_si128(_mm_cmpgt_epi8(below, v), _mm_cmpeq_epi8(v, above));
    };
    for (; i + 64 <= n; i += 64) {
        const __m128i any =
            _mm_or_si128(_mm_or_si128(bad(i), bad(i + 16)), _mm_or_si128(bad(i + 32), bad(i + 48)));
        if (_mm_movemask_epi8(any) != 0) {
            return false;
        }
    }
    for (; i + 16 <= n; i += 16) {
        if (_mm_movemask_epi8(bad(i)) != 0) {
            return false;
        }
    }
    if (i < n && n >= 16) {
        return _mm_movemask_epi8(bad(n - 16)) == 0;  // the last sixteen, overlapping
    }
#endif
    for (; i < n; ++i) {
        if (p[i] < 0x20 || p[i] >= 0x7f) {
            return false;
        }
    }
    return true;
}

// The start of the character that ends just before `end`.
size_t CharStartBefore(std::string_view text, size_t end)
{
    size_t start = end - 1;
    while (start > 0 && end - start < 4 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80) {
        --start;
    }
    if (CharLengthAt(text, start) != end - start) {
        return end - 1;  // a stray byte is a character of its own
    }
    return start;
}

// The tail of `text` that fills at most `columns` display columns, whole
// characters only; `used` gets the columns it fills.
size_t TailStart(std::string_view text, size_t columns, size_t& used)
{
    used = 0;
    size_t start = text.size();
    while (start > 0) {
        const size_t from = CharStartBefore(text, start);
        char32_t cp = 0;
        const size_t n = DecodeUtf8(reinterpret_cast<const unsigned char*>(text.data()) + from,
                                    start - from, cp);
        const size_t w = n == 0 ? 1 : static_cast<size_t>(CharColumns(cp));
        if (used + w > columns) {
            break;
        }
        used += w;
        start = from;
    }
    return start;
}

void AppendBlankingControls(std::string& out, std::string_view text)
{
    size_t start = out.size();
    out.append(text);
    for (size_t i = start; i < out.size(); ++i) {
        if (IsControl(static_cast<unsigned char>(out[i]))) {
            out[i] = ' ';
        }
    }
}

}  // namespace

std::string CParse::LowerText(std::string_view text) const
{
    return utf8_ ? LowerUtf8(text) : LowerMb(text);
}

std::string CParse::ReverseText(std::string_view text) const
{
    return utf8_ ? ReverseUtf8(text) : std::string(text.rbegin(), text.rend());
}

size_t CParse::ScanUtf8(const unsigned char* text, size_t n, char* out, size_t base,
                        size_t* starts, size_t* ends, size_t& outLength) const
{
    // ASCII text (nearly all of English) takes the byte scanner's way; it
    // gives up at the first byte from 128 up, and the text is read again
    // character by character.
    const size_t ascii = wordScanner_->ScanAscii(text, n, out, base, starts, ends);
    if (ascii != CWordScanner::kNotAscii) {
        outLength = n;
        return ascii;
    }
    const bool fold = ctx_.corpus.ignoreCase != 0;
    size_t count = 0;
    size_t o = 0;
    bool previous = false;
    size_t i = 0;
    while (i < n) {
        bool inWord;
        const size_t at = o;
        if (text[i] < 0x80) {
            const unsigned look = wordLower_[text[i]];
            out[o++] = static_cast<char>(look);
            inWord = (look >> 8) != 0;
            ++i;
        } else {
            char32_t cp = 0;
            size_t len = DecodeUtf8(text + i, n - i, cp);
            if (len == 0) {
                out[o++] = static_cast<char>(text[i++]);
                inWord = false;
            } else {
                std::string_view whole(reinterpret_cast<const char*>(text), n);
                inWord = utf8Words_.IsWordCodePoint(cp) ||
                         (previous && utf8Words_.WordAt(whole, i) != 0);
                if (inWord && fold) {
                    const auto lower = static_cast<char32_t>(std::towlower(static_cast<wint_t>(cp)));
                    o += EncodeUtf8(lower, out + o);
                } else {
                    std::memcpy(out + o, text + i, len);
                    o += len;
                }
                i += len;
            }
        }
        if (inWord && !previous) {
            starts[count] = base + at;
        } else if (!inWord && previous) {
            ends[count++] = base + at;
        }
        previous = inWord;
    }
    if (previous) {
        ends[count++] = base + o;
    }
    outLength = o;
    return count;
}

bool CParse::ListFilterBoundaryUtf8(size_t at, size_t endAt, bool& beforeWord,
                                    bool& afterWord) const
{
    beforeWord = at > 0 && utf8Words_.WordAt(word, CharStartBefore(word, at)) != 0;
    afterWord = endAt < word.size() && utf8Words_.WordAt(word, endAt) != 0;
    return true;
}

void CParse::LastWordReversedUtf8(std::string& text)
{
    word.clear();
    if (text.size() < 2) {
        text.clear();
        return;
    }
    // The last byte of a file line is the blank the reader appended.
    std::string_view body(text.data(), text.size() - 1);
    utf8Words_.MarkWords(body, lineMask_);
    size_t end = body.size();
    while (end > 0 && lineMask_[end - 1] == 0) {
        --end;
    }
    size_t start = end;
    while (start > 0 && lineMask_[start - 1] != 0) {
        --start;
    }
    // Lowered whatever "Ignore Case" says, as the byte rule does.
    word = ReverseUtf8(LowerUtf8(body.substr(start, end - start)));
    text.clear();
}

long CParse::FindUtf8(size_t offset)
{
    // An ASCII line (nearly every line of English text) is searched as in a
    // single-byte code page, folding bytes as it compares.
    if (offset == 0) {
        loweredLine_.clear();
        loweredOrigins_.clear();
        if (PlainAscii(line)) {
            // What the rest of the line's work would ask again.
            loweredOrigins_.push_back(0);  // marks the line as ASCII
            lineControls_ = kNoControls;
            lineAscii_ = true;
        } else if (AllAscii(line)) {
            loweredOrigins_.push_back(0);
        } else {
            loweredLine_ = LowerUtf8(line, &loweredOrigins_);
        }
    }
    if (loweredLine_.empty()) {
        keywordLength = keyword.size();
        return FindFolded(offset);
    }
    // Lowering may change a character's length: search the lowered copy from
    // where `offset` went, and give the offset and length in the line itself.
    const size_t from = static_cast<size_t>(
        std::lower_bound(loweredOrigins_.begin(), loweredOrigins_.end(), offset) -
        loweredOrigins_.begin());
    if (from >= loweredLine_.size() || keyword.empty()) {
        return -1;
    }
    const void* hit = memmem(loweredLine_.data() + from, loweredLine_.size() - from,
                             keyword.data(), keyword.size());
    if (hit == nullptr) {
        return -1;
    }
    const size_t found = static_cast<size_t>(static_cast<const char*>(hit) - loweredLine_.data());
    const size_t start = loweredOrigins_[found];
    const size_t end = loweredOrigins_[found + keyword.size()];
    keywordLength = end > start ? end - start : keyword.size();
    return static_cast<long>(start);
}

long CParse::KeywordIndex() const
{
    // Bytes: the keyword always starts at the keyword position's index.
    return utf8_ ? keywordAt_ : static_cast<long>(ctx_.corpus.GetKeywordPosition()) - 1;
}

bool CParse::ContextWordAt(long i) const
{
    if (i < 0 || static_cast<size_t>(i) >= contextLine.size()) {
        return false;
    }
    if (utf8_) {
        return contextMask_[static_cast<size_t>(i)] != 0;
    }
    const auto b = static_cast<unsigned char>(contextLine[static_cast<size_t>(i)]);
    return b != 0 && wordChar_[b];
}

void CParse::UpdateLeftTextUtf8(const std::string& line)
{
    // leftText holds whole characters filling the keyword position's columns.
    const size_t p = static_cast<size_t>(std::max(0, ctx_.corpus.GetKeywordPosition()));
    const std::string joined = leftText + line;
    size_t used = 0;
    const size_t start = TailStart(joined, p, used);
    std::string fresh(p - used, ' ');
    AppendBlankingControls(fresh, std::string_view(joined).substr(start));
    leftText = std::move(fresh);
    leftTextAscii_ = AllAscii(leftText);
}

bool CParse::LeftTextTakesBytes(const std::string& line) const
{
    // ASCII characters are one column each: where every character involved
    // is ASCII, the byte way gives the same text at the byte way's cost.
    const size_t p = static_cast<size_t>(std::max(0, ctx_.corpus.GetKeywordPosition()));
    const bool ascii = lineAscii_ && Handler(row_.contextSource) == nullptr;
    if (line.size() >= p) {
        return ascii || AllAscii(std::string_view(line).substr(line.size() - p));
    }
    return leftTextAscii_ && (ascii || AllAscii(line));
}

void CParse::BuildContextLineUtf8(size_t h)
{
    const size_t P = static_cast<size_t>(std::max(0, ctx_.corpus.GetKeywordPosition()));
    const long lineLength = ctx_.corpus.GetLineLength();
    const size_t R = lineLength > static_cast<long>(P) ? static_cast<size_t>(lineLength) - P : 0;
    const std::string& line = SeparatedLine();
    // The text of the current line, or the copy its handler keeps for the
    // purpose (same offsets; a blank past its end).
    std::string current;
    const CCorpusHandler* source = Handler(row_.contextSource);
    const std::string* kept = source != nullptr ? source->ContextSource() : nullptr;
    if (kept != nullptr) {
        current = kept->substr(0, std::min(kept->size(), line.size()));
        current.resize(line.size(), ' ');
    }
    std::string_view text = kept != nullptr ? std::string_view(current) : std::string_view(line);
    h = std::min(h, text.size());

    // Left part: P columns of whole characters, from this line and, when it
    // starts sooner, from the text before it; blanks make up a wide character
    // that would not fit.
    size_t used = 0;
    const size_t leftStart = TailStart(text.substr(0, h), P, used);
    contextLine.clear();
    if (used < P) {
        size_t more = 0;
        const size_t fromLeft = leftStart == 0 ? TailStart(leftText, P - used, more) : leftText.size();
        contextLine.assign(P - used - more, ' ');
        contextLine.append(leftText, fromLeft, std::string::npos);
    }
    AppendBlankingControls(contextLine, text.substr(leftStart, h - leftStart));
    const size_t keywordStart = contextLine.size();

    hitOffset_ = h;
    if (CCorpusHandler* locator = Handler(row_.locateHit)) {
        locator->LocateHit(view_, line, h);
    }
    // Right part: R columns from the hit on, from the following lines when the
    // line ends sooner.
    std::string_view rest = text.substr(h);
    size_t take = OffsetOfColumn(rest, R);
    AppendBlankingControls(contextLine, rest.substr(0, take));
    size_t columns = TextColumns(rest.substr(0, take));
    if (take == rest.size() && columns < R) {
        std::string following;
        ctx_.input.PeekText(following, 4 * static_cast<size_t>(std::max(0L, lineLength)) + 16);
        for (HandlerId id : row_.cleanFollowing) {
            if (CCorpusHandler* handler = Handler(id)) {
                handler->CleanFollowingText(view_, following);
            }
        }
        std::string_view more(following);
        AppendBlankingControls(contextLine, more.substr(0, OffsetOfColumn(more, R - columns)));
    }

    // Trim so that no word is cut at either edge, character by character.
    utf8Words_.MarkWords(contextLine, contextMask_);
    size_t end = contextLine.size();
    size_t cut = std::string::npos;
    for (size_t i = end; i > keywordStart + 1;) {
        const size_t from = CharStartBefore(contextLine, i);
        if (from <= keywordStart) {
            break;
        }
        if (contextMask_[from] == 0) {
            cut = from;
            break;
        }
        i = from;
    }
    if (cut != std::string::npos) {
        contextLine.resize(cut);
    } else if (!contextLine.empty()) {
        contextLine.resize(CharStartBefore(contextLine, contextLine.size()));
    }
    size_t blankEnd = 0;  // one past the last character that becomes blanks
    for (size_t i = 0; i < keywordStart && i < contextLine.size();) {
        const size_t n = CharLengthAt(contextLine, i);
        if (contextMask_[i] == 0) {
            blankEnd = i + n;
            break;
        }
        i += n;
    }
    if (blankEnd == 0 && !contextLine.empty()) {
        blankEnd = CharLengthAt(contextLine, 0);
    }
    blankEnd = std::min(blankEnd, contextLine.size());
    const size_t blanks = TextColumns(std::string_view(contextLine).substr(0, blankEnd));
    contextLine.replace(0, blankEnd, std::string(blanks, ' '));
    long at = static_cast<long>(keywordStart + blanks) - static_cast<long>(blankEnd);
    if (!contextLine.empty()) {
        contextLine.erase(0, 1);
        --at;
    }
    keywordAt_ = at;
    utf8Words_.MarkWords(contextLine, contextMask_);
}

long CParse::NextAnyWordUtf8(size_t offset)
{
    if (offset == 0) {
        utf8Words_.MarkWords(line, lineMask_);
    }
    size_t i = offset;
    while (i < line.size() && lineMask_[i] == 0) {
        ++i;
    }
    if (i >= line.size()) {
        return -1;
    }
    size_t start = i;
    while (i < line.size() && lineMask_[i] != 0) {
        ++i;
    }
    word = LowerUtf8(std::string_view(line).substr(start, i - start));
    keywordLength = i - start;
    return static_cast<long>(start);
}

}  // namespace plix
