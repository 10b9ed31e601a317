// CGNU: the two regular-expression slots (keyword and context word) over
// glibc's classic GNU regex interface.
//
// The pattern language is byte-wise and the same in every locale:
//   - any byte matches itself, case-sensitively; "." is any byte but newline;
//   - "[...]" / "[^...]" list bytes: "]" first is a member, "x-y" is a range of
//     byte values, "-" first or last is itself, a backslash makes the next byte
//     a member; "[:alpha:]" is just those bytes;
//   - "*", "+", "?" repeat the item before them (a run of them is one
//     operator); with no item before them they are ignored;
//   - "(...)" groups, "|" alternates; "\1".."\9" match what a closed group
//     matched, and are the plain digit while that group is open or not there;
//     at most ten groups may be open at once;
//   - "^" and "\`" hold at offset 0 of the text, "$" and "\'" at its end;
//   - "\w", "\W", "\b", "\B", "\<", "\>" use ASCII letters and digits as word
//     bytes ("_" and bytes from 128 up are not);
//   - a backslash before any other byte is that byte ("\n" is the letter n);
//     "{" and "}" are plain bytes.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace plix {

// In a UTF-8 locale \w, \W, \b, \B, \< and \> take the program's word
// characters: a letter, or a letter or digit with `countNumbers`, or one of
// the characters of `diacritics`. In 8-bit locales they do not matter.
struct RegexWordCharacters
{
    bool countNumbers = true;
    std::string diacritics;
};

// The two process-wide pattern slots (keyword, context word). One object is
// owned by the engine context; tests make their own. An object is used by
// one thread at a time; separate objects may live on separate threads.
class CGNU
{
public:
    CGNU();
    ~CGNU();
    CGNU(const CGNU&) = delete;
    CGNU& operator=(const CGNU&) = delete;

    // Empties the slot: it matches nothing and has no error until compiled.
    void InitKeyword();
    // "" on success, else the error text (also kept as KeywordError()). A
    // failed compile leaves the slot matching nothing.
    // The pattern reads UTF-8 characters when the codeset of the current
    // locale is UTF-8 at the time of the compile; otherwise bytes.
    std::string CompileKeyword(std::string_view pattern, const RegexWordCharacters& words = {});
    // Offset (in `text`) of the leftmost match that starts at or after `start`
    // and before text.size(), or -1. `length` receives the match length; an
    // empty match is reported as length 1; with no match it is 0.
    // Bytes before `start` stay visible to \b \B \< \> (they give the word
    // operators their context), but ^ and \` hold only at offset 0 of `text`;
    // $ and \' only at text.size(). An empty text (or start >= text.size())
    // never matches. Where several matches start at the leftmost offset the
    // longest is reported (for patterns with back-references, the longest
    // within a stretch whose size keeps the library's work bounded).
    long SearchKeyword(std::string_view text, std::size_t start, std::size_t& length) const;
    const std::string& KeywordError() const;
    // The last compile succeeded.
    bool KeywordReady() const;

    void InitContext();
    std::string CompileContext(std::string_view pattern, const RegexWordCharacters& words = {});
    long SearchContext(std::string_view text, std::size_t start, std::size_t& length) const;
    const std::string& ContextError() const;
    bool ContextReady() const;

    // A search of a pattern with back-references gives up after a fixed
    // amount of work (counted, so the same on every machine and build) and
    // then reports no match from there. One note for each slot whose searches
    // gave up since the last call or since the slot was compiled, naming its
    // pattern; the marks are cleared.
    std::vector<std::string> TakeGaveUpNotes();

private:
    class Slot;
    std::unique_ptr<Slot> keyword_;
    std::unique_ptr<Slot> context_;
};

// What a front end tells the user, once per run, when searches of `pattern`
// gave up: some hits may be missing from the result.
std::string RegexGaveUpNote(std::string_view pattern);

}  // namespace plix
