// The names under which the settings record lives in the per-user store. Every
// reader and writer of the store takes its section and value names from here,
// so that the desktop program and plix-cli --saved can never disagree.
#pragma once

#include <string>

namespace plix::keys {

// "CorpusList": the size of the corpus list, its two switches and the locale.
inline constexpr const char* kCorpusListSection = "CorpusList";
inline constexpr const char* kMax = "Max";
inline constexpr const char* kFile = "File";
inline constexpr const char* kLanguage = "Language";
inline constexpr const char* kWhole = "Whole";

// "Input" and "Output": the entries of the corpus list, numbered from 1.
inline constexpr const char* kInputSection = "Input";
inline constexpr const char* kOutputSection = "Output";

// "Type": corpus type, output format, line format, fixed-column range and
// whether text is read as UTF-8.
inline constexpr const char* kTypeSection = "Type";
inline constexpr const char* kType = "Type";
inline constexpr const char* kFormat = "Format";
inline constexpr const char* kLen = "Len";
inline constexpr const char* kPos = "Pos";
inline constexpr const char* kStart = "Start";
inline constexpr const char* kEnd = "End";
inline constexpr const char* kStartMark = "StartMark";
inline constexpr const char* kEndMark = "EndMark";
inline constexpr const char* kUtf8 = "UTF8";

// "KeywordList": the newest entries of the keyword history, numbered from 1.
inline constexpr const char* kKeywordListSection = "KeywordList";
inline constexpr int kSavedKeywordCount = 15;

// The shell's own values: the recently used documents and the print preview.
inline constexpr const char* kRecentFileListSection = "Recent File List";
inline constexpr int kRecentFileCount = 6;
inline constexpr const char* kPreviewSection = "Settings";
inline constexpr const char* kPreviewPages = "PreviewPages";

// "Input%d", "Output%d", "Keyword%d" and the recent list's "File%d", for i from 1.
inline std::string InputValue(int i)
{
    return "Input" + std::to_string(i);
}
inline std::string OutputValue(int i)
{
    return "Output" + std::to_string(i);
}
inline std::string KeywordValue(int i)
{
    return "Keyword" + std::to_string(i);
}
inline std::string RecentFileValue(int i)
{
    return "File" + std::to_string(i);
}

}  // namespace plix::keys
