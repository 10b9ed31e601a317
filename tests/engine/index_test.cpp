// The index and the rhyme index, in a window and in a file, in Text and Xml.
#include <gtest/gtest.h>

#include "engine/index_text.h"
#include "support/engine_fixture.h"

namespace plix {
namespace {

using test::EngineTest;
using test::ReadFile;

struct Case
{
    const char* name;
    AnalysisCommand command;
    const char* text;
    int type;
    bool toFile;
    std::string body;  // what follows the list header (and the Xml information close)
};

class IndexModes : public ::testing::Test
{
};

TEST_F(IndexModes, EntriesInEveryForm)
{
    const Case cases[] = {
        {"index window", AnalysisCommand::Index, "a b a\nb\n", kOutputText, false,
         "a\t2\r\n 1 1\r\nb\t2\r\n 1 2\r\n\r\nTotal Tokens:\t4\r\nTotal Types:\t2\r\n"},
        {"index file", AnalysisCommand::Index, "a b a\nb\n", kOutputText, true,
         "a\t2\n 1 1\nb\t2\n 1 2\n\nTotal Tokens:\t4\nTotal Types:\t2\n"},
        {"index xml window", AnalysisCommand::Index, "a b\n", kOutputXml, false,
         "</plix_info>\r\n<list><word>a</word><count>1</count>\r\n<index>\r\n<line>1</line>\r\n"
         "</index>\r\n</list>\r\n<list><word>b</word><count>1</count>\r\n<index>\r\n"
         "<line>1</line>\r\n</index>\r\n</list>\r\n<token>2</token>\r\n<type>2</type>\r\n</plix>\n"},
        {"index xml file", AnalysisCommand::Index, "a\n", kOutputXml, true,
         "</plix_info>\n<list><word>a</word><count>1</count>\n<index>\n<line>1</line>\n"
         "</index>\n</list>\n<token>1</token>\n<type>1</type>\n</plix>\n"},
        // Sorted on the reversed spellings god, tac, tah; punctuation at the end is skipped.
        {"rhyme window", AnalysisCommand::RhymeIndex, "the cat\na hat.\nthe dog\n", kOutputText, false,
         "dog\t1\r\n 3\r\ncat\t1\r\n 1\r\nhat\t1\r\n 2\r\n\r\nTotal Tokens:\t3\r\nTotal Types:\t3\r\n"},
        {"rhyme file", AnalysisCommand::RhymeIndex, "the cat\na hat.\nthe dog\n", kOutputText, true,
         "dog\t1\n 3\ncat\t1\n 1\nhat\t1\n 2\n\nTotal Tokens:\t3\nTotal Types:\t3\n"},
        {"rhyme xml keeps the forward spelling", AnalysisCommand::RhymeIndex, "x CAT\n", kOutputXml, true,
         "</plix_info>\n<list><word>cat</word><count>1</count>\n<index>\n<line>1</line>\n"
         "</index>\n</list>\n<token>1</token>\n<type>1</type>\n</plix>\n"},
    };
    for (const Case& k : cases) {
        EngineTest t;
        std::string path = t.AddFile("a.txt", k.text);
        t.ctx.corpus.SetOutputType(k.type);
        t.ctx.corpus.SetOutputAsFiles(k.toFile);
        t.ctx.corpus.ignoreCase = 0;  // the rhyme index lower-cases anyway
        ASSERT_TRUE(t.RunCommand(k.command).completed) << k.name;
        std::string eol = k.toFile ? "\n" : "\r\n";
        std::string head = k.type == kOutputXml
                               ? "<?xml version=\"1.0\"?>" + eol + "<plix>" + eol + "<source>" +
                                     path + "</source>" + eol + "<plix_info>" + eol
                               : "Corpus File: " + path + eol + eol;
        std::string actual = k.toFile ? ReadFile(t.ctx.corpus.GetOutputFile(0)) : t.Window();
        EXPECT_EQ(actual, head + k.body) << k.name;
    }
}

TEST_F(IndexModes, FilterAndLineRangeApply)
{
    EngineTest t;
    t.AddFile("a.txt", "cat hat bat\nat mat\ncattle\n");
    t.ctx.corpus.keyword = "at";
    t.ctx.corpus.matchRight = 1;
    t.ctx.corpus.startLine = 2;
    t.ctx.corpus.endLine = 3;
    t.ctx.corpus.suppressHeaders = 1;
    ASSERT_TRUE(t.RunCommand(AnalysisCommand::Index).completed);
    EXPECT_EQ(t.Window(), "at\t1\r\n 2\r\nmat\t1\r\n 2\r\n");
    EXPECT_EQ(t.ctx.corpus.keyword, "");
}

TEST_F(IndexModes, RhymeFilterMeansWhatItMeansOnTheIndex)
{
    struct Case
    {
        int left, right;
        std::string body;
    };
    const Case cases[] = {
        {0, 1, "cat\t1\r\n 1\r\nflat\t1\r\n 3\r\n"},  // ends in "at"
        {1, 0, "atom\t1\r\n 2\r\n"},                    // begins with "at"
    };
    for (const Case& k : cases) {
        EngineTest t;
        t.AddFile("a.txt", "the cat\nan atom\nso flat\nthe bath\n");
        t.ctx.corpus.keyword = "at";
        t.ctx.corpus.matchLeft = k.left;
        t.ctx.corpus.matchRight = k.right;
        t.ctx.corpus.suppressHeaders = 1;
        ASSERT_TRUE(t.RunCommand(AnalysisCommand::RhymeIndex).completed);
        EXPECT_EQ(t.Window(), k.body) << k.left << k.right;
    }
}

TEST_F(IndexModes, AsAWholeMixesLineNumbersOfTheFiles)
{
    EngineTest t;
    t.AddFile("a.txt", "x\ny x\n");
    t.AddFile("b.txt", "x\n");
    t.ctx.corpus.SetAsWhole(1);
    t.ctx.corpus.suppressHeaders = 1;
    ASSERT_TRUE(t.RunCommand(AnalysisCommand::Index).completed);
    EXPECT_EQ(t.Window(), "x\t3\r\n 1 2 1\r\ny\t1\r\n 2\r\n");
}

TEST_F(IndexModes, CancelWhileWritingStopsBetweenLineNumbers)
{
    EngineTest t;
    t.AddFile("a.txt", "a\na\na\nb\n");
    t.ctx.corpus.suppressHeaders = 1;
    // Four lines read; then the entry "a" and its first two line numbers.
    t.progress.cancelAfter = 4 + 1 + 2;
    ASSERT_TRUE(t.RunCommand(AnalysisCommand::Index).completed);
    // The entry stopped half-way ends its line and is not counted.
    EXPECT_EQ(t.Window(), "a\t3\r\n 1 2\r\n\r\nCancelled: 0 of 2 entries written.\r\n");
}

TEST(IndexText, BlocksMadeOnTwoCoresAreWrittenInOrder)
{
    // Enough entries, some with long lists, for many blocks each way; an
    // entry's list in one piece or two (a piece starts again from zero).
    std::vector<std::string> deltas;
    std::vector<std::vector<std::string_view>> pieces;
    std::string want;
    const size_t entries = 20000;
    // A few entries too long for a block: taken in chunks (one of them
    // exactly a chunk long).
    auto countOf = [](size_t e) -> size_t {
        return e % 5000 == 1 ? 100000 : e % 5000 == 2 ? 65536 : e % 97 == 0 ? 3000 : e % 7 + 1;
    };
    deltas.reserve(2 * entries);
    for (size_t e = 0; e < entries; ++e) {
        const size_t count = countOf(e);
        std::string first;
        std::string second;
        want += "w" + std::to_string(e) + "\t" + std::to_string(count) + "\r\n";
        int64_t line = 0;
        for (size_t k = 0; k < count; ++k) {
            if (e % 3 == 0 && k == count / 2) {
                line = 0;  // the second piece
            }
            const int step = static_cast<int>((e + k) % 50 + 1);
            line += step;
            (e % 3 == 0 && k >= count / 2 ? second : first) += static_cast<char>(2 * step);
            want += " " + std::to_string(line);
        }
        want += "\r\n";
        deltas.push_back(first);
        deltas.push_back(second);
    }
    for (size_t e = 0; e < entries; ++e) {
        std::vector<std::string_view> p = {deltas[2 * e]};
        if (!deltas[2 * e + 1].empty()) {
            p.push_back(deltas[2 * e + 1]);
        }
        pieces.push_back(p);
    }
    for (bool worker : {true, false}) {
        std::string got;
        size_t written = 0;
        {
            CIndexTextWriter writer("\r\n", [&](const std::string& text) { got += text; },
                                    [&] { ++written; }, worker);
            for (size_t e = 0; e < entries; ++e) {
                CIndexNode node;
                node.pieces = pieces[e];
writer.Add("w" + std::to_string(e), static_cast<int64_t>(countOf(e)), node);
                if (e == entries / 2) {
                    EXPECT_LE(written, e + 1);
                }
            }
            writer.Flush();
        }
        EXPECT_EQ(written, entries) << worker;
        EXPECT_EQ(got, want) << worker;
    }
}

TEST(IndexText, LineNumbersOfEveryLengthAreWrittenInFull)
{
    // The numbers on either side of each power of ten, up past the ones the
    // quick way formats, each the next line of one long entry and the only
    // one of an entry of its own, in a chunk and in a block.
    std::vector<int64_t> numbers;
    int64_t power = 1;
    for (int digits = 1; digits <= 12; ++digits) {  // line numbers are kept in 40 bits
        power *= 10;
        for (int64_t v : {power / 10, power / 10 + 1, power - 1}) {
            if (numbers.empty() || v > numbers.back()) {
                numbers.push_back(v);
            }
        }
    }
    const auto varint = [](std::string& out, uint64_t value) {
        while (value >= 0x80) {
            out += static_cast<char>((value & 0x7f) | 0x80);
            value >>= 7;
        }
        out += static_cast<char>(value);
    };
    std::string all;
    std::string wantAll = "all\t" + std::to_string(numbers.size()) + "\r\n";
    int64_t last = 0;
    std::vector<std::string> single;
    for (int64_t v : numbers) {
        varint(all, static_cast<uint64_t>(v - last) << 1);
        last = v;
        wantAll += " " + std::to_string(v);
        single.emplace_back();
        varint(single.back(), static_cast<uint64_t>(v) << 1);
    }
    wantAll += "\r\n";
    for (bool worker : {true, false}) {
        std::string got;
        std::string want = wantAll;
        {
            CIndexTextWriter writer("\r\n", [&](const std::string& text) { got += text; }, [] {},
                                    worker);
            CIndexNode node;
            node.pieces = {all};
            writer.Add("all", static_cast<int64_t>(numbers.size()), node);
            for (size_t k = 0; k < numbers.size(); ++k) {
                node.pieces = {single[k]};
                writer.Add("n" + std::to_string(k), 1, node);
                want += "n" + std::to_string(k) + "\t1\r\n " + std::to_string(numbers[k]) + "\r\n";
            }
            writer.Flush();
        }
        EXPECT_EQ(got, want) << worker;
    }
}

}  // namespace
}  // namespace plix
