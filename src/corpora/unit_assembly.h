// The sentence assembly of the parsed corpora (PPCME1, PPCME2, Brooklyn,
// York-Toronto-Helsinki): their parsed units spread over several physical lines,
// and the handlers of those corpora hand the frame one logical line a unit.
// While a unit is incomplete the line is left empty, so nothing is counted for
// that physical line; the unit belongs to the physical line that completed it.
#pragma once

#include "corpora/line_marks.h"

#include <string>
#include <string_view>

namespace plix {

class CUnitAssembly
{
  public:
    // `corpusType`: 11, 12, 13 or 14.
    explicit CUnitAssembly(int corpusType) : type_(corpusType) {}

    void Reset();
    // Takes one physical line. `line` becomes the complete unit, or empty.
    // For PPCME1, when a unit starts, `references` receives the COCOA
    // references met between the previous unit and this one and the result is
    // true; otherwise the result is false.
    // `marks`, when given, are ParsedLineMarks of the line as it was read
    // (before the reader's blank), so that it need not be searched again.
    bool Assemble(std::string& line, std::string& references, const LineMarks* marks = nullptr);
    // At the end of the input: a unit still open goes into `line` (true).
    bool Finish(std::string& line);
    // PPCME2 and York-Toronto-Helsinki: where the "(ID " group of the unit
    // the last Assemble completed stands in it (npos when it completed none),
    // so that the unit need not be searched for it again.
    size_t IdAt() const { return idAt_; }

  private:
    bool AssembleParsed(std::string& line, const LineMarks* marks);

    int type_;
    bool inUnit_ = false;
    std::string unitText_;
    std::string between_;  // PPCME1: the text between two units
    size_t idAt_ = std::string::npos;
};

// The marks the PPCME2 and York-Toronto-Helsinki assembly looks for in a
// physical line: `first` the first "(ID " (also one the reader's blank would
// complete), `second` the first "(CODE", and, when the line opens with "(",
// `third` the first "CODE".
LineMarks ParsedLineMarks(std::string_view raw);

// The COCOA references of a text: the groups from "<" to the next ">" whose
// third character is a blank.
std::string CocoaReferencesOf(const std::string& text);

}  // namespace plix
