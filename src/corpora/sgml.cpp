#include "corpora/sgml.h"

#include "engine/input.h"
#include "engine/progress.h"
#include "settings/corpus.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define PLIX_TAG_SHUFFLE 1
#endif

namespace plix {

namespace {

#if defined(PLIX_TAG_SHUFFLE)
// For each pattern of eight kept bytes, the shuffle that moves them to the
// front (unused lanes zeroed).
struct CompactTable
{
    alignas(16) uint8_t lanes[256][16];
    uint8_t counts[256];
    CompactTable() : lanes{}, counts{}
    {
        for (int mask = 0; mask < 256; ++mask) {
            int k = 0;
            for (int bit = 0; bit < 8; ++bit) {
                if ((mask >> bit) & 1) {
                    lanes[mask][k++] = static_cast<uint8_t>(bit);
                }
            }
            counts[mask] = static_cast<uint8_t>(k);
            for (int rest = k; rest < 16; ++rest) {
                lanes[mask][rest] = 0x80;
            }
        }
    }
};

const CompactTable& Compaction()
{
    static const CompactTable table;
    return table;
}

// The bytes of `text` (64 readable) whose bits are set in `kept`, in order,
// written to `out` (room for 72); returns how many.
__attribute__((target("ssse3"))) size_t CompactKept(const char* text, uint64_t kept, char* out)
{
    const CompactTable& table = Compaction();
    size_t written = 0;
    for (int part = 0; part < 8; ++part) {
        const unsigned bits = static_cast<unsigned>((kept >> (8 * part)) & 0xff);
        const __m128i bytes = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(text + 8 * part));
        const __m128i lanes = _mm_load_si128(reinterpret_cast<const __m128i*>(table.lanes[bits]));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + written), _mm_shuffle_epi8(bytes, lanes));
        written += table.counts[bits];
    }
    return written;
}

bool CanShuffle()
{
    static const bool can = __builtin_cpu_supports("ssse3");
    return can;
}

// Where the machine has it, one compress instruction gathers all 64 (`out`
// has room for them).
__attribute__((target("avx512f,avx512bw,avx512vbmi2"))) size_t CompactKeptWide(const char* text,
                                                                              uint64_t kept,
                                                                              char* out)
{
    const __m512i bytes = _mm512_loadu_si512(text);
    _mm512_storeu_si512(out, _mm512_maskz_compress_epi8(kept, bytes));
    return static_cast<size_t>(__builtin_popcountll(kept));
}

// The "<" and ">" of 64 bytes as bit masks, in one comparison each.
__attribute__((target("avx512f,avx512bw"))) void MarksWide(const char* text, uint64_t& lt,
                                                           uint64_t& gt)
{
    const __m512i block = _mm512_loadu_si512(text);
    lt = _mm512_cmpeq_epi8_mask(block, _mm512_set1_epi8('<'));
    gt = _mm512_cmpeq_epi8_mask(block, _mm512_set1_epi8('>'));
}

bool wideAllowed = true;

bool CanCompress()
{
    static const bool can = __builtin_cpu_supports("avx512f") &&
                            __builtin_cpu_supports("avx512bw") &&
                            __builtin_cpu_supports("avx512vbmi2");
    return can;
}
#endif

// Bit i of the result: the parity of the bits of x at i and below.
uint64_t PrefixParity(uint64_t x)
{
    x ^= x << 1;
    x ^= x << 2;
    x ^= x << 4;
    x ^= x << 8;
    x ^= x << 16;
    x ^= x << 32;
    return x;
}

// Tag names and attributes are split at any white space: a tag continued
// over lines holds a blank at each join, and a line read ahead still carries
// its line feed.
bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

int LowerByte(char c)
{
    return std::tolower(static_cast<unsigned char>(c));
}

bool EqualIgnoringCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (LowerByte(a[i]) != LowerByte(b[i])) {
            return false;
        }
    }
    return true;
}

size_t FindIgnoringCase(const std::string& text, const std::string& what, size_t from)
{
    if (what.empty() || what.size() > text.size()) {
        return std::string::npos;
    }
    const int first = LowerByte(what[0]);
    for (size_t i = from; i + what.size() <= text.size(); ++i) {
        if (LowerByte(text[i]) != first) {
            continue;
        }
        size_t k = 1;
        while (k < what.size() && LowerByte(text[i + k]) == LowerByte(what[k])) {
            ++k;
        }
        if (k == what.size()) {
            return i;
        }
    }
    return std::string::npos;
}

