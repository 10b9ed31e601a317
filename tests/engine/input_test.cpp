// The input reader: line ends, the appended blank, reading ahead, window lines
// and progress.
#include "engine/input.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace plix {
namespace {

std::vector<std::string> ReadAll(CInput& input)
{
    std::vector<std::string> lines;
    std::string line;
    while (input.ReadLine(line)) {
        lines.push_back(line);
    }
    return lines;
}

TEST(InputReader, FileLinesGetOneBlankAndLoseTheirLineEnd)
{
    struct Case
    {
        const char* name;
        std::string content;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"plain", "abc\ndef\n", {"abc ", "def "}},
        {"no final line end", "abc\ndef", {"abc ", "def "}},
        {"crlf", "abc\r\ndef\r\n", {"abc ", "def "}},
        {"empty lines", "\n\nx\n", {" ", " ", "x "}},
        {"empty file", "", {}},
        {"nul becomes blank", std::string("a\0b\n", 4), {"a b "}},
    };
    for (const Case& k : cases) {
        test::TempDir dir;
        CInput input;
        input.SetFileName(dir.Write("a.txt", k.content));
        ASSERT_EQ(input.Open(), 0) << k.name;
        EXPECT_EQ(ReadAll(input), k.lines) << k.name;
        EXPECT_FALSE(input.ReadFailed());
    }
}

TEST(InputReader, LinesLongerThanTheReadBlockAreWhole)
{
    test::TempDir dir;
    std::string big(3 << 20, 'x');
    CInput input;
    input.SetFileName(dir.Write("a.txt", "a\n" + big + "\nb\n"));
    ASSERT_EQ(input.Open(), 0);
    EXPECT_EQ(ReadAll(input), (std::vector<std::string>{"a ", big + " ", "b "}));
}

TEST(InputReader, NulBytesBecomeBlanksWhereverTheyFallInTheReadBlocks)
{
    // The reader looks for NUL bytes a block at a time: lines before, after
    // and between NULs, across block boundaries, must come out right.
    std::string content;
    std::vector<std::string> expected;
    for (int i = 0; i < 60000; ++i) {
        std::string line = "line " + std::to_string(i) + " text";
        std::string want = line;
        if (i % 9973 == 0 || i == 59999) {
            line[4] = '\0';
            want[4] = ' ';
        }
        if (i == 31000) {
            line += std::string(1, '\0') + "x" + std::string(1, '\0');
            want += " x ";
        }
        content += line + "\n";
        expected.push_back(want + " ");
    }
    test::TempDir dir;
    CInput input;
    input.SetFileName(dir.Write("a.txt", content));
    ASSERT_EQ(input.Open(), 0);
    EXPECT_EQ(ReadAll(input), expected);
}

TEST(InputReader, PeekTextReadsAheadWithoutConsuming)
{
    test::TempDir dir;
    CInput input;
    input.SetFileName(dir.Write("a.txt", "one\n two\nthree\nfour\n"));
    ASSERT_EQ(input.Open(), 0);
    std::string line;
    ASSERT_TRUE(input.ReadLine(line));
    std::string text;
    input.PeekText(text, 6);
    EXPECT_EQ(text, " two\nthree\n");
    // Asking again gives the same text, however much was read ahead before.
    input.PeekText(text, 6);
    EXPECT_EQ(text, " two\nthree\n");
    input.PeekText(text, 100);
    EXPECT_EQ(text, " two\nthree\nfour\n");
    // Lines read ahead keep their line end, then the blank.
    EXPECT_EQ(ReadAll(input), (std::vector<std::string>{" two\n ", "three\n ", "four\n "}));
}

TEST(InputReader, MissingFileAndFolderFailWithTheReason)
{
    test::TempDir dir;
    CInput input;
    input.SetFileName(dir.File("none.txt"));
    EXPECT_EQ(input.Open(), -1);
    EXPECT_NE(input.LastError().find("none.txt"), std::string::npos);
    EXPECT_NE(input.LastError().find("No such file"), std::string::npos);
    input.SetFileName(dir.Path());
    EXPECT_EQ(input.Open(), -1);
    EXPECT_NE(input.LastError().find("Is a directory"), std::string::npos);
}

class Lines : public CWindowSource
{
public:
    explicit Lines(std::vector<std::string> lines) : lines_(std::move(lines)) {}
    size_t LineCount() const override { return lines_.size(); }
    std::string Line(size_t i) const override { return lines_[i]; }
    std::string Title() const override { return "PLIX1"; }

private:
    std::vector<std::string> lines_;
};

TEST(InputReader, WindowLinesAsTheyStand)
{
    Lines window({"a b", "c", "d"});
    CInput input;
    input.SetWindowSource(&window);
    ASSERT_EQ(input.Open(), 0);
    EXPECT_EQ(input.GetSourceName(), "PLIX1");
    std::string line;
    ASSERT_TRUE(input.ReadLine(line));
    EXPECT_EQ(line, "a b");
    std::string text;
    input.PeekText(text, 1);
    EXPECT_EQ(text, "c\n");
    EXPECT_EQ(input.GetProgress(), 66);
    EXPECT_EQ(ReadAll(input), (std::vector<std::string>{"c", "d"}));
    EXPECT_EQ(input.GetProgress(), 100);
    input.SetFileSource();
    EXPECT_FALSE(input.ReadsWindow());
}

TEST(InputReader, ProgressFollowsTheBytesConsumed)
{
    test::TempDir dir;
    CInput input;
    input.SetFileName(dir.Write("a.txt", "123456789\n123456789\n"));
    ASSERT_EQ(input.Open(), 0);
    std::string line;
    EXPECT_EQ(input.GetProgress(), 0);
    ASSERT_TRUE(input.ReadLine(line));
    EXPECT_EQ(input.GetProgress(), 50);
    ASSERT_TRUE(input.ReadLine(line));
    EXPECT_EQ(input.GetProgress(), 100);
}

}  // namespace
}  // namespace plix
