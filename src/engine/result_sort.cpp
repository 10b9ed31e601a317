#include "engine/result_sort.h"

#include "settings/corpus.h"
#include "settings/text.h"
#include "settings/utf8.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <limits>

namespace plix {

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool HasOpenParenDigit(std::string_view line)
{
    for (size_t i = 0; i + 1 < line.size(); ++i) {
        if (line[i] == '(' && IsDigit(line[i + 1])) {
            return true;
        }
    }
    return false;
}

bool HasTabDigit(std::string_view line, size_t from)
{
    for (size_t i = from; i + 1 < line.size(); ++i) {
        if (line[i] == '\t' && IsDigit(line[i + 1])) {
            return true;
        }
    }
    return false;
}

bool IsWordListLine(std::string_view line, const CCorpus& corpus)
{
    if (line.empty()) {
        return false;
    }
    if (corpus.IsWordChar(static_cast<unsigned char>(line[0]))) {
        return HasTabDigit(line, 0);
    }
    // A backward list: TAB, the reversed word, TAB, the count.
    return line[0] == '\t' && HasTabDigit(line, 1);
}

char Lower(char c)
{
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

std::string LowerCopy(std::string_view text)
{
    return LowerMb(text);
}

// The word test over one line: byte by byte, or in UTF-8 text whole
// characters (every byte of a word character counts as a word byte).
class LineWords
{
  public:
    LineWords(std::string_view line, const CCorpus& corpus)
        : line_(line), corpus_(corpus), utf8_(corpus.ReadsUtf8())
    {
        if (utf8_) {
            CUtf8Words(corpus.countNumbers != 0, corpus.diacritics).MarkWords(line, mask_);
        }
    }
    bool operator()(size_t i) const
    {
        if (utf8_) {
            return i < mask_.size() && mask_[i] != 0;
        }
        return corpus_.IsWordChar(static_cast<unsigned char>(line_[i]));
    }
    // A sort key lowered as the engine lowers its keys.
    std::string Lower(std::string_view text) const
    {
        return utf8_ ? LowerUtf8(text) : LowerMb(text);
    }

  private:
    std::string_view line_;
    const CCorpus& corpus_;
    bool utf8_;
    std::vector<unsigned char> mask_;
};

// Whether `line` holds `word` at `at`, letters compared without case.
bool HoldsAt(std::string_view line, size_t at, std::string_view word)
{
    if (word.empty() || at > line.size() || line.size() - at < word.size()) {
        return false;
    }
    for (size_t i = 0; i < word.size(); ++i) {
        if (Lower(line[at + i]) != Lower(word[i])) {
            return false;
        }
    }
    return true;
}

// Reads a decimal count; no digits gives nothing. Counts too large for the
// type are taken as the largest.
std::optional<int64_t> ReadCount(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    if (i == text.size() || !IsDigit(text[i])) {
        return std::nullopt;
    }
    int64_t value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        int digit = text[i] - '0';
        if (value > (std::numeric_limits<int64_t>::max() - digit) / 10) {
            value = std::numeric_limits<int64_t>::max();
        } else {
            value = value * 10 + digit;
        }
    }
    return value;
}

int ReadNumberAfter(std::string_view line, std::string_view label)
{
    size_t at = line.find(label);
    if (at == std::string_view::npos) {
        return 0;
    }
    std::optional<int64_t> value = ReadCount(line.substr(at + label.size()));
    if (!value) {
        return 0;
    }
    return static_cast<int>(std::min<int64_t>(*value, INT_MAX));
}

// Where the concordance text of a hit line begins and the column at which its
// keyword stands.
struct HitColumns
{
    size_t textStart = 0;
    size_t column = 0;
};

HitColumns TextLayoutColumns(const ConcordanceKeyRule& rule)
{
    // The Text layout has the concordance line on its own: the keyword stands
    // at the position counted from 1.
    const size_t position = static_cast<size_t>(std::max(0, rule.sortKeywordPosition));
    return {0, position > 0 ? position - 1 : 0};
}

// Tries the marks of a layout from the right; the first after which the
// keyword stands where the position puts it wins. `offset` is the distance
// from a mark to its text.
// Where the keyword stands `position` columns into the text that starts at
// `textStart`: bytes, or display columns in UTF-8 text.
size_t ColumnAfter(std::string_view line, size_t textStart, size_t position,
                   const ConcordanceKeyRule& rule)
{
    const size_t before = position > 0 ? position - 1 : 0;
    if (!rule.displayColumns || textStart >= line.size()) {
        return textStart + before;
    }
    return textStart + OffsetOfColumn(line.substr(textStart), before);
}

std::optional<HitColumns> MarkHoldingKeyword(std::string_view line,
                                             const std::vector<size_t>& marks, size_t offset,
                                             const ConcordanceKeyRule& rule)
{
    const size_t position = static_cast<size_t>(std::max(0, rule.sortKeywordPosition));
    for (auto it = marks.rbegin(); it != marks.rend(); ++it) {
        size_t textStart = *it + offset;
        size_t column = ColumnAfter(line, textStart, position, rule);
        if (HoldsAt(line, column, rule.sortKeyword)) {
            return HitColumns{textStart, column};
        }
    }
    return std::nullopt;
}

std::vector<size_t> FindAll(std::string_view line, std::string_view mark)
{
    std::vector<size_t> found;
    for (size_t at = line.find(mark); at != std::string_view::npos; at = line.find(mark, at + 1)) {
        found.push_back(at);
    }
    return found;
}

HitColumns LocateHit(std::string_view line, const ConcordanceKeyRule& rule)
{
    const size_t position = static_cast<size_t>(std::max(0, rule.sortKeywordPosition));
    auto columnsAfter = [&](size_t textStart) {
        return HitColumns{textStart, ColumnAfter(line, textStart, position, rule)};
    };
    switch (rule.hitFormat) {
        case 2: {
            // "n","text": the text follows the last "," of the reference; the
            // text itself may hold one too.
            std::vector<size_t> marks = FindAll(line, "\",\"");
            if (marks.empty()) {
                break;
            }
            if (auto held = MarkHoldingKeyword(line, marks, 3, rule)) {
                return *held;
            }
            return columnsAfter(marks.back() + 3);
        }
        case 3: {
            std::vector<size_t> marks = FindAll(line, "\t");
            if (marks.empty()) {
                if (HasOpenParenDigit(line)) {
                    // A Tagged line whose file name starts with a digit.
                    ConcordanceKeyRule tagged = rule;
                    tagged.hitFormat = 4;
                    return LocateHit(line, tagged);
                }
                break;
            }
            if (auto held = MarkHoldingKeyword(line, marks, 1, rule)) {
                return *held;
            }
            return columnsAfter(marks.back() + 1);
        }
        case 4: {
            // name(n):text — colons may stand in the name and in the text.
            std::vector<size_t> colons = FindAll(line, ":");
            if (colons.empty()) {
                break;
            }
            if (auto held = MarkHoldingKeyword(line, colons, 1, rule)) {
                return *held;
            }
            if (!rule.sortKeyword.empty()) {
                const std::string lower = LowerCopy(line);
                for (auto it = colons.rbegin(); it != colons.rend(); ++it) {
                    if (lower.find(rule.sortKeyword, *it + 1) != std::string::npos) {
                        return columnsAfter(*it + 1);
                    }
                }
            }
            // No colon is followed by the keyword as written (a regular
            // expression, capitals): the reference ends at the first "):".
            size_t reference = line.find("):");
            if (reference != std::string_view::npos) {
                return columnsAfter(reference + 2);
            }
            return columnsAfter(colons.back() + 1);
        }
        default:
            break;
    }
    if (rule.displayColumns) {
        return {0, ColumnAfter(line, 0, static_cast<size_t>(std::max(0, rule.sortKeywordPosition)), rule)};
    }
    return TextLayoutColumns(rule);
}

struct KeywordSpan
{
    size_t textStart = 0;
    size_t start = 0;
};

KeywordSpan FindKeyword(std::string_view line, const ConcordanceKeyRule& rule,
                        const CCorpus& corpus)
{
    ConcordanceKeyRule measured = rule;
    measured.displayColumns = corpus.ReadsUtf8();
    HitColumns hit = LocateHit(line, measured);
    const LineWords word(line, corpus);
    const size_t textStart = std::min(hit.textStart, line.size());
    if (hit.column >= line.size()) {
        return {textStart, line.size()};
    }
    if (!word(hit.column)) {
        return {textStart, hit.column + 1};
    }
    size_t start = hit.column;
    while (start > textStart && word(start - 1)) {
        --start;
    }
    return {textStart, start};
}

bool StopsLeftContext(char c)
{
    return c == '\t' || c == ':' || c == '"';
}

std::string LeftContextKey(std::string_view line, const KeywordSpan& span, int sortColumn,
                           const CCorpus& corpus)
{
    const LineWords word(line, corpus);
    std::string key;
    size_t end = span.start;  // one past the character looked at next
    int wanted = sortColumn;
    int count = 0;
    while (true) {
        // Over the characters between two words.
        while (end > span.textStart && !word(end - 1)) {
            if (sortColumn == 0 && StopsLeftContext(line[end - 1])) {
                return key;
            }
            --end;
        }
        if (end <= span.textStart) {
            return key;
        }
        size_t begin = end;
        while (begin > span.textStart && word(begin - 1)) {
            --begin;
        }
        ++count;
        if (sortColumn == 0) {
            key.append(line.substr(begin, end - begin));
            key.push_back(' ');
        } else if (count == wanted) {
            return word.Lower(line.substr(begin, end - begin));
        }
        end = begin;
    }
}

std::string RightContextKey(std::string_view line, const KeywordSpan& span, int sortColumn,
                            const CCorpus& corpus)
{
    const LineWords word(line, corpus);
    size_t i = span.start;
    while (i < line.size() && word(i)) {
        ++i;
    }
    while (i < line.size() && !word(i)) {
        ++i;
    }
    if (sortColumn <= 0) {
        return word.Lower(line.substr(i));
    }
    for (int n = 1; i < line.size(); ++n) {
        size_t begin = i;
        while (i < line.size() && word(i)) {
            ++i;
        }
        if (n == sortColumn) {
            return word.Lower(line.substr(begin, i - begin));
        }
        while (i < line.size() && !word(i)) {
            ++i;
        }
    }
    return std::string();
}

int Percent(size_t done, size_t total)
{
    if (total == 0) {
        return 100;
    }
    return static_cast<int>(std::min<uint64_t>(100, static_cast<uint64_t>(done) * 100 / total));
}

// Orders `count` items by their keys, equal keys in their first order.
template <typename Less>
std::vector<size_t> StableOrder(size_t count, Less less)
{
    std::vector<size_t> order(count);
    for (size_t i = 0; i < count; ++i) {
        order[i] = i;
    }
    std::stable_sort(order.begin(), order.end(), less);
    return order;
}

}  // namespace

