// The one settings record of the program: corpus list, corpus type and handler
// options, word definition, line range, list filter, keyword history and output
// format. Every part of the engine reads it; only the dialogs (and the few engine
// steps named in CParse) change it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace plix {

// Corpus type codes, in the order of the "Corpus Type:" list.
enum CorpusType : int
{
    kTypeText = 0,
    kTypeCocoa = 1,
    kTypeSgml = 2,
    kTypeFixed = 3,
    kTypeHelsinki = 4,
    kTypeHelsinkiScots = 5,
    kTypeCeecs = 6,
    kTypeBrown = 7,
    kTypeLob = 8,
    kTypeFrown = 9,
    kTypeAce = 10,
    kTypePpcme1 = 11,
    kTypePpcme2 = 12,
    kTypeBrooklyn = 13,
    kTypeYorkTorontoHelsinki = 14,
    kTypeIce = 15,
    kTypeBnc = 16,
    kTypeCopc = 17,
    kTypeIcamet = 18,
};
inline constexpr int kCorpusTypeCount = 19;

// Output type codes, in the order of the format dialog's radio buttons.
enum OutputType : int
{
    kOutputText = 0,
    kOutputComma = 1,
    kOutputTab = 2,
    kOutputTagged = 3,
    kOutputXml = 4,
    kOutputOther = 5,
};
inline constexpr int kOutputTypeCount = 6;

// The list texts of the corpus types, indexed by code.
const std::array<const char*, kCorpusTypeCount>& CorpusTypeNames();
// The "Locale" list, in its stored order (the Type page shows it sorted).
const std::vector<std::string>& LocaleNames();
// The bytes that Helsinki-family corpora count as word characters.
inline constexpr const char* kHelsinkiDiacritics = "&+=~`";

// The ranges the dialogs hold their number fields to, and plix-cli its options.
struct IntLimits
{
    int low;
    int high;
    constexpr bool Holds(long value) const { return value >= low && value <= high; }
};
inline constexpr IntLimits kLineLengthLimits{20, 500};
inline constexpr IntLimits kKeywordPositionLimits{10, 250};
inline constexpr IntLimits kSortColumnLimits{0, 5};
inline constexpr IntLimits kInfoColumnLimits{1, 500};
inline constexpr IntLimits kContextSpanLimits{0, 10};

// --- what choosing a corpus type brings with it ------------------------------
// The types whose choice puts the Helsinki diacritics into the record.
bool TypeSetsHelsinkiDiacritics(int corpusType);
// The information columns the reference corpora always have (Brown 1-9,
// LOB/WC and FROWN/FLOB 1-8); false for the other types.
bool FixedInfoRange(int corpusType, int& start, int& end);
// The "Diacritics:" text after the type is chosen on the "Type" page, from the
// text it held: the Helsinki family fills an empty box with the Helsinki
// diacritics, and Helsinki and PPCME1 append them to any other text.
std::string DiacriticsAfterChoosing(int corpusType, const std::string& text);

class CCorpus
{
  public:
    CCorpus();

    // --- accessors -------------------------------------------------------
    int GetCorpusType() const { return corpusType; }
    int GetOutputType() const { return outputType; }
    int GetStartLine() const { return startLine; }
    int GetEndLine() const { return endLine; }
    int GetInfoStart() const { return infoStart; }
    int GetInfoEnd() const { return infoEnd; }
    int GetLineLength() const { return lineLength; }
    int GetKeywordPosition() const { return keywordPosition; }
    int GetSuppressHeaders() const { return suppressHeaders; }
    int GetSortColumn() const { return sortColumn; }
    std::string GetLanguage() const { return language; }
    std::string GetStartMark() const { return startMark; }
    std::string GetEndMark() const { return endMark; }

    // --- setters with rules ----------------------------------------------
    void SetCorpusType(int code);
    void SetOutputType(int code);
    void SetLineFormat(int length, int position);
    void SetInfoRange(int start, int end);
    void SetMarks(const std::string& start, const std::string& end);
    // Remembers the start-up locale's character classes and collation.
    void SaveSystemLocale();
    // Installs the locale of a "Locale" list entry for the character classes
    // and the collation (LC_CTYPE, LC_COLLATE) only; falls back to the
    // start-up locale (and stores "System") when the library refuses it.
    void SetLanguage(const std::string& name);
    // "UTF-8 text" is set and the installed locale reads UTF-8: words are
    // made of characters, columns count display columns. Asks the locale, so
    // a run asks once and keeps the answer.
    bool ReadsUtf8() const;
    void ClearKeyword();
    void ReverseKeyword();
    void PushHistoryKeyword(const std::string& text);
    void AppendHistoryKeyword(const std::string& text);
    std::string GetHistoryKeyword(size_t index) const;

