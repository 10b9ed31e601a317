// CBNC: BNC texts in one of four layouts. "Text" is SGML with a word tag
// "<w TAG>" before each word; "Plain", "POS" and "SGML" write the word tags
// in square brackets, "[w TAG]". The SGML handler reads the tags, keeps the
// attribute values and drops the excluded elements; what is left of the
// markup goes here, and the word tag of each hit is found so that it can be
// printed with the hit's reference.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "corpora/handler.h"
#include "corpora/sgml.h"

namespace plix {

class CCorpus;

class CBNC final : public CCorpusHandler
{
  public:
    // A word tag of the current line: its content ("NN1" of "<w NN1>") and
    // the offset in the cleaned line where the text after it begins.
    struct WordTagAt
    {
        size_t at;
        std::string tag;
    };

    explicit CBNC(CSgml& sgml);

    void ResetForFile() override;
    // Keeps the line as read, lets the SGML handler read its tags, then takes
    // out the bracketed word tags of the bracket layouts.
    void ScanLine(CHandlerFrame& frame, std::string& line) override;
    void WriteColumnHeading(CHandlerFrame& frame, int outputType) override;
    void CleanFollowingText(CHandlerFrame& frame, std::string& text) override;
    void LocateHit(CHandlerFrame& frame, const std::string& line, size_t hitOffset) override;
    void MakeReference(CHandlerFrame& frame, int outputType, std::string& reference) override;

    // The work of the roles.
    void Reset();
    // The delimiters of the word tags for a layout (`bncFormat`): "<" and ">"
    // for Text (0), "[" and "]" for the others. Chosen once a file, at its
    // first line, from the setting in force.
    void SetLayout(int bncFormat);
    void ReadLine(const CCorpus& settings, std::string& line);
    // The markup left in a context text: the SGML tags, and in the bracket
    // layouts every "[" ... "]" stretch.
    void CleanText(std::string& text);
    // Removes every "[" ... "]" stretch; a "[" without a "]" after it takes
    // the rest of the text with it. With `wordTags`, gives the word tags
    // removed.
    static void RemoveBracketTags(std::string& text, std::vector<WordTagAt>* wordTags);
    // The word tag of the hit at `position` of the cleaned line.
    void FindWordTag(size_t position);
    void BuildReference(const CCorpus& settings, int64_t lineNumber, const std::string& sourceName,
                        std::string& out) const;
    void WriteColumnHeader(CHandlerFrame& frame) const;

    const std::string& RawLine() const { return rawLine_; }
    const std::string& WordTag() const { return wordTag_; }
    char TagOpen() const { return tagOpen_; }
    char TagClose() const { return tagClose_; }

  private:
    // Finds the word tags of the current line and where their words end.
    void PlaceWordTags();

    CSgml& sgml_;
    int layout_ = 0;
    bool layoutChosen_ = false;
    char tagOpen_ = '<';
    char tagClose_ = '>';
    std::string rawLine_;
    std::string wordTag_;
    // The word tags of the current line, in order, and where the cleaned
    // line's white space after each one stands: a tag names the bytes from
    // its `at` up to the next blank.
    std::vector<WordTagAt> wordTags_;
    std::vector<size_t> wordEnds_;
    CSgmlLineMap map_;
    std::string cleanedLine_;
    bool tagsPlaced_ = true;
    bool mapLater_ = false;     // map_ is to be found from the raw line
    bool startsInTag_ = false;  // the raw line begins inside a tag
};

}  // namespace plix
