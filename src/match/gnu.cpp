#include "match/gnu.h"

#include "match/translate.h"
#include "match/word_program.h"

#include <langinfo.h>
#include <locale.h>
#include <regex.h>
#include <string.h>

#include <algorithm>
#include <array>
#include <iterator>
#include <climits>
#include <cstdint>
#include <mutex>
#include <new>
#include <vector>

namespace plix {
namespace {

// glibc's own bits for the language in gnu.h: operators without backslashes,
// anchors and repetitions wherever they stand, backslash escapes in lists; no
// intervals, no character classes, "." not matching newline. The translation
// pass writes patterns in a subset of this syntax. RE_NO_SUB lets the library
// drop groups that no back-reference needs.
constexpr reg_syntax_t kSyntax = RE_NO_BK_PARENS | RE_NO_BK_VBAR | RE_CONTEXT_INDEP_ANCHORS |
                                 RE_CONTEXT_INDEP_OPS | RE_BACKSLASH_ESCAPE_IN_LISTS | RE_NO_SUB;

// Texts up to this length are searched the library's way, one attempt per
// start offset. That can cost length^2 steps on patterns that stay alive
// long without matching ("x.*y" on a run of x's), so longer texts are
// searched backwards in one pass instead.
constexpr std::size_t kShortText = 256;

// The first window of the backward search of a long text (see Find).
constexpr std::size_t kFirstWindow = 1024;

// Offsets before a window's match tried one by one for a longer match that
// starts earlier, before one pass over the rest of the text is cheaper.
constexpr int kEarlierAttempts = 32;

// The library counts in int.
constexpr std::size_t kMaxLibraryText = INT_MAX / 2;

// The library's back-reference matcher is polynomial with a steep,
// pattern-dependent exponent: an attempt over a stretch of length L costs
// about L^exponent steps (the exponent comes from the pattern's shape, and
// the real cost wanders well above the estimate on long stretches). An
// attempt is held to a stretch that keeps the estimate under this many
// steps (500 bytes for "(\w+) \1", 22 for "(a*)*\1b"): a match is then the
// longest within that stretch, as a backtracking matcher settles for what it
// found before running out of room.
constexpr std::uint64_t kAttemptLimit = 250'000;

// And a search of a pattern with back-references gives up after this much
// work, counted in the same estimated steps: each back-reference attempt
// costs its estimate, and each byte the finder passes over one step.
// Counting work rather than time gives the same answer on every machine and
// under every build; a normal line needs a few thousand steps, "(\w+) \1"
// over a line of 2 500 words about two million.
constexpr std::uint64_t kReferenceSearchBudget = 32 * kAttemptLimit;

// The library keeps every automaton state it has built for a pattern until
// the pattern is freed. A few patterns ("[ab]*a[ab][ab]...[ab]c" with a dozen
// or more [ab] on text of a's and b's) need a new state at almost every byte,
// so a long run would hold on to ever more memory. Rebuilding the compiled
// patterns after this much searched text bounds that; for ordinary patterns
// the cost does not show in the benchmark.
constexpr std::size_t kRefreshBytes = 64 * 1024;

// The translate table: identity but for "_" and its stand-in, swapped.
unsigned char* SwapTable()
{
    static std::array<unsigned char, 256> table = [] {
        std::array<unsigned char, 256> t{};
        for (int b = 0; b < 256; ++b) {
            t[b] = static_cast<unsigned char>(b);
        }
        t['_'] = kUnderscoreStandIn;
        t[kUnderscoreStandIn] = '_';
        return t;
    }();
    return table.data();
}

// Ranges, the word table, the multibyte mode and the error texts of the
// library all follow the thread's locale when a pattern is compiled. The
// language is byte-wise whatever the user's locale, so compile and search run
// under "C" and put the caller's locale back.
// In a UTF-8 locale the pattern reads characters: compile and search then run
// under "C.UTF-8", whose classes are the letters of every UTF-8 locale and
// whose messages are the library's own; no range ever reaches the library
// (the translation writes members out), so collation plays no part.
class CLocaleScope
{
public:
    explicit CLocaleScope(bool utf8)
    {
        static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
        static const locale_t cUtf8 = [] {
            locale_t l = newlocale(LC_ALL_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
            if (l == static_cast<locale_t>(nullptr) && c != static_cast<locale_t>(nullptr)) {
                // Without C.UTF-8, the user's own UTF-8 character classes.
                locale_t base = duplocale(c);
                const char* ctype = setlocale(LC_CTYPE, nullptr);
                l = base != static_cast<locale_t>(nullptr) && ctype != nullptr
                        ? newlocale(LC_CTYPE_MASK, ctype, base)
                        : static_cast<locale_t>(nullptr);
                if (l == static_cast<locale_t>(nullptr) && base != static_cast<locale_t>(nullptr)) {
                    freelocale(base);
                }
            }
            return l;
        }();
        const locale_t use = utf8 ? cUtf8 : c;
        if (use != static_cast<locale_t>(nullptr)) {
            previous_ = uselocale(use);
        }
    }
    ~CLocaleScope()
    {
        if (previous_ != static_cast<locale_t>(nullptr)) {
            uselocale(previous_);
        }
    }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    locale_t previous_ = static_cast<locale_t>(nullptr);
};

// One compiled pattern with its fast map. The fast map and translate table
// belong to this object, not to the library (regfree would free them).
class LibraryPattern
{
public:
    LibraryPattern() = default;
    ~LibraryPattern()
    {
        buffer_.fastmap = nullptr;
        buffer_.translate = nullptr;
        regfree(&buffer_);
    }
    LibraryPattern(const LibraryPattern&) = delete;
    LibraryPattern& operator=(const LibraryPattern&) = delete;

