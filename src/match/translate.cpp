#include "match/translate.h"

#include "match/word_program.h"
#include "settings/utf8.h"

#include <algorithm>
#include <bitset>
#include <new>
#include <set>
#include <utility>
#include <vector>

namespace plix {
namespace {

using ByteSet = std::bitset<256>;

enum class Kind : unsigned char
{
    Literal,
    Any,  // any byte but newline
    Set,
    BackReference,
    Anchor,
    Group,
    Repeat,
    Sequence,
    Alternation,
};

// The anchors are the program's own empty-width tests (word_program.h).
using Anchor = RegexProgram::Test;

struct Node
{
    Kind kind = Kind::Sequence;
    unsigned char byte = 0;             // Literal
    Anchor anchor = Anchor::TextStart;  // Anchor
    int number = 0;                     // Group, BackReference: the user's group number
    bool optional = false;              // Repeat: zero repeats allowed
    bool many = false;                  // Repeat: more than one repeat allowed
    ByteSet set;                        // Set
    std::string chars;                  // Literal: a UTF-8 character of several bytes
    // A Set of UTF-8 characters: `set` holds its ASCII members, `wide` the
    // others as ranges of code points, `wordClass` a class of the library
    // ("alpha", "alnum") that belongs to it; `negated` takes the complement.
    bool utf8Set = false;
    bool negated = false;
    const char* wordClass = nullptr;
    bool wordSet = false;  // \w or \W: the program's word characters
    std::vector<std::pair<char32_t, char32_t>> wide;
    std::vector<Node> children;
};

// Something a repetition can apply to. Anchors are not: "^*" is just "^".
bool IsItem(const Node& node)
{
    switch (node.kind) {
        case Kind::Literal:
        case Kind::Any:
        case Kind::Set:
        case Kind::BackReference:
        case Kind::Group:
            return true;
        default:
            return false;
    }
}

// \b and \B: the library builds each as a choice of two context tests.
bool IsBoundary(const Node& node)
{
    return node.kind == Kind::Anchor &&
           (node.anchor == Anchor::WordBoundary || node.anchor == Anchor::NotWordBoundary);
}

// Groups, word boundaries and alternatives become empty-width steps in the
// library, whose compile cost grows with the square of their number.
constexpr std::size_t kHeavyElement = 4;
constexpr std::size_t kAlternativeElement = 2;

// Word bytes for \w and the word operators: ASCII letters and digits only,
// whatever the locale says about other bytes.
ByteSet WordBytes()
{
    ByteSet set;
    for (int b = '0'; b <= '9'; ++b) {
        set.set(b);
    }
    for (int b = 'A'; b <= 'Z'; ++b) {
        set.set(b);
        set.set(b - 'A' + 'a');
    }
    return set;
}

class Parser
{
public:
    Parser(std::string_view pattern, const RegexCharacters& characters)
        : pattern_(pattern), characters_(characters)
    {
    }

    // nullptr on success, else the error text.
    const char* Parse(Node& root)
    {
        if (pattern_.size() > kRegexMaxPatternBytes) {
            return kRegexTooBig;
        }
        root = ParseAlternation();
        // Only an unmatched ")" stops the outermost alternation early.
        if (error_ == nullptr && !AtEnd()) {
            error_ = kRegexUnmatchedClose;
        }
        return error_;
    }

    int GroupCount() const { return groups_; }

private:
    bool AtEnd() const { return pos_ >= pattern_.size(); }
    unsigned char Peek() const { return static_cast<unsigned char>(pattern_[pos_]); }
    unsigned char Next() { return static_cast<unsigned char>(pattern_[pos_++]); }
    void Fail(const char* error)
    {
        if (error_ == nullptr) {
            error_ = error;
        }
    }
    bool Count(std::size_t elements)
    {
        elements_ += elements;
        if (elements_ > kRegexMaxElements) {
            Fail(kRegexTooBig);
            return false;
        }
        return true;
    }
    void Add(Node& sequence, Node node)
    {
        // "\b\b" is "\b": a repeated anchor changes nothing, and chains of
        // anchors are costly to compile.
        if (node.kind == Kind::Anchor && !sequence.children.empty() &&
            sequence.children.back().kind == Kind::Anchor &&
            sequence.children.back().anchor == node.anchor) {
            return;
        }
        if (Count(IsBoundary(node) ? kHeavyElement : 1)) {
            sequence.children.push_back(std::move(node));
        }
    }
    static Node Literal(unsigned char byte)
    {
        Node node;
        node.kind = Kind::Literal;
        node.byte = byte;
        return node;
    }
    static Node MakeAnchor(Anchor anchor)
    {
        Node node;
        node.kind = Kind::Anchor;
        node.anchor = anchor;
        return node;
    }
    static Node MakeSet(const ByteSet& set)
    {
        Node node;
        node.kind = Kind::Set;
        node.set = set;
        return node;
    }

    Node ParseAlternation();
    Node ParseBranch();
    void ParseGroup(Node& sequence);
    void ParseRepeat(Node& sequence, unsigned char first);
    void ParseEscape(Node& sequence);
    void ParseList(Node& sequence);
    void ParseListUtf8(Node& sequence);
    // In UTF-8: the character that starts at byte `c`, just read; false for
    // a byte that starts no valid character (it then stands for itself).
    bool TakeCharacter(unsigned char c, char32_t& code, std::string& bytes);
    Node WordSet(bool negated) const;
    void AddCharacter(Node& sequence, unsigned char c);

