// In UTF-8 text the word operators and \w / \W see the program's word
// characters: the diacritics, numbers counted or not, combining marks with
// their letter, stray bytes as no word character.
#include "match/gnu.h"
#include "match/translate.h"
#include "match/word_program.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

#include <random>
#include <string>
#include <vector>

namespace plix {
namespace {

struct Answer
{
    long offset = -1;
    std::size_t length = 0;
    bool operator==(const Answer& other) const
    {
        return offset == other.offset && length == other.length;
    }
};

Answer Search(const CGNU& gnu, const std::string& text, std::size_t start = 0)
{
    Answer answer;
    answer.offset = gnu.SearchKeyword(text, start, answer.length);
    return answer;
}

TEST(RegexWordOperators, FollowTheProgramsWordCharacters)
{
    struct Case
    {
        RegexWordCharacters words;
        std::string pattern;
        std::string text;
        long offset;
        std::size_t length;
    };
    const std::string acute = "e\xCC\x81";  // e + combining acute accent
    const Case cases[] = {
        // An apostrophe among the diacritics keeps "don't" one word.
        {{true, "'"}, "\\<t\\>", "don't t", 6, 1},
        {{true, ""}, "\\<t\\>", "don't t", 4, 1},
        {{true, "'"}, "\\w+", "'twas", 0, 5},
        {{true, "'"}, "\\bdon't\\b", "x don't.", 2, 5},
        // A middle dot from 128 up as a diacritic.
        {{true, "·"}, "\\<l\\>", "l·l l", 5, 1},
        {{true, "·"}, "l\\B", "l·", 0, 1},
        // Numbers counted or not.
        {{false, ""}, "\\bcafé\\b", "café2", 0, 5},
        {{true, ""}, "\\bcafé\\b", "café2", -1, 0},
        {{false, ""}, "\\<b", "2b", 1, 1},
        {{true, ""}, "\\<b", "2b b", 3, 1},
        {{false, ""}, "\\W", "é1", 2, 1},
        {{true, ""}, "\\W", "é1 ", 3, 1},
        // A combining mark belongs to the letter before it.
        {{true, ""}, "caf" + acute + "\\>", "caf" + acute + " x", 0, 6},
        {{true, ""}, "cafe\\>", "caf" + acute + " cafe", 7, 4},
        {{true, ""}, "\\w+", "caf" + acute + "s", 0, 7},
        {{true, ""}, "\\W$", " \xCC\x81", 1, 2},
        // A stray byte is no word character, whatever its value reads as in Latin-1.
        {{true, ""}, "a\\>", "a\xE9z", 0, 1},
        {{true, ""}, "\\<z", "a\xE9z", 2, 1},
        {{true, ""}, "\\W", "ab\xE9", 2, 1},
        {{true, ""}, "a\xE9\\<", "a\xE9z", 0, 2},
        // "_" is no word character.
        {{true, ""}, "\\<b", "a_b", 2, 1},
        // Cyrillic and Japanese.
        {{true, ""}, "\\<жук\\>", "жуки жук", 9, 6},
        {{true, ""}, "\\B本", "日本 本", 3, 3},
        // \b holds at the end of the text, not at its start before a non-word.
        {{true, ""}, "\\.\\b", "é.", 2, 1},
        {{true, ""}, "\\b.", ".é", 1, 2},
        // Back-references see the same word characters.
        {{true, "'"}, "(\\w+) \\1", "don't don't", 0, 11},
        {{true, ""}, "(\\w+) \\1", "don't don't", -1, 0},
        {{true, ""}, "\\<(\\w+) \\1\\>", "caf" + acute + " caf" + acute + " cafe", 0, 13},
        {{true, ""}, "\\<(\\w+) \\1\\>", "cafe cafe" + acute, -1, 0},
        {{false, ""}, "\\<(\\w+)\\>.\\1", "ab2ab", 0, 5},
        {{true, ""}, "(\\w)\\1\\>", "жжуу", 4, 4},
        // Empty matches are reported as length 1.
        {{true, ""}, "\\<", "  ab", 2, 1},
        {{true, ""}, "\\>", "ab ", 2, 1},
    };
    for (const char* name : {"en_US.UTF-8", "C.UTF-8"}) {
        test::LocaleGuard guard(name);
        if (!guard.Installed()) {
            continue;
        }
        for (const Case& c : cases) {
            CGNU gnu;
            ASSERT_EQ(gnu.CompileKeyword(c.pattern, c.words), "") << c.pattern;
            const Answer answer = Search(gnu, c.text);
            EXPECT_EQ(answer.offset, c.offset) << name << " " << c.pattern << " in " << c.text;
            EXPECT_EQ(answer.length, c.length) << name << " " << c.pattern << " in " << c.text;
        }
    }
}

TEST(RegexWordOperators, TextBeforeTheStartIsContext)
{
    test::LocaleGuard guard("C.UTF-8");
    if (!guard.Installed()) {
        GTEST_SKIP();
    }
    CGNU gnu;
    ASSERT_EQ(gnu.CompileKeyword("\\<é", {true, ""}), "");
    const std::string text = "éé é";
    EXPECT_EQ(Search(gnu, text, 2), (Answer{5, 2}));
    EXPECT_EQ(Search(gnu, text, 0), (Answer{0, 2}));
    // A start inside a character moves to the next one.
    EXPECT_EQ(Search(gnu, text, 1), (Answer{5, 2}));
    ASSERT_EQ(gnu.CompileKeyword("^\\w", {true, ""}), "");
    EXPECT_EQ(Search(gnu, text, 2), (Answer{-1, 0}));
}

TEST(RegexWordOperators, BackReferencesOnLongLinesAreFoundEveryTime)
{
    test::LocaleGuard guard("C.UTF-8");
    if (!guard.Installed()) {
        GTEST_SKIP();
    }
    std::string line;
    for (int i = 0; i < 2500; ++i) {
        line += i % 2 == 0 ? "würde " : "Жук ";
    }
    const std::size_t hit = line.size();
    line += "the the";
    CGNU gnu;
    ASSERT_EQ(gnu.CompileKeyword("\\<(\\w+) \\1\\>", {true, ""}), "");
    for (int run = 0; run < 3; ++run) {
        EXPECT_EQ(Search(gnu, line), (Answer{static_cast<long>(hit), 7}));
    }
    EXPECT_TRUE(gnu.TakeGaveUpNotes().empty());
}

TEST(RegexWordOperators, BacktrackingThatRunsOutOfWorkIsReported)
{
    test::LocaleGuard guard("C.UTF-8");
    if (!guard.Installed()) {
        GTEST_SKIP();
    }
    // Every split of the a's into turns is another way to try, and three
    // copies of the last turn never make the five a's after the "b".
    CGNU gnu;
    const char* pattern = "\\<(a|aa)*b\\1\\1\\1c";
    ASSERT_EQ(gnu.CompileKeyword(pattern, {true, ""}), "");
    const std::string line = std::string(60, 'a') + "baaaaac";
    EXPECT_EQ(Search(gnu, line), (Answer{-1, 0}));
    const std::vector<std::string> notes = gnu.TakeGaveUpNotes();
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes.front(), RegexGaveUpNote(pattern));
    // The same search from the same place gives up the same way every time.
    EXPECT_EQ(Search(gnu, line), (Answer{-1, 0}));
    EXPECT_EQ(gnu.TakeGaveUpNotes().size(), 1u);
}

// Over ASCII text without "_" the program's word characters (letters and
// digits) are the byte-wise ones, so the UTF-8 answers must equal those of
// the library in "C", for every start offset.
TEST(RegexWordOperators, AsciiAnswersEqualTheByteWiseOnes)
{
    const char* const pieces[] = {"a", "b", " ", "1", ".", "[ab]", "[^a]", "\\b", "\\B", "\\<",
                                  "\\>", "\\w", "\\W", "^", "$", "*", "+", "?", "|", "(", ")", "\\1", "\\2"};
    std::mt19937 random(7);
    std::vector<std::string> patterns;
    for (int i = 0; i < 1500; ++i) {
        std::string pattern;
        const int length = 1 + static_cast<int>(random() % 7);
        int open = 0;
        for (int k = 0; k < length; ++k) {
            std::string piece = pieces[random() % std::size(pieces)];
            if (piece == ")" && open == 0) {
                piece = "a";
            }
            open += piece == "(" ? 1 : piece == ")" ? -1 : 0;
            pattern += piece;
        }
        pattern.append(static_cast<std::size_t>(open), ')');
        if (pattern.find("\\w") == std::string::npos && pattern.find("\\W") == std::string::npos &&
            pattern.find("\\b") == std::string::npos && pattern.find("\\B") == std::string::npos &&
            pattern.find("\\<") == std::string::npos && pattern.find("\\>") == std::string::npos) {
            pattern += "\\b";
        }
        patterns.push_back(pattern);
    }
    std::vector<std::string> texts;
    const char alphabet[] = {'a', 'b', ' ', '1', '.'};
    for (int i = 0; i < 30; ++i) {
        std::string text;
        const int length = 1 + static_cast<int>(random() % 12);
        for (int k = 0; k < length; ++k) {
            text += alphabet[random() % sizeof alphabet];
        }
        texts.push_back(text);
    }
    std::vector<Answer> expected;
    {
        test::LocaleGuard guard("C");
        for (const std::string& pattern : patterns) {
            CGNU gnu;
            const bool compiled = gnu.CompileKeyword(pattern).empty();
            for (const std::string& text : texts) {
                for (std::size_t start = 0; start < text.size(); ++start) {
                    expected.push_back(compiled ? Search(gnu, text, start) : Answer{-2, 0});
                }
            }
        }
    }
    test::LocaleGuard guard("C.UTF-8");
    if (!guard.Installed()) {
        GTEST_SKIP();
    }
    std::size_t next = 0;
    int mismatches = 0;
    for (const std::string& pattern : patterns) {
        CGNU gnu;
        const bool compiled = gnu.CompileKeyword(pattern).empty();
        for (const std::string& text : texts) {
            for (std::size_t start = 0; start < text.size(); ++start) {
                const Answer answer = compiled ? Search(gnu, text, start) : Answer{-2, 0};
                if (!(answer == expected[next++]) && ++mismatches <= 10) {
                    ADD_FAILURE() << "\"" << pattern << "\" in \"" << text << "\" from " << start
                                  << ": " << answer.offset << "/" << answer.length << ", in C "
                                  << expected[next - 1].offset << "/"
                                  << expected[next - 1].length;
                }
            }
        }
    }
}

// The program's own run of a pattern reads UTF-8 characters as the library
// does: over accented, Cyrillic and Japanese text, patterns without word
// operators (which the library runs) give the same answers run either way.
TEST(RegexWordOperators, CharactersAreReadAsTheLibraryReadsThem)
{
    test::LocaleGuard guard("C.UTF-8");
    if (!guard.Installed()) {
        GTEST_SKIP();
    }
    const char* const pieces[] = {"a", "é", "ж", "日", ".", "[éж]", "[а-я]", "[^a]", "[^é日]",
                                  "*", "+", "?", "|", "(", ")", "^", "$", "é+"};
    const char* const letters[] = {"a", "é", "ж", "日", "я", " ", "б"};
    std::mt19937 random(5);
    std::vector<std::string> texts;
    for (int i = 0; i < 25; ++i) {
        std::string text;
        for (int k = 1 + static_cast<int>(random() % 10); k > 0; --k) {
            text += letters[random() % std::size(letters)];
        }
        texts.push_back(text);
    }
    int mismatches = 0;
    for (int i = 0; i < 600; ++i) {
        std::string pattern;
        int open = 0;
        for (int k = 1 + static_cast<int>(random() % 7); k > 0; --k) {
            std::string piece = pieces[random() % std::size(pieces)];
            if (piece == ")" && open == 0) {
                piece = "ж";
            }
            open += piece == "(" ? 1 : piece == ")" ? -1 : 0;
            pattern += piece;
        }
        pattern.append(static_cast<std::size_t>(open), ')');
        CGNU gnu;
        if (!gnu.CompileKeyword(pattern).empty()) {
            continue;
        }
        RegexCharacters characters;
        characters.utf8 = true;
        characters.alwaysProgram = true;
        const RegexTranslation translation = TranslateRegex(pattern, characters);
        ASSERT_TRUE(translation.program != nullptr) << pattern;
        RegexProgramScratch scratch;
        for (const std::string& text : texts) {
            for (std::size_t start = 0; start < text.size(); ++start) {
                if ((static_cast<unsigned char>(text[start]) & 0xC0) == 0x80) {
                    continue;  // inside a character
                }
                const Answer library = Search(gnu, text, start);
                Answer own;
                own.offset = SearchRegexProgram(*translation.program, text, start, own.length, scratch);
                if (own.offset >= 0) {
                    own.length = std::max<std::size_t>(own.length, 1);
                }
                if (!(own == library) && ++mismatches <= 10) {
                    ADD_FAILURE() << "\"" << pattern << "\" in \"" << text << "\" from " << start
                                  << ": " << own.offset << "/" << own.length << ", library "
                                  << library.offset << "/" << library.length;
                }
            }
        }
    }
}

}  // namespace
}  // namespace plix
