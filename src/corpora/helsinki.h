// CHelsinki: texts in the Helsinki Corpus conventions (the types Helsinki,
// Helsinki: Scots and CEECS). Their COCOA references are read by CCocoa; this
// handler deletes the stretches of editorial markup the user chose, seven
// levels of bracketed text that may run over line ends, and holds the names
// and known values of the 26 parameters that the COCOA options page offers.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "corpora/handler.h"

namespace plix {

class CCorpus;

class CHelsinki final : public CCorpusHandler
{
  public:
    static constexpr int kLevelCount = 7;

    CHelsinki();

    // A new file starts outside every deleted stretch.
    void ResetForFile() override;
    // Deletes the stretches of the levels switched on, carrying an open one
    // over to the following lines.
    void ScanLine(CHandlerFrame& frame, std::string& line) override;
    // The same deletion on the text read ahead for a hit's right context.
    void CleanFollowingText(CHandlerFrame& frame, std::string& text) override;
    void WriteColumnHeading(CHandlerFrame& frame, int outputType) override;
    // One "Deleted text level:" line per level switched on.
    void WriteHeader(CHandlerFrame& frame) override;

    // The work of the roles, without a frame.
    void DeleteMarkup(std::string& line);
    // The text that follows the line last scanned: when a stretch is still
    // open there, the text starts inside it. Changes no state.
    void DeleteFollowingMarkup(std::string& text) const;
    std::string ColumnHeading(const CCorpus& settings, const char* eol) const;
    std::string DeletedLevelLines(const char* eol) const;

    // The seven switches by level, 0 (font) to 6 (heading).
    std::array<int, kLevelCount> DeleteSwitches() const;
    void SetDeleteSwitches(const std::array<int, kLevelCount>& switches);

    // The options page's text for a level's switch, e.g.
    // "(^.....^) = font other than the basic font"; "" out of range.
    static std::string LevelCaption(int level);
    // The level's name as the header prints it; "" out of range.
    static const char* LevelName(int level);

    // The markup of each level, by level.
    static constexpr std::array<std::string_view, kLevelCount> openMarks = {
        "(^", "(\\", "(}", "[{", "[\\", "[^", "[}"};
    static constexpr std::array<std::string_view, kLevelCount> closeMarks = {
        "^)", "\\)", "})", "{]", "\\]", "^]", "}]"};

    // The name of each parameter, A to Z ("" for L).
    const std::array<std::string, 26> parameterNames;
    // The values each parameter takes in the corpus, in the order the
    // documentation gives them; empty where they are the corpus's own names.
    const std::array<std::vector<std::string>, 26> parameterValues;

    int deleteFont = 0;
    int deleteForeign = 0;
    int deleteRunes = 0;
    int deleteEmendation = 0;
    int deleteEditorComment = 1;
    int deleteCorpusComment = 1;
    int deleteHeading = 1;

    // Level i's stretch opened on an earlier line of the file and has not closed.
    std::array<int, kLevelCount> inDeleted{};
};

}  // namespace plix