    // "" on success, else the library's error text. Call under CLocaleScope.
    std::string Compile(const std::string& pattern, bool utf8)
    {
        buffer_.fastmap = fastmap_.data();
        buffer_.translate = SwapTable();
        // The syntax setting is one variable for the whole process.
        static std::mutex syntaxLock;
        std::lock_guard<std::mutex> lock(syntaxLock);
        // Character classes only ever come from \w and \W in a UTF-8
        // locale: the translation escapes every "[" a user writes in a list.
        re_set_syntax(utf8 ? kSyntax | RE_CHAR_CLASSES : kSyntax);
        if (const char* error = re_compile_pattern(pattern.data(), pattern.size(), &buffer_)) {
            return error;
        }
        // ^ and $ must not hold at newlines inside the text.
        buffer_.newline_anchor = 0;
        if (re_compile_fastmap(&buffer_) != 0) {
            return kRegexMemoryExhausted;
        }
        return {};
    }

    re_pattern_buffer* Buffer() const { return &buffer_; }
    bool CanBeNull() const { return buffer_.can_be_null != 0; }
    // Indexed by translated byte.
    bool StartsWith(unsigned char translated) const { return fastmap_[translated] != 0; }

private:
    // The library's search functions take a non-const buffer.
    mutable re_pattern_buffer buffer_{};
    std::array<char, 256> fastmap_{};
};

// The estimated steps of one back-reference attempt over `length` bytes,
// capped just above kAttemptLimit.
std::uint64_t AttemptCost(std::uint64_t length, int exponent)
{
    std::uint64_t result = 1;
    for (int i = 0; i < exponent && length > 1; ++i) {
        if (result > kAttemptLimit / length) {
            return kAttemptLimit + 1;
        }
        result *= length;
    }
    return result;
}

// The longest stretch whose attempt stays within kAttemptLimit.
std::size_t LongestAffordableStretch(int exponent)
{
    std::uint64_t length = 1;
    while (AttemptCost(length + 1, exponent) <= kAttemptLimit) {
        ++length;
    }
    return static_cast<std::size_t>(length);
}

}  // namespace

class CGNU::Slot
{
public:
    void Init()
    {
        ready_ = false;
        error_.clear();
        translation_ = RegexTranslation{};
        finder_.reset();
        verifier_.reset();
        reversed_.reset();
        reversedFailed_ = false;
        bytesSinceCompile_ = 0;
        filterStartBytes_ = false;
        singleStartByte_ = -1;
        affordableStretch_ = 0;
        pattern_.clear();
        gaveUp_ = false;
        utf8_ = false;
    }