int HitLineFormat(std::string_view line)
{
    if (line.size() >= 2 && line[0] == '(' && IsDigit(line[1])) {
        return 1;
    }
    if (line.size() >= 2 && line[0] == '"' && IsDigit(line[1])) {
        return 2;
    }
    if (!line.empty() && IsDigit(line[0])) {
        return 3;
    }
    if (HasOpenParenDigit(line)) {
        return 4;
    }
    return 0;
}

bool IsShortLine(std::string_view line)
{
    return line.empty();
}

ResultClass ClassifyResult(const std::vector<std::string>& lines, const CCorpus& corpus)
{
    ResultClass result;
    const size_t limit = std::min(lines.size(), kClassifyLineCount);
    for (size_t i = 0; i < limit; ++i) {
        const std::string& line = lines[i];
        if (line.find("Keyword:") != std::string::npos) {
            result.kind = ResultKind::Concordance;
            // Hits start after the header block, as the re-sort reads it: a
            // keyword such as "(1|2)" on the header line is not a hit.
            size_t j = i + 1;
            while (j < limit && !IsShortLine(lines[j])) {
                ++j;
            }
            for (++j; j < limit; ++j) {
                if (int format = HitLineFormat(lines[j])) {
                    result.hitFormat = format;
                    break;
                }
            }
            return result;
        }
        if (IsWordListLine(line, corpus)) {
            result.kind = ResultKind::WordList;
            return result;
        }
    }
    return result;
}