    std::string_view pattern_;
    const RegexCharacters& characters_;
    std::size_t pos_ = 0;
    std::size_t elements_ = 0;
    int groups_ = 0;
    int open_ = 0;
    std::bitset<10> closed_;  // groups 1..9 that are closed so far
    const char* error_ = nullptr;
};

Node Parser::ParseAlternation()
{
    Node alternation;
    alternation.kind = Kind::Alternation;
    alternation.children.push_back(ParseBranch());
    while (error_ == nullptr && !AtEnd() && Peek() == '|') {
        ++pos_;
        if (!Count(kAlternativeElement)) {
            break;
        }
        alternation.children.push_back(ParseBranch());
    }
    return alternation;
}

Node Parser::ParseBranch()
{
    Node sequence;
    sequence.kind = Kind::Sequence;
    while (error_ == nullptr && !AtEnd()) {
        const unsigned char c = Peek();
        if (c == '|' || c == ')') {
            break;
        }
        ++pos_;
        switch (c) {
            case '(':
                ParseGroup(sequence);
                break;
            case '*':
            case '+':
            case '?':
                ParseRepeat(sequence, c);
                break;
            case '.': {
                Node any;
                any.kind = Kind::Any;
                Add(sequence, std::move(any));
                break;
            }
            case '[':
                if (characters_.utf8) {
                    ParseListUtf8(sequence);
                } else {
                    ParseList(sequence);
                }
                break;
            case '^':
                Add(sequence, MakeAnchor(Anchor::TextStart));
                break;
            case '$':
                Add(sequence, MakeAnchor(Anchor::TextEnd));
                break;
            case '\\':
                ParseEscape(sequence);
                break;
            default:
                AddCharacter(sequence, c);
                break;
        }
    }
    return sequence;
}

void Parser::ParseGroup(Node& sequence)
{
    if (open_ == kRegexMaxOpenGroups) {
        Fail(kRegexNestingTooDeep);
        return;
    }
    if (!Count(kHeavyElement)) {
        return;
    }
    Node group;
    group.kind = Kind::Group;
    group.number = ++groups_;
    ++open_;
    group.children.push_back(ParseAlternation());
    if (error_ != nullptr) {
        return;
    }
    if (AtEnd()) {
        Fail(kRegexUnmatchedOpen);
        return;
    }
    ++pos_;  // ")"
    --open_;
    if (group.number < 10) {
        closed_.set(group.number);
    }
    sequence.children.push_back(std::move(group));
}

// A run of *, + and ? is one operator: zero repeats if any of them allows
// zero, many if any allows many. With nothing to repeat it is dropped.
void Parser::ParseRepeat(Node& sequence, unsigned char first)
{
    bool optional = first != '+';
    bool many = first != '?';
    while (!AtEnd() && (Peek() == '*' || Peek() == '+' || Peek() == '?')) {
        const unsigned char c = Next();
        optional = optional || c != '+';
        many = many || c != '?';
    }
    if (sequence.children.empty() || !IsItem(sequence.children.back()) || !Count(1)) {
        return;
    }
    Node repeat;
    repeat.kind = Kind::Repeat;
    repeat.optional = optional;
    repeat.many = many;
    repeat.children.push_back(std::move(sequence.children.back()));
    sequence.children.back() = std::move(repeat);
}

void Parser::ParseEscape(Node& sequence)
{
    if (AtEnd()) {
        Fail(kRegexInvalid);
        return;
    }
    const unsigned char c = Next();
    switch (c) {
        case '1':
        case '2':
        case '3':
        case '4':
        case '5':
        case '6':
        case '7':
        case '8':
        case '9':
            // A group that is still open, or not there yet, leaves the digit.
            if (closed_.test(c - '0')) {
                Node reference;
                reference.kind = Kind::BackReference;
                reference.number = c - '0';
                Add(sequence, std::move(reference));
            } else {
                Add(sequence, Literal(c));
            }
            break;
        case 'w':
            Add(sequence, characters_.utf8 ? WordSet(false) : MakeSet(WordBytes()));
            break;
        case 'W':
            Add(sequence, characters_.utf8 ? WordSet(true) : MakeSet(~WordBytes()));
            break;
        case 'b':
            Add(sequence, MakeAnchor(Anchor::WordBoundary));
            break;
        case 'B':
            Add(sequence, MakeAnchor(Anchor::NotWordBoundary));
            break;
        case '<':
            Add(sequence, MakeAnchor(Anchor::WordStart));
            break;
        case '>':
            Add(sequence, MakeAnchor(Anchor::WordEnd));
            break;
        case '`':
            Add(sequence, MakeAnchor(Anchor::TextStart));
            break;
        case '\'':
            Add(sequence, MakeAnchor(Anchor::TextEnd));
            break;
        default:
            // No control-character or numeric escapes: "\n" is the letter n.
            AddCharacter(sequence, c);
            break;
    }
}

// After "[". Members are bytes: no named classes, collating elements or
// equivalence classes, and ranges are byte values, never collation order.
// A "-" between two members spans from the member before it to the one after.
void Parser::ParseList(Node& sequence)
{
    ByteSet set;
    bool negate = false;
    if (!AtEnd() && Peek() == '^') {
        negate = true;
        ++pos_;
    }
    bool first = true;
    int previous = -1;
    // The previous byte was added on its own and was not in the list before:
    // if it starts an empty range ("z-a"), it leaves again.
    bool previousAlone = false;
    for (;;) {
        if (AtEnd()) {
            Fail(kRegexPrematureEnd);
            return;
        }
        unsigned char c = Next();
        if (c == ']' && !first) {
            break;
        }
        first = false;
        if (c == '\\') {
            if (AtEnd()) {
                Fail(kRegexPrematureEnd);
                return;
            }
            c = Next();
        } else if (c == '-' && previous >= 0 && !AtEnd() && Peek() != ']') {
            unsigned char last = Next();
            if (last == '\\') {
                if (AtEnd()) {
                    Fail(kRegexPrematureEnd);
                    return;
                }
                last = Next();
            }
            if (previous > last && previousAlone) {
                set.reset(previous);
            }
            for (int b = previous; b <= last; ++b) {
                set.set(b);
            }
            previous = last;
            previousAlone = false;
            continue;
        }
        previousAlone = !set.test(c);
        set.set(c);
        previous = c;
    }
    Add(sequence, MakeSet(negate ? ~set : set));
}

// The UTF-8 character of `text` at `at`: its length (0 when the bytes there
// are no valid, shortest-form character) and code point.
std::size_t DecodeUtf8(std::string_view text, std::size_t at, char32_t& code)
{
    return plix::DecodeUtf8(reinterpret_cast<const unsigned char*>(text.data()) + at,
                            text.size() - at, code);
}

void AppendUtf8(std::string& out, char32_t code)
{
    char bytes[4];
    out.append(bytes, EncodeUtf8(code, bytes));
}

bool Parser::TakeCharacter(unsigned char c, char32_t& code, std::string& bytes)
{
    bytes.assign(1, static_cast<char>(c));
    code = c;
    if (!characters_.utf8 || c < 0x80) {
        return true;
    }
    const std::size_t length = DecodeUtf8(pattern_, pos_ - 1, code);
    if (length == 0) {
        return false;
    }
    bytes.assign(pattern_.substr(pos_ - 1, length));
    pos_ += length - 1;
    return true;
}

void Parser::AddCharacter(Node& sequence, unsigned char c)
{
    char32_t code = 0;
    std::string bytes;
    if (TakeCharacter(c, code, bytes) && bytes.size() > 1) {
        // One node, so that the backward form keeps the character's bytes in order.
        Node node = Literal(c);
        node.chars = bytes;
        Add(sequence, std::move(node));
        return;
    }
    Add(sequence, Literal(c));
}

Node Parser::WordSet(bool negated) const
{
    Node node;
    node.kind = Kind::Set;
    node.utf8Set = true;
    node.wordSet = true;
    node.negated = negated;
    node.wordClass = characters_.countNumbers ? "alnum" : "alpha";
    const std::string_view d = characters_.diacritics;
    for (std::size_t i = 0; i < d.size();) {
        char32_t code = 0;
        const std::size_t length = DecodeUtf8(d, i, code);
        if (length == 0) {
            // A byte of no character is no word character.
            ++i;
            continue;
        }
        if (code < 0x80) {
            node.set.set(code);
        } else {
            node.wide.emplace_back(code, code);
        }
        i += length;
    }
    return node;
}

// A list of UTF-8 characters: as ParseList, with members and range ends
// that are characters and ranges by code point.
void Parser::ParseListUtf8(Node& sequence)
{
    std::vector<std::pair<char32_t, char32_t>> members;
    bool negate = false;
    if (!AtEnd() && Peek() == '^') {
        negate = true;
        ++pos_;
    }
    const auto has = [&](char32_t code) {
        return std::any_of(members.begin(), members.end(),
                           [&](const auto& r) { return r.first <= code && code <= r.second; });
    };
    const auto take = [&](char32_t& code) {
        if (AtEnd()) {
            Fail(kRegexPrematureEnd);
            return false;
        }
        unsigned char c = Next();
        if (c == '\\') {
            if (AtEnd()) {
                Fail(kRegexPrematureEnd);
                return false;
            }
            c = Next();
        }
        std::string bytes;
        if (!TakeCharacter(c, code, bytes)) {
            // A byte of no character: text never holds it as a character.
            code = 0xFFFD;
        }
        return true;
    };
    bool first = true;
    long previous = -1;
    bool previousAlone = false;
    for (;;) {
        if (AtEnd()) {
            Fail(kRegexPrematureEnd);
            return;
        }
        if (Peek() == ']' && !first) {
            ++pos_;
            break;
        }
        first = false;
        if (Peek() == '-' && previous >= 0 && pos_ + 1 < pattern_.size() &&
            pattern_[pos_ + 1] != ']') {
            ++pos_;
            char32_t last = 0;
            if (!take(last)) {
                return;
            }
            if (static_cast<char32_t>(previous) > last && previousAlone) {
                members.pop_back();
            }
            if (static_cast<char32_t>(previous) <= last) {
                members.emplace_back(static_cast<char32_t>(previous), last);
            }
            previous = last;
            previousAlone = false;
            continue;
        }
        char32_t code = 0;
        if (!take(code)) {
            return;
        }
        previousAlone = !has(code);
        if (previousAlone) {
            members.emplace_back(code, code);
        }
        previous = code;
    }
    Node node;
    node.kind = Kind::Set;
    node.utf8Set = true;
    node.negated = negate;
    for (const auto& [low, high] : members) {
        for (char32_t b = low; b <= std::min<char32_t>(high, 0x7F); ++b) {
            node.set.set(b);
        }
        if (high >= 0x80) {
            node.wide.emplace_back(std::max<char32_t>(low, 0x80), high);
        }
    }
    Add(sequence, std::move(node));
}

// ---------------------------------------------------------------------------
// Writing a tree out in glibc's syntax.

// Bytes that are operators outside a list under the syntax the slots compile with.
bool NeedsEscapeOutsideList(unsigned char b)
{
    switch (b) {
        case '\\':
        case '.':
        case '[':
        case '*':
        case '+':
        case '?':
        case '(':
        case ')':
        case '|':
        case '^':
        case '$':
            return true;
        default:
            return false;
    }
}

// Bytes that mean something inside a list ("[." and "[=" open collating
// symbols even without character classes).
bool NeedsEscapeInList(unsigned char b)
{
    return b == ']' || b == '\\' || b == '[' || b == '^' || b == '-';
}

// The matcher sees text and pattern through the translate table, which
// swaps these two bytes; a range must not span either of them.
bool IsSwapped(int b)
{
    return b == '_' || b == kUnderscoreStandIn;
}

void PutByte(std::string& out, unsigned char b)
{
    if (NeedsEscapeOutsideList(b)) {
        out += '\\';
    }
    out += static_cast<char>(b);
}

void PutListMember(std::string& out, int b)
{
    if (NeedsEscapeInList(static_cast<unsigned char>(b))) {
        out += '\\';
    }
    out += static_cast<char>(b);
}

void PutSet(std::string& out, const ByteSet& set)
{
    const std::size_t count = set.count();
    if (count == 1) {
        for (int b = 0; b < 256; ++b) {
            if (set.test(b)) {
                PutByte(out, static_cast<unsigned char>(b));
            }
        }
        return;
    }
    out += '[';
    if (count == 0) {
        // No list can be empty. The stand-in byte, translated, only ever
        // matches a NUL in the text, and lines hold none.
        out += static_cast<char>(kUnderscoreStandIn);
    }
    int b = 0;
    while (b < 256) {
        if (!set.test(b)) {
            ++b;
            continue;
        }
        if (IsSwapped(b)) {
            PutListMember(out, b);
            ++b;
            continue;
        }
        int last = b;
        while (last + 1 < 256 && set.test(last + 1) && !IsSwapped(last + 1)) {
            ++last;
        }
        PutListMember(out, b);
        if (last == b + 1) {
            PutListMember(out, last);
        } else if (last > b + 1) {
            out += '-';
            PutListMember(out, last);
        }
        b = last + 1;
    }
    out += ']';
}

// A list of UTF-8 characters, every member written out: ranges in a UTF-8
// locale follow its collation (or are refused), never code points.
void PutSetUtf8(std::string& out, const Node& node)
{
    std::size_t wideCount = 0;
    for (const auto& [low, high] : node.wide) {
        wideCount += high - low + 1;
    }
    if (!node.negated && node.wordClass == nullptr && wideCount == 0 && node.set.count() < 2) {
        PutSet(out, node.set);
        return;
    }
    out += '[';
    if (node.negated) {
        out += '^';
    }
    if (node.wordClass != nullptr) {
        out += "[:";
        out += node.wordClass;
        out += ":]";
    }
    for (int b = 0; b < 128; ++b) {
        if (node.set.test(b)) {
            PutListMember(out, b);
        }
    }
    for (const auto& [low, high] : node.wide) {
        for (char32_t code = low; code <= high; ++code) {
            if (code < 0xD800 || code > 0xDFFF) {
                AppendUtf8(out, code);
            }
        }
    }
    if (node.negated && node.wordClass == nullptr && wideCount == 0 && node.set.none()) {
        // "[^]" is no list: every character but the NUL that lines never hold.
        out += static_cast<char>(kUnderscoreStandIn);
    }
    out += ']';
}

// Any character, newline included.
void PutAll(std::string& out, bool utf8)
{
    if (utf8) {
        out += '[';
        out += '^';
        out += static_cast<char>(kUnderscoreStandIn);
        out += ']';
        return;
    }
    ByteSet all;
    PutSet(out, all.set());
}

// Matches at least one byte whatever path is taken through it.
bool AlwaysConsumes(const Node& node)
{
    switch (node.kind) {
        case Kind::Literal:
        case Kind::Any:
        case Kind::Set:
            return true;
        case Kind::Repeat:
            return !node.optional && AlwaysConsumes(node.children.front());
        case Kind::Group:
            return AlwaysConsumes(node.children.front());
        case Kind::Sequence:
            return std::any_of(node.children.begin(), node.children.end(), AlwaysConsumes);
        case Kind::Alternation:
            return std::all_of(node.children.begin(), node.children.end(), AlwaysConsumes);
        default:
            return false;
    }
}

bool HasAnchor(const Node& node)
{
    return node.kind == Kind::Anchor ||
           std::any_of(node.children.begin(), node.children.end(), HasAnchor);
}

bool HasGroupIn(const Node& node, const std::bitset<10>& numbers)
{
    if (node.kind == Kind::Group && node.number < 10 && numbers.test(node.number)) {
        return true;
    }
    return std::any_of(node.children.begin(), node.children.end(),
                       [&](const Node& child) { return HasGroupIn(child, numbers); });
}

std::size_t CountElements(const Node& node)
{
    std::size_t count = 1;
    for (const Node& child : node.children) {
        count += CountElements(child);
    }
    return count;
}

class Emitter
{
public:
    struct Options
    {
        bool reversed = false;
        // Replace each back-reference with a copy of its group.
        bool widenReferences = false;
        // Write \b as "\b or end of text", the word boundary users expect at
        // the end of the text. Costs a group per \b.
        bool boundaryAtEnd = true;
        // Groups that back-references name.
        std::bitset<10> referenced;
        bool utf8 = false;
    };