std::string Upper(std::string text)
{
    for (char& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

size_t NameEnd(const std::string& text)
{
    size_t end = 0;
    while (end < text.size() && !IsBlank(text[end])) {
        ++end;
    }
    return end;
}

// The settings arrays are parallel lists that a hand-edited store may leave
// of different lengths: a switch that is missing is off.
bool SwitchOn(const std::vector<unsigned>& switches, size_t index)
{
    return index < switches.size() && switches[index] != 0;
}

bool AnySwitchOn(const std::vector<unsigned>& switches)
{
    return std::any_of(switches.begin(), switches.end(), [](unsigned on) { return on != 0; });
}

// Walks the attributes of a start tag's text from `pos` (after the name):
// `found(name, value)` for each one written with "=". Blanks around the "="
// are allowed; a quoted part of a value loses its quotes and may hold blanks.
// A word without "=" is an attribute without a value, which has nothing to
// print: it is passed over rather than run into the next attribute's name.
template <typename Found>
void ForEachAttribute(const std::string& text, size_t pos, Found found)
{
    const size_t n = text.size();
    for (;;) {
        while (pos < n && IsBlank(text[pos])) {
            ++pos;
        }
        if (pos >= n) {
            return;
        }
        const size_t nameStart = pos;
        while (pos < n && !IsBlank(text[pos]) && text[pos] != '=') {
            ++pos;
        }
        const size_t nameEnd = pos;
        while (pos < n && IsBlank(text[pos])) {
            ++pos;
        }
        if (pos >= n || text[pos] != '=') {
            continue;
        }
        ++pos;
        while (pos < n && IsBlank(text[pos])) {
            ++pos;
        }
        std::string value;
        char quote = 0;
        for (; pos < n; ++pos) {
            const char c = text[pos];
            if (quote != 0) {
                if (c == quote) {
                    quote = 0;
                } else {
                    value += c;
                }
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (IsBlank(c)) {
                break;
            } else {
                value += c;
            }
        }
        if (nameEnd > nameStart) {
            found(text.substr(nameStart, nameEnd - nameStart), value);
        }
    }
}

}  // namespace

// ---- the scan lists -------------------------------------------------------------

bool CTagOrder::operator()(const std::string& a, const std::string& b) const
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const int x = LowerByte(a[i]);
        const int y = LowerByte(b[i]);
        if (x != y) {
            return x < y;
        }
    }
    return a.size() < b.size();
}

void CTagScan::BeginFile()
{
    inDeclaration_ = false;
    inComment_ = false;
    quote_ = 0;
    depth_ = 0;
    inTag_ = false;
    tagText_.clear();
}

std::string CTagScan::WithoutDeclarations(const std::string& line)
{
    if (!inDeclaration_ && line.find("<!") == std::string::npos) {
        return line;
    }
    std::string kept;
    kept.reserve(line.size());
    const size_t n = line.size();
    size_t pos = 0;
    while (pos < n) {
        if (!inDeclaration_) {
            const size_t open = line.find("<!", pos);
            if (open == std::string::npos) {
                kept.append(line, pos, std::string::npos);
                break;
            }
            kept.append(line, pos, open - pos);
            inDeclaration_ = true;
            inComment_ = false;
            quote_ = 0;
            depth_ = 1;
            pos = open + 2;
            continue;
        }
        const char c = line[pos];
        const bool dashes = c == '-' && pos + 1 < n && line[pos + 1] == '-';
        // A comment is "--" to "--" inside a declaration; what it says is
        // prose, so its apostrophes and "<" or ">" open or close nothing.
        if (inComment_) {
            if (dashes) {
                inComment_ = false;
                pos += 2;
            } else {
                ++pos;
            }
            continue;
        }
        if (quote_ != 0) {
            if (c == quote_) {
                quote_ = 0;
            }
            ++pos;
            continue;
        }
        if (dashes) {
            inComment_ = true;
            pos += 2;
            continue;
        }
        if (c == '"' || c == '\'') {
            quote_ = c;
        } else if (c == '<') {
            ++depth_;
        } else if (c == '>' && --depth_ == 0) {
            inDeclaration_ = false;
        }
        ++pos;
    }
    return kept;
}

