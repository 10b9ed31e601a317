// The concordance modes (by keyword, by left or right context, of all words)
// and the collocation list, which finds its hits the same way.
#include <algorithm>
#include <atomic>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "corpora/dispatch.h"
#include "engine/collocate_scan.h"
#include "engine/parse.h"
#include "settings/text.h"
#include "settings/utf8.h"

namespace plix {

namespace {

bool IsControl(unsigned char byte)
{
    return byte < 0x20 || byte == 0x7f;
}

// Where the first of the `n` bytes below 0x20 or equal to 0x7f stands; `n`
// when there is none.
size_t FirstControl(const unsigned char* bytes, size_t n)
{
    constexpr uint64_t kOnes = 0x0101010101010101ull;
    constexpr uint64_t kHighs = 0x8080808080808080ull;
    size_t i = 0;
#if defined(__SSE2__)
    // Sixteen at a time: a byte is below 0x20 where its unsigned minimum
    // with 0x1f is itself.
    const __m128i low = _mm_set1_epi8(0x1f);
    const __m128i del = _mm_set1_epi8(0x7f);
    for (; i + 16 <= n; i += 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
        const __m128i hit =
            _mm_or_si128(_mm_cmpeq_epi8(_mm_min_epu8(x, low), x), _mm_cmpeq_epi8(x, del));
        if (const int mask = _mm_movemask_epi8(hit); mask != 0) {
            return i + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
        }
    }
#endif
    for (; i + 8 <= n; i += 8) {
        uint64_t x;
        std::memcpy(&x, bytes + i, 8);
        const uint64_t below = (x - kOnes * 0x20) & ~x & kHighs;  // some byte < 0x20
        const uint64_t del = x ^ (kOnes * 0x7f);
        const uint64_t isDel = (del - kOnes) & ~del & kHighs;  // some byte == 0x7f
        if ((below | isDel) != 0) {
            break;
        }
    }
    for (; i < n; ++i) {
        if (IsControl(bytes[i])) {
            return i;
        }
    }
    return n;
}

// True when any of the `n` bytes is below 0x20 or is 0x7f.
bool HasControl(const unsigned char* bytes, size_t n)
{
    return FirstControl(bytes, n) != n;
}

// Every byte below 0x20 or equal to 0x7f of the `n` at `bytes` becomes a
// blank, sixteen at a time: text read ahead has a line feed every line.
void BlankControls(unsigned char* bytes, size_t n)
{
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i low = _mm_set1_epi8(0x1f);
    const __m128i del = _mm_set1_epi8(0x7f);
    const __m128i blank = _mm_set1_epi8(' ');
    for (; i + 16 <= n; i += 16) {
        auto* at = reinterpret_cast<__m128i*>(bytes + i);
        const __m128i x = _mm_loadu_si128(at);
        const __m128i hit =
            _mm_or_si128(_mm_cmpeq_epi8(_mm_min_epu8(x, low), x), _mm_cmpeq_epi8(x, del));
        if (_mm_movemask_epi8(hit) != 0) {
            _mm_storeu_si128(at, _mm_or_si128(_mm_and_si128(hit, blank), _mm_andnot_si128(hit, x)));
        }
    }
#endif
    for (; i < n; ++i) {
        if (IsControl(bytes[i])) {
            bytes[i] = ' ';
        }
    }
}

void AppendBlankingControls(std::string& out, std::string_view text)
{
    const size_t start = out.size();
    out.append(text);
    // Runs for every hit: most text has no control character at all, and
    // what has one (a line read ahead, with its line feed) has it near the end.
    const size_t first =
        FirstControl(reinterpret_cast<const unsigned char*>(text.data()), text.size());
    if (first < text.size()) {
        BlankControls(reinterpret_cast<unsigned char*>(out.data()) + start + first, text.size() - first);
    }
}

}  // namespace

bool CParse::PrepareKeyword(const KeywordRequest& request)
{
    keyword = request.keyword;
    if (keyword.empty()) {
        return false;
    }
    keywordLength = keyword.size();
    ctx_.corpus.PushHistoryKeyword(keyword);
    matchLeft = request.matchLeft ? 1 : 0;
    matchRight = request.matchRight ? 1 : 0;
    regex = request.regex ? 1 : 0;
    if (!regex) {
        keyword = LowerText(keyword);
    } else {
        ctx_.gnu.InitKeyword();
        (void)ctx_.gnu.CompileKeyword(
            keyword, RegexWordCharacters{ctx_.corpus.countNumbers != 0, ctx_.corpus.diacritics});
    }
    useContextWord = request.useContextWord ? 1 : 0;
    if (useContextWord) {
        contextWord = request.contextWord;
        if (contextWord.empty()) {
            useContextWord = 0;
            return true;
        }
        contextLeft = request.contextLeft;
        contextRight = request.contextRight;
        if (!regex) {
            contextWord = LowerText(contextWord);
        } else {
            ctx_.gnu.InitContext();
            (void)ctx_.gnu.CompileContext(
                contextWord,
                RegexWordCharacters{ctx_.corpus.countNumbers != 0, ctx_.corpus.diacritics});
        }
    }
    return true;
}

long CParse::FindKeyword(size_t offset)
{
    if (regex) {
        // The pattern sees the line's own text: not the blank the reader
        // appended, nor the line end of a line read ahead, so that "$" holds
        // where the line ends.
        size_t end = line.size();
        if (!ctx_.input.ReadsWindow() && end > 0 && line[end - 1] == ' ') {
            --end;
        }
        if (end > 0 && line[end - 1] == '\n') {
            --end;
        }
        if (offset >= end) {
            return -1;
        }
        size_t length = 0;
        long found = ctx_.gnu.SearchKeyword(std::string_view(line.data(), end), offset, length);
        if (found < 0) {
            return -1;
        }
        keywordLength = length;
        return found;
    }
    if (utf8_) {
        return FindUtf8(offset);
    }
    if (!multibyte_) {
        return FindFolded(offset);
    }
    // The plain search ignores case: it looks in a lower-cased copy of the
    // line, made once per line (lowering keeps every byte where it was).
    if (offset == 0 || loweredLine_.size() != line.size()) {
        loweredLine_ = line;
        LowerMbInPlace(loweredLine_);
    }
    if (offset >= loweredLine_.size()) {
        return -1;
    }
    size_t found = FindMb(std::string_view(loweredLine_).substr(offset), keyword);
    if (found == std::string_view::npos) {
        return -1;
    }
    return static_cast<long>(offset + found);
}

long CParse::FindFolded(size_t offset)
{
    // In a single-byte code page, finding the lower-cased keyword in the
    // lower-cased line is a search that folds each byte as it compares, and
    // never copies the line. Where only a few bytes fold to the keyword's
    // first and to its last byte (a letter and its capital), sixteen places
    // are tested at once for both; otherwise a Horspool search skips ahead.
    const size_t m = keyword.size();
    const size_t n = line.size();
    if (m == 0 || offset >= n || n - offset < m) {
        return -1;
    }
    // Asked at every hit: the tables are made again only for a new keyword.
    if (foldedShiftFor_.size() != m ||
        !std::equal(keyword.begin(), keyword.end(), foldedShiftFor_.begin())) {
        foldedShift_.fill(m);
        for (size_t k = 0; k + 1 < m; ++k) {
            // Every byte that folds to this keyword byte shifts alike.
            for (int b = 0; b < 256; ++b) {
                if (alwaysLower_[b] == static_cast<unsigned char>(keyword[k])) {
                    foldedShift_[b] = m - 1 - k;
                }
            }
        }
        const auto foldings = [this](unsigned char k, unsigned char* out) {
            size_t count = 0;
            for (int b = 0; b < 256; ++b) {
                if (alwaysLower_[b] == k) {
                    if (count == kMostFoldings) {
                        return kMostFoldings + 1;
                    }
                    out[count++] = static_cast<unsigned char>(b);
                }
            }
            return count;
        };
        foldFirstCount_ = foldings(static_cast<unsigned char>(keyword[0]), foldFirst_);
        foldLastCount_ = foldings(static_cast<unsigned char>(keyword[m - 1]), foldLast_);
        foldVector_ = foldFirstCount_ >= 1 && foldFirstCount_ <= kMostFoldings &&
                      foldLastCount_ >= 1 && foldLastCount_ <= kMostFoldings;
        foldedShiftFor_ = keyword;
    }
    const auto* text = reinterpret_cast<const unsigned char*>(line.data());
    const auto* key = reinterpret_cast<const unsigned char*>(keyword.data());
    // Whether the keyword stands at i, given that its first and last bytes do.
    const auto middleMatches = [&](size_t i) {
        for (size_t k = 1; k + 1 < m; ++k) {
            if (alwaysLower_[text[i + k]] != key[k]) {
                return false;
            }
        }
        return true;
    };
    size_t i = offset;
#if defined(__SSE2__)
    if (foldVector_) {
        // A byte missing from a folding set is a repeat of its first member.
        __m128i first[kMostFoldings];
        __m128i last[kMostFoldings];
        for (size_t j = 0; j < kMostFoldings; ++j) {
            first[j] = _mm_set1_epi8(static_cast<char>(foldFirst_[std::min(j, foldFirstCount_ - 1)]));
            last[j] = _mm_set1_epi8(static_cast<char>(foldLast_[std::min(j, foldLastCount_ - 1)]));
        }
        const auto matching = [](__m128i x, const __m128i* set, size_t count) {
            __m128i hit = _mm_cmpeq_epi8(x, set[0]);
            for (size_t j = 1; j < count; ++j) {
                hit = _mm_or_si128(hit, _mm_cmpeq_epi8(x, set[j]));
            }
            return hit;
        };
        for (; i + m - 1 + 16 <= n; i += 16) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i + m - 1));
            auto mask = static_cast<unsigned>(_mm_movemask_epi8(
                _mm_and_si128(matching(a, first, foldFirstCount_), matching(b, last, foldLastCount_))));
            while (mask != 0) {
                const size_t at = i + static_cast<size_t>(__builtin_ctz(mask));
                if (middleMatches(at)) {
                    return static_cast<long>(at);
                }
                mask &= mask - 1;
            }
        }
    }
