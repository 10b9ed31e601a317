// Lines read, split and pre-scanned on the reader's thread are the lines the
// plain reader gives, with the consumed bytes and the handler's marks, for
// every block size; and a parsed corpus gives the same result either way.
#include "engine/line_reader.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "corpora/unit_assembly.h"
#include "engine/input.h"
#include "support/engine_fixture.h"
#include "support/test_support.h"

#include <random>
#include <string>
#include <vector>

namespace plix {
namespace {

struct ReadLine
{
    std::string text;
    uint64_t consumed = 0;
    bool operator==(const ReadLine& other) const
    {
        return text == other.text && consumed == other.consumed;
    }
};

// The plain reader's lines of `path`, with the bytes each took.
std::vector<ReadLine> PlainLines(const std::string& path)
{
    CInput input;
    input.SetFileName(path);
    EXPECT_EQ(input.Open(), 0);
    std::vector<ReadLine> lines;
    std::string line;
    while (input.ReadLine(line)) {
        line.pop_back();  // the reader's blank
        lines.push_back({line, 0});
    }
    return lines;
}

TEST(LineReader, GivesThePlainReadersLinesForEveryBlockSize)
{
    std::mt19937 random(3);
    std::vector<std::string> files = {
        "",
        "one line without an end",
        "a\nb\n",
        "\n\n\n",
        "crlf\r\nlines\r\n\r\nlast\r",
        std::string("nul\0byte\n\0\n", 12),
        std::string(5000, 'x') + "\nshort\n" + std::string(3000, 'y'),
        "(ID A-1))\n  (CODE <x>) (ID\n( (IP (N a) (CODE b)\n(ID",
    };
    for (int i = 0; i < 20; ++i) {
        std::string text;
        const int pieces = static_cast<int>(random() % 200);
        for (int k = 0; k < pieces; ++k) {
            const char* bits[] = {"(ID ", "(CODE ", "CODE", "word ", "\n", "\r\n", "(", " ", "(ID"};
            text += bits[random() % std::size(bits)];
        }
        files.push_back(text);
    }
    test::TempDir dir;
    for (std::size_t f = 0; f < files.size(); ++f) {
        const std::string path = dir.Write("f" + std::to_string(f) + ".txt", files[f]);
        const std::vector<ReadLine> expected = PlainLines(path);
        for (const std::size_t block : {1u, 2u, 3u, 7u, 64u, 4096u}) {
            const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
            ASSERT_GE(fd, 0);
            std::vector<ReadLine> got;
            uint64_t total = 0;
            {
                CLineReader reader(fd, &ParsedLineMarks, path, block);
                std::string line;
                LineMarks marks;
                uint64_t consumed = 0;
                while (reader.Next(line, marks, consumed)) {
                    got.push_back({line, 0});
                    total += consumed;
                    const LineMarks want = ParsedLineMarks(line);
                    EXPECT_EQ(marks.first, want.first) << "file " << f << " block " << block;
                    EXPECT_EQ(marks.second, want.second) << "file " << f << " block " << block;
                    EXPECT_EQ(marks.third, want.third) << "file " << f << " block " << block;
                }
                EXPECT_FALSE(reader.Failed());
            }
            ::close(fd);
            EXPECT_EQ(got, expected) << "file " << f << " block " << block;
            EXPECT_EQ(total, files[f].size()) << "file " << f << " block " << block;
        }
    }
}

TEST(LineReader, AReadErrorEndsTheLinesAndIsReported)
{
    test::TempDir dir;
    const int fd = ::open(dir.Path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    {
        CLineReader reader(fd, nullptr, "corpus", 16);
        std::string line;
        LineMarks marks;
        uint64_t consumed = 0;
        EXPECT_FALSE(reader.Next(line, marks, consumed));
        EXPECT_TRUE(reader.Failed());
        EXPECT_EQ(reader.Error().rfind("cannot read corpus file \"corpus\": ", 0), 0u) << reader.Error();
    }
    ::close(fd);
}

TEST(LineReader, StopsWhenDroppedBeforeTheEnd)
{
    test::TempDir dir;
    std::string text;
    for (int i = 0; i < 20000; ++i) {
        text += "(N word) (ID X-" + std::to_string(i) + "))\n";
    }
    const std::string path = dir.Write("big.txt", text);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    {
        CLineReader reader(fd, &ParsedLineMarks, path, 256);
        std::string line;
        LineMarks marks;
        uint64_t consumed = 0;
        ASSERT_TRUE(reader.Next(line, marks, consumed));
        EXPECT_EQ(marks.first, line.find("(ID "));
    }  // the reader's thread is told to stop and joined here
    ::close(fd);
}

// A parsed corpus read on the reader's thread gives the same concordance,
// word list and index as read line by line: units over many lines, groups
// to cut, a unit cut off by the end of the file, right contexts read ahead.
class ParsedReadAhead : public test::EngineTest, public ::testing::Test
{
};

TEST_F(ParsedReadAhead, SameResultEitherWay)
{
    std::string text = "\xEF\xBB\xBF( (IP (N first) (ID A-0))\n";
    for (int i = 1; i < 400; ++i) {
        text += "( (IP-MAT (N word" + std::to_string(i % 7) + ") (CODE <P_" + std::to_string(i) +
                ">)\n   (VB said) (N the) (N end))\n  (ID A-" + std::to_string(i) + "))\n\n";
    }
    text += "( (IP (N last) (N word3)";
    AddFile("units.ppcme2", text);
    ctx.corpus.SetCorpusType(kTypePpcme2);
    ctx.corpus.suppressHeaders = 1;
    ctx.corpus.SetLineFormat(120, 60);
    KeywordRequest keyword;
    keyword.keyword = "word3";
    std::vector<std::string> results[2];
    for (int pass = 0; pass < 2; ++pass) {
        CInput::SetReadAheadFromForTests(pass == 0 ? CInput::kReadAheadFrom : 0);
        for (AnalysisCommand command :
             {AnalysisCommand::Concordance, AnalysisCommand::Wordlist, AnalysisCommand::Index}) {
            target.results.clear();
            EXPECT_TRUE(RunCommand(command, keyword).completed);
            results[pass].push_back(target.results.empty() ? std::string() : Window());
        }
    }
    CInput::SetReadAheadFromForTests(CInput::kReadAheadFrom);
    EXPECT_EQ(results[0], results[1]);
    EXPECT_NE(results[0][0].find("word3"), std::string::npos);
}

}  // namespace
}  // namespace plix
