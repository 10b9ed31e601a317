// Working on the text of a result window without running the engine again:
// what a window holds (a word list, a concordance or neither), the parts of
// its text that a re-sort keeps in place, the sort keys of its lines and the
// order they give. Lines are bytes of the locale's code page, given without
// their line ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plix {

class CCorpus;

enum class ResultKind
{
    Neither,
    WordList,
    Concordance
};

struct ResultClass
{
    ResultKind kind = ResultKind::Neither;
    // Layout of the first hit line of a concordance (see HitLineFormat); 0
    // when no hit line was recognised.
    int hitFormat = 0;
};

// How many lines from the top decide what a window holds.
inline constexpr size_t kClassifyLineCount = 30;

// The layout of a concordance hit line: 1 it starts with "(" and a digit
// (Text: the reference line of a two-line hit), 2 with a double quote and a
// digit (Comma Separated), 3 with a digit (Tab Separated), 4 it has "(" and a
// digit further on (Tagged: file name, line number, colon); 0 not a hit line.
int HitLineFormat(std::string_view line);

// The lines that end a block of list or hit lines: empty ones. (A line and
// its two-character line end together are shorter than three characters.)
bool IsShortLine(std::string_view line);

// Decides from the first 30 lines what the window holds; the sort commands are
// enabled by the answer.
ResultClass ClassifyResult(const std::vector<std::string>& lines, const CCorpus& corpus);

// Asked as a re-sort goes on, with the percentage done; false stops it.
using SortProgress = std::function<bool(int percent)>;

// ---- word lists ---------------------------------------------------------------

enum class WordListOrder
{
    Alphabet,
    Frequency
};

struct WordListLayout
{
    // Lines before the block (up to the first line with a TAB) stay on top.
    size_t blockBegin = 0;
    // The first empty line after the block, or the end: it and the lines after
    // it (the totals) stay below.
    size_t blockEnd = 0;
};

WordListLayout FindWordListBlock(const std::vector<std::string>& lines);

// The lines of the block in their new order (indexes into `lines`); nothing
// when the progress said stop. Alphabetical: by the word (the text up to the
// next TAB, after a leading TAB); by frequency: larger counts first, equal
// counts by the whole line. Keys compare by the locale's collation; equal keys
// keep their order in the window. A line without a TAB (the user may have
// edited the window) counts as a whole for the word, and by frequency it has
// no count and goes after every counted line.
std::optional<std::vector<size_t>> SortWordList(const std::vector<std::string>& lines,
                                                const WordListLayout& layout, WordListOrder order,
                                                const SortProgress& progress);

// ---- concordances -------------------------------------------------------------

enum SortMode : int
{
    kSortLeft = -1,
    kSortKeyword = 0,
    kSortRight = 1,
};

struct ConcordanceLayout
{
    // The header block: up to and including the first empty line after the
    // "Keyword:" line.
    size_t headerEnd = 0;
    std::string sortKeyword;
    int sortKeywordPosition = 0;
    // Lines [headerEnd, firstHit) (a column heading) also stay on top.
    size_t firstHit = 0;
    int hitFormat = 0;
    bool singleLineHits = false;
    // The first line of every hit, in window order.
    std::vector<size_t> hits;
    // The first empty line after the hits, or the end: the footer from here on.
    size_t blockEnd = 0;

    int LinesPerHit() const { return singleLineHits ? 1 : 2; }
    bool Sortable() const { return !hits.empty(); }
};

// Reads the header (keyword and its position), finds the first hit line and
// collects the hits. Without a keyword, a position or a hit line nothing is
// sortable: firstHit and blockEnd are then the end of the text.
ConcordanceLayout FindConcordanceLayout(const std::vector<std::string>& lines);

struct ConcordanceKeyRule
{
    int sortMode = kSortKeyword;
    // 0: the whole context; n >= 1: the n-th word of it.
    int sortColumn = 0;
    int hitFormat = 1;
    std::string sortKeyword;
    int sortKeywordPosition = 0;
    // The position counts display columns (UTF-8 text), not bytes.
    bool displayColumns = false;
};

// Where the keyword of a hit's concordance line starts.
size_t KeywordStart(std::string_view line, const ConcordanceKeyRule& rule, const CCorpus& corpus);

// The sort key of a concordance line, before collation.
std::string ConcordanceSortKey(std::string_view line, const ConcordanceKeyRule& rule,
                               const CCorpus& corpus);

// The hits of the layout (their first lines) in their new order; nothing when
// the progress said stop. Equal keys keep their order in the window.
std::optional<std::vector<size_t>> SortConcordance(const std::vector<std::string>& lines,
                                                   const ConcordanceLayout& layout, int sortMode,
                                                   int sortColumn, const CCorpus& corpus,
                                                   const SortProgress& progress);

// Where the keyword of each hit stands, as the re-sort finds it: in the line
// of the hit that holds the concordance text (the second of a two-line hit).
struct HitKeyword
{
    size_t line = 0;    // index into the window's lines
    size_t start = 0;   // byte offset in that line
    size_t length = 0;  // bytes
};

// The keywords of a concordance window, found from its "Keyword:" and
// "Keyword Position:" lines and the layout of its hit lines: the keyword as
// written when the line holds it at the keyword position, otherwise the word
// there (a regular expression, another spelling). Nothing when the window
// holds no concordance the re-sort could sort.
std::vector<HitKeyword> FindHitKeywords(const std::vector<std::string>& lines,
                                        const CCorpus& corpus);

// ---- tag jump -----------------------------------------------------------------

struct TagJumpTarget
{
    std::string fileName;
    int64_t line = 0;
};

// The file name and line number of a Tagged hit line: the first "):" of the
// line, the nearest "(" before it, the name before that and the decimal number
// between them. Nothing for a line without "):", without a readable number or
// without a name.
std::optional<TagJumpTarget> ParseTagJump(std::string_view line);

}  // namespace plix