#endif
    const unsigned char lastKey = key[m - 1];
    while (i + m <= n) {
        const unsigned char c = alwaysLower_[text[i + m - 1]];
        if (c == lastKey && alwaysLower_[text[i]] == key[0] && middleMatches(i)) {
            return static_cast<long>(i);
        }
        i += foldedShift_[text[i + m - 1]];
    }
    return -1;
}

const std::string& CParse::SeparatedLine()
{
    // A window line has no blank after it; without one, the last word of a line
    // and the first word of the next would run together in the context.
    if (!ctx_.input.ReadsWindow()) {
        return line;
    }
    separatedLine_ = line;
    separatedLine_ += ' ';
    return separatedLine_;
}

void CParse::BuildContextLine(size_t h)
{
    if (utf8_) {
        BuildContextLineUtf8(h);
        return;
    }
    const long P = ctx_.corpus.GetKeywordPosition();
    const long L = ctx_.corpus.GetLineLength();
    const std::string& line = SeparatedLine();
    const long n = static_cast<long>(line.size());
    const long hit = static_cast<long>(h);
    contextLine.clear();
    // Left part from the text before this line.
    if (hit < P) {
        // The text before the line had its control characters blanked when
        // it was kept.
        size_t want = static_cast<size_t>(P - hit);
        size_t have = leftText.size();
        contextLine.append(std::string_view(leftText).substr(have - std::min(want, have)));
    }
    // From the current line, or from the text its handler keeps for the
    // purpose (same offsets; a blank past its end).
    long from = std::max(0L, hit - P);
    long to = std::min(n, hit - P + L);
    if (to > from) {
        const CCorpusHandler* source = Handler(row_.contextSource);
        const std::string* text = source != nullptr ? source->ContextSource() : nullptr;
        if (text == nullptr) {
            // Every hit of a line takes a piece of it: the line is checked
            // for control characters once, not once a hit.
            if (lineControls_ == kNotChecked || (lineControls_ == kHasControls && !controlSpanKnown_)) {
                // Where the first and the last control character stand: a
                // line read ahead before has a line feed just before its
                // end, and the pieces that stop short of it need no blanking.
                const auto* bytes = reinterpret_cast<const unsigned char*>(line.data());
                const size_t first = FirstControl(bytes, line.size());
                lineControls_ = first < line.size() ? kHasControls : kNoControls;
                size_t last = line.size();
                while (last > first && !IsControl(bytes[last - 1])) {
                    --last;
                }
                controlsFrom_ = first;
                controlsTo_ = last;  // one past the last
                controlSpanKnown_ = true;
            }
            const std::string_view piece = std::string_view(line).substr(
                static_cast<size_t>(from), static_cast<size_t>(to - from));
            const size_t base = contextLine.size();
            contextLine.append(piece);
            if (lineControls_ == kHasControls) {
                // Only where the piece meets the line's controls.
                const size_t lo = std::max(static_cast<size_t>(from), controlsFrom_);
                const size_t hi = std::min(static_cast<size_t>(to), controlsTo_);
                if (hi > lo) {
                    BlankControls(reinterpret_cast<unsigned char*>(contextLine.data()) + base +
                                      (lo - static_cast<size_t>(from)),
                                  hi - lo);
                }
            }
        } else {
            std::string bytes(static_cast<size_t>(to - from), ' ');
            for (long i = from; i < to && static_cast<size_t>(i) < text->size(); ++i) {
                bytes[static_cast<size_t>(i - from)] = (*text)[static_cast<size_t>(i)];
            }
            AppendBlankingControls(contextLine, bytes);
        }
    }
    hitOffset_ = h;
    if (CCorpusHandler* locator = Handler(row_.locateHit)) {
        locator->LocateHit(view_, line, h);
    }
    // Right part from the following lines.
    long need = hit - P + L - n;
    if (need > 0) {
        std::string& text = peeked_;
        // The text after the line is the same for each of its hits: read
        // ahead once a line, unless a handler cleans it anew for each hit.
        if (!peekedKept_ || !row_.cleanFollowing.empty()) {
            ctx_.input.PeekText(text, static_cast<size_t>(L));
            for (HandlerId id : row_.cleanFollowing) {
                if (CCorpusHandler* handler = Handler(id)) {
                    handler->CleanFollowingText(view_, text);
                }
            }
            peekedControls_ =
                HasControl(reinterpret_cast<const unsigned char*>(text.data()), text.size());
            peekedBlankTo_ = 0;
            peekedKept_ = true;
        }
        const size_t take = std::min(text.size(), static_cast<size_t>(need));
        if (peekedControls_ && take > peekedBlankTo_) {
            // Blanked in place, as far as a hit has needed it: the line feeds
            // between the lines read ahead are control characters too, and
            // the next hit of the line takes the same text.
            BlankControls(reinterpret_cast<unsigned char*>(text.data()) + peekedBlankTo_,
                          take - peekedBlankTo_);
            peekedBlankTo_ = take;
        }
        contextLine.append(std::string_view(text).substr(0, take));
    }
    // The keyword now starts at index P. Trim so that no word is cut at either edge.
    const size_t p = static_cast<size_t>(std::max(0L, P));
    size_t cut = std::string::npos;
    for (size_t i = contextLine.size(); i-- > p + 1;) {
        if (!wordChar_[static_cast<unsigned char>(contextLine[i])]) {
            cut = i;
            break;
        }
    }
    if (cut != std::string::npos) {
        contextLine.resize(cut);
    } else if (!contextLine.empty()) {
        contextLine.pop_back();
    }
    size_t blankTo = 0;
    for (size_t i = 0; i < p && i < contextLine.size(); ++i) {
        if (!wordChar_[static_cast<unsigned char>(contextLine[i])]) {
            blankTo = i;
            break;
        }
    }
    for (size_t i = 0; i <= blankTo && i < contextLine.size(); ++i) {
        contextLine[i] = ' ';
    }
    if (!contextLine.empty()) {
        contextLine.erase(0, 1);
    }
}

