// CPenn: parsed text in the Penn style (PPCME1). A parse unit is a bracketed
// tree over several lines, closed by ")(" and its identifier; labels are
// tokens opened by "[" and closed by "]"; the text levels of the Helsinki
// tradition are elements such as "<latin>...</latin>"; page and manuscript
// markers stand in the text; COCOA references stand between the units and are
// read by CCocoa. The handler assembles the units, strips their markup,
// deletes the text levels chosen, and gives each hit the unit's type and the
// labels of the clause and the annotation around it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "corpora/handler.h"
#include "corpora/unit_assembly.h"

namespace plix {

class CCocoa;
class CCorpus;

class CPenn final : public CCorpusHandler
{
  public:
    static constexpr int kLevelCount = 7;
    static constexpr size_t kTagCount = 21;

    explicit CPenn(CCocoa& cocoa);

    // A new file: no unit open, no hit located.
    void ResetForFile() override;
    // Joins the physical lines into units; the COCOA references met between
    // two units go to CCocoa when the second one starts.
    void AssembleUnit(CHandlerFrame& frame, std::string& line) override;
    // The unit still open when the input ends, even without its ")(".
    bool FinishUnit(CHandlerFrame& frame, std::string& line) override;
    void ScanLine(CHandlerFrame& frame, std::string& line) override;
    bool IsSelected(CHandlerFrame& frame) override;
    void WriteHeader(CHandlerFrame& frame) override;
    void WriteColumnHeading(CHandlerFrame& frame, int outputType) override;
    // Finds the unit type and the labels around the hit for its reference.
    void LocateHit(CHandlerFrame& frame, const std::string& line, size_t hitOffset) override;
    void MakeReference(CHandlerFrame& frame, int outputType, std::string& reference) override;
    // With "Untag" on: the unit without its markup after the concordance line.
    void AmendContextLine(CHandlerFrame& frame, const std::string& line,
                          std::string& contextLine) override;
    // The list modes take the words of the untagged unit.
    void CleanListLine(CHandlerFrame& frame, std::string& line) override;

    // The work of the roles, without a frame.
    void Reset();
    // The identifier after ")(" cut off (with a comment in braces just before
    // it), then the markup stripped.
    void ScanUnit(std::string& line) const;
    // Page and manuscript markers, the deleted text levels with their content,
    // the remaining element tags, and the emendation brackets.
    void StripMarkup(std::string& text) const;
    // Labels, closing brackets, spans between two "%" and the markup removed.
    void Untag(std::string& text) const;
    // Sets `unitType`, `clause` and `annotation` for a hit at `hitOffset`.
    void LocateLabels(const std::string& line, size_t hitOffset);
    bool MatchesSelection(const CCorpus& settings) const;
    // Appends the location, the COCOA parameters chosen for output, the unit
    // type, the clause and the annotation to `out`.
    void BuildReference(const CCorpus& settings, std::string& out, int64_t lineNumber,
                        const std::string& fileName) const;
    // Appends " => " and `text`, with its control characters as blanks.
    static void AppendUntagged(std::string& concordanceLine, const std::string& text);
    void WriteColumnHeader(CHandlerFrame& frame) const;
    // The COCOA selections in force, then one line per deleted text level.
    void WriteSelection(CHandlerFrame& frame) const;

    // The seven deletion switches by level, as the Helsinki options page sets
    // them: 0 font, 1 foreign, 2 runes, 3 emendation, 4 editor's comment,
    // 5 corpus comment, 6 heading.
    std::array<int, kLevelCount> DeleteSwitches() const;
    void SetDeleteSwitches(const std::array<int, kLevelCount>& switches);
    // "&Untag" of the options page's "Penn" group.
    int UntagSwitch() const { return untag; }
    void SetUntagSwitch(int value) { untag = value != 0 ? 1 : 0; }

    // The element names; an element's tags are "<name>" and "</name>".
    static constexpr std::array<std::string_view, kTagCount> tagNames = {
        "font",    "latin",  "     ",      "",        "ec",      "hc",       "pc",
        " ",       "paren",  "french",     "german",  "dutch",   "greek",    "spanish",
        "italian", "hebrew", "ed-comment", "comment", "edition", "Hcomment", "intercalated"};

    // All start cleared: nothing of a parsed text is deleted unless asked for.
    int deleteFont = 0;
    int deleteForeign = 0;
    int deleteRunes = 0;  // no element stands for runes in these texts
    int deleteEmendation = 0;
    int deleteEditorComment = 0;
    int deleteCorpusComment = 0;
    int deleteHeading = 0;  // no element stands for headings either
    int untag = 0;

    // Of the last hit located: the byte after the unit's "(" (0: none), and
    // the nearest enclosing labels that begin with an upper-case letter and
    // with anything else.
    char unitType = 0;
    std::string clause;
    std::string annotation;

  private:
    CCocoa& cocoa_;
    CUnitAssembly assembly_;
};

}  // namespace plix
