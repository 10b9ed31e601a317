// The user's pattern language rewritten into the GNU matcher's own syntax.
//
// Users type one fixed, byte-wise pattern language (see gnu.h). glibc's GNU
// regex almost speaks it, but not quite: back-references to groups that are
// not closed yet, repetition with nothing to repeat, "_" in the word table,
// locale-dependent ranges and named classes in lists. Rather than bend the
// library with many syntax bits, the pattern is parsed here and written out
// again in a small, unambiguous subset of glibc's syntax, in the forms the
// search needs.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace plix {

struct RegexProgram;

// The error texts a compile can report.
inline constexpr const char* kRegexPrematureEnd = "Premature end of regular expression";
inline constexpr const char* kRegexUnmatchedClose = "Unmatched \\)";
inline constexpr const char* kRegexUnmatchedOpen = "Unmatched \\(";
inline constexpr const char* kRegexNestingTooDeep = "Nesting too deep";
inline constexpr const char* kRegexInvalid = "Invalid regular expression";
inline constexpr const char* kRegexMemoryExhausted = "Memory exhausted";
inline constexpr const char* kRegexTooBig = "Regular expression too big";

// "Regular expression too big" protects the program from patterns the
// library would take seconds or gigabytes to compile or run. A pattern is too
// big when
//   - it is longer than kRegexMaxPatternBytes, or
//   - it has more than kRegexMaxElements elements: a byte, ".", a list, an
//     anchor, a back-reference or a repetition counts 1, a "|" 2, a group,
//     \b or \B 4 (the library's compile is quadratic in empty-width steps:
//     at the limit the worst pattern compiles in some tens of milliseconds
//     and megabytes), or
//   - more than 8 \b / \B can follow each other with no byte between them
//     (each doubles the library's compile time), or
//   - it holds more than 9 back-references, or a back-reference that can
//     repeat and names a group that can match texts of any length
//     ("(a*)\1*", "(\w+)( \1)+"): the library takes exponential time on them.
// The size limits are far above anything typed into a keyword field.
inline constexpr std::size_t kRegexMaxPatternBytes = 8192;
inline constexpr std::size_t kRegexMaxElements = 2048;

// At most this many groups may be open at one time.
inline constexpr int kRegexMaxOpenGroups = 10;

// The matcher runs with a translate table that swaps "_" with this byte, so
// that its built-in word table (letters, digits and "_") sees "_" as a
// non-word byte while a literal "_" still matches "_". Text never holds
// this byte (lines are NUL-free), so the swap is invisible to users.
inline constexpr unsigned char kUnderscoreStandIn = 0;

// How a pattern reads characters. Byte-wise (the 8-bit and EUC-JP locales)
// unless `utf8`: then "." and a list match one UTF-8 character, and \w and
// \W are the program's word characters: a letter (a letter or digit with
// `countNumbers`) by the locale's classes, or one of the characters of
// `diacritics` read as UTF-8.
struct RegexCharacters
{
    bool utf8 = false;
    bool countNumbers = true;
    std::string diacritics;
    // Tests: in UTF-8, build `program` for patterns without word operators too.
    bool alwaysProgram = false;
};

struct RegexTranslation
{
    // Empty when the pattern is usable; otherwise one of the texts above.
    std::string error;

    // The pattern in glibc syntax, back-references included.
    std::string forward;
    // A pattern without back-references that matches wherever `forward`
    // matches (each back-reference widened to a copy of its group). Equal to
    // `forward` when there are no back-references.
    std::string finder;
    // The finder read backwards (for reversed text), preceded by "any bytes",
    // so that one anchored longest match on the reversed text reaches back to
    // the leftmost start of a finder match.
    std::string reversedFinder;

    bool hasBackReferences = false;
    // Holds ^ $ \` \' \b \B \< or \>: whether a match can start somewhere
    // depends on the bytes around it.
    bool hasAnchors = false;
    // How the library's work on one back-reference attempt grows with the
    // length of text it covers: about length^exponent steps.
    int backReferenceExponent = 0;

    // The whole pattern is plain bytes: a search is a substring search.
    bool isLiteral = false;
    // When isLiteral, those bytes; otherwise the longest run of bytes that
    // every match must contain (possibly empty).
    std::string literal;

    // In UTF-8, a pattern with word operators or \w / \W as the program
    // runs it itself, so that those see the program's word characters;
    // otherwise empty. With back-references, `programFinder` is its finder
    // (each back-reference widened to a copy of its group).
    std::shared_ptr<const RegexProgram> program;
    std::shared_ptr<const RegexProgram> programFinder;
};

// The length of the valid, shortest-form UTF-8 character at `at` of `text`,
// or 0 when the bytes there start none.
std::size_t Utf8CharacterLength(std::string_view text, std::size_t at);

RegexTranslation TranslateRegex(std::string_view pattern, const RegexCharacters& characters = {});

// The text to report for an error text from glibc's compiler.
std::string RegexErrorFromLibrary(std::string_view libraryText);

}  // namespace plix