void CTagScan::ReadText(const std::string& line)
{
    const std::string text = WithoutDeclarations(line);
    size_t pos = 0;
    if (inTag_) {
        const size_t close = text.find('>');
        if (close == std::string::npos) {
            tagText_ += text;
            tagText_ += ' ';
            return;
        }
        tagText_.append(text, 0, close);
        inTag_ = false;
        EnterStartTag(tagText_);
        tagText_.clear();
        pos = close + 1;
    }
    for (;;) {
        const size_t open = text.find('<', pos);
        if (open == std::string::npos || open + 1 >= text.size()) {
            return;
        }
        const char next = text[open + 1];
        if (std::isalnum(static_cast<unsigned char>(next))) {
            const size_t close = text.find('>', open + 1);
            if (close == std::string::npos) {
                tagText_.assign(text, open + 1, std::string::npos);
                tagText_ += ' ';
                inTag_ = true;
                return;
            }
            EnterStartTag(text.substr(open + 1, close - open - 1));
            pos = close + 1;
        } else if (next == '/') {
            size_t end = open + 2;
            while (end < text.size() && text[end] != '>' && !IsBlank(text[end])) {
                ++end;
            }
            EnterEndTag(Upper(text.substr(open + 2, end - open - 2)));
            pos = end;
        } else {
            pos = open + 1;
        }
    }
}

void CTagScan::EnterStartTag(const std::string& text)
{
    const size_t nameEnd = NameEnd(text);
    if (nameEnd == 0) {
        return;
    }
    const std::string name = Upper(text.substr(0, nameEnd));
    tags_.try_emplace(name, CTag{name, std::string()});
    ForEachAttribute(text, nameEnd, [&](const std::string& attribute, const std::string&) {
        std::string key = name + ' ' + Upper(attribute);
        keys_.try_emplace(key, CTag{key, name});
    });
}

void CTagScan::EnterEndTag(const std::string& name)
{
    if (name.empty()) {
        return;
    }
    auto entry = tags_.try_emplace(name, CTag{name, std::string()}).first;
    if (entry->second.info.empty()) {
        entry->second.info = name;
    }
}

// ---- reading a line -------------------------------------------------------------

void CSgml::ResetForFile()
{
    attributeValues_.clear();
    inTag_ = false;
    inStripTag_ = false;
    excluding_ = false;
    endTagName_.clear();
    tagText_.clear();
}

void CSgml::ReadTags(const CCorpus& settings, std::string& line, CSgmlLineMap* map)
{
    if (attributeValues_.size() != settings.sgmlAttributes.size()) {
        attributeValues_.resize(settings.sgmlAttributes.size());
    }
    if (map != nullptr) {
        map->kept.clear();
        map->tags.clear();
    }
    auto keep = [map](size_t from, size_t to) {
        if (map != nullptr && to > from) {
            map->kept.push_back({from, to});
        }
    };
    if (!inTag_ && !excluding_ && line.find('<') == std::string::npos) {
        keep(0, line.size());
        return;
    }
    // Without a tag to exclude or an attribute to print, a tag needs no
    // reading: it is only taken out.
    const bool judging =
        AnySwitchOn(settings.sgmlTagExclude) || AnySwitchOn(settings.sgmlAttributeOutput);
    if (!judging && !excluding_) {
        TakeOutTags(line, map);
        return;
    }
    // The line is built anew in one pass: a line with many tags costs its
    // length, not its length times the number of tags.
    std::string& kept = kept_;
    kept.clear();
    kept.reserve(line.size());
    size_t pos = excluding_ ? SkipExcluded(line, 0) : 0;
    for (;;) {
        size_t textStart = pos;
        size_t open = std::string::npos;  // stays npos for a tag begun on an earlier line
        if (!inTag_) {
            if (pos >= line.size()) {
                break;
            }
            open = line.find('<', pos);
            if (open == std::string::npos) {
                kept.append(line, pos, std::string::npos);
                keep(pos, line.size());
                break;
            }
            kept.append(line, pos, open - pos);
            keep(pos, open);
            textStart = open + 1;
        }
        const size_t close = line.find('>', textStart);
        if (close == std::string::npos) {
            // The tag goes on in the next line; the line break is a blank in it.
            if (judging) {
                if (textStart < line.size()) {
                    tagText_.append(line, textStart, std::string::npos);
                }
                tagText_ += ' ';
            }
            inTag_ = true;
            break;
        }
        inTag_ = false;
        pos = close + 1;
        if (map != nullptr && open != std::string::npos) {
            map->tags.push_back({open, pos});
        }
        if (judging) {
            tagText_.append(line, textStart, close - textStart);
            JudgeTag(settings, tagText_);
            tagText_.clear();
        }
        if (excluding_) {
            pos = SkipExcluded(line, pos);
        }
    }
    line.swap(kept);
}

