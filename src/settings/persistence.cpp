#include "settings/persistence.h"

#include <algorithm>
#include <string>

#include "settings/settings_keys.h"

namespace plix {

namespace {

// An integer that must lie in [low, high]; anything else is the default.
int ReadIntIn(const CSettingsStore& store, const char* section, const char* name, int low, int high,
              int fallback)
{
    int value = store.GetInt(section, name, fallback);
    return value < low || value > high ? fallback : value;
}

int ReadIntIn(const CSettingsStore& store, const char* section, const char* name, IntLimits limits,
              int fallback)
{
    return ReadIntIn(store, section, name, limits.low, limits.high, fallback);
}

// Whether the store holds the value at all: a stored string cannot equal both
// of two different fallbacks, so this tells a missing value from an empty one
// without the store seam having to offer a separate query.
bool Holds(const CSettingsStore& store, const char* section, const std::string& name)
{
    return store.GetString(section, name, "0") != "0" || store.GetString(section, name, "1") != "1";
}

bool IsLocaleListEntry(const std::string& name)
{
    const std::vector<std::string>& names = LocaleNames();
    return std::find(names.begin(), names.end(), name) != names.end();
}

// The stored list size, kept within what can be read back in reasonable time.
int StoredEntryCount(const CSettingsStore& store)
{
    return std::clamp(store.GetInt(keys::kCorpusListSection, keys::kMax, 0), 0, kMaxStoredEntries);
}

}  // namespace

void LoadSettings(CCorpus& corpus, const CSettingsStore& store)
{
    using namespace keys;

    const int max = StoredEntryCount(store);
    corpus.SetOutputAsFiles(ReadIntIn(store, kCorpusListSection, kFile, 0, 1, 0));

    // The start-up locale has to be known before a language is chosen: "System"
    // and every refused name fall back to it.
    corpus.SaveSystemLocale();
    std::string language = store.GetString(kCorpusListSection, kLanguage, "System");
    // Only the names of the "Locale" list are stored by the program; another name
    // would be handed to the C library as it stands and could install anything.
    if (!IsLocaleListEntry(language)) {
        language = "System";
    }
    // The encoding before the language: it decides which locale the entry gets.
    // Unsaved, it follows the start-up locale.
    corpus.utf8Text = ReadIntIn(store, kTypeSection, kUtf8, 0, 1,
                                LocaleNameIsUtf8(corpus.systemLocale) ? 1 : 0);
    corpus.SetLanguage(language);

    corpus.SetAsWhole(ReadIntIn(store, kCorpusListSection, kWhole, 0, 1, 0));

    // "Max" alone is not trusted to size the list: the stored list ends at the
    // first number that has neither an input nor an output value, so a damaged
    // "Max" of two thousand million does not produce as many empty entries.
    for (int i = 1; i <= max; ++i) {
        const std::string inputName = InputValue(i);
        const std::string outputName = OutputValue(i);
        if (!Holds(store, kInputSection, inputName) && !Holds(store, kOutputSection, outputName)) {
            break;
        }
        corpus.AddInputFile(store.GetString(kInputSection, inputName, ""));
        corpus.AddOutputFile(store.GetString(kOutputSection, outputName, ""));
    }

    // The corpus type first: its side effects on the fixed-column range are
    // overridden by the stored range below.
    corpus.SetCorpusType(ReadIntIn(store, kTypeSection, kType, 0, kCorpusTypeCount - 1, kTypeText));
    const int format =
        ReadIntIn(store, kTypeSection, kFormat, 0, kOutputTypeCount - 1, kOutputText);
    const std::string endMark = store.GetString(kTypeSection, kEndMark, "");
    const std::string startMark = store.GetString(kTypeSection, kStartMark, "");
    // The marks before the output type, which copies them into the quotes.
    corpus.SetMarks(startMark, endMark);
    corpus.SetOutputType(format);

    // The ranges are those of the format dialog and the FIXED page.
    corpus.SetLineFormat(ReadIntIn(store, kTypeSection, kLen, kLineLengthLimits, 100),
                         ReadIntIn(store, kTypeSection, kPos, kKeywordPositionLimits, 50));
    corpus.SetInfoRange(ReadIntIn(store, kTypeSection, kStart, kInfoColumnLimits, 1),
                        ReadIntIn(store, kTypeSection, kEnd, kInfoColumnLimits, 1));

    // Empty values are the unused slots of a short history.
    for (int i = 1; i <= kSavedKeywordCount; ++i) {
        corpus.AppendHistoryKeyword(store.GetString(kKeywordListSection, KeywordValue(i), ""));
    }
}

void SaveSettings(const CCorpus& corpus, CSettingsStore& store)
{
    using namespace keys;

    const int count = corpus.GetFileCount();
    const int oldCount = StoredEntryCount(store);
    if (count <= oldCount) {
        // Loading stops where the numbered entries stop, so deleting can too;
        // a damaged "Max" then costs no more than the entries really stored.
        for (int i = count + 1; i <= oldCount; ++i) {
            const std::string inputName = InputValue(i);
            const std::string outputName = OutputValue(i);
            if (!Holds(store, kInputSection, inputName) &&
                !Holds(store, kOutputSection, outputName)) {
                break;
            }
            store.Delete(kInputSection, inputName);
            store.Delete(kOutputSection, outputName);
        }
    }

    store.WriteInt(kCorpusListSection, kMax, count);
    store.WriteInt(kCorpusListSection, kFile, corpus.GetOutputAsFiles());
    store.WriteString(kCorpusListSection, kLanguage, corpus.GetLanguage());
    store.WriteInt(kCorpusListSection, kWhole, corpus.GetAsWhole());

    store.WriteInt(kTypeSection, kType, corpus.GetCorpusType());
    store.WriteInt(kTypeSection, kFormat, corpus.GetOutputType());
    store.WriteInt(kTypeSection, kLen, corpus.GetLineLength());
    store.WriteInt(kTypeSection, kPos, corpus.GetKeywordPosition());
    store.WriteInt(kTypeSection, kStart, corpus.GetInfoStart());
    store.WriteInt(kTypeSection, kEnd, corpus.GetInfoEnd());
    store.WriteString(kTypeSection, kStartMark, corpus.GetStartMark());
    store.WriteString(kTypeSection, kEndMark, corpus.GetEndMark());
    store.WriteInt(kTypeSection, kUtf8, corpus.utf8Text ? 1 : 0);

    for (int i = 1; i <= count; ++i) {
        store.WriteString(kInputSection, InputValue(i),
                          corpus.GetInputFile(static_cast<size_t>(i - 1)));
        store.WriteString(kOutputSection, OutputValue(i),
                          corpus.GetOutputFile(static_cast<size_t>(i - 1)));
    }

    // All fifteen slots are written, so that a shorter history leaves no older
    // keyword behind in the slots it no longer fills.
    for (int i = 1; i <= kSavedKeywordCount; ++i) {
        store.WriteString(kKeywordListSection, KeywordValue(i),
                          corpus.GetHistoryKeyword(static_cast<size_t>(i - 1)));
    }
}

}  // namespace plix
