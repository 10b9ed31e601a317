#include "match/word_program.h"

#include <wctype.h>

#include <algorithm>
#include <cstring>

namespace plix {
namespace {

using Program = RegexProgram;

// One character of the text: its bytes and code point; a byte that starts no
// valid character is a character of its own, with `valid` false.
struct Unit
{
    std::size_t length = 1;
    char32_t code = 0;
    bool valid = true;
};

Unit UnitAt(std::string_view text, std::size_t at)
{
    Unit unit;
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    if (p[at] < 0x80) {
        unit.code = p[at];
        return unit;
    }
    unit.length = DecodeUtf8(p + at, text.size() - at, unit.code);
    if (unit.length == 0) {
        unit.length = 1;
        unit.code = p[at];
        unit.valid = false;
    }
    return unit;
}

// Whether a character starts at `at` (not inside a valid one).
bool IsCharacterStart(std::string_view text, std::size_t at)
{
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    if (at >= text.size() || (p[at] & 0xC0) != 0x80) {
        return true;
    }
    for (std::size_t back = 1; back <= 3 && back <= at; ++back) {
        if ((p[at - back] & 0xC0) != 0x80) {
            char32_t code = 0;
            const std::size_t length = DecodeUtf8(p + at - back, text.size() - (at - back), code);
            return length <= back;
        }
    }
    return true;
}

// The start of the character that ends at `at` (> 0).
std::size_t CharacterBefore(std::string_view text, std::size_t at)
{
    std::size_t back = at - 1;
    while (back > 0 && at - back < 4 && !IsCharacterStart(text, back)) {
        --back;
    }
    return back;
}

bool TestHolds(std::uint32_t test, std::size_t at, std::size_t n, bool wordBefore, bool wordAfter)
{
    switch (test) {
        case Program::TextStart:
            return at == 0;
        case Program::TextEnd:
            return at == n;
        case Program::WordBoundary:
            return wordBefore != wordAfter || at == n;
        case Program::NotWordBoundary:
            return wordBefore == wordAfter;
        case Program::WordStart:
            return !wordBefore && wordAfter;
        case Program::WordEnd:
            return wordBefore && !wordAfter;
        default:
            return false;
    }
}

bool WordAt(const Program& program, std::string_view text, std::size_t at)
{
    return at < text.size() && program.words.WordAt(text, at) > 0;
}

bool InSet(const Program::CharacterSet& set, const Unit& unit)
{
    if (!unit.valid) {
        // No list names a stray byte; the complement of every list holds it.
        return set.negated;
    }
    bool in = false;
    if (unit.code < 0x80) {
        in = set.ascii.test(unit.code);
    } else {
        in = std::any_of(set.wide.begin(), set.wide.end(), [&](const auto& range) {
            return range.first <= unit.code && unit.code <= range.second;
        });
    }
    if (!in && set.letters != 0) {
        const auto wc = static_cast<wint_t>(unit.code);
        in = set.letters == 2 ? iswalnum(wc) != 0 : iswalpha(wc) != 0;
    }
    return in != set.negated;
}

// Whether the reading step `in` takes the character `unit` at `at`.
bool Reads(const Program& program, std::string_view text, const Program::Instruction& in,
           std::size_t at, const Unit& unit)
{
    switch (in.op) {
        case Program::Op::Character: {
            const std::string& bytes = program.literals[in.x];
            return unit.valid && bytes.size() == unit.length &&
                   std::memcmp(bytes.data(), text.data() + at, unit.length) == 0;
        }
        case Program::Op::StrayByte:
            return !unit.valid && unit.code == in.value;
        case Program::Op::Any:
            return unit.code != '\n';
        case Program::Op::Set:
            return InSet(program.sets[in.x], unit);
        case Program::Op::Word:
            return WordAt(program, text, at) != (in.value != 0);
        default:
            return false;
    }
}

class Runner
{
public:
    Runner(const Program& program, std::string_view text, RegexProgramScratch& scratch)
        : program_(program),
          text_(text),
          current_(scratch.current),
          next_(scratch.next),
          stack_(scratch.stack)
    {
        current_.Reset(program.code.size());
        next_.Reset(program.code.size());
    }