void CParse::UpdateLeftText()
{
    // Whether the line holds a control character may be known from its hits,
    // unless its handler now gives back another text.
    bool noControls = lineControls_ == kNoControls;
    if (CCorpusHandler* h = Handler(row_.contextSource)) {
        h->RestoreLine(line);
        noControls = false;
    }
    // A file line the handler emptied moves nothing (a window line is still
    // followed by the blank that separates it from the next).
    if (line.empty() && !ctx_.input.ReadsWindow()) {
        return;
    }
    const size_t p = static_cast<size_t>(std::max(0, ctx_.corpus.GetKeywordPosition()));
    const std::string& line = SeparatedLine();
    if (utf8_) {
        if (!LeftTextTakesBytes(line)) {
            UpdateLeftTextUtf8(line);
            return;
        }
        leftTextAscii_ = true;
    }
    // Only the bytes taken from this line need their control characters
    // blanked: what stays of the old text was blanked before.
    size_t fresh = 0;
    if (line.size() >= p) {
        leftText.assign(line, line.size() - p, p);
        fresh = p;
    } else {
        if (leftText.size() != p) {
            leftText.resize(p, ' ');
        }
        std::memmove(leftText.data(), leftText.data() + line.size(), p - line.size());
        std::memcpy(leftText.data() + (p - line.size()), line.data(), line.size());
        fresh = line.size();
    }
    // Runs for every line read: test eight bytes at a time, and rewrite only
    // when there is a control character at all.
    auto* fresh0 = reinterpret_cast<unsigned char*>(leftText.data()) + (p - fresh);
    if (!noControls && HasControl(fresh0, fresh)) {
        BlankControls(fresh0, fresh);
    }
}


