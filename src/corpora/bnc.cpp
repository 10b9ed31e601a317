#include "corpora/bnc.h"

#include "settings/corpus.h"

#include <algorithm>
#include <cctype>

namespace plix {

namespace {

bool IsWhite(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// A word tag is the tag of a word ("w") or of a punctuation mark ("c"): the
// delimiter, the one-letter name, a blank, the tag, the closing delimiter.
// Only these name a word's part of speech; a sentence's "<s n=1>" or an
// utterance's "<u who=A>" would otherwise give its attributes as the tag of
// the word after it.
bool IsWordTag(const std::string& text, size_t from, size_t to, char open, char close)
{
    if (to < from + 4 || text[from] != open || text[to - 1] != close) {
        return false;
    }
    const char name = static_cast<char>(std::tolower(static_cast<unsigned char>(text[from + 1])));
    return (name == 'w' || name == 'c') && IsWhite(text[from + 2]);
}

std::string TagContent(const std::string& text, size_t from, size_t to)
{
    return text.substr(from + 3, to - 1 - (from + 3));
}

}  // namespace

CBNC::CBNC(CSgml& sgml) : sgml_(sgml) {}

void CBNC::Reset()
{
    wordTag_.clear();
    rawLine_.clear();
    wordTags_.clear();
    wordEnds_.clear();
    cleanedLine_.clear();
    tagsPlaced_ = true;
    layoutChosen_ = false;
}

void CBNC::SetLayout(int bncFormat)
{
    layout_ = bncFormat;
    layoutChosen_ = true;
    tagOpen_ = bncFormat != 0 ? '[' : '<';
    tagClose_ = bncFormat != 0 ? ']' : '>';
}

void CBNC::RemoveBracketTags(std::string& text, std::vector<WordTagAt>* wordTags)
{
    if (text.find('[') == std::string::npos) {
        return;
    }
    std::string kept;
    kept.reserve(text.size());
    size_t pos = 0;
    for (;;) {
        const size_t open = text.find('[', pos);
        if (open == std::string::npos) {
            kept.append(text, pos, std::string::npos);
            break;
        }
        kept.append(text, pos, open - pos);
        const size_t close = text.find(']', open + 1);
        if (close == std::string::npos) {
            // An unclosed tag: its rest is markup, not text, and nothing
            // after it can be told apart from the tag.
            break;
        }
        if (wordTags != nullptr && IsWordTag(text, open, close + 1, '[', ']')) {
            wordTags->push_back({kept.size(), TagContent(text, open, close + 1)});
        }
        pos = close + 1;
    }
    text = std::move(kept);
}

void CBNC::ReadLine(const CCorpus& settings, std::string& line)
{
    if (!layoutChosen_) {
        SetLayout(settings.bncFormat);
    }
    rawLine_ = line;
    wordTags_.clear();
    wordEnds_.clear();
    if (layout_ == 0) {
        // The word tags are SGML tags: the reading takes them out with the
        // rest of the markup and says where they stood, so that each can be
        // placed in the cleaned line, whatever the reading dropped around it.
        // A tag begun on an earlier line, and one inside an excluded element,
        // is not among them.
        // Where the tags stood is asked for on the lines with a hit only:
        // when the reading only takes tags out, it can be found again then.
        mapLater_ = sgml_.TakesTagsOutOnly(settings);
        startsInTag_ = sgml_.InTag();
        sgml_.ReadTags(settings, line, mapLater_ ? nullptr : &map_);
    } else {
        // The reading has already taken out every SGML tag (the "<hit ...>"
        // of a line among them); stripping the line again as a context text
        // would take the text of a line that ends inside a tag for the inside
        // of that tag.
        sgml_.ReadTags(settings, line);
        RemoveBracketTags(line, &wordTags_);
    }
    // Where each word tag names its word is worked out for the lines that
    // have a hit only: most lines have none.
    cleanedLine_ = line;
    tagsPlaced_ = false;
}

void CBNC::PlaceWordTags()
{
    tagsPlaced_ = true;
    if (layout_ == 0) {
        if (mapLater_) {
            CSgml::MapTags(rawLine_, startsInTag_, map_);
        }
        size_t keptBefore = 0;
        size_t next = 0;
        for (const CSgmlLineMap::Span& tag : map_.tags) {
            while (next < map_.kept.size() && map_.kept[next].to <= tag.from) {
                keptBefore += map_.kept[next].to - map_.kept[next].from;
                ++next;
            }
            if (IsWordTag(rawLine_, tag.from, tag.to, tagOpen_, tagClose_)) {
                wordTags_.push_back({keptBefore, TagContent(rawLine_, tag.from, tag.to)});
            }
        }
    }
    // A tag names the word that follows it: the bytes after it, past any
    // white space, up to the next white space.
    const std::string& line = cleanedLine_;
    const size_t n = line.size();
    size_t start = 0;
    size_t end = 0;
    wordEnds_.reserve(wordTags_.size());
    for (const WordTagAt& tag : wordTags_) {
        start = std::max(start, tag.at);
        while (start < n && IsWhite(line[start])) {
            ++start;
        }
        end = std::max(end, start);
        while (end < n && !IsWhite(line[end])) {
            ++end;
        }
        wordEnds_.push_back(end);
    }
}

void CBNC::CleanText(std::string& text)
{
    sgml_.StripContextText(text);
    if (layout_ != 0) {
        RemoveBracketTags(text, nullptr);
    }
}

void CBNC::FindWordTag(size_t position)
{
    // The last word tag before the position, if the hit lies in the word it
    // names; a hit whose word has no tag on this line gets none rather than
    // the tag of a word before it.
    wordTag_.clear();
    if (!tagsPlaced_) {
        PlaceWordTags();
    }
    auto after =
        std::upper_bound(wordTags_.begin(), wordTags_.end(), position,
                         [](size_t value, const WordTagAt& tag) { return value < tag.at; });
    if (after == wordTags_.begin()) {
        return;
    }
    const size_t index = static_cast<size_t>(after - wordTags_.begin()) - 1;
    if (position < wordEnds_[index]) {
        wordTag_ = wordTags_[index].tag;
    }
}

void CBNC::BuildReference(const CCorpus& settings, int64_t lineNumber,
                          const std::string& sourceName, std::string& out) const
{
    out += sgml_.Reference(settings, lineNumber, sourceName);
    if (settings.bncPosOutput != 0) {
        out += settings.FormatTaggedField(wordTag_, "wordtag");
    }
}

void CBNC::WriteColumnHeader(CHandlerFrame& frame) const
{
    const CCorpus& settings = frame.Settings();
    std::string text = settings.GetLineHeading() + sgml_.AttributeHeadings(settings);
    if (settings.bncPosOutput != 0) {
        text += settings.FormatField("POS");
    }
    frame.Write(text + settings.GetOccurrenceHeading() + frame.Eol());
}

void CBNC::ResetForFile()
{
    Reset();
}

void CBNC::ScanLine(CHandlerFrame& frame, std::string& line)
{
    ReadLine(frame.Settings(), line);
}

void CBNC::WriteColumnHeading(CHandlerFrame& frame, int)
{
    WriteColumnHeader(frame);
}

void CBNC::CleanFollowingText(CHandlerFrame& frame, std::string& text)
{
    if (!layoutChosen_) {
        SetLayout(frame.Settings().bncFormat);
    }
    CleanText(text);
}

void CBNC::LocateHit(CHandlerFrame&, const std::string&, size_t hitOffset)
{
    FindWordTag(hitOffset);
}

void CBNC::MakeReference(CHandlerFrame& frame, int, std::string& reference)
{
    BuildReference(frame.Settings(), frame.LineNumber(), frame.SourceName(), reference);
}

}  // namespace plix
