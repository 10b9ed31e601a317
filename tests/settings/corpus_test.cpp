#include "settings/corpus.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "support/test_support.h"

namespace plix {
namespace {

TEST(CorpusRecord, NewRecordHasTheInitialValues)
{
    CCorpus c;
    EXPECT_EQ(c.GetCorpusType(), kTypeText);
    EXPECT_EQ(c.GetOutputType(), kOutputText);
    EXPECT_EQ(c.GetLineLength(), 100);
    EXPECT_EQ(c.GetKeywordPosition(), 50);
    EXPECT_EQ(c.GetInfoStart(), 1);
    EXPECT_EQ(c.GetInfoEnd(), 1);
    EXPECT_EQ(c.ignoreCase, 1);
    EXPECT_EQ(c.countNumbers, 1);
    EXPECT_EQ(c.bncPosOutput, 1);
    EXPECT_EQ(c.GetLanguage(), "System");
    EXPECT_EQ(c.systemLocale, "C");
    EXPECT_EQ(c.GetFileCount(), 0);
    // The derived strings only exist after the first SetOutputType.
    EXPECT_EQ(c.separator, "");
    c.SetOutputType(kOutputText);
    EXPECT_EQ(c.separator, " ");
}

TEST(CorpusRecord, SetCorpusTypeSideEffects)
{
    struct Case
    {
        int code;
        int expectType, expectStart, expectEnd;
        const char* expectDiacritics;
    };
    const Case cases[] = {
        {7, 7, 1, 9, "xy"},     {8, 8, 1, 8, "xy"},     {9, 9, 1, 8, "xy"},
        {3, 3, 4, 6, "xy"},     {12, 12, 4, 6, "&+=~`"}, {4, 4, 4, 6, "&+=~`"},
        {11, 11, 4, 6, "&+=~`"}, {13, 13, 4, 6, "&+=~`"}, {14, 14, 4, 6, "&+=~`"},
        {5, 5, 4, 6, "xy"},     {6, 6, 4, 6, "xy"},     {19, 2, 4, 6, "xy"},
        {-1, 2, 4, 6, "xy"},
    };
    for (const Case& k : cases) {
        CCorpus c;
        c.SetCorpusType(2);
        c.SetInfoRange(4, 6);
        c.diacritics = "xy";
        c.SetCorpusType(k.code);
        EXPECT_EQ(c.GetCorpusType(), k.expectType) << k.code;
        EXPECT_EQ(c.GetInfoStart(), k.expectStart) << k.code;
        EXPECT_EQ(c.GetInfoEnd(), k.expectEnd) << k.code;
        EXPECT_EQ(c.diacritics, k.expectDiacritics) << k.code;
    }
}

TEST(CorpusRecord, ChoosingATypeFillsOrExtendsTheDiacritics)
{
    // The "Type" page's rule, and what plix-cli's --type makes of it together
    // with SetCorpusType (the record starting with the text given).
    struct Case
    {
        int code;
        const char* before;
        const char* onThePage;
        const char* chosenAlone;
    };
    const Case cases[] = {
        {kTypeHelsinki, "", "&+=~`", "&+=~`"},
        {kTypeHelsinki, "ab", "ab&+=~`", "&+=~`"},
        {kTypeHelsinki, "ab&+=~`", "ab&+=~`&+=~`", "&+=~`"},
        {kTypeHelsinki, "&+=~`", "&+=~`", "&+=~`"},
        {kTypePpcme1, "ab", "ab&+=~`", "&+=~`"},
        {kTypeHelsinkiScots, "", "&+=~`", "&+=~`"},
        {kTypeHelsinkiScots, "ab", "ab", "ab"},
        {kTypeCeecs, "", "&+=~`", "&+=~`"},
        {kTypePpcme2, "", "", "&+=~`"},
        {kTypeBrooklyn, "ab", "ab", "&+=~`"},
        {kTypeYorkTorontoHelsinki, "", "", "&+=~`"},
        {kTypeCocoa, "ab", "ab", "ab"},
        {kTypeText, "", "", ""},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(DiacriticsAfterChoosing(k.code, k.before), k.onThePage) << k.code << k.before;
        CCorpus c;
        c.diacritics = k.before;
        ChooseCorpusType(c, k.code);
        EXPECT_EQ(c.GetCorpusType(), k.code);
        EXPECT_EQ(c.diacritics, k.chosenAlone) << k.code << k.before;
    }
}

TEST(CorpusRecord, OutputTypeDerivesSeparatorAndQuotes)
{
    struct Case
    {
        int code;
        const char *sep, *open, *close;
    };
    const Case cases[] = {
        {0, " ", "", ""}, {1, ",", "\"", "\""}, {2, "\t", "", ""},
        {3, ":", "", ""}, {4, " ", "", ""},     {5, " ", "[", "]"},
    };
    for (const Case& k : cases) {
        CCorpus c;
        c.SetMarks("[", "]");
        c.SetOutputType(k.code);
        EXPECT_EQ(c.separator, k.sep) << k.code;
        EXPECT_EQ(c.openQuote, k.open) << k.code;
        EXPECT_EQ(c.closeQuote, k.close) << k.code;
    }
}

TEST(CorpusRecord, MarksTakeEffectOnlyAtTheNextSetOutputType)
{
    CCorpus c;
    c.SetOutputType(kOutputOther);
    c.SetMarks("<<", ">>");
    EXPECT_EQ(c.FormatField("v"), "v ");
    c.SetOutputType(kOutputOther);
    EXPECT_EQ(c.FormatField("v"), "<<v>> ");
    c.SetOutputType(6);  // out of range: nothing changes
    EXPECT_EQ(c.GetOutputType(), kOutputOther);
    EXPECT_EQ(c.FormatField("v"), "<<v>> ");
}

TEST(CorpusRecord, WordCharactersFollowNumbersAndDiacritics)
{
    CCorpus c;
    EXPECT_TRUE(c.IsWordChar('a'));
    EXPECT_TRUE(c.IsWordChar('7'));
    EXPECT_FALSE(c.IsWordChar('-'));
    EXPECT_FALSE(c.IsWordChar(0));
    c.countNumbers = 0;
    EXPECT_FALSE(c.IsWordChar('7'));
    c.diacritics = "7-\xe9";
    EXPECT_TRUE(c.IsWordChar('7'));
    EXPECT_TRUE(c.IsWordChar('-'));
    EXPECT_TRUE(c.IsWordChar(0xe9));  // a code-page letter given as a diacritic
    EXPECT_FALSE(c.IsWordChar(0));    // the terminator of the diacritics is not one of them
}

TEST(CorpusRecord, KeywordHistoryPushAppendAndGet)
{
    CCorpus c;
    c.PushHistoryKeyword("A");
    c.PushHistoryKeyword("A");
    EXPECT_EQ(c.keywordHistory, (std::vector<std::string>{"A"}));
    c.PushHistoryKeyword("B");
    c.PushHistoryKeyword("A");
    EXPECT_EQ(c.keywordHistory, (std::vector<std::string>{"A", "B", "A"}));
    c.PushHistoryKeyword("");
    c.PushHistoryKeyword("");
    EXPECT_EQ(c.keywordHistory.size(), 4u);
    EXPECT_EQ(c.GetHistoryKeyword(0), "");
    EXPECT_EQ(c.GetHistoryKeyword(99), "");
    CCorpus d;
    d.AppendHistoryKeyword("x");
    d.AppendHistoryKeyword("");
    d.AppendHistoryKeyword("y");
    EXPECT_EQ(d.keywordHistory, (std::vector<std::string>{"x", "y"}));
    for (int i = 0; i < 40; ++i) {
        d.PushHistoryKeyword("k" + std::to_string(i));
    }
    EXPECT_EQ(d.keywordHistory.size(), 42u);  // no limit while the program runs
}

TEST(CorpusRecord, ReverseKeywordSwapsTheMatchSwitches)
{
    CCorpus c;
    c.keyword = "ing";
    c.matchRight = 1;
    c.ReverseKeyword();
    EXPECT_EQ(c.keyword, "gni");
    EXPECT_EQ(c.matchLeft, 1);
    EXPECT_EQ(c.matchRight, 0);
}

TEST(CorpusRecord, ReverseKeywordKeepsDoubleByteCharactersWhole)
{
    test::LocaleGuard japanese("ja_JP.eucJP");
    if (!japanese.Installed()) {
        GTEST_SKIP() << "ja_JP.eucJP is not installed";
    }
    CCorpus c;
    c.keyword = "a\xa4\xa2" "b";  // a, HIRAGANA A (two bytes), b
    c.ReverseKeyword();
    EXPECT_EQ(c.keyword, "b\xa4\xa2" "a");
}

TEST(CorpusRecord, ReferenceFormattersPerOutputType)
{
    struct Case
    {
        int type;
        const char *reference, *heading, *field, *tagged, *last, *occurrence;
    };
    const Case cases[] = {
        {0, "(12) ", "(line) ", "v ", "v ", "v", "Occurrence"},
        {1, "\"12\",", "\"line\",", "\"v\",", "\"v\",", "\"v\"", "\"Occurrence\""},
        {2, "12\t", "line\t", "v\t", "v\t", "v", "Occurrence"},
        {3, "a.txt(12):", "filename(line):", "v:", "v:", "v", "Occurrence"},
        {4, "<hit file=\"a.txt\" line=\"12\">", "", "", "<t>v</t>", "v</hit>", ""},
        {5, "[12] ", "[line] ", "[v] ", "[v] ", "[v]", "[Occurrence]"},
    };
    for (const Case& k : cases) {
        CCorpus c;
        c.SetMarks("[", "]");
        c.SetOutputType(k.type);
        EXPECT_EQ(c.FormatReference(12, "a.txt"), k.reference) << k.type;
        EXPECT_EQ(c.GetLineHeading(), k.heading) << k.type;
        EXPECT_EQ(c.FormatField("v"), k.field) << k.type;
        EXPECT_EQ(c.FormatTaggedField("v", "t"), k.tagged) << k.type;
        EXPECT_EQ(c.FormatLastField("v"), k.last) << k.type;
        EXPECT_EQ(c.GetOccurrenceHeading(), k.occurrence) << k.type;
    }
}

TEST(CorpusList, DefaultOutputPathReplacesTheExtension)
{
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\texts\\a.txt", "C:\\texts\\a.plx"},
        {"C:\\old.texts\\notes", "C:\\old.plx"},
        {"README", "README.plx"},
        {".profile", ".profile.plx"},
        {"/home/me/corpus/a.b.txt", "/home/me/corpus/a.b.plx"},
    };
    for (const auto& [input, output] : cases) {
        EXPECT_EQ(CCorpus::DefaultOutputPath(input), output) << input;
    }
}

TEST(CorpusList, EntriesAndOutOfRangeIndexes)
{
    CCorpus c;
    c.AddInputFile("a.txt");
    c.AddOutputFile("a.plx");
    c.AddInputFile("b.txt");
    c.AddOutputFile("b.plx");
    EXPECT_EQ(c.GetFileCount(), 2);
    EXPECT_EQ(c.GetInputFile(1), "b.txt");
    EXPECT_EQ(c.GetOutputFile(0), "a.plx");
    EXPECT_EQ(c.GetInputFile(2), "");
    EXPECT_EQ(c.GetOutputFile(2), "");
    c.SetFiles({"x"}, {"y"});
    EXPECT_EQ(c.GetFileCount(), 1);
    EXPECT_EQ(c.GetInputFile(1), "");
}

TEST(CorpusLocale, EveryListEntryInstallsALocale)
{
    CCorpus c;
    c.SaveSystemLocale();
    for (const std::string& name : LocaleNames()) {
        c.SetLanguage(name);
        EXPECT_EQ(c.GetLanguage(), name) << "no locale installed for " << name;
    }
    c.SetLanguage("ASCII");
    EXPECT_STREQ(setlocale(LC_ALL, nullptr), "C");
    std::setlocale(LC_ALL, "C");
}

TEST(CorpusLocale, RefusedNameFallsBackToTheStartupLocale)
{
    CCorpus c;
    c.SaveSystemLocale();
    c.SetLanguage("Klingon");
    EXPECT_EQ(c.GetLanguage(), "System");
    EXPECT_EQ(std::string(setlocale(LC_ALL, nullptr)), c.systemLocale);
}

TEST(CorpusLocale, LanguageGovernsCharactersAndCollationOnly)
{
    test::LocaleGuard started("de_DE.UTF-8");
    ASSERT_TRUE(started.Installed());
    const std::string reason = std::strerror(ENOENT);
    CCorpus c;
    c.SaveSystemLocale();
    struct Case
    {
        const char* language;
        const char* installed;  // LC_CTYPE and LC_COLLATE afterwards
    };
    const Case cases[] = {
        {"Polish", "pl_PL.ISO-8859-2"}, {"ASCII", "C"},
        {"Klingon", "de_DE.UTF-8"},     {"Polish", "pl_PL.ISO-8859-2"},
        {"System", "de_DE.UTF-8"},
    };
    for (const Case& k : cases) {
        c.SetLanguage(k.language);
        EXPECT_STREQ(setlocale(LC_CTYPE, nullptr), k.installed) << k.language;
        EXPECT_STREQ(setlocale(LC_COLLATE, nullptr), k.installed) << k.language;
        // The system's messages, numbers and the rest stay as started.
        for (int category : {LC_MESSAGES, LC_NUMERIC, LC_TIME, LC_MONETARY}) {
            EXPECT_STREQ(setlocale(category, nullptr), "de_DE.UTF-8") << k.language;
        }
        EXPECT_EQ(std::strerror(ENOENT), reason) << k.language;
    }
}

TEST(CorpusLocale, LanguagesUseTheirLegacyCodePageFirst)
{
    EXPECT_EQ(LocaleCandidates("ASCII"), (std::vector<std::string>{"C"}));
    EXPECT_EQ(LocaleCandidates("Polish").front(), "pl_PL.ISO-8859-2");
    EXPECT_EQ(LocaleCandidates("French").front(), "fr_FR.ISO-8859-1");
    test::LocaleGuard english("en_US.ISO-8859-1");
    if (english.Installed()) {
        CCorpus c;
        c.diacritics.clear();
        EXPECT_TRUE(c.IsWordChar(0xe9));  // e acute is a letter in Latin-1
    }
}

TEST(CorpusLocale, Utf8TextInstallsEachLanguagesUtf8Locale)
{
    struct Case
    {
        const char* startUp;
        const char* language;
        const char* installed;
        const char* stored;  // the language the record keeps
    };
    const Case cases[] = {
        {"C", "English", "en_US.UTF-8", "English"},
        {"C", "German", "de_DE.UTF-8", "German"},
        {"C", "Japanese", "ja_JP.UTF-8", "Japanese"},
        {"C", "Norwegian", "nb_NO.UTF-8", "Norwegian"},
        {"C", "ASCII", "C.UTF-8", "ASCII"},
        // "System" is the start-up locale only when that one reads UTF-8.
        {"C", "System", "C.UTF-8", "System"},
        {"de_DE.ISO-8859-1", "System", "C.UTF-8", "System"},
        {"de_DE.UTF-8", "System", "de_DE.UTF-8", "System"},
        {"de_DE.UTF-8", "Klingon", "de_DE.UTF-8", "System"},
        {"C", "Klingon", "C.UTF-8", "System"},
    };
    for (const Case& k : cases) {
        test::LocaleGuard started(k.startUp);
        ASSERT_TRUE(started.Installed()) << k.startUp;
        CCorpus c;
        c.SaveSystemLocale();
        c.utf8Text = 1;
        c.SetLanguage(k.language);
        EXPECT_STREQ(setlocale(LC_CTYPE, nullptr), k.installed) << k.startUp << " " << k.language;
        EXPECT_STREQ(setlocale(LC_COLLATE, nullptr), k.installed) << k.language;
        EXPECT_EQ(c.GetLanguage(), k.stored) << k.startUp << " " << k.language;
        EXPECT_TRUE(c.ReadsUtf8()) << k.language;
        // Cleared again, the entry gets its legacy code page back.
        c.utf8Text = 0;
        c.SetLanguage("German");
        EXPECT_STREQ(setlocale(LC_CTYPE, nullptr), "de_DE.ISO-8859-1");
        EXPECT_FALSE(c.ReadsUtf8());
    }
}

TEST(CorpusLocale, Utf8KeywordReversesByCharacter)
{
    test::LocaleGuard started("C.UTF-8");
    ASSERT_TRUE(started.Installed());
    CCorpus c;
    c.SaveSystemLocale();
    c.utf8Text = 1;
    c.SetLanguage("System");
    c.keyword = "жук日é";
    c.matchRight = 1;
    c.ReverseKeyword();
    EXPECT_EQ(c.keyword, "é日куж");
    EXPECT_EQ(c.matchLeft, 1);
    EXPECT_EQ(c.matchRight, 0);
}

}  // namespace
}  // namespace plix