bool CParse::MatchBoundaries()
{
    bool beforeWord = ContextWordAt(KeywordIndex() - 1);
    bool afterWord = ContextWordAt(KeywordIndex() + static_cast<long>(keywordLength));
    if (matchLeft && beforeWord) {
        return false;
    }
    if (matchRight && afterWord) {
        return false;
    }
    return MatchContextWord();
}

bool CParse::MatchContextWord()
{
    if (!useContextWord) {
        return true;
    }
    auto isWord = [this](long i) { return ContextWordAt(i); };
    leftWords.clear();
    rightWords.clear();
    if (contextLeft > 0) {
        ScanLeftWords(contextLine, KeywordIndex() - 1, isWord, [&](std::string_view w) {
            leftWords.push_back(LowerText(w));
            return static_cast<int>(leftWords.size()) < contextLeft;
        });
    }
    if (contextRight > 0) {
        ScanRightWords(contextLine, KeywordIndex() + static_cast<long>(keywordLength), isWord,
                       [&](std::string_view w) {
                           rightWords.push_back(LowerText(w));
                           return static_cast<int>(rightWords.size()) < contextRight;
                       });
    }
    auto matches = [&](const std::string& w) {
        if (regex) {
            size_t length = 0;
            return ctx_.gnu.SearchContext(w, 0, length) >= 0;
        }
        return w == contextWord;
    };
    return std::any_of(leftWords.begin(), leftWords.end(), matches) ||
           std::any_of(rightWords.begin(), rightWords.end(), matches);
}

