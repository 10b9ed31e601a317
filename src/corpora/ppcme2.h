// CPPCME2: parsed text in labelled bracketing, as PPCME2, York-Toronto-Helsinki
// and Brooklyn write it. Every word stands in a node "(TAG word)", every phrase
// in a node "(LABEL ...)", and a unit ends with its identifier node "(ID ...)".
// The physical lines are joined into units first; each unit then loses its
// identifier to the reference of its hits, and with a target node chosen
// everything outside the nodes of that label is blanked, so that only their
// text is searched. The unit as it stood before the blanking is kept: the
// concordance lines show it, and the text before the next unit is taken from
// it. The word lists see the words only, without labels and brackets.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "corpora/handler.h"
#include "corpora/unit_assembly.h"
#include "settings/corpus.h"

namespace plix {

class CPPCME2 final : public CCorpusHandler
{
  public:
    // The part-of-speech entries ("TAG: description") and the node-label
    // entries ("LABEL:description ") the options page offers.
    static const std::array<std::string_view, 83> posTable;
    static const std::array<std::string_view, 82> labelTable;

    static int GetPosCount();
    static int GetLabelCount();
    // The entry at `index`, or "" outside the table.
    static std::string GetPosEntry(int index);
    static std::string GetLabelEntry(int index);

    void ResetForFile() override;
    // The unit assembly of the type being run (PPCME2, Brooklyn or
    // York-Toronto-Helsinki).
    void AssembleUnit(CHandlerFrame& frame, std::string& line) override;
    LinePrescan PrescanFor(int corpusType) const override;
    bool FinishUnit(CHandlerFrame& frame, std::string& line) override;
    void ScanLine(CHandlerFrame& frame, std::string& line) override;
    void WriteHeader(CHandlerFrame& frame) override;
    void WriteColumnHeading(CHandlerFrame& frame, int outputType) override;
    void LocateHit(CHandlerFrame& frame, const std::string& line, size_t hitOffset) override;
    const std::string* ContextSource() const override;
    // Puts the unit back as it stood before the blanking, and lets go of the copy.
    void RestoreLine(std::string& line) override;
    void MakeReference(CHandlerFrame& frame, int outputType, std::string& reference) override;
    void CleanListLine(CHandlerFrame& frame, std::string& line) override;

    // The work of the roles.
    // Derives the target node and the chosen tag from the settings and
    // forgets the identifier and the tag of the last hit.
    void Reset(const CCorpus& settings);
    // Takes the identifier off the unit, keeps the unit, and blanks what
    // lies outside the target nodes.
    void ScanUnit(std::string& line);
    // Leaves the words of a unit, separated by blanks.
    static void StripLabels(std::string& text);
    // The unit as it was before blanking: its own copy when something was
    // blanked, else the searched line `searched` itself.
    const std::string& KeptUnit(const std::string& searched) const
    {
        return haveCopy_ ? textCopy_ : searched;
    }
    // The kept unit's byte at `index`; a blank at or past its end.
    char CharAt(const std::string& searched, size_t index) const;
    // The part-of-speech tag of the hit at `hitOffset` of the kept unit.
    void FindHitPos(const std::string& kept, size_t hitOffset);
    void BuildReference(const CCorpus& settings, std::string& out, int64_t lineNumber,
                        const std::string& fileName) const;
    static void WriteColumnHeader(CHandlerFrame& frame);
    // The run's header note: the target node, when there is one.
    void WriteSelection(CHandlerFrame& frame) const;

    // The identifier in `text`, the rest of a unit after its "(ID ": up to
    // its last letter or digit; the text whole when it has none.
    static std::string IdentifierOf(std::string_view text);
    // Blanks every byte of `line` outside the stretches that begin with
    // `target` and run to the bracket that closes the node they begin in.
    static void BlankOutsideTarget(std::string& line, const std::string& target);
    // A Brooklyn target is kept from its label on, without the bracket before
    // it: the word lists would count the label as a word. Puts back, from the
    // kept unit, each opening bracket that directly precedes kept text.
    static void GiveBackOpeningBrackets(std::string& line, const std::string& kept);
    // The tag of the node that the nearest "(" at or before `offset` opens:
    // its label, the bytes up to the next blank; none when no bracket comes
    // before the offset or the label would be longer than any label is.
    static std::string TagBefore(const std::string& text, size_t offset);
    // The label of the node whose bracket stands at `open`, as above.
    static std::string LabelAt(const std::string& text, size_t open);

    const std::string& UnitId() const { return unitId_; }
    const std::string& HitPos() const { return hitPos_; }
    // The tag of the "Part of Speech:" entry: derived with the target, used by
    // no step of a run.
    const std::string& SelectedPos() const { return selectedPos_; }
    const std::string& TargetNode() const { return targetNode_; }

  private:
    // The settings are read once a file, by the first role of the file that
    // sees them.
    void Prepare(const CHandlerFrame& frame);
    CUnitAssembly& UnitsFor(int corpusType);

    std::string unitId_;
    std::string hitPos_;
    std::string selectedPos_;
    std::string targetNode_;
    std::string textCopy_;
    bool haveCopy_ = false;  // textCopy_ holds the unit (something was blanked)
    bool scanned_ = false;   // the current line is a scanned unit
    bool prepared_ = false;
    // Where the last hit of the kept unit stood, and the bracket of its node.
    size_t lastHitAt_ = std::string::npos;
    size_t lastOpen_ = std::string::npos;
    size_t idHint_ = std::string::npos;  // where the unit just assembled has its "(ID "
    CUnitAssembly ppcme2Units_{kTypePpcme2};
    CUnitAssembly brooklynUnits_{kTypeBrooklyn};
    CUnitAssembly yorkUnits_{kTypeYorkTorontoHelsinki};
};

}  // namespace plix