    long Run(std::size_t start, std::size_t& length);

private:
    struct Place
    {
        std::size_t at = 0;
        bool wordBefore = false;
        bool wordAfter = false;
    };

    bool Holds(std::uint32_t test, const Place& place) const;
    // Adds `pc` and every state it reaches without reading a character.
    void Add(RegexStateList& list, std::uint32_t pc, std::size_t start, const Place& place);
    bool Accepts(const Program::Instruction& in, std::size_t at, const Unit& unit) const;
    bool WordAt(std::size_t at) const { return plix::WordAt(program_, text_, at); }

    const Program& program_;
    std::string_view text_;
    RegexStateList& current_;
    RegexStateList& next_;
    std::vector<std::uint32_t>& stack_;
    bool found_ = false;
    std::size_t bestStart_ = 0;
    std::size_t bestEnd_ = 0;
};

bool Runner::Holds(std::uint32_t test, const Place& place) const
{
    return TestHolds(test, place.at, text_.size(), place.wordBefore, place.wordAfter);
}


void Runner::Add(RegexStateList& list, std::uint32_t pc, std::size_t start, const Place& place)
{
    stack_.clear();
    stack_.push_back(pc);
    while (!stack_.empty()) {
        const std::uint32_t at = stack_.back();
        stack_.pop_back();
        if (!list.Take(at)) {
            continue;
        }
        const Program::Instruction& in = program_.code[at];
        switch (in.op) {
            case Program::Op::Jump:
                stack_.push_back(in.x);
                break;
            case Program::Op::Split:
                stack_.push_back(in.y);
                stack_.push_back(in.x);
                break;
            case Program::Op::Test:
                if (Holds(in.value, place)) {
                    stack_.push_back(in.x);
                }
                break;
            case Program::Op::Open:
            case Program::Op::Close:
            case Program::Op::LoopMark:
            case Program::Op::LoopCheck:
                // Only backtracking needs places; the states are enough here.
                stack_.push_back(at + 1);
                break;
            case Program::Op::Match:
                if (!found_ || start < bestStart_ || (start == bestStart_ && place.at > bestEnd_)) {
                    found_ = true;
                    bestStart_ = start;
                    bestEnd_ = place.at;
                }
                break;
            default:
                list.Push(at, start);
                break;
        }
    }
}

bool Runner::Accepts(const Program::Instruction& in, std::size_t at, const Unit& unit) const
{
    return Reads(program_, text_, in, at, unit);
}


long Runner::Run(std::size_t start, std::size_t& length)
{
    const std::size_t n = text_.size();
    std::size_t at = start;
    while (at < n && !IsCharacterStart(text_, at)) {
        ++at;
    }
    Place place;
    place.at = at;
    place.wordBefore = at > 0 && WordAt(CharacterBefore(text_, at));
    place.wordAfter = WordAt(at);
    current_.Clear();
    for (;;) {
        if (!found_ && at < n) {
            Add(current_, 0, at, place);
        }
        if (at >= n || (found_ && current_.Empty())) {
            break;
        }
        const Unit unit = UnitAt(text_, at);
        Place after;
        after.at = at + unit.length;
        after.wordBefore = place.wordAfter;
        after.wordAfter = WordAt(after.at);
        next_.Clear();
        for (const RegexStateList::Entry& entry : current_.Entries()) {
            // A later start can no longer win once an earlier one has matched.
            if (found_ && entry.start > bestStart_) {
                continue;
            }
            const Program::Instruction& in = program_.code[entry.pc];
            if (Accepts(in, at, unit)) {
                Add(next_, entry.pc + 1, entry.start, after);
            }
        }
        std::swap(current_, next_);
        at = after.at;
        place = after;
    }
    if (!found_) {
        length = 0;
        return -1;
    }
    length = bestEnd_ - bestStart_;
    return static_cast<long>(bestStart_);
}

}  // namespace

long MatchRegexProgram(const RegexProgram& program, std::string_view text, std::size_t at,
                       std::size_t stop, RegexProgramScratch& scratch, std::uint64_t& work,
                       std::uint64_t budget)
{
    constexpr std::size_t kUnset = static_cast<std::size_t>(-1);
    const std::size_t n = text.size();
    const std::size_t groupPlaces = 2 * static_cast<std::size_t>(program.groups + 1);
    std::vector<std::size_t>& places = scratch.places;
    places.assign(groupPlaces + static_cast<std::size_t>(program.registers), kUnset);
    auto& log = scratch.log;
    auto& paths = scratch.paths;
    log.clear();
    paths.clear();
    const auto set = [&](std::size_t index, std::size_t value) {
        log.emplace_back(static_cast<std::uint32_t>(index), places[index]);
        places[index] = value;
    };
    long best = -1;
    paths.push_back({0, at, 0});
    while (!paths.empty()) {
        const RegexProgramScratch::Path path = paths.back();
        paths.pop_back();
        while (log.size() > path.log) {
            places[log.back().first] = log.back().second;
            log.pop_back();
        }
        std::uint32_t pc = path.pc;
        std::size_t place = path.at;
        for (bool alive = true; alive;) {
            if (++work > budget) {
                return -2;
            }
            const Program::Instruction& in = program.code[pc];
            switch (in.op) {
                case Program::Op::Character:
                case Program::Op::StrayByte:
                case Program::Op::Any:
                case Program::Op::Set:
                case Program::Op::Word: {
                    if (place >= stop) {
                        alive = false;
                        break;
                    }
                    const Unit unit = UnitAt(text, place);
                    if (place + unit.length > stop || !Reads(program, text, in, place, unit)) {
                        alive = false;
                        break;
                    }
                    place += unit.length;
                    ++pc;
                    break;
                }
                case Program::Op::Reference: {
                    const std::size_t from = places[2 * in.value];
                    const std::size_t to = places[2 * in.value + 1];
                    if (from == kUnset || to == kUnset || from > to || place + (to - from) > stop ||
                        std::memcmp(text.data() + from, text.data() + place, to - from) != 0) {
                        alive = false;
                        break;
                    }
                    work += (to - from) / 16;
                    place += to - from;
                    ++pc;
                    break;
                }
                case Program::Op::Test: {
                    const bool before = place > 0 && WordAt(program, text, CharacterBefore(text, place));
                    if (!TestHolds(in.value, place, n, before, WordAt(program, text, place))) {
                        alive = false;
                        break;
                    }
                    pc = in.x;
                    break;
                }
                case Program::Op::Split:
                    paths.push_back({in.y, place, log.size()});
                    pc = in.x;
                    break;
                case Program::Op::Jump:
                    pc = in.x;
                    break;
                case Program::Op::Open:
                    set(2 * in.value, place);
                    ++pc;
                    break;
                case Program::Op::Close:
                    set(2 * in.value + 1, place);
                    ++pc;
                    break;
                case Program::Op::LoopMark:
                    set(groupPlaces + in.value, place);
                    ++pc;
                    break;
                case Program::Op::LoopCheck:
                    if (places[groupPlaces + in.value] == place) {
                        alive = false;
                        break;
                    }
                    ++pc;
                    break;
                case Program::Op::Match:
                    if (static_cast<long>(place) > best) {
                        best = static_cast<long>(place);
                        if (place == stop) {
                            return best;
                        }
                    }
                    alive = false;
                    break;
            }
        }
    }
    return best;
}

long SearchRegexProgram(const RegexProgram& program, std::string_view text, std::size_t start,
                        std::size_t& length, RegexProgramScratch& scratch)
{
    length = 0;
    if (start >= text.size() || program.code.empty()) {
        return -1;
    }
    Runner runner(program, text, scratch);
    return runner.Run(start, length);
}

}  // namespace plix
