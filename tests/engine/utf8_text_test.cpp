// UTF-8 text read as characters: every analysis over a small corpus of
// accented Latin, Cyrillic and Japanese text, as exact text, in both UTF-8
// locales; and the same text with "UTF-8 text" cleared, read byte by byte.
#include <gtest/gtest.h>

#include <cstdlib>
#include <numeric>
#include <vector>

#include "settings/utf8.h"
#include "support/engine_fixture.h"

namespace plix {
namespace {

using test::EngineTest;
using test::LocaleGuard;

const char* const kCorpus =
    "\xEF\xBB\xBF" "Café naïve Straße café CAFÉ über Über\n"
    "Жук видит жука, жук спит.\n"
    "日本語 の 本 と 日本語 の 辞書\n";

class Utf8Text : public EngineTest, public ::testing::TestWithParam<const char*>
{
  protected:
    void SetUp() override
    {
        guard_ = std::make_unique<LocaleGuard>(GetParam());
        if (!guard_->Installed()) {
            GTEST_SKIP() << GetParam() << " is not installed";
        }
        ctx.corpus.SaveSystemLocale();
        ctx.corpus.utf8Text = 1;
        ctx.corpus.SetLanguage("System");
        ctx.corpus.suppressHeaders = 1;
        ctx.corpus.SetOutputType(kOutputText);
        ctx.corpus.SetLineFormat(40, 20);
        AddFile("u.txt", kCorpus);
    }
    std::string Run(AnalysisCommand command, const KeywordRequest& keyword = {})
    {
        target.results.clear();
        EXPECT_TRUE(RunCommand(command, keyword).completed);
        return target.results.empty() ? std::string() : Window();
    }
    bool CollatesByCodePoint() const { return std::string(GetParam()) == "C.UTF-8"; }

