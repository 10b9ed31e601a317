// A pattern run by the program itself rather than by glibc, for UTF-8 text
// whose word operators must see the program's word characters.
//
// glibc decides \b, \B, \<, \> and its classes with its own word test (letters,
// digits and "_", and a stray byte read as the Latin-1 letter of its value);
// it cannot be told that "'" or "·" are word characters, that digits are not
// when numbers are not counted, or that a combining mark belongs to the
// letter before it. Patterns that use the word operators or \w / \W in UTF-8
// text therefore run here: a breadth-first simulation of the pattern over the
// text's characters (each state kept once per place, with the earliest start
// that reaches it), so a search costs at most the text's length times the
// pattern's size, and finds the leftmost match and, from there, the longest.
// With back-references the states are not enough (the groups' texts matter):
// a start proposed by the simulation of a finder (each back-reference
// replaced by a copy of its group) is then tried every way by backtracking,
// with its work counted.
#pragma once

#include "settings/utf8.h"

#include <algorithm>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace plix {

struct RegexProgram
{
    enum class Op : std::uint8_t
    {
        // Steps that read one character, then go on to the next instruction:
        Character,  // the bytes of literals[x], one whole character
        StrayByte,  // the byte `value` where it starts no valid character
        Any,        // any character but newline (a stray byte is one)
        Set,        // a character of sets[x]
        Word,       // a word character; with `value` 1, any other character
        Reference,  // the text group `value` matched (backtracking only)
        // Steps that read nothing:
        Open,       // group `value` starts here
        Close,      // group `value` ends here
        LoopMark,   // register `value` takes the place (a loop's turn starts)
        LoopCheck,  // fails unless the place moved on from register `value`
        Test,       // an empty-width test (`value` is a Test), then x
        Split,      // both x and y
        Jump,       // x
        Match,
    };
    enum Test : std::uint8_t
    {
        TextStart,
        TextEnd,
        WordBoundary,
        NotWordBoundary,
        WordStart,
        WordEnd,
    };
    struct Instruction
    {
        Op op = Op::Match;
        std::uint32_t value = 0;
        std::uint32_t x = 0;
        std::uint32_t y = 0;
    };
    // A list of characters: ASCII members, ranges of wider code points, and
    // optionally every letter (`letters` 1) or letter and digit (2).
    struct CharacterSet
    {
        std::bitset<128> ascii;
        std::vector<std::pair<char32_t, char32_t>> wide;
        int letters = 0;
        bool negated = false;
    };

    std::vector<Instruction> code;  // starts at 0
    std::vector<std::string> literals;
    std::vector<CharacterSet> sets;
    CUtf8Words words;
    int groups = 0;     // group numbers run from 1 to groups
    int registers = 0;  // for LoopMark / LoopCheck
};

// The states alive at one place of the text, each kept once, with the
// earliest start that reached it.
class RegexStateList
{
public:
    void Reset(std::size_t states)
    {
        if (mark_.size() != states) {
            mark_.assign(states, 0);
            generation_ = 0;
        }
        Clear();
    }
    void Clear()
    {
        entries_.clear();
        if (++generation_ == 0) {
            std::fill(mark_.begin(), mark_.end(), 0);
            generation_ = 1;
        }
    }
    // False when `pc` is on the list already.
    bool Take(std::uint32_t pc)
    {
        if (mark_[pc] == generation_) {
            return false;
        }
        mark_[pc] = generation_;
        return true;
    }
    void Push(std::uint32_t pc, std::size_t start) { entries_.push_back({pc, start}); }

    struct Entry
    {
        std::uint32_t pc;
        std::size_t start;
    };
    const std::vector<Entry>& Entries() const { return entries_; }
    bool Empty() const { return entries_.empty(); }

private:
    std::vector<Entry> entries_;
    std::vector<std::uint32_t> mark_;
    std::uint32_t generation_ = 0;
};

// Room a search works in, kept between searches so that a line costs no
// allocation.
struct RegexProgramScratch
{
    RegexStateList current;
    RegexStateList next;
    std::vector<std::uint32_t> stack;
    // Backtracking: the paths left to try, the groups' and loops' places,
    // and the log that puts them back when a path is given up.
    struct Path
    {
        std::uint32_t pc;
        std::size_t at;
        std::size_t log;
    };
    std::vector<Path> paths;
    std::vector<std::size_t> places;
    std::vector<std::pair<std::uint32_t, std::size_t>> log;
};

// The leftmost match of `program` that starts at a character start at or
// after `start` and before text.size(), and the longest from there: its
// offset, or -1. `length` receives its length (0 for an empty match or none).
// Text before `start` is context for the word tests; TextStart holds only at
// offset 0 and TextEnd only at text.size(), where \b also holds (the word
// boundary users expect at the end of the text).
long SearchRegexProgram(const RegexProgram& program, std::string_view text, std::size_t start,
                        std::size_t& length, RegexProgramScratch& scratch);

// Patterns with back-references: whether a match of `program` starts at
// `at` and ends at or before `stop`, trying every way through the pattern:
// the end of the longest such match, or -1 when there is none. Every step
// adds one to `work`; past `budget` the search gives up and returns -2.
long MatchRegexProgram(const RegexProgram& program, std::string_view text, std::size_t at,
                       std::size_t stop, RegexProgramScratch& scratch, std::uint64_t& work,
                       std::uint64_t budget);

}  // namespace plix