    Emitter(const std::vector<const Node*>& groups, Options options)
        : groups_(groups), options_(options), libraryNumber_(groups.size(), 0)
    {
    }

    std::string Emit(const Node& root)
    {
        // Copies of groups (standing in for back-references) may add as many
        // elements as a pattern may have; past that a reference is widened
        // to "any bytes" instead.
        copyRoom_ = kRegexMaxElements;
        // Written-out copies for "+" may add half as much again.
        splitRoom_ = kRegexMaxElements / 2;
        Put(root, false);
        return std::move(out_);
    }

    // A back-reference ended up naming a library group past the ninth.
    bool Overflowed() const { return overflowed_; }

private:
    void Put(const Node& node, bool inCopy);
    void PutAnchor(Anchor anchor);
    bool SplitPlus(const Node& item, bool inCopy);

    const std::vector<const Node*>& groups_;
    Options options_;
    std::vector<int> libraryNumber_;
    int libraryGroups_ = 0;
    std::size_t copyRoom_ = 0;
    std::size_t splitRoom_ = 0;
    std::bitset<10> completed_;  // groups closed on the way to the current point
    bool endPossible_ = true;    // the anchor being written may stand at the end of the text
    bool overflowed_ = false;
    std::string out_;
};

bool Emitter::SplitPlus(const Node& item, bool inCopy)
{
    if (inCopy || !HasAnchor(item)) {
        return false;
    }
    // Two copies of a group the pattern refers back to would be two groups,
    // and the reference could name only one of them.
    if (!options_.widenReferences && HasGroupIn(item, options_.referenced)) {
        return false;
    }
    const std::size_t size = CountElements(item);
    if (size > splitRoom_) {
        return false;
    }
    splitRoom_ -= size;
    return true;
}

void Emitter::PutAnchor(Anchor anchor)
{
    const bool r = options_.reversed;
    switch (anchor) {
        case Anchor::TextStart:
            out_ += r ? "\\'" : "\\`";
            break;
        case Anchor::TextEnd:
            out_ += r ? "\\`" : "\\'";
            break;
        case Anchor::WordStart:
            out_ += r ? "\\>" : "\\<";
            break;
        case Anchor::WordEnd:
            out_ += r ? "\\<" : "\\>";
            break;
        case Anchor::NotWordBoundary:
            out_ += "\\B";
            break;
        case Anchor::WordBoundary:
            if (options_.boundaryAtEnd && endPossible_) {
                ++libraryGroups_;
                out_ += r ? "(\\b|\\`)" : "(\\b|\\')";
            } else {
                out_ += "\\b";
            }
            break;
    }
}

void Emitter::Put(const Node& node, bool inCopy)
{
    switch (node.kind) {
        case Kind::Literal:
            if (!node.chars.empty()) {
                out_ += node.chars;
            } else {
                PutByte(out_, node.byte);
            }
            break;
        case Kind::Any:
            out_ += '.';
            break;
        case Kind::Set:
            if (node.utf8Set) {
                PutSetUtf8(out_, node);
            } else {
                PutSet(out_, node.set);
            }
            break;
        case Kind::Anchor:
            // A copy of a group stands for the text the group matched, which a
            // back-reference matches wherever it is: the copy drops the anchors.
            if (!inCopy) {
                PutAnchor(node.anchor);
            }
            break;
        case Kind::BackReference:
            if (options_.widenReferences) {
                ++libraryGroups_;
                out_ += '(';
                const Node& body = groups_[node.number]->children.front();
                const std::size_t size = CountElements(body);
                if (size <= copyRoom_) {
                    copyRoom_ -= size;
                    Put(body, true);
                } else {
                    PutAll(out_, options_.utf8);
                    out_ += '*';
                }
                out_ += ')';
            } else if (!completed_.test(node.number)) {
                // The group sits in another alternative, so it has matched
                // nothing on any path through here (glibc would refuse the
                // reference): this reference never matches.
                PutSet(out_, ByteSet{});
            } else {
                const int number = libraryNumber_[node.number];
                overflowed_ = overflowed_ || number > 9;
                out_ += '\\';
                out_ += static_cast<char>('0' + std::min(number, 9));
            }
            break;
        case Kind::Group:
            ++libraryGroups_;
            if (!inCopy) {
                libraryNumber_[node.number] = libraryGroups_;
            }
            out_ += '(';
            Put(node.children.front(), inCopy);
            out_ += ')';
            if (node.number < 10) {
                completed_.set(node.number);
            }
            break;
        case Kind::Repeat: {
            const Node& item = node.children.front();
            if (!node.optional && node.many && SplitPlus(item, inCopy)) {
                // glibc builds "x+" as "x" followed by a copy of it under "*",
                // and its copy loses the context tests of anchors ("(\bb)+"
                // matches "bb"). Writing the copy out ourselves avoids that.
                const bool endPossible = endPossible_;
                Put(item, inCopy);
                endPossible_ = endPossible;
                Put(item, inCopy);
                out_ += '*';
                break;
            }
            Put(item, inCopy);
            out_ += node.optional ? (node.many ? '*' : '?') : '+';
            break;
        }
        case Kind::Sequence: {
            // A \b with a byte to match after it in its own branch can never be
            // at the end of the text: it needs no end-of-text alternative.
            std::vector<bool> consumesAfter(node.children.size(), false);
            for (std::size_t i = node.children.size(); i-- > 1;) {
                consumesAfter[i - 1] = consumesAfter[i] || AlwaysConsumes(node.children[i]);
            }
            const std::size_t count = node.children.size();
            for (std::size_t k = 0; k < count; ++k) {
                const std::size_t i = options_.reversed ? count - 1 - k : k;
                endPossible_ = !consumesAfter[i];
                Put(node.children[i], inCopy);
            }
            break;
        }
        case Kind::Alternation: {
            // A group closed in one alternative is not closed for the next.
            const std::bitset<10> before = completed_;
            std::bitset<10> after = completed_;
            for (std::size_t i = 0; i < node.children.size(); ++i) {
                if (i > 0) {
                    out_ += '|';
                }
                completed_ = before;
                Put(node.children[i], inCopy);
                after |= completed_;
            }
            completed_ = after;
            break;
        }
    }
}

void CollectGroups(const Node& node, std::vector<const Node*>& groups, bool& hasReferences)
{
    if (node.kind == Kind::Group) {
        groups[node.number] = &node;
    }
    if (node.kind == Kind::BackReference) {
        hasReferences = true;
    }
    for (const Node& child : node.children) {
        CollectGroups(child, groups, hasReferences);
    }
}

// ---------------------------------------------------------------------------
// Shapes the library handles badly.

// The longest chain of \b / \B that a path through the pattern can meet
// without matching a byte in between. The library expands each into a
// choice of two context tests, and its compile time doubles with every link
// of such a chain.
struct BoundaryChain
{
    bool nullable = false;  // the node can match the empty text
    int whole = 0;          // boundaries on an empty path through the node
    int prefix = 0;         // ... on an empty path from its start into it
    int suffix = 0;         // ... on an empty path from inside it to its end
    int inner = 0;          // ... on any empty path within it
};

BoundaryChain MeasureBoundaries(const Node& node)
{
    BoundaryChain c;
    switch (node.kind) {
        case Kind::Literal:
        case Kind::Any:
        case Kind::Set:
            return c;
        case Kind::BackReference:
            c.nullable = true;
            return c;
        case Kind::Anchor:
            c.nullable = true;
            c.whole = c.prefix = c.suffix = c.inner = IsBoundary(node) ? 1 : 0;
            return c;
        case Kind::Group:
            return MeasureBoundaries(node.children.front());
        case Kind::Repeat: {
            c = MeasureBoundaries(node.children.front());
            if (node.optional) {
                c.nullable = true;
                c.whole = std::max(c.whole, 0);
            }
            if (node.many) {
                c.inner = std::max(c.inner, c.suffix + c.prefix);
            }
            return c;
        }
        case Kind::Sequence:
            c.nullable = true;
            for (const Node& child : node.children) {
                const BoundaryChain d = MeasureBoundaries(child);
                c.inner = std::max({c.inner, d.inner, c.suffix + d.prefix});
                if (c.nullable) {
                    c.prefix = std::max(c.prefix, c.whole + d.prefix);
                }
                c.suffix = d.nullable ? std::max(d.suffix, c.suffix + d.whole) : d.suffix;
                c.whole = c.nullable && d.nullable ? c.whole + d.whole : 0;
                c.nullable = c.nullable && d.nullable;
            }
            return c;
        case Kind::Alternation:
            for (const Node& child : node.children) {
                const BoundaryChain d = MeasureBoundaries(child);
                if (d.nullable) {
                    c.whole = std::max(c.whole, d.whole);
                }
                c.nullable = c.nullable || d.nullable;
                c.prefix = std::max(c.prefix, d.prefix);
                c.suffix = std::max(c.suffix, d.suffix);
                c.inner = std::max(c.inner, d.inner);
            }
            return c;
    }
    return c;
}

constexpr int kMaxBoundaryChain = 8;

// At most this many back-references: the library's work grows steeply with
// each one.
constexpr int kMaxBackReferences = 9;

// Can match texts of any length: holds a repetition of more than one, or a
// reference to such a group.
bool Unbounded(const Node& node, const std::vector<bool>& unboundedGroups)
{
    if (node.kind == Kind::Repeat && node.many) {
        return true;
    }
    if (node.kind == Kind::BackReference) {
        return unboundedGroups[node.number];
    }
    return std::any_of(node.children.begin(), node.children.end(),
                       [&](const Node& child) { return Unbounded(child, unboundedGroups); });
}

void CollectReferenced(const Node& node, std::bitset<10>& referenced)
{
    if (node.kind == Kind::BackReference) {
        referenced.set(node.number);
    }
    for (const Node& child : node.children) {
        CollectReferenced(child, referenced);
    }
}

struct ReferenceShape
{
    std::bitset<10> referenced;
    int references = 0;
    // Each reference adds about one to the exponent of the library's work,
    // two when its group sits in a repetition (any iteration may have set
    // it), and one more when the reference itself repeats.
    int weight = 0;
    // A reference that may repeat names a group of unbounded length: the
    // ways to split a text among the repeats grow exponentially.
    bool exponential = false;
};

void MarkRepeatedGroups(const Node& node, int repeatsAbove, std::vector<bool>& repeated)
{
    if (node.kind == Kind::Group) {
        repeated[node.number] = repeatsAbove > 0;
    }
    const int below = repeatsAbove + (node.kind == Kind::Repeat && node.many ? 1 : 0);
    for (const Node& child : node.children) {
        MarkRepeatedGroups(child, below, repeated);
    }
}

void CollectReferences(const Node& node, const std::vector<bool>& unboundedGroups,
                       const std::vector<bool>& repeatedGroups, int repeatsAbove,
                       ReferenceShape& shape)
{
    if (node.kind == Kind::BackReference) {
        shape.referenced.set(node.number);
        ++shape.references;
        shape.weight += repeatedGroups[node.number] ? 2 : 1;
        if (repeatsAbove > 0) {
            ++shape.weight;
            shape.exponential = shape.exponential || unboundedGroups[node.number];
        }
    }
    const int below = repeatsAbove + (node.kind == Kind::Repeat && node.many ? 1 : 0);
    for (const Node& child : node.children) {
        CollectReferences(child, unboundedGroups, repeatedGroups, below, shape);
    }
}

// Repetitions around or inside a referenced group multiply the ways the
// library may split the text among groups.
void CollectCostlyRepeats(const Node& node, const std::bitset<10>& referenced,
                          std::vector<const Node*>& enclosing, bool inside,
                          std::set<const Node*>& costly)
{
    if (node.kind == Kind::Group && node.number < 10 && referenced.test(node.number)) {
        costly.insert(enclosing.begin(), enclosing.end());
        inside = true;
    }
    if (node.kind == Kind::Repeat) {
        if (inside) {
            costly.insert(&node);
        }
        enclosing.push_back(&node);
    }
    for (const Node& child : node.children) {
        CollectCostlyRepeats(child, referenced, enclosing, inside, costly);
    }
    if (node.kind == Kind::Repeat) {
        enclosing.pop_back();
    }
}

// nullptr when the library can run the pattern in reasonable time; sets
// the cost figures of back-references.
const char* CheckCost(const Node& root, const std::vector<const Node*>& groups,
                      RegexTranslation& out)
{
    if (MeasureBoundaries(root).inner > kMaxBoundaryChain) {
        return kRegexTooBig;
    }
    if (!out.hasBackReferences) {
        return nullptr;
    }
    // Groups only refer back to earlier groups, so one pass in order settles it.
    std::vector<bool> unboundedGroups(groups.size(), false);
    for (std::size_t g = 1; g < groups.size(); ++g) {
        unboundedGroups[g] = Unbounded(groups[g]->children.front(), unboundedGroups);
    }
    std::vector<bool> repeatedGroups(groups.size(), false);
    MarkRepeatedGroups(root, 0, repeatedGroups);
    ReferenceShape shape;
    CollectReferences(root, unboundedGroups, repeatedGroups, 0, shape);
    if (shape.exponential || shape.references > kMaxBackReferences) {
        return kRegexTooBig;
    }
    std::vector<const Node*> enclosing;
    std::set<const Node*> costly;
    CollectCostlyRepeats(root, shape.referenced, enclosing, false, costly);
    out.backReferenceExponent = std::max(2, static_cast<int>(costly.size()) + shape.weight);
    return nullptr;
}

// A single-branch pattern: its literal bytes in order, and the longest run of
// adjacent literal bytes (anchors take no room, so they do not break a run).
void AnalyseLiterals(const Node& root, RegexTranslation& out)
{
    if (root.children.size() != 1) {
        return;
    }
    const Node& sequence = root.children.front();
    bool allLiteral = true;
    std::string run;
    std::string best;
    for (const Node& node : sequence.children) {
        if (node.kind == Kind::Literal) {
            run += node.chars.empty() ? std::string(1, static_cast<char>(node.byte)) : node.chars;
            continue;
        }
        allLiteral = false;
        if (node.kind == Kind::Anchor) {
            continue;
        }
        if (run.size() > best.size()) {
            best = run;
        }
        run.clear();
    }
    if (run.size() > best.size()) {
        best = run;
    }
    out.isLiteral = allLiteral;
    out.literal = best;
}


// ---------------------------------------------------------------------------
// The tree as a program the program runs itself (see word_program.h).

bool UsesWordCharacters(const Node& node)
{
    if ((node.kind == Kind::Anchor && node.anchor != Anchor::TextStart &&
         node.anchor != Anchor::TextEnd) ||
        (node.kind == Kind::Set && node.wordSet)) {
        return true;
    }
    return std::any_of(node.children.begin(), node.children.end(), UsesWordCharacters);
}

class ProgramBuilder
{
public:
    // `groups` (by the user's number) when back-references are to be
    // widened into copies of their groups (a finder); with `captures` the
    // program records the groups' places for back-references.
    ProgramBuilder(RegexProgram& program, const std::vector<const Node*>* groups, bool captures)
        : program_(program), groups_(groups), captures_(captures)
    {
    }

