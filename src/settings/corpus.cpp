#include "settings/corpus.h"

#include <cctype>
#include <clocale>
#include <cstring>

#include "settings/text.h"
#include "settings/utf8.h"

namespace plix {

const std::array<const char*, kCorpusTypeCount>& CorpusTypeNames()
{
    static const std::array<const char*, kCorpusTypeCount> names = {
        "Text",       "COCOA",    "SGML",
        "Fixed",      "Helsinki", "Helsinki: Scots",
        "CEECS",      "Brown",    "LOB/WC",
        "FROWN/FLOB", "ACE",      "PPCME1",
        "PPCME2",     "Brooklyn", "York-Toronto-Helsinki",
        "ICE",        "BNC",      "COPC",
        "ICAMET"};
    return names;
}

const std::vector<std::string>& LocaleNames()
{
    static const std::vector<std::string> names = {"System",  "ASCII",      "English",   "French",
                                                   "German",  "Danish",     "Dutch",     "Japanese",
                                                   "Italian", "Swedish",    "Icelandic", "Polish",
                                                   "Spanish", "Portuguese", "Norwegian"};
    return names;
}

std::vector<std::string> LocaleCandidates(const std::string& listName, bool utf8)
{
    // Each language first asks for the 8-bit (or, for Japanese, double-byte)
    // locale of its legacy code page, so that corpora in those encodings are
    // classified byte by byte as intended; the UTF-8 locale is the fallback when
    // the 8-bit one is not installed.
    struct Entry
    {
        const char* name;
        std::vector<std::string> locales;
    };
    static const std::vector<Entry> table = {
        {"English", {"en_US.ISO-8859-1", "en_GB.ISO-8859-1", "en_US.UTF-8", "C.UTF-8"}},
        {"French", {"fr_FR.ISO-8859-1", "fr_FR.ISO-8859-15", "fr_FR.UTF-8"}},
        {"German", {"de_DE.ISO-8859-1", "de_DE.ISO-8859-15", "de_DE.UTF-8"}},
        {"Danish", {"da_DK.ISO-8859-1", "da_DK.UTF-8"}},
        {"Dutch", {"nl_NL.ISO-8859-1", "nl_NL.ISO-8859-15", "nl_NL.UTF-8"}},
        {"Japanese", {"ja_JP.SJIS", "ja_JP.eucJP", "ja_JP.UTF-8"}},
        {"Italian", {"it_IT.ISO-8859-1", "it_IT.ISO-8859-15", "it_IT.UTF-8"}},
        {"Swedish", {"sv_SE.ISO-8859-1", "sv_SE.ISO-8859-15", "sv_SE.UTF-8"}},
        {"Icelandic", {"is_IS.ISO-8859-1", "is_IS.UTF-8"}},
        {"Polish", {"pl_PL.ISO-8859-2", "pl_PL.UTF-8"}},
        {"Spanish", {"es_ES.ISO-8859-1", "es_ES.ISO-8859-15", "es_ES.UTF-8"}},
        {"Portuguese", {"pt_PT.ISO-8859-1", "pt_PT.ISO-8859-15", "pt_PT.UTF-8"}},
        {"Norwegian", {"nb_NO.ISO-8859-1", "no_NO.ISO-8859-1", "nb_NO.UTF-8"}},
    };
    if (listName == "ASCII") {
        return {utf8 ? "C.UTF-8" : "C"};
    }
    for (const Entry& e : table) {
        if (listName == e.name) {
            if (!utf8) {
                return e.locales;
            }
            std::vector<std::string> unicode;
            for (const std::string& locale : e.locales) {
                if (LocaleNameIsUtf8(locale)) {
                    unicode.push_back(locale);
                }
            }
            return unicode;
        }
    }
    return {listName};
}

bool LocaleNameIsUtf8(const std::string& name)
{
    const size_t dot = name.find('.');
    if (dot == std::string::npos) {
        return false;
    }
    std::string codeset;
    for (size_t i = dot + 1; i < name.size() && name[i] != '@'; ++i) {
        if (name[i] != '-') {
            codeset += static_cast<char>(std::tolower(static_cast<unsigned char>(name[i])));
        }
    }
    return codeset == "utf8";
}

std::string Utf8LocaleNote()
{
    std::string note = "System: the start-up locale when it is UTF-8, else C.UTF-8; ASCII: C.UTF-8";
    for (const std::string& name : LocaleNames()) {
        if (name == "System" || name == "ASCII") {
            continue;
        }
        std::vector<std::string> locales = LocaleCandidates(name, true);
        if (!locales.empty()) {
            note += "; " + name + ": " + locales.front();
        }
    }
    return note + ".";
}

bool TypeSetsHelsinkiDiacritics(int corpusType)
{
    switch (corpusType) {
        case kTypeHelsinki:
        case kTypePpcme1:
        case kTypePpcme2:
        case kTypeBrooklyn:
        case kTypeYorkTorontoHelsinki:
            return true;
        default:
            return false;
    }
}

bool FixedInfoRange(int corpusType, int& start, int& end)
{
    switch (corpusType) {
        case kTypeBrown:
            start = 1;
            end = 9;
            return true;
        case kTypeLob:
        case kTypeFrown:
            start = 1;
            end = 8;
            return true;
        default:
            return false;
    }
}

std::string DiacriticsAfterChoosing(int corpusType, const std::string& text)
{
    if (corpusType != kTypeHelsinki && corpusType != kTypeHelsinkiScots &&
        corpusType != kTypeCeecs && corpusType != kTypePpcme1) {
        return text;
    }
    if (text.empty()) {
        return kHelsinkiDiacritics;
    }
    if ((corpusType == kTypeHelsinki || corpusType == kTypePpcme1) && text != kHelsinkiDiacritics) {
        return text + kHelsinkiDiacritics;
    }
    return text;
}

void ChooseCorpusType(CCorpus& corpus, int corpusType)
{
    corpus.SetCorpusType(corpusType);
    corpus.diacritics = DiacriticsAfterChoosing(corpus.GetCorpusType(), corpus.diacritics);
}

CCorpus::CCorpus() = default;

void CCorpus::SetCorpusType(int code)
{
    if (code < 0 || code >= kCorpusTypeCount) {
        return;
    }
    corpusType = code;
    if (TypeSetsHelsinkiDiacritics(code)) {
        diacritics = kHelsinkiDiacritics;
    }
    int start = 0;
    int end = 0;
    if (FixedInfoRange(code, start, end)) {
        infoStart = start;
        infoEnd = end;
    }
}

void CCorpus::SetOutputType(int code)
{
    if (code < 0 || code >= kOutputTypeCount) {
        return;
    }
    outputType = code;
    openQuote.clear();
    closeQuote.clear();
    switch (code) {
        case kOutputComma:
            separator = ",";
            openQuote = "\"";
            closeQuote = "\"";
            break;
        case kOutputTab:
            separator = "\t";
            break;
        case kOutputTagged:
            separator = ":";
            break;
        case kOutputOther:
            separator = " ";
            openQuote = startMark;
            closeQuote = endMark;
            break;
        default:
            separator = " ";
            break;
    }
}

void CCorpus::SetLineFormat(int length, int position)
{
    lineLength = length;
    keywordPosition = position;
}

void CCorpus::SetInfoRange(int start, int end)
{
    infoStart = start;
    infoEnd = end;
}

void CCorpus::SetMarks(const std::string& start, const std::string& end)
{
    startMark = start;
    endMark = end;
}

void CCorpus::SaveSystemLocale()
{
    if (const char* ctype = std::setlocale(LC_CTYPE, nullptr)) {
        systemLocale = ctype;
    }
    if (const char* collate = std::setlocale(LC_COLLATE, nullptr)) {
        systemCollate = collate;
    }
}

namespace {

// The corpus's language decides what a character is, how bytes decode and how
// words sort. Everything else stays as the program started: the system's own
// messages (the reason of "Abort Process") and the toolkit's texts in the
// user's language, numbers and dates as the user writes them.
bool InstallCorpusLocale(const std::string& ctype, const std::string& collate)
{
    const char* current = std::setlocale(LC_CTYPE, nullptr);
    const std::string previous = current != nullptr ? current : "C";
    if (std::setlocale(LC_CTYPE, ctype.c_str()) == nullptr) {
        return false;
    }
    if (std::setlocale(LC_COLLATE, collate.c_str()) == nullptr) {
        std::setlocale(LC_CTYPE, previous.c_str());
        return false;
    }
    return true;
}

}  // namespace

void CCorpus::SetLanguage(const std::string& name)
{
    language = name;
    if (utf8Text) {
        // The entry keeps choosing the language; the encoding is UTF-8. The
        // start-up locale serves "System" only when it reads UTF-8 itself.
        if (name != "System") {
            for (const std::string& locale : LocaleCandidates(name, true)) {
                if (InstallCorpusLocale(locale, locale)) {
                    return;
                }
            }
            language = "System";
        }
        if (LocaleNameIsUtf8(systemLocale) && InstallCorpusLocale(systemLocale, systemCollate)) {
            return;
        }
        if (InstallCorpusLocale("C.UTF-8", "C.UTF-8")) {
            return;
        }
        (void)InstallCorpusLocale(systemLocale, systemCollate);
        return;
    }
    if (name == "System") {
        if (InstallCorpusLocale(systemLocale, systemCollate)) {
            return;
        }
    } else {
        for (const std::string& locale : LocaleCandidates(name)) {
            if (InstallCorpusLocale(locale, locale)) {
                return;
            }
        }
    }
    (void)InstallCorpusLocale(systemLocale, systemCollate);
    language = "System";
}

void CCorpus::ClearKeyword()
{
    keyword.clear();
}

void CCorpus::ReverseKeyword()
{
    keyword = ReadsUtf8() ? ReverseUtf8(keyword) : ReverseMb(keyword);
    std::swap(matchLeft, matchRight);
}

void CCorpus::PushHistoryKeyword(const std::string& text)
{
    if (!keywordHistory.empty() && keywordHistory.front() == text) {
        return;
    }
    keywordHistory.insert(keywordHistory.begin(), text);
}

void CCorpus::AppendHistoryKeyword(const std::string& text)
{
    if (!text.empty()) {
        keywordHistory.push_back(text);
    }
}

std::string CCorpus::GetHistoryKeyword(size_t index) const
{
    return index < keywordHistory.size() ? keywordHistory[index] : std::string();
}

std::string CCorpus::GetInputFile(size_t index) const
{
    return index < static_cast<size_t>(fileCount) && index < inputFiles.size() ? inputFiles[index]
                                                                               : std::string();
}

std::string CCorpus::GetOutputFile(size_t index) const
{
    return index < static_cast<size_t>(fileCount) && index < outputFiles.size() ? outputFiles[index]
                                                                                : std::string();
}

void CCorpus::AddInputFile(const std::string& path)
{
    inputFiles.push_back(path);
    ++fileCount;
}

void CCorpus::AddOutputFile(const std::string& path)
{
    outputFiles.push_back(path);
}

void CCorpus::SetFiles(const std::vector<std::string>& inputs,
                       const std::vector<std::string>& outputs)
{
    inputFiles = inputs;
    outputFiles = outputs;
    fileCount = static_cast<int>(inputFiles.size());
}

std::string CCorpus::DefaultOutputPath(const std::string& inputPath)
{
    size_t dot = inputPath.rfind('.');
    if (dot == std::string::npos || dot == 0) {
        return inputPath + ".plx";
    }
    return inputPath.substr(0, dot) + ".plx";
}

bool CCorpus::ReadsUtf8() const
{
    return utf8Text != 0 && CodesetIsUtf8();
}

bool CCorpus::IsWordChar(unsigned char byte) const
{
    int c = byte;
    if (countNumbers ? std::isalnum(c) : std::isalpha(c)) {
        return true;
    }
    return byte != 0 && diacritics.find(static_cast<char>(byte)) != std::string::npos;
}

std::string CCorpus::GetLineHeading() const
{
    switch (outputType) {
        case kOutputText:
            return "(line) ";
        case kOutputTagged:
            return "filename(line):";
        case kOutputXml:
            return "";
        default:
            return openQuote + "line" + closeQuote + separator;
    }
}

std::string CCorpus::FormatReference(int64_t line, const std::string& fileName) const
{
    std::string n = std::to_string(line);
    switch (outputType) {
        case kOutputText:
            return "(" + n + ") ";
        case kOutputTagged:
            return fileName + "(" + n + "):";
        case kOutputXml:
            return "<hit file=\"" + fileName + "\" line=\"" + n + "\">";
        default:
            return openQuote + n + closeQuote + separator;
    }
}

std::string CCorpus::FormatField(const std::string& value) const
{
    if (outputType == kOutputXml) {
        return "";
    }
    return openQuote + value + closeQuote + separator;
}

std::string CCorpus::FormatTaggedField(const std::string& value, const std::string& tag) const
{
    if (outputType == kOutputXml) {
        return "<" + tag + ">" + value + "</" + tag + ">";
    }
    return FormatField(value);
}

std::string CCorpus::FormatLastField(const std::string& value) const
{
    if (outputType == kOutputXml) {
        return value + "</hit>";
    }
    return openQuote + value + closeQuote;
}

std::string CCorpus::GetOccurrenceHeading() const
{
    if (outputType == kOutputXml) {
        return "";
    }
    return openQuote + "Occurrence" + closeQuote;
}

}  // namespace plix