    std::string Compile(std::string_view pattern, const RegexWordCharacters& words)
    {
        Init();
        pattern_.assign(pattern);
        try {
            RegexCharacters characters;
            const char* codeset = nl_langinfo(CODESET);
            characters.utf8 = codeset != nullptr && strcmp(codeset, "UTF-8") == 0;
            characters.countNumbers = words.countNumbers;
            characters.diacritics = words.diacritics;
            utf8_ = characters.utf8;
            CompileTranslated(pattern, characters);
        } catch (const std::bad_alloc&) {
            Init();
            error_ = kRegexMemoryExhausted;
        }
        if (!error_.empty()) {
            ready_ = false;
            finder_.reset();
            verifier_.reset();
        }
        return error_;
    }

    long Search(std::string_view text, std::size_t start, std::size_t& length) const;
    const std::string& Error() const { return error_; }
    bool Ready() const { return ready_; }
    const std::string& Pattern() const { return pattern_; }
    bool GaveUp() const { return gaveUp_; }
    void ForgetGaveUp() { gaveUp_ = false; }

private:
    struct Match
    {
        std::size_t start = 0;
        std::size_t end = 0;
    };

    void CompileTranslated(std::string_view pattern, const RegexCharacters& characters);
    bool IsStart(std::string_view text, std::size_t at) const;
    void ReverseInto(std::string_view text, std::size_t left, std::size_t right) const;
    bool AnyStartByte(std::string_view text, std::size_t from) const;
    bool Find(std::string_view text, std::size_t from, Match& match) const;
    bool ReversedReady() const;
    long ReversedReach(std::string_view text, std::size_t from, std::size_t end) const;
    std::size_t EarlierLongMatch(std::string_view text, std::size_t from, std::size_t found) const;
    void RefreshIfGrown(std::size_t bytesSearched) const;
    long SearchWithReferences(std::string_view text, std::size_t start, std::size_t& length) const;
    long SearchProgramWithReferences(std::string_view text, std::size_t start,
                                     std::size_t& length) const;
    std::size_t NextStart(std::string_view text, std::size_t at) const;