    void Build(const Node& root)
    {
        copyRoom_ = kRegexMaxElements;
        Put(root, false);
        Emit(RegexProgram::Op::Match);
    }

private:
    using Op = RegexProgram::Op;

    std::uint32_t Here() const { return static_cast<std::uint32_t>(program_.code.size()); }
    std::uint32_t Emit(Op op, std::uint32_t value = 0, std::uint32_t x = 0)
    {
        RegexProgram::Instruction in;
        in.op = op;
        in.value = value;
        in.x = x;
        program_.code.push_back(in);
        return Here() - 1;
    }
    void PutSet(const Node& node);
    void PutAnyCharacters();
    void Put(const Node& node, bool inCopy);

    RegexProgram& program_;
    const std::vector<const Node*>* groups_;
    bool captures_;
    std::size_t copyRoom_ = 0;
};

void ProgramBuilder::PutSet(const Node& node)
{
    if (node.wordSet) {
        Emit(Op::Word, node.negated ? 1 : 0);
        return;
    }
    RegexProgram::CharacterSet set;
    for (std::size_t b = 0; b < 128; ++b) {
        set.ascii.set(b, node.set.test(b));
    }
    set.wide = node.wide;
    if (node.wordClass != nullptr) {
        set.letters = std::string_view(node.wordClass) == "alnum" ? 2 : 1;
    }
    set.negated = node.utf8Set && node.negated;
    program_.sets.push_back(std::move(set));
    Emit(Op::Set, 0, static_cast<std::uint32_t>(program_.sets.size() - 1));
}

// Any characters, newline included: what a back-reference too big to copy
// is widened to.
void ProgramBuilder::PutAnyCharacters()
{
    RegexProgram::CharacterSet all;
    all.negated = true;
    program_.sets.push_back(std::move(all));
    const std::uint32_t split = Emit(Op::Split);
    program_.code[split].x = split + 1;
    Emit(Op::Set, 0, static_cast<std::uint32_t>(program_.sets.size() - 1));
    Emit(Op::Jump, 0, split);
    program_.code[split].y = Here();
}

void ProgramBuilder::Put(const Node& node, bool inCopy)
{
    switch (node.kind) {
        case Kind::Literal:
            if (node.chars.empty() && node.byte >= 0x80) {
                Emit(Op::StrayByte, node.byte);
                break;
            }
            program_.literals.push_back(node.chars.empty()
                                            ? std::string(1, static_cast<char>(node.byte))
                                            : node.chars);
            Emit(Op::Character, 0, static_cast<std::uint32_t>(program_.literals.size() - 1));
            break;
        case Kind::Any:
            Emit(Op::Any);
            break;
        case Kind::Set:
            PutSet(node);
            break;
        case Kind::Anchor: {
            // A copy of a group stands for the text the group matched, which a
            // back-reference matches wherever it is: the copy drops the anchors.
            if (inCopy) {
                break;
            }
            const std::uint32_t at = Emit(Op::Test, node.anchor);
            program_.code[at].x = at + 1;
            break;
        }
        case Kind::Group:
            // Only groups 1 to 9 can be referred back to.
            if (captures_ && !inCopy && node.number <= 9) {
                Emit(Op::Open, static_cast<std::uint32_t>(node.number));
            }
            Put(node.children.front(), inCopy);
            if (captures_ && !inCopy && node.number <= 9) {
                Emit(Op::Close, static_cast<std::uint32_t>(node.number));
            }
            break;
        case Kind::BackReference:
            if (groups_ != nullptr) {
                const Node& body = (*groups_)[static_cast<std::size_t>(node.number)]->children.front();
                const std::size_t size = CountElements(body);
                if (size <= copyRoom_) {
                    copyRoom_ -= size;
                    Put(body, true);
                } else {
                    PutAnyCharacters();
                }
            } else {
                Emit(Op::Reference, static_cast<std::uint32_t>(node.number));
            }
            break;
        case Kind::Repeat: {
            const Node& item = node.children.front();
            if (!node.optional && !node.many) {
                Put(item, inCopy);
                break;
            }
            if (!node.many) {
                const std::uint32_t split = Emit(Op::Split);
                program_.code[split].x = split + 1;
                Put(item, inCopy);
                program_.code[split].y = Here();
                break;
            }
            // "x*" is an optional "x+"; "x+" is a turn of x, then either
            // another turn or on. A turn of an x that can match nothing goes
            // round again only when it moved on, so no path loops for ever.
            std::uint32_t skip = 0;
            if (node.optional) {
                skip = Emit(Op::Split);
                program_.code[skip].x = skip + 1;
            }
            const bool guard = !AlwaysConsumes(item);
            const auto reg = static_cast<std::uint32_t>(program_.registers);
            if (guard) {
                ++program_.registers;
            }
            const std::uint32_t turn = Here();
            if (guard) {
                Emit(Op::LoopMark, reg);
            }
            Put(item, inCopy);
            const std::uint32_t again = Emit(Op::Split);
            program_.code[again].x = again + 1;
            if (guard) {
                Emit(Op::LoopCheck, reg);
            }
            Emit(Op::Jump, 0, turn);
            program_.code[again].y = Here();
            if (node.optional) {
                program_.code[skip].y = Here();
            }
            break;
        }
        case Kind::Sequence:
            for (const Node& child : node.children) {
                Put(child, inCopy);
            }
            break;
        case Kind::Alternation: {
            std::vector<std::uint32_t> jumps;
            for (std::size_t i = 0; i < node.children.size(); ++i) {
                const bool last = i + 1 == node.children.size();
                std::uint32_t split = 0;
                if (!last) {
                    split = Emit(Op::Split);
                    program_.code[split].x = split + 1;
                }
                Put(node.children[i], inCopy);
                if (!last) {
                    jumps.push_back(Emit(Op::Jump));
                    program_.code[split].y = Here();
                }
            }
            for (const std::uint32_t jump : jumps) {
                program_.code[jump].x = Here();
            }
            break;
        }
    }
}

void Translate(std::string_view pattern, const RegexCharacters& characters, RegexTranslation& out)
{
    Node root;
    Parser parser(pattern, characters);
    if (const char* error = parser.Parse(root)) {
        out.error = error;
        return;
    }
    std::vector<const Node*> groups(static_cast<std::size_t>(parser.GroupCount()) + 1, nullptr);
    CollectGroups(root, groups, out.hasBackReferences);
    if (const char* error = CheckCost(root, groups, out)) {
        out.error = error;
        return;
    }

    Emitter::Options options;
    options.utf8 = characters.utf8;
    CollectReferenced(root, options.referenced);
    out.hasAnchors = HasAnchor(root);
    {
        Emitter emitter(groups, options);
        out.forward = emitter.Emit(root);
        if (emitter.Overflowed()) {
            // Helper groups for \b pushed a referenced group past \9; plain
            // \b keeps the user's group numbers.
            options.boundaryAtEnd = false;
            out.forward = Emitter(groups, options).Emit(root);
            options.boundaryAtEnd = true;
        }
    }
    options.widenReferences = true;
    out.finder = out.hasBackReferences ? Emitter(groups, options).Emit(root) : out.forward;
    options.reversed = true;
    PutAll(out.reversedFinder, characters.utf8);
    out.reversedFinder += "*(";
    out.reversedFinder += Emitter(groups, options).Emit(root);
    out.reversedFinder += ')';

    AnalyseLiterals(root, out);

    if (characters.utf8 && (characters.alwaysProgram || UsesWordCharacters(root))) {
        const auto make = [&](const std::vector<const Node*>* widen, bool captures) {
            auto program = std::make_shared<RegexProgram>();
            program->words = CUtf8Words(characters.countNumbers, characters.diacritics);
            program->groups = std::min(parser.GroupCount(), 9);
            ProgramBuilder(*program, widen, captures).Build(root);
            return program;
        };
        if (out.hasBackReferences) {
            out.program = make(nullptr, true);
            out.programFinder = make(&groups, false);
        } else {
            out.program = make(nullptr, false);
        }
    }
}

}  // namespace

RegexTranslation TranslateRegex(std::string_view pattern, const RegexCharacters& characters)
{
    RegexTranslation out;
    try {
        Translate(pattern, characters, out);
    } catch (const std::bad_alloc&) {
        out = RegexTranslation{};
        out.error = kRegexMemoryExhausted;
    }
    return out;
}

std::size_t Utf8CharacterLength(std::string_view text, std::size_t at)
{
    char32_t code = 0;
    return at < text.size() ? DecodeUtf8(text, at, code) : 0;
}

std::string RegexErrorFromLibrary(std::string_view libraryText)
{
    const auto starts = [&](std::string_view prefix) {
        return libraryText.substr(0, prefix.size()) == prefix;
    };
    if (starts("Memory exhausted")) {
        return kRegexMemoryExhausted;
    }
    if (starts("Regular expression too big")) {
        return kRegexTooBig;
    }
    if (starts("Premature end") || starts("Unmatched [")) {
        return kRegexPrematureEnd;
    }
    if (starts("Unmatched (")) {
        return kRegexUnmatchedOpen;
    }
    if (starts("Unmatched )")) {
        return kRegexUnmatchedClose;
    }
    return kRegexInvalid;
}

}  // namespace plix