void CParse::MakeSortKey(int sortKind)
{
    const long P = KeywordIndex() + 1;  // the keyword's column, counting from 1
    const int column = ctx_.corpus.GetSortColumn();
    const long n = static_cast<long>(contextLine.size());
    auto isWord = [this](long i) { return ContextWordAt(i); };
    word.clear();
    if (sortKind == 1) {
        if (column == 0 && utf8_) {
            // The whole left context, nearest word first, each spelt forwards;
            // a UTF-8 word character spans several bytes, so words are found
            // by character.
            long wordEnd = -1;
            for (long i = P - 2; i >= 0; --i) {
                if (isWord(i)) {
                    if (wordEnd < 0) {
                        wordEnd = i + 1;
                    }
                    continue;
                }
                if (wordEnd >= 0) {
                    word.append(contextLine, static_cast<size_t>(i + 1),
                                static_cast<size_t>(wordEnd - i - 1));
                    wordEnd = -1;
                }
                word += ' ';
            }
            if (wordEnd >= 0) {
                word.append(contextLine, 0, static_cast<size_t>(wordEnd));
            }
        } else if (column == 0) {
            // The whole left context, nearest word first, each spelt forwards;
            // every other byte, and every place past the end of the line, a
            // blank: one byte of key for each place before the keyword. Built
            // for every hit, so it is written in place.
            const auto* bytes = reinterpret_cast<const unsigned char*>(contextLine.data());
            word.resize(static_cast<size_t>(std::max(0L, P - 1)));
            char* out = word.data();
            long i = P - 2;
            for (; i >= n && i >= 0; --i) {
                *out++ = ' ';
            }
            if (!multibyte_ && i >= 0 && i < 64) {
                // Up to 64 places: the word bytes as bits, each place as its
                // key byte; then the stretches of blanks and the words from
                // the keyword outwards, a stretch at a time.
                unsigned char keyBytes[64];
                uint64_t words = 0;
                for (long k = 0; k <= i; ++k) {
                    const unsigned char b = bytes[k];
                    keyBytes[k] = leftKeyByte_[b];
                    words |= static_cast<uint64_t>(b != 0 && wordChar_[b]) << k;
                }
                long end = i + 1;  // the places still to go are 0..end-1
                while (end > 0) {
                    const uint64_t below = end == 64 ? ~uint64_t{0} : (uint64_t{1} << end) - 1;
                    const uint64_t wordBits = words & below;
                    // Blanks down to the next word byte, then that word.
                    const long wordTop = wordBits == 0 ? -1 : 63 - __builtin_clzll(wordBits);
                    const long blanks = end - 1 - wordTop;
                    std::memset(out, ' ', static_cast<size_t>(blanks));
                    out += blanks;
                    if (wordTop < 0) {
                        break;
                    }
                    const uint64_t upTo = wordTop == 63 ? ~uint64_t{0} : (uint64_t{2} << wordTop) - 1;
                    const uint64_t gaps = ~words & upTo;
                    const long wordStart = gaps == 0 ? 0 : 64 - __builtin_clzll(gaps);
                    const auto length = static_cast<size_t>(wordTop + 1 - wordStart);
                    std::memcpy(out, keyBytes + wordStart, length);
                    out += length;
                    end = wordStart;
                }
                return;
            }
            long wordEnd = -1;
            for (; i >= 0; --i) {
                const unsigned char b = bytes[i];
                if (b != 0 && wordChar_[b]) {
                    if (wordEnd < 0) {
                        wordEnd = i + 1;
                    }
                    continue;
                }
                for (long k = i + 1; k < wordEnd; ++k) {
                    *out++ = static_cast<char>(bytes[k]);
                }
                wordEnd = -1;
                *out++ = ' ';
            }
            for (long k = 0; k < wordEnd; ++k) {
                *out++ = static_cast<char>(bytes[k]);
            }
        } else {
            int count = 0;
            long i = P - 2;
            long wordEnd = -1;
            for (; i >= 0; --i) {
                if (isWord(i)) {
                    if (wordEnd < 0) {
                        wordEnd = i + 1;
                    }
                } else if (wordEnd >= 0) {
                    if (++count == column) {
                        word.assign(contextLine, static_cast<size_t>(i + 1),
                                    static_cast<size_t>(wordEnd - i - 1));
                        break;
                    }
                    wordEnd = -1;
                }
            }
        }
    } else if (sortKind == 2) {
        long start = P - 1 + static_cast<long>(keywordLength);
        if (column == 0) {
            if (start < n) {
                const size_t from = static_cast<size_t>(std::max(0L, start));
                if (!utf8_ && !multibyte_) {
                    // Lowered as it is copied.
                    word.resize(contextLine.size() - from);
                    for (size_t k = 0; k < word.size(); ++k) {
                        word[k] = static_cast<char>(
                            alwaysLower_[static_cast<unsigned char>(contextLine[from + k])]);
                    }
                    return;
                }
                word.assign(contextLine, from, std::string::npos);
            }
        } else {
            int count = 0;
            long wordStart = -1;
            for (long i = std::max(0L, start); i < n; ++i) {
                if (isWord(i)) {
                    if (wordStart < 0) {
                        wordStart = i;
                    }
                } else if (wordStart >= 0) {
                    if (++count == column) {
                        word.assign(contextLine, static_cast<size_t>(wordStart),
                                    static_cast<size_t>(i - wordStart));
                        break;
                    }
                    wordStart = -1;
                }
            }
        }
    } else {
        // The whole word in which the keyword begins.
        long start = P - 1;
        if (isWord(start)) {
            while (start > 0 && isWord(start - 1)) {
                --start;
            }
        }
        long end = std::max(0L, P - 1);
        while (end < n && isWord(end)) {
            ++end;
        }
        if (start >= 0 && end > start) {
            word.assign(contextLine, static_cast<size_t>(start), static_cast<size_t>(end - start));
        }
    }
    if (utf8_) {
        word = LowerUtf8(word);
    } else if (multibyte_) {
        LowerMbInPlace(word);
    } else {
        // A context key is long: one table look-up a byte, not a call.
        for (char& c : word) {
            c = static_cast<char>(alwaysLower_[static_cast<unsigned char>(c)]);
        }
    }
}