namespace {

}  // namespace

bool CSgml::TakesTagsOutOnly(const CCorpus& settings) const
{
    return !excluding_ && !AnySwitchOn(settings.sgmlTagExclude) &&
           !AnySwitchOn(settings.sgmlAttributeOutput);
}

void CSgml::MapTags(const std::string& line, bool startsInTag, CSgmlLineMap& map)
{
    map.kept.clear();
    map.tags.clear();
    const size_t n = line.size();
    size_t i = 0;
    if (startsInTag) {
        i = line.find('>');
        if (i == std::string::npos) {
            return;
        }
        ++i;
    }
    while (i < n) {
        const size_t open = line.find('<', i);
        if (open != i) {
            map.kept.push_back({i, open == std::string::npos ? n : open});
        }
        if (open == std::string::npos) {
            return;
        }
        const size_t close = line.find('>', open + 1);
        if (close == std::string::npos) {
            return;
        }
        map.tags.push_back({open, close + 1});
        i = close + 1;
    }
}

void CSgml::AllowWideMarksForTests(bool allow)
{
#if defined(PLIX_TAG_SHUFFLE)
    wideAllowed = allow;
#else
    (void)allow;
#endif
}

void CSgml::TakeOutTags(std::string& line, CSgmlLineMap* map)
{
    const size_t n = line.size();
    // A padded copy, so that the line can be read sixty-four bytes at a time
    // and its text runs moved sixteen at a time without reading past it.
    padded_.resize(n + 64);
    std::memcpy(padded_.data(), line.data(), n);
    // Room for the last window's gathering as well as for the runs' stores.
    kept_.resize(n + 80);
    const char* text = padded_.data();
    char* out = kept_.data();
    auto keepRun = [&](size_t from, size_t to) {
        if (to <= from) {
            return;
        }
        if (map != nullptr) {
            map->kept.push_back({from, to});
        }
#if defined(__SSE2__)
        for (size_t k = 0; k < to - from; k += 16) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + k),
                             _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + from + k)));
        }
#else
        std::memcpy(out, text + from, to - from);
#endif
        out += to - from;
    };
    // The "<" and ">" of the line are found sixty-four bytes at a time as bit
    // masks; the tags are then read off the bits, with no search a tag.
    bool in = inTag_;
    bool begunEarlier = inTag_;  // a tag from an earlier line has no place in this one
    size_t runStart = 0;
    size_t open = 0;
#if defined(PLIX_TAG_SHUFFLE)
    const bool shuffle = map == nullptr && CanShuffle();
    const bool wide = wideAllowed && CanCompress();
#endif
    for (size_t base = 0; base < n; base += 64) {
        uint64_t lt = 0;
        uint64_t gt = 0;
#if defined(PLIX_TAG_SHUFFLE)
        if (wide) {
            MarksWide(text + base, lt, gt);
        } else
#endif
#if defined(__SSE2__)
        // The padding lets the last window be read whole; its bits past the
        // line's end are dropped.
        for (int part = 0; part < 4; ++part) {
            const __m128i block =
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + base + 16 * part));
            lt |= static_cast<uint64_t>(static_cast<unsigned>(
                      _mm_movemask_epi8(_mm_cmpeq_epi8(block, _mm_set1_epi8('<')))))
                  << (16 * part);
            gt |= static_cast<uint64_t>(static_cast<unsigned>(
                      _mm_movemask_epi8(_mm_cmpeq_epi8(block, _mm_set1_epi8('>')))))
                  << (16 * part);
        }
#else
        for (size_t k = 0; k < 64; ++k) {
            lt |= static_cast<uint64_t>(text[base + k] == '<') << k;
            gt |= static_cast<uint64_t>(text[base + k] == '>') << k;
        }
#endif
        const uint64_t inLine = n - base < 64 ? (uint64_t{1} << (n - base)) - 1 : ~uint64_t{0};
        lt &= inLine;
        gt &= inLine;
