// The word scanner against the plain definition: words are the maximal runs of
// word characters, copied lowered (or marked as bits). Random lines of every length around the
// 16- and 64-byte blocks, under each kind of table the settings can make.
#include "engine/word_scan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <random>
#include <string>
#include <vector>

namespace plix {
namespace {

struct Table
{
    const char* name;
    bool digits;
    bool fold;
    std::string extra;  // more word characters
    bool highLetters;   // bytes from 0xc0 up are word characters
    bool vectorized;
};

std::array<uint16_t, 256> Make(const Table& t)
{
    std::array<uint16_t, 256> table{};
    for (int b = 0; b < 256; ++b) {
        bool word = std::isalpha(b) != 0 && b < 128;
        word = word || (t.digits && b >= '0' && b <= '9');
        word = word || t.extra.find(static_cast<char>(b)) != std::string::npos;
        word = word || (t.highLetters && b >= 0xc0);
        int lowered = t.fold && b >= 'A' && b <= 'Z' ? b + 32 : b;
        if (t.fold && b >= 0xc0 && b < 0xdf) {
            lowered = b + 32;
        }
        table[static_cast<size_t>(b)] = static_cast<uint16_t>((word ? 0x100 : 0) | lowered);
    }
    return table;
}

TEST(WordScanner, FindsTheWordsOfThePlainDefinition)
{
    const Table tables[] = {
        {"letters and digits, folded", true, true, "", false, true},
        {"letters only", false, true, "", false, true},
        {"case kept", true, false, "", false, true},
        {"high letters", true, true, "", true, true},
        {"extra ASCII word characters", true, true, "'-", false, true},
        {"the historical corpora's diacritics", true, true, "&+=~`", true, true},
        {"more extras than the fast path tests for", true, true, "!#$%&'*+-=", false, false},
    };
    const std::string alphabet =
        "aZ9 .\t\n'-\x80\xc3\xe9\xff"
        "bcXY012,;&+=~`!";
    std::mt19937 random(7);
    for (const Table& t : tables) {
        const std::array<uint16_t, 256> table = Make(t);
        CWordScanner scanner(table);
        EXPECT_EQ(scanner.Vectorized(), t.vectorized) << t.name;
        for (size_t n = 0; n < 200; ++n) {
            for (int round = 0; round < 4; ++round) {
                std::string line;
                for (size_t i = 0; i < n; ++i) {
                    // Mostly plain ASCII, as text is, so that whole blocks take the fast path.
                    line += round < 2 ? "abCD ef1 "[random() % 9]
                                      : alphabet[random() % alphabet.size()];
                }
                const auto* text = reinterpret_cast<const unsigned char*>(line.data());
                std::string want;
                std::vector<size_t> wantStarts;
                std::vector<size_t> wantEnds;
                for (size_t i = 0; i < n; ++i) {
                    uint16_t look = table[text[i]];
                    want += static_cast<char>(look & 0xff);
                    bool word = (look & 0x100) != 0;
                    bool before = i > 0 && (table[text[i - 1]] & 0x100) != 0;
                    if (word && !before) {
                        wantStarts.push_back(100 + i);
                    }
                    if (!word && before) {
                        wantEnds.push_back(100 + i);
                    }
                }
                if (n > 0 && (table[text[n - 1]] & 0x100) != 0) {
                    wantEnds.push_back(100 + n);
                }
                const bool ascii =
                    std::all_of(line.begin(), line.end(), [](char c) { return (c & 0x80) == 0; });
                for (int way = 0; way < 3; ++way) {
                    std::string out(n, '?');
                    std::vector<size_t> starts(n / 2 + 2);
                    std::vector<size_t> ends(n / 2 + 2);
                    const bool fast = way != 1;
                    size_t count =
                        way == 0 ? scanner.Scan(text, n, out.data(), 100, starts.data(), ends.data())
                        : way == 1
                            ? scanner.ScanBytes(text, n, out.data(), 100, starts.data(), ends.data())
                            : scanner.ScanAscii(text, n, out.data(), 100, starts.data(), ends.data());
                    if (way == 2 && !ascii) {
                        // Text with a byte from 128 up is left to the caller.
                        EXPECT_EQ(count, CWordScanner::kNotAscii) << t.name << " n=" << n;
                        continue;
                    }
                    starts.resize(count);
                    ends.resize(count);
                    EXPECT_EQ(out, want) << t.name << " n=" << n;
                    EXPECT_EQ(starts, wantStarts) << t.name << " n=" << n << " fast=" << fast;
                    EXPECT_EQ(ends, wantEnds) << t.name << " n=" << n << " fast=" << fast;
                }
                // The lowered line and its word characters as bits.
                std::string out(n, '?');
                std::vector<uint64_t> masks((n + 63) / 64, ~uint64_t{0});
                scanner.Lower(text, n, out.data(), masks.data());
                EXPECT_EQ(out, want) << t.name << " n=" << n;
                std::vector<uint64_t> wantMasks((n + 63) / 64, 0);
                for (size_t i = 0; i < n; ++i) {
                    if ((table[text[i]] & 0x100) != 0) {
                        wantMasks[i / 64] |= uint64_t{1} << (i % 64);
                    }
                }
                EXPECT_EQ(masks, wantMasks) << t.name << " n=" << n;
            }
        }
    }
}

}  // namespace
}  // namespace plix