void CParse::MakeReference()
{
    if (row_.makeReference.empty()) {
        reference = ctx_.corpus.FormatReference(lineNumber, sourceName);
        return;
    }
    reference.clear();
    for (HandlerId id : row_.makeReference) {
        if (CCorpusHandler* handler = Handler(id)) {
            handler->MakeReference(view_, outputType, reference);
        }
    }
    if (CCorpusHandler* h = Handler(row_.amendContextLine)) {
        h->AmendContextLine(view_, line, contextLine);
    }
}

long CParse::NextAnyWord(size_t offset)
{
    if (utf8_) {
        return NextAnyWordUtf8(offset);
    }
    size_t i = offset;
    while (i < line.size() && !wordChar_[static_cast<unsigned char>(line[i])]) {
        ++i;
    }
    if (i >= line.size()) {
        return -1;
    }
    size_t start = i;
    while (i < line.size() && wordChar_[static_cast<unsigned char>(line[i])]) {
        ++i;
    }
    word.resize(i - start);
    for (size_t k = 0; k < word.size(); ++k) {
        word[k] = static_cast<char>(alwaysLower_[static_cast<unsigned char>(line[start + k])]);
    }
    keywordLength = word.size();
    return static_cast<long>(start);
}

bool CParse::WriteConcordanceLines()
{
    CFormat& f = ctx_.format;
    const bool window = !f.ToFile();
    const char* eol = f.Eol();
    const CCorpus& c = ctx_.corpus;
    const size_t column = static_cast<size_t>(std::max(1, c.GetKeywordPosition()) - 1);
    std::string text;
    BeginEntries(concordanceTree_.Size());
    CPlixWalkControl control;
    control.status = [this](const std::string& text) {
        if (progress_ != nullptr) {
            progress_->SetStatus(text);
        }
    };
    control.cancelled = [this] { return WriterCancelled(); };
    const PlixWalkEnd end = concordanceTree_.Walk([&](const CPlixTreeNode& node) {
        if (WriterCancelled()) {
            return false;
        }
        text.clear();
        // In UTF-8 text the keyword's column is a count of display columns.
        size_t highlightAt =
            utf8_ ? OffsetOfColumn(node.contextText, column) : column;
        if (outputType == kOutputText) {
            text.append(node.referenceText).append(eol).append(node.contextText).append(eol);
        } else if (outputType == kOutputXml) {
            text.append(node.referenceText).append(node.contextText).append("</hit>").append(eol);
            highlightAt += node.referenceText.size();
        } else {
            text.append(node.referenceText).append(c.openQuote).append(node.contextText);
            text.append(c.closeQuote).append(eol);
            // The whole opening mark stands before the line, so the keyword
            // moves right by its length (one byte for a double quote).
            highlightAt += node.referenceText.size() + c.openQuote.size();
        }
        f.Write(text);
        if (window) {
            f.HighlightKeyword(node.keywordLength, highlightAt);
        }
        EntryWritten();
        return true;
    }, control);
    if (end == PlixWalkEnd::Failed) {
        // What was written is part of the result only: no footer makes it
        // look whole, and the run fails with the reason.
        aborted = 1;
        Fail(concordanceTree_.Error());
        return false;
    }
    return true;
}

bool CParse::RunConcordanceFile(const std::string& name, ModeSteps& steps)
{
    // Both concordances read lines the same way and write the same result.
    steps.opening = [this] { WriteListHeader(); };
    steps.updatesLeftText = true;
    steps.writeResult = [this] {
        WriteConcordanceHeader();
        if (WriteConcordanceLines()) {
            WriteConcordanceFooter();
        }
    };
    steps.discard = [this] { concordanceTree_.DeleteTree(); };
    return RunFile(name, steps);
}

void CParse::StoreHit(std::string_view key)
{
    if (!concordanceTree_.Insert(key, contextLine, reference, keywordLength)) {
        storeFailure_ = concordanceTree_.Error();
    }
    ++hitCount;
}

void CParse::PrepareConcordanceTree(bool keysRepeat)
{
    concordanceTree_.SetKeysRepeat(keysRepeat);
    concordanceTree_.SetMemoryBudget(ctx_.corpus.GetMemoryBudget());
}