#if defined(PLIX_TAG_SHUFFLE)
        // Where every "<" opens a tag and every ">" closes one (the common
        // case), the bytes inside tags are known from the parity of the marks
        // before them, and the text is gathered eight bytes at a time.
        if (shuffle) {
            const uint64_t inside = PrefixParity(lt | gt) ^ (in ? ~uint64_t{0} : 0);
            if ((lt & ~inside) == 0 && (gt & inside) == 0) {
                if (!in) {
                    keepRun(runStart, base);
                }
                runStart = base + 64;
                const uint64_t kept = ~(inside | gt) & inLine;
                out += wide ? CompactKeptWide(text + base, kept, out) : CompactKept(text + base, kept, out);
                in = (inside >> 63) != 0;
                begunEarlier = begunEarlier && (lt | gt) == 0;
                continue;
            }
        }
#endif
        for (;;) {
            const uint64_t events = in ? gt : lt;
            if (events == 0) {
                break;
            }
            const unsigned bit = static_cast<unsigned>(__builtin_ctzll(events));
            const size_t at = base + bit;
            // Bits up to this one are read.
            const uint64_t done = bit == 63 ? ~uint64_t{0} : (uint64_t{2} << bit) - 1;
            lt &= ~done;
            gt &= ~done;
            if (!in) {
                keepRun(runStart, at);
                open = at;
                in = true;
            } else {
                if (map != nullptr && !begunEarlier) {
                    map->tags.push_back({open, at + 1});
                }
                begunEarlier = false;
                in = false;
                runStart = at + 1;
            }
        }
    }
    if (!in) {
        keepRun(runStart, n);
    }
    inTag_ = in;
    kept_.resize(static_cast<size_t>(out - kept_.data()));
    line.swap(kept_);
}

void CSgml::JudgeTag(const CCorpus& settings, const std::string& text)
{
    if (!text.empty() && text[0] == '/') {
        return;
    }
    const size_t nameEnd = NameEnd(text);
    const std::string name = text.substr(0, nameEnd);
    if (!name.empty()) {
        for (size_t i = 0; i < settings.sgmlTags.size(); ++i) {
            if (SwitchOn(settings.sgmlTagExclude, i) &&
                EqualIgnoringCase(settings.sgmlTags[i], name)) {
                excluding_ = true;
                endTagName_ = i < settings.sgmlTagInfo.size() ? settings.sgmlTagInfo[i] : "";
                return;
            }
        }
    }
    const auto& keys = settings.sgmlAttributes;
    const auto& output = settings.sgmlAttributeOutput;
    bool anyOutput = false;
    for (size_t i = 0; i < keys.size() && !anyOutput; ++i) {
        anyOutput = SwitchOn(output, i);
    }
    if (!anyOutput) {
        return;
    }
    ForEachAttribute(text, nameEnd, [&](const std::string& attribute, const std::string& value) {
        const std::string key = name + ' ' + attribute;
        for (size_t i = 0; i < keys.size(); ++i) {
            if (SwitchOn(output, i) && EqualIgnoringCase(keys[i], key)) {
                attributeValues_[i] = value;
            }
        }
    });
}

size_t CSgml::SkipExcluded(const std::string& line, size_t pos)
{
    size_t resume = std::string::npos;
    if (!endTagName_.empty()) {
        const std::string closing = "</" + endTagName_ + ">";
        const size_t found = FindIgnoringCase(line, closing, pos);
        if (found != std::string::npos) {
            resume = found + closing.size();
        }
    } else {
        // Without an end tag the element ends where the next tag begins.
        resume = line.find('<', pos);
    }
    if (resume == std::string::npos) {
        return line.size();
    }
    excluding_ = false;
    endTagName_.clear();
    return resume;
}

// ---- context texts --------------------------------------------------------------

void CSgml::StripTags(std::string& text)
{
    if (!inStripTag_ && text.find('<') == std::string::npos) {
        return;
    }
    std::string kept;
    kept.reserve(text.size());
    size_t pos = 0;
    if (inStripTag_) {
        const size_t close = text.find('>');
        if (close == std::string::npos) {
            text.clear();
            return;
        }
        inStripTag_ = false;
        pos = close + 1;
    }
    for (;;) {
        const size_t open = text.find('<', pos);
        if (open == std::string::npos) {
            kept.append(text, pos, std::string::npos);
            break;
        }
        kept.append(text, pos, open - pos);
        const size_t close = text.find('>', open + 1);
        if (close == std::string::npos) {
            inStripTag_ = true;
            break;
        }
        pos = close + 1;
    }
    text = std::move(kept);
}