WordListLayout FindWordListBlock(const std::vector<std::string>& lines)
{
    WordListLayout layout;
    size_t i = 0;
    while (i < lines.size() && lines[i].find('\t') == std::string::npos) {
        ++i;
    }
    layout.blockBegin = i;
    while (i < lines.size() && !IsShortLine(lines[i])) {
        ++i;
    }
    layout.blockEnd = i;
    return layout;
}

std::optional<std::vector<size_t>> SortWordList(const std::vector<std::string>& lines,
                                                const WordListLayout& layout, WordListOrder order,
                                                const SortProgress& progress)
{
    const size_t begin = std::min(layout.blockBegin, lines.size());
    const size_t end = std::clamp(layout.blockEnd, begin, lines.size());
    const size_t count = end - begin;
    std::vector<std::string> keys(count);
    // By frequency: the count (none for a line without a TAB), then the line.
    std::vector<std::optional<int64_t>> counts(order == WordListOrder::Frequency ? count : 0);
    for (size_t k = 0; k < count; ++k) {
        std::string_view line = lines[begin + k];
        size_t wordStart = !line.empty() && line[0] == '\t' ? 1 : 0;
        size_t wordEnd = line.find('\t', wordStart);
        if (order == WordListOrder::Alphabet) {
            keys[k] = CollationKey(wordEnd == std::string_view::npos
                                       ? line
                                       : line.substr(wordStart, wordEnd - wordStart));
        } else {
            if (wordEnd != std::string_view::npos) {
                counts[k] = ReadCount(line.substr(wordEnd + 1)).value_or(0);
            }
            keys[k] = CollationKey(line);
        }
        if (progress && !progress(Percent(begin + k + 1, lines.size()))) {
            return std::nullopt;
        }
    }
    std::vector<size_t> sorted;
    if (order == WordListOrder::Alphabet) {
        sorted = StableOrder(count, [&](size_t a, size_t b) { return keys[a] < keys[b]; });
    } else {
        sorted = StableOrder(count, [&](size_t a, size_t b) {
            if (counts[a].has_value() != counts[b].has_value()) {
                return counts[a].has_value();
            }
            if (counts[a] != counts[b]) {
                return *counts[a] > *counts[b];
            }
            return keys[a] < keys[b];
        });
    }
    for (size_t& index : sorted) {
        index += begin;
    }
    return sorted;
}

