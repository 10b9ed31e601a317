// The value tables of the Scots and CEECS corpora that the COCOA options page
// offers: the sizes and contents the corpora's documentation gives, and the
// empty lists for the names that a scan of the user's files supplies.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "corpora/dispatch.h"

namespace plix {
namespace {

using List = std::vector<std::string>;

TEST(CorrespondenceTables, SizesAndContentsInStoredOrder)
{
    const CHandlers handlers;
    const CSCOTS& scots = handlers.Scots();
    const CCEECS& ceecs = handlers.Ceecs();
    // A, B, N, O and Q of Scots and A, B, Q and X of CEECS are the corpora's
    // own names: empty here, like every letter that has no values.
    const size_t sizes[26] = {0, 0, 4, 3, 7, 6, 3,  8,  3, 2, 0, 0, 5,
                              0, 0, 0, 0, 0, 0, 17, 11, 1, 3, 3, 6, 8};
    for (int i = 0; i < 26; ++i) {
        EXPECT_EQ(scots.GetValues(i).size(), sizes[i]) << char('A' + i);
        EXPECT_TRUE(ceecs.GetValues(i).empty()) << char('A' + i);
    }
    for (int outside : {-1, 26}) {
        EXPECT_TRUE(scots.GetValues(outside).empty()) << outside;
        EXPECT_TRUE(ceecs.GetValues(outside).empty()) << outside;
    }
    const std::pair<char, List> lists[] = {
        {'C', {"SC0", "SC1", "SC2", "SC3"}},
        {'D', {"CSC", "NSC", "X"}},
        {'G', {"TRANSL", "TRANSL/X", "X"}},
        {'M', {"MEDIUM MS", "MEDIUM MS/H1", "MEDIUM MS/H2", "MEDIUM PRINTED", "MEDIUM X"}},
        {'W', {"SCRIPT", "SPEECH-BASED", "WRITTEN"}},
        {'X', {"MALE", "FEMALE", "X"}},
        {'Y', {"-20", "20-40", "20-40/40-60", "40-60", "60-", "X"}},
    };
    for (const auto& [letter, values] : lists) {
        EXPECT_EQ(scots.GetValues(letter - 'A'), values) << letter;
    }
    EXPECT_EQ(scots.GetValues('T' - 'A')[10], "LOCAL RECORD");
    EXPECT_EQ(scots.GetValues('U' - 'A').back(), "NET X");
}

}  // namespace
}  // namespace plix
