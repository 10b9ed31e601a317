// CSgml: running text with SGML markup. The markup is removed from the text
// the engine counts and searches, the current values of chosen attributes are
// kept for each hit's reference, and the content of elements marked "Exclude"
// is dropped. The SGML options page has the corpus files scanned here to list
// the tags and tag-attribute keys it offers. The ACE and BNC handlers reuse
// the tag reading, the references and the list of excluded tags.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "corpora/handler.h"

namespace plix {

class CCorpus;
class CProgress;

// One entry of a scan list: a tag name with the name of its end tag, or a
// tag-attribute key ("DIV N") with its tag name.
struct CTag
{
    std::string name;  // upper case
    std::string info;  // tag list: end-tag name ("" if none was seen); key list: tag name
};

// Names compared byte by byte with both sides lower-cased, the order in which
// the scan lists them.
struct CTagOrder
{
    bool operator()(const std::string& a, const std::string& b) const;
};

// A scan list: each name once, in ascending order.
using CTagTree = std::map<std::string, CTag, CTagOrder>;

// The scan of the options page over the lines of the corpus files: every tag
// name, the end-tag names and every tag-attribute key, with declarations and
// comments left out. Lines are given without their line ends.
class CTagScan
{
  public:
    // A new file: no declaration or tag is open.
    void BeginFile();
    void ReadText(const std::string& line);

    const CTagTree& Tags() const { return tags_; }
    const CTagTree& Keys() const { return keys_; }

  private:
    // The line without the declarations and comments in it, or the parts of
    // them that continue from earlier lines.
    std::string WithoutDeclarations(const std::string& line);
    void EnterStartTag(const std::string& text);
    void EnterEndTag(const std::string& name);

    CTagTree tags_;
    CTagTree keys_;
    bool inDeclaration_ = false;
    bool inComment_ = false;  // between "--" and "--" inside a declaration
    char quote_ = 0;          // the quote a declaration has open, or 0
    size_t depth_ = 0;        // "<" met inside the declaration, not yet closed
    bool inTag_ = false;      // a start tag runs on from an earlier line
    std::string tagText_;
};

// Where the bytes of a line went when its markup was read: the stretches kept
// as text, and the tags that begin and end in the line, as offsets into the
// line as it was read. A handler that must find a tag of the text it was
// given (the word tag before a hit) can tell from it which bytes of the
// cleaned line stood where, even when an exclusion or a tag moved them.
struct CSgmlLineMap
{
    struct Span
    {
        size_t from;  // first byte
        size_t to;    // one past the last byte
    };
    std::vector<Span> kept;  // in order; the cleaned line is their bytes joined
    std::vector<Span> tags;  // in order, each from its "<" through its ">"
};

enum class SgmlScanOutcome
{
    Done,
    Cancelled,
    Unreadable
};

class CSgml final : public CCorpusHandler
{
  public:
    void ResetForFile() override;
    // Removes the markup and the excluded content from the line.
    void ScanLine(CHandlerFrame& frame, std::string& line) override;
    void WriteHeader(CHandlerFrame& frame) override;
    void WriteColumnHeading(CHandlerFrame& frame, int outputType) override;
    void CleanFollowingText(CHandlerFrame& frame, std::string& text) override;
    void MakeReference(CHandlerFrame& frame, int outputType, std::string& reference) override;

    // The work of the roles, for the handlers that share SGML markup. With
    // `map`, also says where the kept text and the tags stood in the line.
    void ReadTags(const CCorpus& settings, std::string& line, CSgmlLineMap* map = nullptr);
    // True when the next line's tags will only be taken out (no tag to
    // exclude, no attribute to print, no exclusion going on): where they
    // stood then follows from the line itself and whether a tag runs on into
    // it, which `InTag` tells before the line is read.
    bool TakesTagsOutOnly(const CCorpus& settings) const;
    bool InTag() const { return inTag_; }
    // Where the tags of `line` stand when its tags are only taken out.
    static void MapTags(const std::string& line, bool startsInTag, CSgmlLineMap& map);
    // Tests: whether the 64-byte instructions may be used where the machine
    // has them (else the sixteen-byte way is taken).
    static void AllowWideMarksForTests(bool allow);
    // Removes every tag from a text; a tag left open at its end makes the next
    // text start inside that tag.
    void StripTags(std::string& text);
    // The text read ahead after the line just read: it starts inside a tag
    // when that line ended inside one.
    void StripContextText(std::string& text);
    std::string Reference(const CCorpus& settings, int64_t lineNumber,
                          const std::string& sourceName) const;
    std::string ColumnHeading(const CCorpus& settings, const char* eol) const;
    // The heading field of every attribute marked for output, in list order.
    std::string AttributeHeadings(const CCorpus& settings) const;
    std::string ExcludedLines(const CCorpus& settings, const char* eol) const;

    // Scans the files for the options page. On success the six lists below
    // hold the result; when the scan is cancelled or a file cannot be read
    // they keep what they held, and `error` names the file and the reason.
    SgmlScanOutcome Scan(const std::vector<std::string>& files, CProgress& progress,
                         std::string& error);
    // Fills the six lists from a finished scan, every switch 0.
    void TakeScan(const CTagScan& scan);

    // The current value of each `sgmlAttributes` entry ("" until it is met).
    std::string GetValue(size_t index) const;

    // The result of the last scan, kept until the next.
    std::vector<std::string> scannedTags;
    std::vector<std::string> scannedTagEnds;
    std::vector<unsigned> scannedTagFlags;
    std::vector<std::string> scannedAttributes;
    std::vector<std::string> scannedAttributeTags;
    std::vector<unsigned> scannedAttributeFlags;

  private:
    // Judges a complete start tag: opens an exclusion or takes its attributes.
    void JudgeTag(const CCorpus& settings, const std::string& text);
    // ReadTags when no tag needs judging: the tags only taken out.
    void TakeOutTags(std::string& line, CSgmlLineMap* map);
    // Skips excluded content from `pos`; returns where the text goes on, or
    // the end of the line when the exclusion goes on into the next line.
    size_t SkipExcluded(const std::string& line, size_t pos);

    std::vector<std::string> attributeValues_;
    bool inTag_ = false;
    bool inStripTag_ = false;
    bool excluding_ = false;
    std::string endTagName_;
    std::string tagText_;
    std::string kept_;    // the line being rebuilt, kept for its buffer
    std::string padded_;  // the line read, with room to read past its end
};

}  // namespace plix