ConcordanceLayout FindConcordanceLayout(const std::vector<std::string>& lines)
{
    ConcordanceLayout layout;
    const size_t n = lines.size();
    bool keywordSeen = false;
    size_t i = 0;
    for (; i < n; ++i) {
        std::string_view line = lines[i];
        size_t keyword = line.find("Keyword:");
        if (keyword != std::string_view::npos) {
            std::string_view rest = line.substr(keyword + 8);
            if (!rest.empty() && rest[0] == ' ') {
                rest.remove_prefix(1);
            }
            layout.sortKeyword.assign(rest);
            keywordSeen = true;
            continue;
        }
        if (line.find("Keyword Position:") != std::string_view::npos) {
            layout.sortKeywordPosition = ReadNumberAfter(line, "Keyword Position:");
        }
        if (keywordSeen && IsShortLine(line)) {
            ++i;
            break;
        }
    }
    layout.headerEnd = i;
    layout.firstHit = n;
    layout.blockEnd = n;
    if (layout.sortKeyword.empty() || layout.sortKeywordPosition <= 0) {
        return layout;
    }
    size_t first = layout.headerEnd;
    while (first < n && HitLineFormat(lines[first]) == 0) {
        ++first;
    }
    if (first == n) {
        return layout;
    }
    layout.firstHit = first;
    layout.hitFormat = HitLineFormat(lines[first]);
    layout.singleLineHits = lines[first][0] != '(';
    const size_t step = static_cast<size_t>(layout.LinesPerHit());
    size_t at = first;
    while (at < n && !IsShortLine(lines[at])) {
        layout.hits.push_back(at);
        at += step;
    }
    layout.blockEnd = std::min(at, n);
    return layout;
}

size_t KeywordStart(std::string_view line, const ConcordanceKeyRule& rule, const CCorpus& corpus)
{
    return FindKeyword(line, rule, corpus).start;
}