    bool ready_ = false;
    std::string error_;
    RegexTranslation translation_;
    // Mutable: a search may rebuild them (see RefreshIfGrown).
    mutable std::unique_ptr<LibraryPattern> finder_;    // no back-references
    mutable std::unique_ptr<LibraryPattern> verifier_;  // the pattern itself, when it has them
    mutable std::size_t bytesSinceCompile_ = 0;
    // Compiled on the first long text.
    mutable std::unique_ptr<LibraryPattern> reversed_;
    mutable bool reversedFailed_ = false;
    mutable std::string reversedText_;
    // Bytes a non-empty match can start with (raw text bytes).
    std::array<bool, 256> startBytes_{};
    bool filterStartBytes_ = false;
    int singleStartByte_ = -1;
    std::size_t affordableStretch_ = 0;
    std::string pattern_;
    mutable bool gaveUp_ = false;
    // Text and pattern are UTF-8 characters (decided when compiled).
    bool utf8_ = false;
    mutable RegexProgramScratch programScratch_;
};

void CGNU::Slot::CompileTranslated(std::string_view pattern, const RegexCharacters& characters)
{
    translation_ = TranslateRegex(pattern, characters);
    if (!translation_.error.empty()) {
        error_ = translation_.error;
        return;
    }
    if (translation_.isLiteral) {
        // A substring search does it; the library is not needed.
        ready_ = true;
        return;
    }
    CLocaleScope scope(utf8_);
    finder_ = std::make_unique<LibraryPattern>();
    std::string error = finder_->Compile(translation_.finder, utf8_);
    if (error.empty() && translation_.hasBackReferences) {
        verifier_ = std::make_unique<LibraryPattern>();
        error = verifier_->Compile(translation_.forward, utf8_);
    }
    if (!error.empty()) {
        error_ = RegexErrorFromLibrary(error);
        return;
    }
    if (translation_.hasBackReferences) {
        affordableStretch_ = LongestAffordableStretch(translation_.backReferenceExponent);
    }
    if (!finder_->CanBeNull()) {
        const unsigned char* table = SwapTable();
        int count = 0;
        for (int b = 0; b < 256; ++b) {
            startBytes_[b] = finder_->StartsWith(table[b]);
            if (startBytes_[b]) {
                ++count;
                singleStartByte_ = b;
            }
        }
        if (translation_.program) {
            // The library's classes leave out a combining mark after a
            // letter, which the program's word characters take in.
            for (int b = 0x80; b < 256; ++b) {
                count += startBytes_[b] ? 0 : 1;
                startBytes_[b] = true;
            }
        }
        filterStartBytes_ = true;
        if (count != 1) {
            singleStartByte_ = -1;
        }
    }
    ready_ = true;
}

bool CGNU::Slot::AnyStartByte(std::string_view text, std::size_t from) const
{
    if (singleStartByte_ >= 0) {
        return memchr(text.data() + from, singleStartByte_, text.size() - from) != nullptr;
    }
    for (std::size_t i = from; i < text.size(); ++i) {
        if (startBytes_[static_cast<unsigned char>(text[i])]) {
            return true;
        }
    }
    return false;
}

void CGNU::Slot::RefreshIfGrown(std::size_t bytesSearched) const
{
    bytesSinceCompile_ += bytesSearched;
    if (bytesSinceCompile_ < kRefreshBytes) {
        return;
    }
    bytesSinceCompile_ = 0;
    try {
        auto finder = std::make_unique<LibraryPattern>();
        if (!finder->Compile(translation_.finder, utf8_).empty()) {
            return;
        }
        std::unique_ptr<LibraryPattern> verifier;
        if (verifier_) {
            verifier = std::make_unique<LibraryPattern>();
            if (!verifier->Compile(translation_.forward, utf8_).empty()) {
                return;
            }
        }
        finder_ = std::move(finder);
        verifier_ = std::move(verifier);
        reversed_.reset();
    } catch (const std::bad_alloc&) {
        // Keep searching with what is there.
    }
}

bool CGNU::Slot::ReversedReady() const
{
    if (!reversed_ && !reversedFailed_) {
        try {
            auto reversed = std::make_unique<LibraryPattern>();
            if (reversed->Compile(translation_.reversedFinder, utf8_).empty()) {
                reversed_ = std::move(reversed);
            } else {
                reversedFailed_ = true;
            }
        } catch (const std::bad_alloc&) {
            reversedFailed_ = true;
        }
    }
    return reversed_ != nullptr;
}

// How far back from the right end of [from, end) the reversed finder reaches:
// the leftmost start, at or after `from`, of a finder match that ends at or
// before `end`, is end - reach. 0 or less: there is none.
long CGNU::Slot::ReversedReach(std::string_view text, std::size_t from, std::size_t end) const
{
    // On reversed text, "any bytes, then the reversed pattern" matched from
    // the right end of the stretch as far as it can reach ends at the
    // leftmost start of a match inside it: one pass, whatever the pattern.
    // The bytes just outside go along as context, so the word operators see
    // the real neighbours and the text's own start and end anchors hold only
    // where the text starts and ends.
    const std::size_t n = text.size();
    std::size_t left = from > 0 ? from - 1 : 0;
    std::size_t right = end < n ? end + 1 : n;
    if (utf8_) {
        // The neighbours are whole characters.
        while (left > 0 && !IsStart(text, left)) {
            --left;
        }
        while (right < n && !IsStart(text, right)) {
            ++right;
        }
    }
    ReverseInto(text, left, right);
    return re_match_2(reversed_->Buffer(), nullptr, 0, reversedText_.data(),
                      static_cast<regoff_t>(right - left), static_cast<regoff_t>(right - end),
                      nullptr, static_cast<regoff_t>(right - from));
}

// Whether a character starts at `at`: in UTF-8 text, not inside a valid
// character (a stray byte is a character of its own).
bool CGNU::Slot::IsStart(std::string_view text, std::size_t at) const
{
    if (!utf8_ || (static_cast<unsigned char>(text[at]) & 0xC0) != 0x80) {
        return true;
    }
    for (std::size_t back = 1; back <= 3 && back <= at; ++back) {
        const unsigned char b = static_cast<unsigned char>(text[at - back]);
        if ((b & 0xC0) != 0x80) {
            return Utf8CharacterLength(text, at - back) <= back;
        }
    }
    return true;
}

// text[left, right) backwards into reversedText_; in UTF-8 character by
// character, each keeping its bytes in order, so that the library reads
// characters in the reversed text too.
void CGNU::Slot::ReverseInto(std::string_view text, std::size_t left, std::size_t right) const
{
    reversedText_.assign(std::make_reverse_iterator(text.begin() + static_cast<long>(right)),
                         std::make_reverse_iterator(text.begin() + static_cast<long>(left)));
    if (!utf8_) {
        return;
    }
    for (std::size_t i = left; i < right;) {
        const std::size_t length = std::max<std::size_t>(Utf8CharacterLength(text, i), 1);
        if (length > 1 && i + length <= right) {
            std::copy(text.begin() + static_cast<long>(i),
                      text.begin() + static_cast<long>(i + length),
                      reversedText_.begin() + static_cast<long>(right - i - length));
        }
        i += length;
    }
}

// A window search found the leftmost match among those that end inside the
// window; one that starts earlier and runs past the window's end would have
// been passed over. The few offsets before `found` that can start a match
// are tried one by one; when there are many, one pass over the rest of the
// text settles it instead.
std::size_t CGNU::Slot::EarlierLongMatch(std::string_view text, std::size_t from,
                                         std::size_t found) const
{
    const std::size_t n = text.size();
    int attempts = 0;
    for (std::size_t p = from; p < found; ++p) {
        if ((filterStartBytes_ && !startBytes_[static_cast<unsigned char>(text[p])]) ||
            !IsStart(text, p)) {
            continue;
        }
        if (++attempts > kEarlierAttempts) {
            const long reach = ReversedReach(text, from, n);
            return reach >= 1 ? n - static_cast<std::size_t>(reach) : found;
        }
        if (re_match(finder_->Buffer(), text.data(), static_cast<regoff_t>(n),
                     static_cast<regoff_t>(p), nullptr) >= 0) {
            return p;
        }
    }
    return found;
}

// The leftmost finder match that starts in [from, text.size()), with the end
// of the longest finder match from there.
bool CGNU::Slot::Find(std::string_view text, std::size_t from, Match& match) const
{
    const std::size_t n = text.size();
    re_pattern_buffer* finder = finder_->Buffer();
    const bool shortText = n - from <= kShortText;
    if (translation_.hasAnchors && (shortText || !ReversedReady())) {
        // The library's own search skips start offsets it believes lead to
        // the same state as an earlier one; with anchors that look at the
        // byte before the start this loses matches ("[a-c]*\Bx?" from
        // offset 4 of "_xaxa\na" finds 5, not the empty match at 4).
        // Anchored attempts are exact: one per offset that can start a match.
        for (std::size_t start = from; start < n; ++start) {
            if ((filterStartBytes_ && !startBytes_[static_cast<unsigned char>(text[start])]) ||
                !IsStart(text, start)) {
                continue;
            }
            const regoff_t length = re_match(finder, text.data(), static_cast<regoff_t>(n),
                                             static_cast<regoff_t>(start), nullptr);
            if (length >= 0) {
                match.start = start;
                match.end = start + static_cast<std::size_t>(length);
                return true;
            }
        }
        return false;
    }
    if (shortText || !ReversedReady()) {
        const regoff_t start =
            re_search(finder, text.data(), static_cast<regoff_t>(n), static_cast<regoff_t>(from),
                      static_cast<regoff_t>(n - 1 - from), nullptr);
        if (start < 0) {
            return false;
        }
        match.start = static_cast<std::size_t>(start);
    } else {
        // The window starts at `from` and doubles until it holds a match or
        // reaches the end of the text, so a search costs about the distance
        // to its match: a long line with many hits is not read to its end
        // once per hit. A match that starts right at `from` is the leftmost
        // one; looking there first (within the first window) spares the
        // backward pass the common case of hits next to each other.
        bool here = false;
        if (!filterStartBytes_ || startBytes_[static_cast<unsigned char>(text[from])]) {
            here = re_match_2(finder, nullptr, 0, text.data(), static_cast<regoff_t>(n),
                              static_cast<regoff_t>(from), nullptr,
                              static_cast<regoff_t>(std::min(n, from + kFirstWindow))) >= 0;
        }
        match.start = from;
        for (std::size_t window = kFirstWindow; !here; window *= 2) {
            std::size_t end = n - from <= window ? n : from + window;
            while (end < n && !IsStart(text, end)) {
                ++end;
            }
            const long reach = ReversedReach(text, from, end);
            if (reach >= 1) {
                match.start = end - static_cast<std::size_t>(reach);
                if (end < n && match.start > from) {
                    match.start = EarlierLongMatch(text, from, match.start);
                }
                break;
            }
            if (end == n) {
                return false;
            }
        }
    }
    const regoff_t length = re_match(finder, text.data(), static_cast<regoff_t>(n),
                                     static_cast<regoff_t>(match.start), nullptr);
    if (length < 0) {
        return false;
    }
    match.end = match.start + static_cast<std::size_t>(length);
    return true;
}

long CGNU::Slot::Search(std::string_view text, std::size_t start, std::size_t& length) const
{
    length = 0;
    const std::size_t n = text.size();
    if (!ready_ || start >= n) {
        return -1;
    }
    const std::string& literal = translation_.literal;
    if (translation_.isLiteral) {
        if (literal.empty()) {
            length = 1;
            return static_cast<long>(start);
        }
        const void* hit = memmem(text.data() + start, n - start, literal.data(), literal.size());
        if (hit == nullptr) {
            return -1;
        }
        length = literal.size();
        return static_cast<long>(static_cast<const char*>(hit) - text.data());
    }
    if (n > kMaxLibraryText) {
        return -1;
    }
    // Cheap tests that rule out most lines before the library is asked.
    if (!literal.empty() &&
        memmem(text.data() + start, n - start, literal.data(), literal.size()) == nullptr) {
        return -1;
    }
    if (filterStartBytes_ && !AnyStartByte(text, start)) {
        return -1;
    }
    CLocaleScope scope(utf8_);
    if (translation_.programFinder) {
        return SearchProgramWithReferences(text, start, length);
    }
    if (translation_.program) {
        const long at =
            SearchRegexProgram(*translation_.program, text, start, length, programScratch_);
        if (at >= 0) {
            length = std::max<std::size_t>(length, 1);
        }
        return at;
    }
    RefreshIfGrown(std::min(n - start, kFirstWindow));
    if (translation_.hasBackReferences) {
        return SearchWithReferences(text, start, length);
    }
    Match match;
    if (!Find(text, start, match)) {
        return -1;
    }
    length = std::max<std::size_t>(match.end - match.start, 1);
    return static_cast<long>(match.start);
}

// The finder (each back-reference widened to a copy of its group) proposes
// start offsets and bounds how far a match from each can reach; the library's
// back-reference matcher then decides within that stretch. The work is
// counted, not timed (see kReferenceSearchBudget); a search that runs out of
// it says so through GaveUp() rather than passing over hits in silence.
long CGNU::Slot::SearchWithReferences(std::string_view text, std::size_t start,
                                      std::size_t& length) const
{
    const std::size_t n = text.size();
    std::uint64_t work = 0;
    std::size_t from = start;
    while (from < n) {
        Match candidate;
        if (!Find(text, from, candidate)) {
            return -1;
        }
        // No match from here reaches past the finder's, so the stretch ends
        // there at the latest. Stopping short of the text's end keeps the
        // next byte as context and $ from holding.
        const std::size_t stretch = std::min(candidate.end - candidate.start, affordableStretch_);
        work += (candidate.start - from) + AttemptCost(stretch, translation_.backReferenceExponent);
        if (work > kReferenceSearchBudget) {
            gaveUp_ = true;
            return -1;
        }
        const regoff_t matched = re_match_2(verifier_->Buffer(), nullptr, 0, text.data(),
                                            static_cast<regoff_t>(n),
                                            static_cast<regoff_t>(candidate.start), nullptr,
                                            static_cast<regoff_t>(candidate.start + stretch));
        if (matched >= 0) {
            length = std::max<std::size_t>(static_cast<std::size_t>(matched), 1);
            return static_cast<long>(candidate.start);
        }
        from = NextStart(text, candidate.start);
    }
    return -1;
}

// The same for a pattern the program runs itself: its finder proposes the
// leftmost start and how far a match from there can reach, and every way
// through the pattern is tried from there, all counted as work.
long CGNU::Slot::SearchProgramWithReferences(std::string_view text, std::size_t start,
                                             std::size_t& length) const
{
    const std::size_t n = text.size();
    std::uint64_t work = 0;
    std::size_t from = start;
    while (from < n) {
        std::size_t reach = 0;
        const long found =
            SearchRegexProgram(*translation_.programFinder, text, from, reach, programScratch_);
        if (found < 0) {
            return -1;
        }
        const auto candidate = static_cast<std::size_t>(found);
        work += candidate - from;
        const long end = MatchRegexProgram(*translation_.program, text, candidate, candidate + reach,
                                           programScratch_, work, kReferenceSearchBudget);
        if (end == -2) {
            gaveUp_ = true;
            return -1;
        }
        if (end >= 0) {
            length = std::max<std::size_t>(static_cast<std::size_t>(end) - candidate, 1);
            return found;
        }
        from = NextStart(text, candidate);
    }
    return -1;
}

// The offset after `at` where a match may start.
std::size_t CGNU::Slot::NextStart(std::string_view text, std::size_t at) const
{
    ++at;
    while (at < text.size() && !IsStart(text, at)) {
        ++at;
    }
    return at;
}

CGNU::CGNU() : keyword_(std::make_unique<Slot>()), context_(std::make_unique<Slot>()) {}
CGNU::~CGNU() = default;

void CGNU::InitKeyword()
{
    keyword_->Init();
}

std::string CGNU::CompileKeyword(std::string_view pattern, const RegexWordCharacters& words)
{
    return keyword_->Compile(pattern, words);
}

long CGNU::SearchKeyword(std::string_view text, std::size_t start, std::size_t& length) const
{
    return keyword_->Search(text, start, length);
}

const std::string& CGNU::KeywordError() const
{
    return keyword_->Error();
}

bool CGNU::KeywordReady() const
{
    return keyword_->Ready();
}

void CGNU::InitContext()
{
    context_->Init();
}

std::string CGNU::CompileContext(std::string_view pattern, const RegexWordCharacters& words)
{
    return context_->Compile(pattern, words);
}

long CGNU::SearchContext(std::string_view text, std::size_t start, std::size_t& length) const
{
    return context_->Search(text, start, length);
}

const std::string& CGNU::ContextError() const
{
    return context_->Error();
}

bool CGNU::ContextReady() const
{
    return context_->Ready();
}

std::vector<std::string> CGNU::TakeGaveUpNotes()
{
    std::vector<std::string> notes;
    for (Slot* slot : {keyword_.get(), context_.get()}) {
        if (slot->GaveUp()) {
            notes.push_back(RegexGaveUpNote(slot->Pattern()));
            slot->ForgetGaveUp();
        }
    }
    return notes;
}

std::string RegexGaveUpNote(std::string_view pattern)
{
    std::string note = "the regular expression \"";
    note += pattern;
    note += "\" needed more work on some lines than a search may take: hits may be missing";
    return note;
}

}  // namespace plix
