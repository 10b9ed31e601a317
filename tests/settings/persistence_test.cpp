// Loading and saving the settings record against an in-memory store: the value
// names and kinds, the defaults, the numbered entries when the list shrinks or
// grows, the history slots, the load order's effects, and damaged stores.
#include "settings/persistence.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <vector>

#include "settings/settings_keys.h"

namespace plix {
namespace {

CCorpus RecordWithFiles(int count)
{
    CCorpus c;
    for (int i = 1; i <= count; ++i) {
        c.AddInputFile("/corpus/file" + std::to_string(i) + ".txt");
        c.AddOutputFile("/out/file" + std::to_string(i) + ".plx");
    }
    return c;
}

// Every save writes to, and deletes from, this log in the order it does so.
class RecordingStore : public CMemorySettingsStore
{
public:
    void WriteInt(const std::string& section, const std::string& name, int value) override
    {
        log.push_back("int " + section + "/" + name);
        CMemorySettingsStore::WriteInt(section, name, value);
    }
    void WriteString(const std::string& section, const std::string& name,
                     const std::string& value) override
    {
        log.push_back("string " + section + "/" + name);
        CMemorySettingsStore::WriteString(section, name, value);
    }
    void Delete(const std::string& section, const std::string& name) override
    {
        log.push_back("delete " + section + "/" + name);
        CMemorySettingsStore::Delete(section, name);
    }
    std::vector<std::string> log;
};

TEST(Persistence, SavesEveryValueUnderItsNameAndKind)
{
    CCorpus c = RecordWithFiles(2);
    c.SetOutputAsFiles(1);
    c.SetAsWhole(1);
    c.language = "ASCII";
    c.SetCorpusType(kTypeFixed);
    c.SetMarks("[", "]");
    c.SetOutputType(kOutputOther);
    c.SetLineFormat(120, 60);
    c.SetInfoRange(4, 17);
    c.PushHistoryKeyword("older");
    c.PushHistoryKeyword("newest");

    CMemorySettingsStore store;
    SaveSettings(c, store);

    struct Expect
    {
        const char* section;
        std::string name;
        const char* text;
    };
    const Expect expected[] = {
        {"CorpusList", "Max", "2"},
        {"CorpusList", "File", "1"},
        {"CorpusList", "Language", "ASCII"},
        {"CorpusList", "Whole", "1"},
        {"Input", "Input1", "/corpus/file1.txt"},
        {"Input", "Input2", "/corpus/file2.txt"},
        {"Output", "Output1", "/out/file1.plx"},
        {"Output", "Output2", "/out/file2.plx"},
        {"Type", "Type", "3"},
        {"Type", "Format", "5"},
        {"Type", "Len", "120"},
        {"Type", "Pos", "60"},
        {"Type", "Start", "4"},
        {"Type", "End", "17"},
        {"Type", "StartMark", "["},
        {"Type", "EndMark", "]"},
        {"KeywordList", "Keyword1", "newest"},
        {"KeywordList", "Keyword2", "older"},
        {"KeywordList", "Keyword3", ""},
        {"KeywordList", "Keyword15", ""},
    };
    for (const Expect& e : expected) {
        ASSERT_TRUE(store.Has(e.section, e.name)) << e.section << "/" << e.name;
        EXPECT_EQ(store.values.at({e.section, e.name}), e.text) << e.section << "/" << e.name;
    }
    EXPECT_FALSE(store.Has("KeywordList", "Keyword16"));
    EXPECT_FALSE(store.Has("Input", "Input3"));
}

TEST(Persistence, RoundTripKeepsThePersistedFields)
{
    CCorpus saved = RecordWithFiles(3);
    saved.outputFiles[1] = "/elsewhere/chosen.res";
    saved.SetOutputAsFiles(1);
    saved.SetAsWhole(0);
    saved.SetCorpusType(kTypeIce);
    saved.SetMarks("<<", ">>");
    saved.SetOutputType(kOutputOther);
    saved.SetLineFormat(30, 50);  // the format dialog can leave the position past the length
    saved.SetInfoRange(2, 40);
    for (const char* k : {"c", "b\xe9", "a"}) {
        saved.PushHistoryKeyword(k);
    }
    CMemorySettingsStore store;
    SaveSettings(saved, store);

    CCorpus loaded;
    LoadSettings(loaded, store);
    EXPECT_EQ(loaded.GetFileCount(), 3);
    EXPECT_EQ(loaded.inputFiles, saved.inputFiles);
    EXPECT_EQ(loaded.outputFiles, saved.outputFiles);
    EXPECT_EQ(loaded.GetOutputAsFiles(), 1);
    EXPECT_EQ(loaded.GetAsWhole(), 0);
    EXPECT_EQ(loaded.GetLanguage(), "System");
    EXPECT_EQ(loaded.GetCorpusType(), kTypeIce);
    EXPECT_EQ(loaded.GetOutputType(), kOutputOther);
    // The marks were in place before the output type copied them.
    EXPECT_EQ(loaded.openQuote, "<<");
    EXPECT_EQ(loaded.closeQuote, ">>");
    EXPECT_EQ(loaded.GetLineLength(), 30);
    EXPECT_EQ(loaded.GetKeywordPosition(), 50);
    EXPECT_EQ(loaded.GetInfoStart(), 2);
    EXPECT_EQ(loaded.GetInfoEnd(), 40);
    EXPECT_EQ(loaded.keywordHistory, (std::vector<std::string>{"a", "b\xe9", "c"}));
}

TEST(Persistence, EmptyStoreLoadsTheInitialRecord)
{
    CMemorySettingsStore store;
    CCorpus c;
    LoadSettings(c, store);
    EXPECT_EQ(c.GetFileCount(), 0);
    EXPECT_TRUE(c.inputFiles.empty());
    EXPECT_EQ(c.GetOutputAsFiles(), 0);
    EXPECT_EQ(c.GetAsWhole(), 0);
    EXPECT_EQ(c.GetLanguage(), "System");
    EXPECT_EQ(c.GetCorpusType(), kTypeText);
    EXPECT_EQ(c.GetOutputType(), kOutputText);
    EXPECT_EQ(c.separator, " ");
    EXPECT_EQ(c.GetLineLength(), 100);
    EXPECT_EQ(c.GetKeywordPosition(), 50);
    EXPECT_EQ(c.GetInfoStart(), 1);
    EXPECT_EQ(c.GetInfoEnd(), 1);
    EXPECT_TRUE(c.keywordHistory.empty());
}

TEST(Persistence, NumberedEntriesFollowTheListSize)
{
    struct Case
    {
        int before;
        int after;
    };
    for (const Case k : {Case{5, 2}, Case{2, 5}, Case{3, 0}, Case{4, 4}}) {
        CMemorySettingsStore store;
        SaveSettings(RecordWithFiles(k.before), store);
        SaveSettings(RecordWithFiles(k.after), store);
        for (int i = 1; i <= 6; ++i) {
            const bool kept = i <= k.after;
            EXPECT_EQ(store.Has("Input", keys::InputValue(i)), kept)
                << k.before << "->" << k.after << " Input" << i;
            EXPECT_EQ(store.Has("Output", keys::OutputValue(i)), kept)
                << k.before << "->" << k.after << " Output" << i;
        }
        CCorpus loaded;
        LoadSettings(loaded, store);
        EXPECT_EQ(loaded.inputFiles, RecordWithFiles(k.after).inputFiles);
    }
}

TEST(Persistence, GrowingDeletesNothing)
{
    CMemorySettingsStore store;
    SaveSettings(RecordWithFiles(2), store);
    store.WriteString("Input", "Input9", "left by someone else");
    SaveSettings(RecordWithFiles(5), store);
    EXPECT_TRUE(store.Has("Input", "Input9"));
}

TEST(Persistence, SaveOrderDeletesFirstAndWritesSectionBySection)
{
    RecordingStore store;
    SaveSettings(RecordWithFiles(2), store);
    store.log.clear();
    SaveSettings(RecordWithFiles(1), store);
    std::vector<std::string> expected = {"delete Input/Input2",
                                         "delete Output/Output2",
                                         "int CorpusList/Max",
                                         "int CorpusList/File",
                                         "string CorpusList/Language",
                                         "int CorpusList/Whole",
                                         "int Type/Type",
                                         "int Type/Format",
                                         "int Type/Len",
                                         "int Type/Pos",
                                         "int Type/Start",
                                         "int Type/End",
                                         "string Type/StartMark",
                                         "string Type/EndMark", "int Type/UTF8",
                                         "string Input/Input1",
                                         "string Output/Output1"};
    for (int i = 1; i <= 15; ++i) {
        expected.push_back("string KeywordList/Keyword" + std::to_string(i));
    }
    EXPECT_EQ(store.log, expected);
}

TEST(Persistence, ShortHistorySavesEmptySlotsThatLoadAsNothing)
{
    struct Case
    {
        size_t pushed;
        size_t loaded;
    };
    for (const Case k : {Case{0, 0}, Case{3, 3}, Case{15, 15}, Case{20, 15}}) {
        CCorpus c;
        for (size_t i = k.pushed; i > 0; --i) {
            c.PushHistoryKeyword("k" + std::to_string(i));
        }
        CMemorySettingsStore store;
        // A longer history saved before must not shine through the empty slots.
        for (int i = 1; i <= 15; ++i) {
            store.WriteString("KeywordList", keys::KeywordValue(i), "stale");
        }
        SaveSettings(c, store);
        EXPECT_EQ(store.values.at({"KeywordList", "Keyword15"}), k.pushed >= 15 ? "k15" : "");
        CCorpus loaded;
        LoadSettings(loaded, store);
        ASSERT_EQ(loaded.keywordHistory.size(), k.loaded) << k.pushed;
        for (size_t i = 0; i < k.loaded; ++i) {
            EXPECT_EQ(loaded.keywordHistory[i], "k" + std::to_string(i + 1));
        }
    }
}

TEST(Persistence, StoredRangeWinsOverTheCorpusTypesRange)
{
    struct Case
    {
        int type;
        const char* start;  // nullptr: not stored
        const char* end;
        int expectStart, expectEnd;
    };
    const Case cases[] = {
        {kTypeBrown, "3", "12", 3, 12},
        {kTypeLob, "2", "7", 2, 7},
        {kTypeFixed, "5", "25", 5, 25},
    };
    for (const Case& k : cases) {
        CMemorySettingsStore store;
        store.WriteInt("Type", "Type", k.type);
        store.WriteString("Type", "Start", k.start);
        store.WriteString("Type", "End", k.end);
        CCorpus c;
        LoadSettings(c, store);
        EXPECT_EQ(c.GetCorpusType(), k.type);
        EXPECT_EQ(c.GetInfoStart(), k.expectStart) << k.type;
        EXPECT_EQ(c.GetInfoEnd(), k.expectEnd) << k.type;
    }
}

TEST(Persistence, LoadedCorpusTypeSetsItsDiacritics)
{
    CMemorySettingsStore store;
    store.WriteInt("Type", "Type", kTypePpcme2);
    CCorpus c;
    LoadSettings(c, store);
    EXPECT_EQ(c.diacritics, kHelsinkiDiacritics);
}

TEST(Persistence, StartUpLocaleIsTakenBeforeTheLanguage)
{
    std::setlocale(LC_ALL, "C");
    CMemorySettingsStore store;
    store.WriteString("CorpusList", "Language", "System");
    CCorpus c;
    c.systemLocale = "not-a-locale";
    LoadSettings(c, store);
    EXPECT_EQ(c.systemLocale, "C");
    EXPECT_EQ(c.GetLanguage(), "System");
}

TEST(Persistence, DamagedValuesLoadAsTheirDefaults)
{
    struct Case
    {
        const char* section;
        const char* name;
        const char* stored;
    };
    const Case cases[] = {
        {"CorpusList", "File", "yes"},
        {"CorpusList", "File", "7"},
        {"CorpusList", "Whole", "-1"},
        {"CorpusList", "Language", "Klingon"},
        {"CorpusList", "Language", "de_DE.UTF-8"},
        {"Type", "Type", "99"},
        {"Type", "Type", "-1"},
        {"Type", "Type", "Brown"},
        {"Type", "Format", "42"},
        {"Type", "Format", "1.5"},
        {"Type", "Len", "5"},
        {"Type", "Len", "501"},
        {"Type", "Len", ""},
        {"Type", "Pos", "1000"},
        {"Type", "Pos", "9"},
        {"Type", "Pos", "99999999999999"},
        {"Type", "Start", "0"},
        {"Type", "End", "501"},
        {"Type", "End", "x"},
    };
    const CCorpus initial;
    for (const Case& k : cases) {
        CMemorySettingsStore store;
        store.WriteString(k.section, k.name, k.stored);
        CCorpus c;
        LoadSettings(c, store);
        const std::string what = std::string(k.section) + "/" + k.name + "=" + k.stored;
        EXPECT_EQ(c.GetOutputAsFiles(), 0) << what;
        EXPECT_EQ(c.GetAsWhole(), 0) << what;
        EXPECT_EQ(c.GetLanguage(), "System") << what;
        EXPECT_EQ(c.GetCorpusType(), kTypeText) << what;
        EXPECT_EQ(c.GetOutputType(), kOutputText) << what;
        EXPECT_EQ(c.GetLineLength(), initial.GetLineLength()) << what;
        EXPECT_EQ(c.GetKeywordPosition(), initial.GetKeywordPosition()) << what;
        EXPECT_EQ(c.GetInfoStart(), 1) << what;
        EXPECT_EQ(c.GetInfoEnd(), 1) << what;
    }
}

TEST(Persistence, DamagedListSizeReadsOnlyWhatTheStoreHolds)
{
    struct Case
    {
        const char* max;
        int held;
        int expectCount;
    };
    const Case cases[] = {
        {"abc", 2, 0},        {"-3", 2, 0},          {"2000000000", 2, 2},
        {"2147483647", 0, 0}, {"99999999999", 3, 0}, {"2", 5, 2},
    };
    for (const Case& k : cases) {
        CMemorySettingsStore store;
        SaveSettings(RecordWithFiles(k.held), store);
        store.WriteString("CorpusList", "Max", k.max);
        CCorpus c;
        LoadSettings(c, store);
        EXPECT_EQ(c.GetFileCount(), k.expectCount) << k.max;
        EXPECT_EQ(c.inputFiles.size(), static_cast<size_t>(k.expectCount)) << k.max;
        EXPECT_EQ(c.outputFiles.size(), static_cast<size_t>(k.expectCount)) << k.max;

        // Saving over such a store repairs it: the next start reads the same list.
        SaveSettings(c, store);
        EXPECT_EQ(store.values.at({"CorpusList", "Max"}), std::to_string(k.expectCount));
        CCorpus again;
        LoadSettings(again, store);
        EXPECT_EQ(again.inputFiles, c.inputFiles) << k.max;
    }
}

TEST(Persistence, EntryWithOnlyOneOfItsPathsKeepsItsPlace)
{
    CMemorySettingsStore store;
    store.WriteInt("CorpusList", "Max", 3);
    store.WriteString("Input", "Input1", "a.txt");
    store.WriteString("Output", "Output1", "a.plx");
    store.WriteString("Output", "Output2", "b.plx");  // its input path went missing
    store.WriteString("Input", "Input3", "c.txt");
    CCorpus c;
    LoadSettings(c, store);
    EXPECT_EQ(c.inputFiles, (std::vector<std::string>{"a.txt", "", "c.txt"}));
    EXPECT_EQ(c.outputFiles, (std::vector<std::string>{"a.plx", "b.plx", ""}));
}

TEST(Persistence, Utf8TextIsSavedAndFollowsTheStartUpLocaleUnsaved)
{
    struct Case
    {
        const char* startUp;
        const char* stored;  // nullptr: nothing saved
        int loaded;
    };
    const Case cases[] = {
        {"C", nullptr, 0},    {"C.UTF-8", nullptr, 1}, {"en_US.UTF-8", nullptr, 1},
        {"C.UTF-8", "0", 0},  {"C", "1", 1},           {"C", "7", 0},
        {"C.UTF-8", "x", 1},
    };
    for (const Case& k : cases) {
        std::setlocale(LC_ALL, k.startUp);
        CMemorySettingsStore store;
        if (k.stored != nullptr) {
            store.WriteString("Type", "UTF8", k.stored);
        }
        CCorpus c;
        LoadSettings(c, store);
        EXPECT_EQ(c.utf8Text, k.loaded) << k.startUp << " " << (k.stored ? k.stored : "-");
        CMemorySettingsStore saved;
        SaveSettings(c, saved);
        EXPECT_EQ(saved.GetInt("Type", "UTF8", -1), k.loaded);
        std::setlocale(LC_ALL, "C");
    }
}

}  // namespace
}  // namespace plix
