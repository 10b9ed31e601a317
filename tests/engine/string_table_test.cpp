// The hash table under every result: the fast hash of padded words must agree
// with the plain one, tallies must survive growth, and the word counter on its
// second core must leave the same table as counting in the reader.
#include "engine/string_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <numeric>
#include <random>

#include "engine/collocate_scan.h"
#include "engine/trees.h"
#include "engine/word_counter.h"
#include "settings/text.h"
#include "support/test_support.h"

namespace plix {
namespace {

TEST(StringTable, PaddedHashAgreesWithThePlainOneWhateverFollowsTheKey)
{
    std::string text;
    for (int i = 0; i < 80; ++i) {
        text += static_cast<char>('a' + i % 26);
    }
    for (size_t length = 0; length <= 40; ++length) {
        for (char after : {'\0', 'z', '\xff'}) {
            std::string buffer = text.substr(0, length) + std::string(16, after);
            uint64_t head[2];
            uint64_t hash = CStringTable::HashPadded(buffer.data(), length, head);
            std::string_view key(buffer.data(), length);
            uint64_t plainHead[2];
            CStringTable::Head(key, plainHead);
            EXPECT_EQ(hash, CStringTable::Hash(key)) << length;
            EXPECT_EQ(head[0], plainHead[0]) << length;
            EXPECT_EQ(head[1], plainHead[1]) << length;
        }
    }
}

TEST(StringTable, KeysStayDistinctAndTalliesSurviveGrowth)
{
    // Keys that share their first sixteen bytes, differ only in length, or are
    // longer than the length a slot can hold.
    std::vector<std::string> keys = {"", "a", std::string(1, '\0'), std::string(2, '\0')};
    for (int i = 0; i < 5000; ++i) {
        keys.push_back("prefix-shared-by-all-" + std::to_string(i));
        keys.push_back(std::to_string(i));
    }
    keys.push_back(std::string(70000, 'k'));
    keys.push_back(std::string(70000, 'k') + "x");
    keys.push_back(std::string(70001, 'k'));
    CStringTable table;
    for (int round = 1; round <= 3; ++round) {
        for (size_t i = 0; i < keys.size(); ++i) {
            uint64_t head[2];
            CStringTable::Head(keys[i], head);
            bool inserted = false;
            uint32_t index = table.Tally(keys[i], CStringTable::Hash(keys[i]), head, inserted);
            EXPECT_EQ(inserted, round == 1);
            EXPECT_EQ(index, i);
        }
    }
    ASSERT_EQ(table.Size(), keys.size());
    std::vector<int64_t> tallies = table.Tallies();
    for (size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(table.Key(static_cast<uint32_t>(i)), keys[i]);
        EXPECT_EQ(tallies[i], 3);
    }
}

std::vector<std::pair<std::string, int64_t>> Entries(const CWordTree& tree)
{
    std::vector<std::pair<std::string, int64_t>> out;
    for (const CWordEntry& e : tree.Alphabetical()) {
        out.emplace_back(std::string(e.text), e.count);
    }
    return out;
}

// Writes a line's words into the counter the way the reader does, each with
// its start and end and a blank after it; returns the bytes written.
size_t WriteLine(CWordCounter& counter, const std::vector<std::string>& words)
{
    size_t bytes = 0;
    for (const std::string& w : words) {
        bytes += w.size() + 1;
    }
    counter.Reserve(bytes, words.size());
    char* out = counter.Bytes();
    size_t* starts = counter.Starts();
    size_t* ends = counter.Ends();
    size_t written = 0;
    for (size_t k = 0; k < words.size(); ++k) {
        starts[k] = counter.Used() + written;
        words[k].copy(out + written, words[k].size());
        written += words[k].size();
        ends[k] = counter.Used() + written;
        out[written++] = ' ';
    }
    return written;
}

TEST(StringTable, ByteOrderIsThatOfTheKeysCompared)
{
    // Keys around the eight bytes the sort compares as a number: shorter and
    // longer, sharing them, with NULs and bytes from 128 up inside them.
    std::vector<std::string> keys = {"", std::string(1, '\0'), std::string(9, '\0'), "abcdefgh",
                                     "abcdefg", "abcdefgh" + std::string(1, '\0'), "abcdefghi",
                                     "abcdefg\xff", "abcdefg\x80x"};
    const std::string alphabet = std::string("ab\x7f\x80\xff") + std::string(1, '\0');
    std::mt19937 random(11);
    for (int i = 0; i < 30000; ++i) {
        std::string key = i % 2 == 0 ? "prefixes" : "";
        for (size_t n = random() % 12; n > 0; --n) {
            key += alphabet[random() % alphabet.size()];
        }
        keys.push_back(key);
    }
    CStringTable table;
    std::vector<std::string> distinct;
    for (const std::string& key : keys) {
        uint64_t head[2];
        CStringTable::Head(key, head);
        bool inserted = false;
        (void)table.Tally(key, CStringTable::Hash(key), head, inserted);
        if (inserted) {
            distinct.push_back(key);
        }
    }
    std::vector<std::string> want = distinct;
    std::sort(want.begin(), want.end(), [](const std::string& a, const std::string& b) {
        return std::lexicographical_compare(
            a.begin(), a.end(), b.begin(), b.end(),
            [](char x, char y) { return static_cast<unsigned char>(x) < static_cast<unsigned char>(y); });
    });
    std::vector<uint32_t> order;
    ASSERT_TRUE(SortByteOrder(table, order, {}));
    std::vector<std::string> got;
    for (uint32_t index : order) {
        got.emplace_back(table.Key(index));
    }
    EXPECT_EQ(got, want);
}

TEST(WordCounter, SameTableAsCountingInTheReaderForEveryBatchSize)
{
    // Lines of words written the way the reader writes them, with the start
    // and end of each word; Finish is asked now and then, as a run of several
    // files does.
    std::vector<std::vector<std::string>> lines;
    for (int i = 0; i < 3000; ++i) {
        std::vector<std::string> line;
        for (int k = 0; k < i % 7; ++k) {
            line.push_back("w" + std::to_string((i * 31 + k * 17) % 701) +
                           std::string(static_cast<size_t>(k * 5), 'x'));
        }
        lines.push_back(line);
    }
    CWordTree direct;
    int64_t directTypes = 0;
    for (const auto& line : lines) {
        for (const std::string& w : line) {
            directTypes += direct.Insert(w) ? 1 : 0;
        }
    }
    for (size_t batch : {size_t{1}, size_t{3}, size_t{64}, size_t{16384}}) {
        for (bool worker : {true, false}) {
            CWordTree tree;
            int64_t types = 0;
            {
                CWordCounter counter(tree, batch, worker);
                for (size_t i = 0; i < lines.size(); ++i) {
                    const size_t written = WriteLine(counter, lines[i]);
                    counter.EndLine(written, lines[i].size());
                    if (i % 1000 == 999) {
                        types += counter.Finish();
                    }
                }
                types += counter.Finish();
            }
            EXPECT_EQ(types, directTypes) << batch << worker;
            EXPECT_EQ(Entries(tree), Entries(direct)) << batch << worker;
        }
    }
}

// Every entry of an index with its count and line numbers, in order.
std::vector<std::string> IndexRows(CIndexTree& index)
{
    std::vector<std::string> rows;
    EXPECT_TRUE(index.Sort([] { return false; }));
    EXPECT_TRUE(index.Walk([&](const CIndexNode& node) {
        std::string row = std::string(node.text) + " " + std::to_string(node.count) + ":";
        CIndexLines lines(node);
        int64_t line = 0;
        while (lines.Next(line)) {
            row += " " + std::to_string(line);
        }
        rows.push_back(row);
        return true;
    }));
    return rows;
}

TEST(WordCounter, IndexAsEnteredWordByWordForEveryBatchSize)
{
    // Words that repeat within a line and a batch, words of every length
    // around the sixteen bytes a key's head holds, and long words that
    // differ only after those sixteen bytes or only in length.
    const std::vector<std::string> words = {
        "a", "ab", "internationalize", "internationalizes", "internationalized",
        "internationalizer", "internationaliz", "x", "0123456789abcdef",
        "0123456789abcdefg", "0123456789abcdeg", "the", "of",
    };
    std::vector<std::vector<std::string>> lines;
    std::mt19937 random(9);
    for (int i = 0; i < 2000; ++i) {
        std::vector<std::string> line;
        for (int k = static_cast<int>(random() % 9); k > 0; --k) {
            line.push_back(words[random() % words.size()]);
        }
        lines.push_back(line);
    }
    CIndexTree direct;
    for (size_t i = 0; i < lines.size(); ++i) {
        for (const std::string& w : lines[i]) {
            direct.Insert(w, static_cast<int64_t>(i + 1), 0);
        }
    }
    const std::vector<std::string> expected = IndexRows(direct);
    for (size_t batch : {size_t{1}, size_t{3}, size_t{64}, size_t{16384}}) {
        for (bool worker : {true, false}) {
            CIndexTree index;
            {
                CWordCounter counter(index, batch, worker);
                for (size_t i = 0; i < lines.size(); ++i) {
                    const size_t written = WriteLine(counter, lines[i]);
                    counter.EndLine(written, lines[i].size(), static_cast<int64_t>(i + 1), 0);
                }
                (void)counter.Finish();
            }
            EXPECT_EQ(IndexRows(index), expected) << batch << worker;
        }
    }
}

TEST(WordCounter, StoppingWithWordsUnfinishedIsSafe)
{
    CWordTree tree;
    {
        CWordCounter counter(tree, 2);
        for (int i = 0; i < 100; ++i) {
            counter.Reserve(3, 1);
            std::memcpy(counter.Bytes(), "abc", 3);
            counter.Starts()[0] = counter.Used();
            counter.Ends()[0] = counter.Used() + 3;
            counter.EndLine(3, 1);
        }
    }  // destroyed without Finish: the worker stops, nothing is left running
    SUCCEED();
}

TEST(CollateEntries, LargeTablesSortedOnTwoCoresAsOneSortWouldSortThem)
{
    // Enough entries for the two halves, with accents, capitals and
    // punctuation that the locale orders (or holds equal) unlike bytes.
    for (const char* locale : {"en_US.UTF-8", "de_DE.UTF-8", "da_DK.UTF-8"}) {
        test::LocaleGuard guard(locale);
        if (!guard.Installed()) {
            continue;
        }
        const std::vector<std::string> parts = {"a", "Aa", "\xc3\xa4", "b", "-", "z", "'", "o", "\xc3\xb8", "1"};
        CStringTable table;
        std::mt19937 random(3);
        for (int i = 0; i < 20000; ++i) {
            std::string key;
            for (size_t k = random() % 5 + 1; k > 0; --k) {
                key += parts[random() % parts.size()];
            }
            bool inserted = false;
            (void)table.FindOrInsert(key, inserted);
        }
        ASSERT_GT(table.Size(), 8192u);
        std::vector<uint32_t> order(table.Size());
        std::iota(order.begin(), order.end(), 0u);
        std::vector<std::string> keys;
        for (uint32_t i = 0; i < table.Size(); ++i) {
            keys.push_back(CollationKey(table.Key(i)));
        }
        std::stable_sort(order.begin(), order.end(),
                         [&](uint32_t a, uint32_t b) { return keys[a] < keys[b]; });
        std::vector<std::vector<uint32_t>> want;
        for (size_t i = 0; i < order.size(); ++i) {
            if (i > 0 && keys[order[i]] == keys[order[i - 1]]) {
                want.back().push_back(order[i]);
            } else {
                want.push_back({order[i]});
            }
        }
        EXPECT_EQ(CollateEntries(table), want) << locale;
        std::vector<std::vector<uint32_t>> groups;
        EXPECT_FALSE(CollateEntries(table, groups, [] { return true; })) << locale;
    }
}

std::vector<std::string> CountRows(const CCountTree& tree)
{
    std::vector<std::string> rows;
    tree.Walk([&](const CCountTreeNode& node) {
        std::string row(node.text);
        for (int64_t c : node.counts) {
            row += " " + std::to_string(c);
        }
        rows.push_back(row);
        return true;
    });
    return rows;
}

TEST(WordCounter, CollocatesFoundOnTheWorkerAreThoseOfTheWordByWordScan)
{
    // Lines of short words, digits, punctuation, NULs and high bytes, with the
    // keyword anywhere: inside a word, at either edge, past the end, as long
    // as the line. The reference is the scan the reader does in multibyte text.
    bool wordChar[256] = {};
    unsigned char lower[256];
    for (int b = 0; b < 256; ++b) {
        wordChar[b] = std::isalpha(b) != 0 || b == '7' || b == 0xe9;
        lower[b] = static_cast<unsigned char>(b >= 'A' && b <= 'Z' ? b + 32 : b);
    }
    const std::string alphabet = std::string("aAbB7 .-\xe9") + std::string(1, '\0');
    std::mt19937 random(7);
    struct Hit
    {
        std::string text;
        long at;
        size_t length;
    };
    std::vector<Hit> hits;
    for (int i = 0; i < 6000; ++i) {
        // Mostly short lines; some past one and two 64-byte blocks, whose
        // words and keywords straddle the blocks' edges.
        std::string text(i % 3 == 0 ? random() % 200 : random() % 40, ' ');
        for (char& c : text) {
            c = alphabet[random() % alphabet.size()];
        }
        const long at = static_cast<long>(random() % (text.size() + 2));
        hits.push_back({text, at, random() % 4});
    }
    CCountTree direct;
    int64_t directTokens = 0;
    for (const Hit& hit : hits) {
        const auto* b = reinterpret_cast<const unsigned char*>(hit.text.data());
        const long n = static_cast<long>(hit.text.size());
        auto isWord = [&](long i) { return i >= 0 && i < n && b[i] != 0 && wordChar[b[i]]; };
        ScanCollocates(hit.text, hit.at, hit.length, isWord, [&](std::string_view w, int slot) {
            std::string lowered(w);
            for (char& c : lowered) {
                c = static_cast<char>(lower[static_cast<unsigned char>(c)]);
            }
            direct.Insert(lowered, slot);
            ++directTokens;
        });
    }
    ASSERT_GT(directTokens, 1000);
    for (size_t batch : {size_t{1}, size_t{50}, size_t{16384}}) {
        for (bool worker : {true, false}) {
            CCountTree tree;
            int64_t tokens = 0;
            {
                CWordCounter counter(tree, batch, worker);
                counter.SetByteTables(wordChar, lower);
                for (const Hit& hit : hits) {
                    counter.AddHit(hit.text, hit.at, hit.length);
                }
                (void)counter.Finish(tokens);
            }
            EXPECT_EQ(tokens, directTokens) << batch << worker;
            EXPECT_EQ(CountRows(tree), CountRows(direct)) << batch << worker;
        }
    }
}

}  // namespace
}  // namespace plix
