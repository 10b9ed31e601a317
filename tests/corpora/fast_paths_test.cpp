// The handlers' quick ways through long markup-dense lines give exactly the
// answers of the plain ways: the text search of the parsed corpora, the label
// stripping of their word lists, and the tag removal of SGML text when no tag
// needs reading.
#include <gtest/gtest.h>

#include <random>

#include "corpora/find_text.h"
#include "corpora/ppcme2.h"
#include "corpora/sgml.h"
#include "settings/corpus.h"

namespace plix {
namespace {

std::string RandomText(std::mt19937& rng, const std::string& alphabet, size_t maxLength)
{
    std::uniform_int_distribution<size_t> length(0, maxLength);
    std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
    std::string text(length(rng), ' ');
    for (char& c : text) {
        c = alphabet[pick(rng)];
    }
    return text;
}

TEST(FastPaths, FindTextAgreesWithTheStandardSearch)
{
    std::mt19937 rng(7);
    const std::vector<std::string> needles = {"(ID ", "(CODE", "(", "ID", "( (CODE", "xx", ""};
    for (int round = 0; round < 3000; ++round) {
        const std::string text = RandomText(rng, "(ID CODE)x ", 90);
        for (const std::string& needle : needles) {
            for (size_t from : {size_t{0}, size_t{1}, text.size() / 2, text.size()}) {
                ASSERT_EQ(FindText(text, needle, from), std::string_view(text).find(needle, from))
                    << '"' << text << "\" \"" << needle << "\" from " << from;
            }
        }
    }
}

TEST(FastPaths, FindTwoFindsEachAsTheStandardSearchDoes)
{
    std::mt19937 rng(11);
    const std::pair<std::string, std::string> pairs[] = {
        {"(ID ", "(CODE"}, {"(CODE", "(ID "}, {"(I", "(C"}, {"(ID ", "(ID"},
        {"(ID", "(CO)"},   {"ab", "xy"},       {"(", "(C"}};
    for (int round = 0; round < 3000; ++round) {
        const std::string text = RandomText(rng, "(ID CODE)x ", 90);
        for (const auto& [a, b] : pairs) {
            const FoundTwo found = FindTwo(text, a, b);
            ASSERT_EQ(found.a, text.find(a)) << '"' << text << "\" " << a;
            ASSERT_EQ(found.b, text.find(b)) << '"' << text << "\" " << b;
        }
    }
}

TEST(FastPaths, StripLabelsAgreesWithByteByByteStripping)
{
    auto plain = [](const std::string& text) {
        std::string kept;
        bool inLabel = false;
        for (char c : text) {
            if (c == ')') {
                continue;
            }
            if (c == '(') {
                inLabel = true;
            } else if (c == ' ') {
                inLabel = false;
            }
            if (!inLabel) {
                kept += c;
            }
        }
        return kept;
    };
    std::mt19937 rng(11);
    for (int round = 0; round < 5000; ++round) {
        std::string text = RandomText(rng, "()abNP- ", 120);
        const std::string expected = plain(text);
        CPPCME2::StripLabels(text);
        ASSERT_EQ(text, expected);
    }
}

TEST(FastPaths, TagsTakenOutAsWhenEachTagIsRead)
{
    // A tag to exclude that never occurs makes every tag be read, which is
    // the plain way; without one the tags are only taken out.
    CCorpus quick;
    CCorpus reading;
    reading.sgmlTags = {"NEVERSEEN"};
    reading.sgmlTagInfo = {"NEVERSEEN"};
    reading.sgmlTagExclude = {1};
    std::mt19937 rng(13);
    // Mostly well-formed tags, as in real markup, now and then a stray mark;
    // lines longer than the windows the removal reads at once.
    const std::vector<std::string> pieces = {"<w NN1>", "word ", "ab", "</s>", "<", ">",
                                             "<c PUN>.", " ", "<w AT0\nthe"};
    auto markedText = [&](size_t most) {
        std::uniform_int_distribution<size_t> count(0, most);
        std::uniform_int_distribution<size_t> pick(0, 20);
        std::string text;
        for (size_t k = count(rng); k > 0; --k) {
            const size_t p = pick(rng);
            text += p < pieces.size() ? pieces[p] : pieces[p % 3];
        }
        return text;
    };
    for (int round = 0; round < 800; ++round) {
        // Both ways of reading the marks, where the machine has the wider one.
        CSgml::AllowWideMarksForTests(round < 400);
        CSgml a;
        CSgml b;
        CSgml c;  // no map asked for: the quickest way
        a.ResetForFile();
        b.ResetForFile();
        c.ResetForFile();
        for (int line = 0; line < 6; ++line) {
            std::string text =
                (round % 2 == 0 ? RandomText(rng, "<>ab w/", 70) : markedText(60)) + " ";
            std::string copy = text;
            std::string unmapped = text;
            c.ReadTags(quick, unmapped);
            CSgmlLineMap mapA;
            CSgmlLineMap mapB;
            // Where the tags stood can also be found afterwards from the line
            // and whether a tag ran on into it.
            CSgmlLineMap later;
            CSgml::MapTags(text, a.InTag(), later);
            a.ReadTags(quick, text, &mapA);
            ASSERT_EQ(later.tags.size(), mapA.tags.size());
            ASSERT_EQ(later.kept.size(), mapA.kept.size());
            for (size_t i = 0; i < later.tags.size(); ++i) {
                ASSERT_EQ(later.tags[i].from, mapA.tags[i].from);
                ASSERT_EQ(later.tags[i].to, mapA.tags[i].to);
            }
            b.ReadTags(reading, copy, &mapB);
            ASSERT_EQ(text, copy);
            ASSERT_EQ(unmapped, copy);
            ASSERT_EQ(mapA.kept.size(), mapB.kept.size());
            ASSERT_EQ(mapA.tags.size(), mapB.tags.size());
            for (size_t i = 0; i < mapA.tags.size(); ++i) {
                ASSERT_EQ(mapA.tags[i].from, mapB.tags[i].from);
                ASSERT_EQ(mapA.tags[i].to, mapB.tags[i].to);
            }
            for (size_t i = 0; i < mapA.kept.size(); ++i) {
                ASSERT_EQ(mapA.kept[i].from, mapB.kept[i].from);
                ASSERT_EQ(mapA.kept[i].to, mapB.kept[i].to);
            }
        }
    }
    CSgml::AllowWideMarksForTests(true);
}

}  // namespace
}  // namespace plix