    std::unique_ptr<LocaleGuard> guard_;
};

KeywordRequest Keyword(const std::string& text, bool regex = false)
{
    KeywordRequest k;
    k.keyword = text;
    k.regex = regex;
    return k;
}

// One row per command: the text in en_US.UTF-8, and in C.UTF-8 where its
// code-point collation orders otherwise (empty: the same text).
struct Expected
{
    AnalysisCommand command;
    KeywordRequest keyword;
    std::string text;
    std::string codePointText;
};

TEST_P(Utf8Text, EveryAnalysisReadsCharacters)
{
    const Expected cases[] = {
        {AnalysisCommand::Wordlist, {},
             "café\t3\r\n"
             "naïve\t1\r\n"
             "straße\t1\r\n"
             "über\t2\r\n"
             "видит\t1\r\n"
             "жук\t2\r\n"
             "жука\t1\r\n"
             "спит\t1\r\n"
             "と\t1\r\n"
             "の\t2\r\n"
             "日本語\t2\r\n"
             "本\t1\r\n"
             "辞書\t1\r\n",
             ""},
        {AnalysisCommand::BackwardList, {},
             "\tcafé\t3\r\n"
             "\tstraße\t1\r\n"
             "\tnaïve\t1\r\n"
             "\tüber\t2\r\n"
             "\tжука\t1\r\n"
             "\tжук\t2\r\n"
             "\tвидит\t1\r\n"
             "\tспит\t1\r\n"
             "\tと\t1\r\n"
             "\tの\t2\r\n"
             "\t辞書\t1\r\n"
             "\t本\t1\r\n"
             "\t日本語\t2\r\n",
             "\tnaïve\t1\r\n"
             "\tstraße\t1\r\n"
             "\tüber\t2\r\n"
             "\tcafé\t3\r\n"
             "\tжука\t1\r\n"
             "\tжук\t2\r\n"
             "\tвидит\t1\r\n"
             "\tспит\t1\r\n"
             "\tと\t1\r\n"
             "\tの\t2\r\n"
             "\t辞書\t1\r\n"
             "\t本\t1\r\n"
             "\t日本語\t2\r\n"},
        {AnalysisCommand::DescendingWordlist, {},
             "café\t3\r\n"
             "über\t2\r\n"
             "жук\t2\r\n"
             "の\t2\r\n"
             "日本語\t2\r\n"
             "naïve\t1\r\n"
             "straße\t1\r\n"
             "видит\t1\r\n"
             "жука\t1\r\n"
             "спит\t1\r\n"
             "と\t1\r\n"
             "本\t1\r\n"
             "辞書\t1\r\n",
             ""},
        {AnalysisCommand::Index, {},
             "café\t3\r\n"
             " 1 1 1\r\n"
             "naïve\t1\r\n"
             " 1\r\n"
             "straße\t1\r\n"
             " 1\r\n"
             "über\t2\r\n"
             " 1 1\r\n"
             "видит\t1\r\n"
             " 2\r\n"
             "жук\t2\r\n"
             " 2 2\r\n"
             "жука\t1\r\n"
             " 2\r\n"
             "спит\t1\r\n"
             " 2\r\n"
             "と\t1\r\n"
             " 3\r\n"
             "の\t2\r\n"
             " 3 3\r\n"
             "日本語\t2\r\n"
             " 3 3\r\n"
             "本\t1\r\n"
             " 3\r\n"
             "辞書\t1\r\n"
             " 3\r\n",
             ""},
        {AnalysisCommand::RhymeIndex, {},
             "über\t1\r\n"
             " 1\r\n"
             "спит\t1\r\n"
             " 2\r\n"
             "辞書\t1\r\n"
             " 3\r\n",
             ""},
        {AnalysisCommand::Concordance, Keyword("ЖУК"),
             "(2) \r\n"
             "    CAFÉ über Über Жук видит жука, жук\r\n"
             "(2) \r\n"
             "   Жук видит жука, жук спит. 日本語 の\r\n"
             "(2) \r\n"
             "    Über Жук видит жука, жук спит.\r\n",
             ""},
        {AnalysisCommand::ConcordanceLeft, Keyword("ЖУК"),
             "(2) \r\n"
             "    CAFÉ über Über Жук видит жука, жук\r\n"
             "(2) \r\n"
             "    Über Жук видит жука, жук спит.\r\n"
             "(2) \r\n"
             "   Жук видит жука, жук спит. 日本語 の\r\n",
             "(2) \r\n"
             "   Жук видит жука, жук спит. 日本語 の\r\n"
             "(2) \r\n"
             "    CAFÉ über Über Жук видит жука, жук\r\n"
             "(2) \r\n"
             "    Über Жук видит жука, жук спит.\r\n"},
        {AnalysisCommand::ConcordanceRight, Keyword("ЖУК"),
             "(2) \r\n"
             "    Über Жук видит жука, жук спит.\r\n"
             "(2) \r\n"
             "    CAFÉ über Über Жук видит жука, жук\r\n"
             "(2) \r\n"
             "   Жук видит жука, жук спит. 日本語 の\r\n",
             "(2) \r\n"
             "    CAFÉ über Über Жук видит жука, жук\r\n"
             "(2) \r\n"
             "   Жук видит жука, жук спит. 日本語 の\r\n"
             "(2) \r\n"
             "    Über Жук видит жука, жук спит.\r\n"},
        {AnalysisCommand::Collocation, Keyword("ЖУК"),
             "café\t3\t1\t1\t1\t0\t0\t-\t0\t0\t0\t0\t0\r\n"
             "straße\t1\t1\t0\t0\t0\t0\t-\t0\t0\t0\t0\t0\r\n"
             "über\t6\t1\t2\t1\t1\t1\t-\t0\t0\t0\t0\t0\r\n"
             "видит\t3\t0\t0\t0\t1\t1\t-\t1\t0\t0\t0\t0\r\n"
             "жук\t4\t0\t0\t1\t1\t0\t-\t1\t0\t1\t0\t0\r\n"
             "жука\t2\t0\t0\t0\t0\t1\t-\t0\t1\t0\t0\t0\r\n"
             "спит\t3\t0\t0\t0\t0\t0\t-\t1\t1\t0\t1\t0\r\n"
             "と\t1\t0\t0\t0\t0\t0\t-\t0\t0\t0\t0\t1\r\n"
             "の\t2\t0\t0\t0\t0\t0\t-\t0\t0\t1\t1\t0\r\n"
             "日本語\t3\t0\t0\t0\t0\t0\t-\t0\t1\t1\t0\t1\r\n"
             "本\t2\t0\t0\t0\t0\t0\t-\t0\t0\t0\t1\t1\r\n",
             ""},
        {AnalysisCommand::Concordance, Keyword("É"),
             "(1) \r\n"
             "                Café naïve Straße café\r\n"
             "(1) \r\n"
             "   naïve Straße café CAFÉ über Über\r\n"
             "(1) \r\n"
             "    Straße café CAFÉ über Über Жук\r\n",
             ""},
    };
    for (const Expected& k : cases) {
        const std::string& expected =
            CollatesByCodePoint() && !k.codePointText.empty() ? k.codePointText : k.text;
        EXPECT_EQ(Run(k.command, k.keyword), expected)
            << static_cast<int>(k.command) << " " << k.keyword.keyword;
    }
}

TEST_P(Utf8Text, KeywordIsColouredWhereItStands)
{
    // The highlight is a byte range, found by display columns.
    (void)Run(AnalysisCommand::Concordance, Keyword("本"));
    EXPECT_EQ(target.ColouredTexts(0), (std::vector<std::string>{"本", "本", "本"}));
}

TEST_P(Utf8Text, ListFilterIsLoweredAsTheWordsAre)
{
    const struct
    {
        AnalysisCommand command;
        const char* filter;
        int left, right;
        std::string expected;
    } cases[] = {
        {AnalysisCommand::Wordlist, "ÜB", 1, 0, "über\t2\r\n"},
        {AnalysisCommand::Wordlist, "ЖУК", 1, 1, "жук\t2\r\n"},
        {AnalysisCommand::Wordlist, "本", 0, 0, "日本語\t2\r\n本\t1\r\n"},
        // Reversed by character for the backward list, "Right" still ends the word.
        {AnalysisCommand::BackwardList, "КА", 0, 1, "\tжука\t1\r\n"},
        {AnalysisCommand::Index, "É", 0, 1, "café\t3\r\n 1 1 1\r\n"},
    };
    for (const auto& k : cases) {
        ctx.corpus.keyword = k.filter;
        ctx.corpus.matchLeft = k.left;
        ctx.corpus.matchRight = k.right;
        EXPECT_EQ(Run(k.command), k.expected) << k.filter;
    }
}

TEST_P(Utf8Text, RegularExpressionMatchesCharacters)
{
    // "." and a bracket list stand for one character, not one byte.
    const struct
    {
        const char* pattern;
        std::string expected;
    } cases[] = {
        {"caf.", "(1) \r\n Café naïve Straße café CAFÉ über Über\r\n"},
        {"[éè]", "(1) \r\n                Café naïve Straße café\r\n"
                 "(1) \r\n   naïve Straße café CAFÉ über Über\r\n"},
    };
    for (const auto& k : cases) {
        EXPECT_EQ(Run(AnalysisCommand::Concordance, Keyword(k.pattern, true)), k.expected)
            << k.pattern;
    }
}

TEST_P(Utf8Text, WordOperatorsTakeTheWordCharacters)
{
    // With "," among the diacritics "жука," is one word, so "жука\>" does
    // not end there.
    const struct
    {
        const char* diacritics;
        const char* pattern;
        std::string expected;
    } cases[] = {
        {"", "\\<жук\\>", "(2) \r\n   Жук видит жука, жук спит. 日本語 の\r\n"},
        {"", "жука\\>", "(2) \r\n    Über Жук видит жука, жук спит.\r\n"},
        {",", "жука\\>", ""},
    };
    for (const auto& k : cases) {
        ctx.corpus.diacritics = k.diacritics;
        EXPECT_EQ(Run(AnalysisCommand::Concordance, Keyword(k.pattern, true)), k.expected)
            << k.pattern << " with \"" << k.diacritics << "\"";
    }
}

INSTANTIATE_TEST_SUITE_P(Locales, Utf8Text, ::testing::Values("en_US.UTF-8", "C.UTF-8"));

// "UTF-8 text" cleared: the same text is read byte by byte, as it always was,
// even though the locale is a UTF-8 one.
TEST_P(Utf8Text, ControlCharactersAreBlankedWhereverTheyStandInALine)
{
    // Lines of every length around the sixteen- and sixty-four-byte rounds of
    // the line tests, a control character at the start, middle or end: the
    // concordance is that of the same lines with a blank in its place.
    std::string controls;
    std::string blanks;
    const std::string text = [] {
        std::string t;
        while (t.size() < 200) {
            t += "the cat sat on a mat ";
        }
        return t;
    }();
    const char kControls[] = {'\t', '\x01', '\x7f'};
    for (size_t n = 1; n <= 140; ++n) {
        for (size_t pos : {size_t{0}, n / 2, n - 1}) {
            std::string withControl = text.substr(0, n);
            std::string withBlank = withControl;
            withControl[pos] = kControls[(n + pos) % 3];
            withBlank[pos] = ' ';
            controls += withControl + "\n";
            blanks += withBlank + "\n";
        }
    }
    auto run = [](const std::string& corpus) {
        EngineTest t;
        t.ctx.corpus.SaveSystemLocale();
        t.ctx.corpus.utf8Text = 1;
        t.ctx.corpus.SetLanguage("System");
        t.ctx.corpus.suppressHeaders = 1;
        t.ctx.corpus.SetOutputType(kOutputText);
        t.ctx.corpus.SetLineFormat(40, 20);
        t.AddFile("c.txt", corpus);
        KeywordRequest keyword;
        keyword.keyword = "cat";
        EXPECT_TRUE(t.RunCommand(AnalysisCommand::Concordance, keyword).completed);
        std::string all = t.Window();
        for (size_t at = all.find(t.dir.Path()); at != std::string::npos;
             at = all.find(t.dir.Path(), at)) {
            all.replace(at, t.dir.Path().size(), "DIR");
        }
        return all;
    };
    const std::string blanked = run(blanks);
    EXPECT_NE(blanked.find("cat"), std::string::npos);
    EXPECT_EQ(run(controls), blanked);
}

TEST(Utf8TextCleared, BytesStayBytes)
{
    LocaleGuard guard("C.UTF-8");
    if (!guard.Installed()) {
        GTEST_SKIP() << "C.UTF-8 is not installed";
    }
    struct Run : EngineTest
    {
    } t;
    t.ctx.corpus.SaveSystemLocale();
    t.ctx.corpus.utf8Text = 0;
    t.ctx.corpus.SetLanguage("System");
    t.ctx.corpus.suppressHeaders = 1;
    t.ctx.corpus.SetOutputType(kOutputText);
    t.AddFile("u.txt", kCorpus);
    ASSERT_TRUE(t.RunCommand(AnalysisCommand::Wordlist).completed);
    EXPECT_EQ(t.Window(), "ber\t2\r\ncaf\t3\r\ne\t1\r\nna\t1\r\nstra\t1\r\nve\t1\r\n");
}

TEST(Utf8Scan, FirstNonAsciiIsTheFirstHighByteWhereverItStands)
{
    // Lengths around the sixteen- and sixty-four-byte rounds, the high byte
    // in every place, also in the overlapping last round.
    for (size_t n = 0; n <= 140; ++n) {
        std::string text(n, 'a');
        const auto* p = reinterpret_cast<const unsigned char*>(text.data());
        ASSERT_EQ(FirstNonAscii(p, n), n) << n;
        for (size_t at = 0; at < n; ++at) {
            text[at] = '\xc3';
            ASSERT_EQ(FirstNonAscii(p, n), at) << n << " " << at;
            if (at + 1 < n) {
                text[n - 1] = '\x80';  // a later one does not count
                ASSERT_EQ(FirstNonAscii(p, n), at) << n << " " << at;
                text[n - 1] = 'a';
            }
            text[at] = 'a';
        }
    }
}

}  // namespace
}  // namespace plix