bool CParse::MakeConcordance(const std::string& name, int sortKind)
{
    // Keywords repeat; the contexts of the other two sorts hardly ever do.
    PrepareConcordanceTree(sortKind == 0);
    ModeSteps steps;
    steps.lineWork = [this, sortKind] {
        long hit = FindKeyword(0);
        while (hit >= 0) {
            BuildContextLine(static_cast<size_t>(hit));
            if (MatchBoundaries()) {
                MakeSortKey(sortKind);
                MakeReference();
                StoreHit(word);
            }
            hit = FindKeyword(static_cast<size_t>(hit) + keywordLength);
        }
    };
    return RunConcordanceFile(name, steps);
}

namespace {
std::atomic<bool> keepLineText{true};
}  // namespace

void CParse::SetKeepLineText(std::optional<bool> on)
{
    keepLineText = on.value_or(true);
}

bool CParse::KeepsLineText() const
{
    if (!keepLineText) {
        return false;
    }
    // Where every hit's concordance line is a stretch of the same text — the
    // text before the line, the line and the text after it, control
    // characters blanked — and its reference that of the line, the tree
    // keeps that text once for all the line's hits. A handler that shapes
    // the text, the reference or the text after the line for each hit takes
    // the general way. In UTF-8 text a column is a character: only lines
    // whose text around them is ASCII (a byte a column) are kept so.
    return Handler(row_.contextSource) == nullptr && Handler(row_.locateHit) == nullptr &&
           row_.cleanFollowing.empty() && row_.makeReference.empty() &&
           ctx_.corpus.GetKeywordPosition() >= 0 && ctx_.corpus.GetLineLength() > 0;
}

void CParse::StoreLineWords(long offset)
{
    const long P = ctx_.corpus.GetKeywordPosition();
    const long L = ctx_.corpus.GetLineLength();
    const std::string& line = SeparatedLine();
    const long n = static_cast<long>(line.size());
    // The text around the line: its first P bytes are the text before it,
    // so a hit's stretch starts where the hit stands in the line.
    std::string& text = lineText_;
    text.assign(leftText);
    text.append(line);
    auto* bytes = reinterpret_cast<unsigned char*>(text.data());
    const size_t first = FirstControl(bytes + P, static_cast<size_t>(n));
    lineControls_ = first < static_cast<size_t>(n) ? kHasControls : kNoControls;
    if (lineControls_ == kHasControls) {
        BlankControls(bytes + P + first, static_cast<size_t>(n) - first);
    }
    bool followingAdded = false;
    // In UTF-8 text, hits that reach into text after the line that is not
    // all ASCII take the general way, which counts its columns.
    bool followingAscii = true;
    MakeReference();
    const uint64_t serial = ++lineSerial_;
    const size_t p = static_cast<size_t>(P);
    while (offset >= 0) {
        const long hit = offset;
        hitOffset_ = static_cast<size_t>(hit);
        // The stretch of the text that the general way would copy.
        const long from = std::max(0L, hit - P);
        const long to = std::min(n, hit - P + L);
        long end = hit;  // nothing at all
        if (to > from) {
            end = P + to;
        } else if (hit < P) {
            end = P;  // the text before the line only
        }
        const long need = hit - P + L - n;
        if (need > 0) {
            if (!followingAdded) {
                if (!peekedKept_) {
                    // As much as the general way reads ahead: the lines read
                    // ahead are given again as they were read then.
                    ctx_.input.PeekText(peeked_, utf8_ ? 4 * static_cast<size_t>(L) + 16
                                                       : static_cast<size_t>(L));
                    peekedKept_ = true;
                    peekedControls_ = true;
                    peekedBlankTo_ = 0;
                }
                // No hit of the line takes more than this of it.
                const size_t most = std::min(peeked_.size(), static_cast<size_t>(std::max(0L, L - P)));
                const size_t base = text.size();
                text.append(peeked_, 0, most);
                followingAscii =
                    !utf8_ || FirstNonAscii(reinterpret_cast<const unsigned char*>(text.data() + base),
                                            most) == most;
                BlankControls(reinterpret_cast<unsigned char*>(text.data()) + base, most);
                followingAdded = true;
            }
            if (!followingAscii) {
                BuildContextLine(static_cast<size_t>(hit));
                StoreHit(word);
                offset = NextAnyWord(static_cast<size_t>(offset) + keywordLength);
                continue;
            }
            end = P + n + std::min(static_cast<long>(text.size()) - P - n, need);
        }
        // Trimmed as the general way trims its copy: no word cut at the
        // right edge, none at the left edge (blanked), the first byte dropped.
        const size_t start = static_cast<size_t>(hit);
        const size_t width = static_cast<size_t>(std::max(0L, end - hit));
        const char* window = text.data() + start;
        size_t size = width == 0 ? 0 : width - 1;
        for (size_t i = width; i-- > p + 1;) {
            if (!wordChar_[static_cast<unsigned char>(window[i])]) {
                size = i;
                break;
            }
        }
        size_t blankTo = 0;
        for (size_t i = 0; i < p && i < size; ++i) {
            if (!wordChar_[static_cast<unsigned char>(window[i])]) {
                blankTo = i;
                break;
            }
        }
        size_t blanks = 0;
        size_t length = 0;
        if (size > 0) {
            blanks = std::min(blankTo, size - 1);
            length = size - 1 - blanks;
        }
        if (!concordanceTree_.InsertInLine(word, serial, text, reference, start + 1 + blanks, blanks,
                                           length)) {
            storeFailure_ = concordanceTree_.Error();
        }
        ++hitCount;
        offset = NextAnyWord(static_cast<size_t>(offset) + keywordLength);
    }
}