void CSgml::StripContextText(std::string& text)
{
    // Each context text starts after the line just read, not where the last
    // context text ended: whether it starts inside a tag is the reading's
    // state, not the stripper's.
    inStripTag_ = inTag_;
    StripTags(text);
}

// ---- references and headers -----------------------------------------------------

std::string CSgml::GetValue(size_t index) const
{
    return index < attributeValues_.size() ? attributeValues_[index] : std::string();
}

std::string CSgml::Reference(const CCorpus& settings, int64_t lineNumber,
                             const std::string& sourceName) const
{
    std::string text = settings.FormatReference(lineNumber, sourceName);
    for (size_t i = 0; i < settings.sgmlAttributes.size(); ++i) {
        if (SwitchOn(settings.sgmlAttributeOutput, i)) {
            text += settings.FormatTaggedField(GetValue(i), settings.sgmlAttributes[i]);
        }
    }
    return text;
}

std::string CSgml::ColumnHeading(const CCorpus& settings, const char* eol) const
{
    return settings.GetLineHeading() + AttributeHeadings(settings) +
           settings.GetOccurrenceHeading() + eol;
}

std::string CSgml::AttributeHeadings(const CCorpus& settings) const
{
    std::string text;
    for (size_t i = 0; i < settings.sgmlAttributes.size(); ++i) {
        if (SwitchOn(settings.sgmlAttributeOutput, i)) {
            text += settings.FormatField(settings.sgmlAttributes[i]);
        }
    }
    return text;
}

std::string CSgml::ExcludedLines(const CCorpus& settings, const char* eol) const
{
    std::string text;
    for (size_t i = 0; i < settings.sgmlTags.size(); ++i) {
        if (SwitchOn(settings.sgmlTagExclude, i)) {
            text += "Excluded Tag:" + settings.sgmlTags[i] + eol;
        }
    }
    return text;
}

// ---- the scan -------------------------------------------------------------------

SgmlScanOutcome CSgml::Scan(const std::vector<std::string>& files, CProgress& progress,
                            std::string& error)
{
    ResetForFile();
    progress.Create();
    CTagScan scan;
    std::string line;
    for (const std::string& path : files) {
        CInput file;
        file.SetFileName(path);
        if (file.Open() != 0) {
            error = file.LastError();
            return SgmlScanOutcome::Unreadable;
        }
        progress.SetStatus(path);
        scan.BeginFile();
        for (;;) {
            progress.SetPos(file.GetProgress());
            if (progress.IsCancelled()) {
                return SgmlScanOutcome::Cancelled;
            }
            if (!file.ReadLine(line)) {
                break;
            }
            line.pop_back();  // the blank the reader puts in place of the line end
            scan.ReadText(line);
        }
        if (file.ReadFailed()) {
            error = file.LastError();
            return SgmlScanOutcome::Unreadable;
        }
    }
    TakeScan(scan);
    return SgmlScanOutcome::Done;
}

void CSgml::TakeScan(const CTagScan& scan)
{
    scannedTags.clear();
    scannedTagEnds.clear();
    scannedAttributes.clear();
    scannedAttributeTags.clear();
    for (const auto& [name, tag] : scan.Tags()) {
        scannedTags.push_back(tag.name);
        scannedTagEnds.push_back(tag.info);
    }
    for (const auto& [key, tag] : scan.Keys()) {
        scannedAttributes.push_back(tag.name);
        scannedAttributeTags.push_back(tag.info);
    }
    scannedTagFlags.assign(scannedTags.size(), 0);
    scannedAttributeFlags.assign(scannedAttributes.size(), 0);
}

// ---- the roles ------------------------------------------------------------------

void CSgml::ScanLine(CHandlerFrame& frame, std::string& line)
{
    ReadTags(frame.Settings(), line);
}

void CSgml::WriteHeader(CHandlerFrame& frame)
{
    std::string text = ExcludedLines(frame.Settings(), frame.Eol());
    if (!text.empty()) {
        frame.Write(text);
    }
}

void CSgml::WriteColumnHeading(CHandlerFrame& frame, int)
{
    frame.Write(ColumnHeading(frame.Settings(), frame.Eol()));
}

void CSgml::CleanFollowingText(CHandlerFrame&, std::string& text)
{
    StripContextText(text);
}

void CSgml::MakeReference(CHandlerFrame& frame, int, std::string& reference)
{
    reference += Reference(frame.Settings(), frame.LineNumber(), frame.SourceName());
}

}  // namespace plix