namespace plix {
namespace {

// The same in byte-wise text, for every control character a line can hold.
TEST(ByteText, EveryControlCharacterIsBlankedWhereverItStands)
{
    test::LocaleGuard guard("C");
    std::string controls;
    std::string blanks;
    std::string text;
    while (text.size() < 200) {
        text += "the cat sat on a mat ";
    }
    std::string kinds;
    for (int c = 1; c < 0x20; ++c) {
        if (c != '\n' && c != '\r') {
            kinds += static_cast<char>(c);
        }
    }
    kinds += '\x7f';
    size_t next = 0;
    for (size_t n = 1; n <= 100; ++n) {
        // Every place in the shorter lines, so that a context piece starts
        // and ends at, just before and just after a control character.
        std::vector<size_t> places = {0, n / 3, n / 2, n - 1};
        if (n <= 60) {
            places.resize(n);
            std::iota(places.begin(), places.end(), size_t{0});
        }
        for (size_t pos : places) {
            std::string withControl = text.substr(0, n);
            std::string withBlank = withControl;
            withControl[pos] = kinds[next++ % kinds.size()];
            withBlank[pos] = ' ';
            controls += withControl + "\n";
            blanks += withBlank + "\n";
        }
    }
    auto run = [](const std::string& corpus, AnalysisCommand command) {
        test::EngineTest t;
        t.ctx.corpus.utf8Text = 0;
        t.ctx.corpus.suppressHeaders = 1;
        t.ctx.corpus.SetOutputType(kOutputText);
        t.ctx.corpus.SetLineFormat(40, 20);
        t.AddFile("c.txt", corpus);
        KeywordRequest keyword;
        keyword.keyword = "cat";
        EXPECT_TRUE(t.RunCommand(command, keyword).completed);
        return t.Window();
    };
    for (AnalysisCommand command : {AnalysisCommand::Concordance, AnalysisCommand::Collocation}) {
        const std::string blanked = run(blanks, command);
        EXPECT_NE(blanked.find("cat"), std::string::npos);
        EXPECT_EQ(run(controls, command), blanked);
    }
}

}  // namespace
}  // namespace plix