bool CParse::MakeConcordanceAll(const std::string& name)
{
    PrepareConcordanceTree(true);
    ModeSteps steps;
    const bool keepLines = KeepsLineText();
    steps.lineWork = [this, keepLines] {
        long offset = NextAnyWord(0);
        const long P = ctx_.corpus.GetKeywordPosition();
        if (keepLines && offset >= 0 && leftText.size() == static_cast<size_t>(P)) {
            if (!utf8_) {
                StoreLineWords(offset);
                return;
            }
            // A byte a column: the text before the line and the line ASCII,
            // and a right context to count (the byte way's window without
            // one differs from the column way's).
            const std::string& separated = SeparatedLine();
            if (leftTextAscii_ && ctx_.corpus.GetLineLength() > P &&
                FirstNonAscii(reinterpret_cast<const unsigned char*>(separated.data()),
                              separated.size()) == separated.size()) {
                lineAscii_ = true;
                StoreLineWords(offset);
                return;
            }
        }
        while (offset >= 0) {
            std::string key = word;
            BuildContextLine(static_cast<size_t>(offset));
            MakeReference();
            StoreHit(key);
            offset = NextAnyWord(static_cast<size_t>(offset) + keywordLength);
        }
    };
    return RunConcordanceFile(name, steps);
}

void CParse::CountCollocates()
{
    // Up to ten collocates a hit, for every hit of a frequent keyword. In a
    // single-byte locale the word test and the lowering are table look-ups:
    // the line is copied lowered, its word characters noted, and the rest of
    // it goes to the second core.
    if (!utf8_ && !multibyte_) {
        collocateCounter_.AddHit(contextLine, KeywordIndex(), keywordLength);
        return;
    }
    // Otherwise the words are found and lowered here, character by character,
    // and only entered on the second core.
    CWordCounter& counter = collocateCounter_;
    // Room for each word twice over: lowering a UTF-8 character lengthens it
    // by at most half.
    counter.Reserve(2 * contextLine.size(), 10);
    char* out = counter.Bytes();
    size_t* starts = counter.Starts();
    size_t* ends = counter.Ends();
    uint8_t* slots = counter.Slots();
    const size_t base = counter.Used();
    size_t written = 0;
    size_t count = 0;
    ScanCollocates(contextLine, KeywordIndex(), keywordLength,
                   [this](long i) { return ContextWordAt(i); },
                   [&](std::string_view w, int slot) {
                       collocate_ = LowerText(w);
                       std::memcpy(out + written, collocate_.data(), collocate_.size());
                       starts[count] = base + written;
                       written += collocate_.size();
                       ends[count] = base + written;
                       slots[count] = static_cast<uint8_t>(slot);
                       ++count;
                   });
    ctx_.totalTokens += static_cast<int64_t>(count);
    counter.EndLine(written, count);
}

bool CParse::MakeCollocation(const std::string& name)
{
    ModeSteps steps;
    steps.opening = [this] {
        collocateCounter_.SetByteTables(wordChar_.data(), alwaysLower_.data());
        WriteListHeader();
    };
    steps.lineWork = [this] {
        long hit = FindKeyword(0);
        while (hit >= 0) {
            BuildContextLine(static_cast<size_t>(hit));
            if (MatchBoundaries()) {
                CountCollocates();
            }
            hit = FindKeyword(static_cast<size_t>(hit) + keywordLength);
        }
    };
    steps.updatesLeftText = true;
    steps.writeResult = [this] {
        ctx_.totalTypes += collocateCounter_.Finish(ctx_.totalTokens);
        WriteCollocationHeader();
        CFormat& f = ctx_.format;
        const char* eol = f.Eol();
        std::string text;
        ShowStage("Sorting...");
        BeginEntries(collocationTree_.Size());
        const bool sorted = collocationTree_.Walk([&](const CCountTreeNode& node) {
            if (WriterCancelled()) {
                return false;
            }
            text.assign(node.text).append("\t").append(std::to_string(node.total));
            for (size_t s = 0; s < 10; ++s) {
                if (s == 5) {
                    text.append("\t-");
                }
                text.append("\t").append(std::to_string(node.counts[s]));
            }
            text.append(eol);
            f.Write(text);
            EntryWritten();
            return true;
        }, [this] { return WriterCancelled(); }, [this] { ShowStage("Writing..."); });
        if (!sorted) {
            // Stopped while sorting: the result says so.
            writingCut_ = true;
            userCancelled_ = true;
        }
        WriteListFooter();
    };
    steps.discard = [this] {
        (void)collocateCounter_.Finish();
        collocationTree_.DeleteTree();
    };
    return RunFile(name, steps);
}

}  // namespace plix
