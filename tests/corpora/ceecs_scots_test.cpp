// The value tables of the Scots and CEECS corpora that the COCOA options page
// offers: the sizes and contents the corpora's documentation gives, and the
// empty lists for the names that a scan of the user's files supplies.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "corpora/ceecs.h"
#include "corpora/dispatch.h"
#include "corpora/scots.h"

namespace plix {
namespace {

using List = std::vector<std::string>;

TEST(CorrespondenceTables, SizesOfEveryLetter)
{
    // A, B, N, O and Q of Scots and A, B, Q and X of CEECS are the corpora's
    // own names: empty here.
    const size_t scots[26] = {0, 0, 4, 3, 7, 6, 3,  8,  3, 2, 0, 0, 5,
                              0, 0, 0, 0, 0, 0, 17, 11, 1, 3, 3, 6, 8};
    const CSCOTS scotsTable;
    const CCEECS ceecsTable;
    size_t scotsTotal = 0;
    for (int i = 0; i < 26; ++i) {
        const char letter = static_cast<char>('A' + i);
        EXPECT_EQ(scotsTable.GetValues(i).size(), scots[i]) << letter;
        EXPECT_TRUE(ceecsTable.GetValues(i).empty()) << letter;
        scotsTotal += scotsTable.GetValues(i).size();
    }
    EXPECT_EQ(scotsTotal, 90u);
    for (int outside : {-1, 26, 1000}) {
        EXPECT_TRUE(scotsTable.GetValues(outside).empty()) << outside;
        EXPECT_TRUE(ceecsTable.GetValues(outside).empty()) << outside;
    }
}

TEST(CorrespondenceTables, ScotsListsInStoredOrder)
{
    const CSCOTS scots;
    struct Case
    {
        char letter;
        List values;
    };
    const Case cases[] = {
        {'C', {"SC0", "SC1", "SC2", "SC3"}},
        {'D', {"CSC", "NSC", "X"}},
        {'F', {"FRENCH", "FRENCH/X", "LATIN", "LATIN/FRENCH", "OTHER", "X"}},
        {'G', {"TRANSL", "TRANSL/X", "X"}},
        {'H',
         {"HIGH", "HIGH PROF", "OTHER GARDENER", "OTHER GLOVER", "OTHER TAILOR", "PROF",
          "PROF HIGH", "X"}},
        {'M', {"MEDIUM MS", "MEDIUM MS/H1", "MEDIUM MS/H2", "MEDIUM PRINTED", "MEDIUM X"}},
        {'V', {"PROSE"}},
        {'W', {"SCRIPT", "SPEECH-BASED", "WRITTEN"}},
        {'X', {"MALE", "FEMALE", "X"}},
        {'Y', {"-20", "20-40", "20-40/40-60", "40-60", "60-", "X"}},
        {'Z',
         {"ARGUM", "ARGUM/NARR IMAG", "EXPOS", "INSTR REL", "INSTR SEC", "NARR NON-IMAG", "STAT",
          "X"}},
        {'K', {}},
        {'L', {}},
        {'P', {}},
        {'R', {}},
        {'S', {}},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(scots.GetValues(k.letter - 'A'), k.values) << k.letter;
    }
    // The ends of the two long lists.
    const List& types = scots.GetValues('T' - 'A');
    EXPECT_EQ(types.front(), "BIBLE");
    EXPECT_EQ(types[10], "LOCAL RECORD");
    EXPECT_EQ(types.back(), "TRAVELOGUE");
    const List& audiences = scots.GetValues('U' - 'A');
    EXPECT_EQ(audiences.front(), "NET DOCUM/ADMIN");
    EXPECT_EQ(audiences[9], "NET ROYAL/PUBLIC");
    EXPECT_EQ(audiences.back(), "NET X");
}

TEST(CorrespondenceTables, TheProgramOwnsOneOfEach)
{
    const CHandlers handlers;
    EXPECT_EQ(handlers.Scots().GetValues('D' - 'A'), (List{"CSC", "NSC", "X"}));
    EXPECT_TRUE(handlers.Ceecs().GetValues('D' - 'A').empty());
}

}  // namespace
}  // namespace plix