    // --- corpus list -----------------------------------------------------
    int GetFileCount() const { return fileCount; }
    std::string GetInputFile(size_t index) const;
    std::string GetOutputFile(size_t index) const;
    void AddInputFile(const std::string& path);
    void AddOutputFile(const std::string& path);
    // Replaces the whole list at once, as the options sheet does on OK.
    void SetFiles(const std::vector<std::string>& inputs, const std::vector<std::string>& outputs);
    int GetOutputAsFiles() const { return outputAsFiles; }
    void SetOutputAsFiles(int flag) { outputAsFiles = flag ? 1 : 0; }
    int GetAsWhole() const { return asWhole; }
    void SetAsWhole(int flag) { asWhole = flag ? 1 : 0; }
    // How many bytes a result may hold in memory before it spills to disk.
    uint64_t GetMemoryBudget() const { return memoryBudget; }
    void SetMemoryBudget(uint64_t bytes) { memoryBudget = bytes > 0 ? bytes : 1; }
    // A new entry's output path: the extension replaced by ".plx".
    static std::string DefaultOutputPath(const std::string& inputPath);

    // --- tests and formatters --------------------------------------------
    bool IsWordChar(unsigned char byte) const;
    std::string GetLineHeading() const;
    std::string FormatReference(int64_t line, const std::string& fileName) const;
    std::string FormatField(const std::string& value) const;
    std::string FormatTaggedField(const std::string& value, const std::string& tag) const;
    std::string FormatLastField(const std::string& value) const;
    std::string GetOccurrenceHeading() const;

    // --- fields, in the record's own order ---------------------------------
    int keywordLength = 0;
    int keywordRegex = 0;
    int matchRight = 0;
    int matchLeft = 0;
    int ignoreCase = 1;
    std::string keyword;
    int fileCount = 0;
    std::vector<std::string> inputFiles;
    std::vector<std::string> outputFiles;
    int corpusType = kTypeText;
    std::string diacritics;
    int startLine = 0;
    int endLine = 0;
    int outputAsFiles = 0;
    std::string language = "System";
    std::string systemLocale = "C";   // LC_CTYPE at start-up
    std::string systemCollate = "C";  // LC_COLLATE at start-up
    std::array<std::string, 26> cocoaSelect{};
    std::array<int, 26> cocoaOutput{};
    std::vector<std::string> sgmlTags;
    std::vector<std::string> sgmlTagInfo;
    std::vector<std::string> sgmlAttributes;
    std::vector<std::string> sgmlAttributeInfo;
    std::vector<unsigned> sgmlTagExclude;
    std::vector<unsigned> sgmlAttributeOutput;
    int infoStart = 1;
    int infoEnd = 1;
    int iceFunctionOn = 0;
    int iceCategoryOn = 0;
    int iceFeatureOn = 0;
    std::string iceFunction;
    std::string iceCategory;
    std::string iceFeature;
    int iceIgnored = 0;
    int iceAddition = 0;
    int iceOverlap = 0;
    std::string iceSpeaker;
    std::string iceSubtext;
    int bncFormat = 0;
    int bncPosOutput = 1;
    std::string ppcme2Pos;
    std::string ppcme2Node;
    std::string brooklynNode;
    int asWhole = 0;
    std::vector<std::string> keywordHistory;
    int countNumbers = 1;
    // "UTF-8 text": the Locale entry's UTF-8 locale is installed and text is
    // read as UTF-8 characters. Start-up sets it from the start-up locale.
    int utf8Text = 0;
    int outputType = kOutputText;
    int suppressHeaders = 0;
    int lineLength = 100;
    int keywordPosition = 50;
    int sortColumn = 0;
    std::string startMark;
    std::string endMark;
    std::string separator;
    std::string openQuote;
    std::string closeQuote;
    // Not persisted: a property of the machine a run is on, not of the corpus.
    uint64_t memoryBudget = uint64_t{1} << 30;
};

// A type chosen on its own, as plix-cli's --type chooses it: the record's
// side effects of the type, then the "Type" page's rule on the diacritics.
void ChooseCorpusType(CCorpus& corpus, int corpusType);

// The glibc locale names tried, in order, for an entry of the "Locale" list
// other than "System" (which means the start-up locale).
// With `utf8`, the entry's UTF-8 locales ("System" and "ASCII" not included).
std::vector<std::string> LocaleCandidates(const std::string& listName, bool utf8 = false);
// The locale each "Locale" entry installs with "UTF-8 text" set, as the page's
// note and plix-cli's help show it.
std::string Utf8LocaleNote();
// Whether the locale named (as setlocale gives it) reads UTF-8.
bool LocaleNameIsUtf8(const std::string& name);

}  // namespace plix
