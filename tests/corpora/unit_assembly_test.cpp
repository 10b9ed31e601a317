// The sentence assembly of the parsed corpora: physical lines into units.
#include <gtest/gtest.h>

#include "corpora/unit_assembly.h"
#include "settings/corpus.h"

namespace plix {
namespace {

struct Assembled
{
    std::vector<std::string> units;
    std::vector<std::string> references;  // PPCME1: handed on as each unit starts
    std::string atEnd;                    // the unit still open when the input ended
};

Assembled Assemble(int type, const std::vector<std::string>& lines)
{
    CUnitAssembly assembly(type);
    Assembled out;
    for (std::string line : lines) {
        std::string references;
        if (assembly.Assemble(line, references)) {
            out.references.push_back(references);
        }
        if (!line.empty()) {
            out.units.push_back(line);
        }
    }
    std::string rest;
    if (assembly.Finish(rest)) {
        out.atEnd = rest;
    }
    return out;
}

TEST(UnitAssembly, ParsedCorporaJoinTheirUnits)
{
    struct Case
    {
        const char* name;
        int type;
        std::vector<std::string> lines;
        std::vector<std::string> units;
        std::string atEnd;
    };
    const Case cases[] = {
        {"ppcme1 closes at )(",
         kTypePpcme1,
         {"<T a> ", "(S (NP he) ", " (VP went))( ", "tail "},
         {"(S (NP he)  (VP went))( "},
         ""},
        {"ppcme2 closes at (ID",
         kTypePpcme2,
         {"junk ", "( (IP-MAT (NP x) ", "  (VB y)) (ID A,1)) ", "after "},
         {"( (IP-MAT (NP x) (VB y)) (ID A,1)) "},
         ""},
        {"ppcme2 drops CODE groups",
         kTypePpcme2,
         {"( (IP (N a) ", " (CODE <x>) (N b) (ID q)) "},
         {"( (IP (N a) (N b) (ID q)) "},
         ""},
        {"york-toronto-helsinki starts at ( (CODE",
         kTypeYorkTorontoHelsinki,
         {"x ( (CODE <T02>) ", " (IP (N w)) ", " (ID z)) "},
         {">) (IP (N w)) (ID z)) "},
         ""},
        {"brooklyn ends at a short line",
         kTypeBrooklyn,
         {"(S a ", "(N b ", " ", "(S c ", " "},
         {"(S a (N b ", "(S c "},
         ""},
        // The last unit of a file is kept even when nothing closes it.
        {"brooklyn block at the end", kTypeBrooklyn, {"(S a ", " ", "(S b "}, {"(S a "}, "(S b "},
        {"ppcme2 unit without (ID",
         kTypePpcme2,
         {"( (IP (N a) ", " (N b)) "},
         {},
         "( (IP (N a) (N b)) "},
        {"ppcme1 unit without )(", kTypePpcme1, {"(S (N a) "}, {}, "(S (N a) "},
    };
    for (const Case& k : cases) {
        Assembled got = Assemble(k.type, k.lines);
        EXPECT_EQ(got.units, k.units) << k.name;
        EXPECT_EQ(got.atEnd, k.atEnd) << k.name;
    }
}

TEST(UnitAssembly, Ppcme1HandsOnTheReferencesBetweenUnits)
{
    Assembled got = Assemble(
        kTypePpcme1, {"<T text one> <xy> <P 12> ", "(S (N a))( ", "<Q ", "x> ", "(S (N b))( "});
    EXPECT_EQ(got.references, (std::vector<std::string>{"<T text one><P 12>", "<Q x>"}));
}

TEST(UnitAssembly, CocoaReferencesKeepGroupsWithABlankThird)
{
    EXPECT_EQ(CocoaReferencesOf("a <A b> <bc> <C d"), "<A b>");
    EXPECT_EQ(CocoaReferencesOf("<> <A >"), "<A >");
}

}  // namespace
}  // namespace plix