std::string ConcordanceSortKey(std::string_view line, const ConcordanceKeyRule& rule,
                               const CCorpus& corpus)
{
    KeywordSpan span = FindKeyword(line, rule, corpus);
    if (rule.sortMode == kSortLeft) {
        return LeftContextKey(line, span, rule.sortColumn, corpus);
    }
    if (rule.sortMode == kSortRight) {
        return RightContextKey(line, span, rule.sortColumn, corpus);
    }
    const LineWords word(line, corpus);
    size_t end = span.start;
    while (end < line.size() && word(end)) {
        ++end;
    }
    return word.Lower(line.substr(span.start, end - span.start));
}

std::optional<std::vector<size_t>> SortConcordance(const std::vector<std::string>& lines,
                                                   const ConcordanceLayout& layout, int sortMode,
                                                   int sortColumn, const CCorpus& corpus,
                                                   const SortProgress& progress)
{
    ConcordanceKeyRule rule;
    rule.sortMode = sortMode;
    rule.sortColumn = std::max(0, sortColumn);
    rule.hitFormat = layout.hitFormat;
    rule.sortKeyword = layout.sortKeyword;
    rule.sortKeywordPosition = layout.sortKeywordPosition;
    const size_t count = layout.hits.size();
    const size_t textOffset = layout.singleLineHits ? 0 : 1;
    std::vector<std::string> keys(count);
    for (size_t k = 0; k < count; ++k) {
        size_t textLine = layout.hits[k] + textOffset;
        std::string_view text =
            textLine < lines.size() ? std::string_view(lines[textLine]) : std::string_view();
        keys[k] = CollationKey(ConcordanceSortKey(text, rule, corpus));
        if (progress && !progress(Percent(layout.hits[k] + 1, lines.size()))) {
            return std::nullopt;
        }
    }
    std::vector<size_t> sorted =
        StableOrder(count, [&](size_t a, size_t b) { return keys[a] < keys[b]; });
    for (size_t& index : sorted) {
        index = layout.hits[index];
    }
    return sorted;
}

std::vector<HitKeyword> FindHitKeywords(const std::vector<std::string>& lines,
                                        const CCorpus& corpus)
{
    std::vector<HitKeyword> found;
    const ConcordanceLayout layout = FindConcordanceLayout(lines);
    if (!layout.Sortable()) {
        return found;
    }
    ConcordanceKeyRule rule;
    rule.hitFormat = layout.hitFormat;
    rule.sortKeyword = layout.sortKeyword;
    rule.sortKeywordPosition = layout.sortKeywordPosition;
    rule.displayColumns = corpus.ReadsUtf8();
    const size_t textOffset = layout.singleLineHits ? 0 : 1;
    found.reserve(layout.hits.size());
    for (size_t first : layout.hits) {
        const size_t index = first + textOffset;
        if (index >= lines.size()) {
            break;
        }
        std::string_view line = lines[index];
        const HitColumns hit = LocateHit(line, rule);
        if (HoldsAt(line, hit.column, rule.sortKeyword)) {
            found.push_back({index, hit.column, rule.sortKeyword.size()});
            continue;
        }
        const KeywordSpan span = FindKeyword(line, rule, corpus);
        const LineWords word(line, corpus);
        size_t end = span.start;
        while (end < line.size() && word(end)) {
            ++end;
        }
        if (end > span.start) {
            found.push_back({index, span.start, end - span.start});
        }
    }
    return found;
}

std::optional<TagJumpTarget> ParseTagJump(std::string_view line)
{
    size_t close = line.find("):");
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    size_t open = line.rfind('(', close);
    if (open == std::string_view::npos || open == 0) {
        return std::nullopt;
    }
    std::string_view number = line.substr(open + 1, close - open - 1);
    while (!number.empty() && number.front() == ' ') {
        number.remove_prefix(1);
    }
    while (!number.empty() && number.back() == ' ') {
        number.remove_suffix(1);
    }
    if (number.empty() || !std::all_of(number.begin(), number.end(), IsDigit)) {
        return std::nullopt;
    }
    TagJumpTarget target;
    target.fileName.assign(line.substr(0, open));
    target.line = ReadCount(number).value_or(0);
    return target;
}

}  // namespace plix
