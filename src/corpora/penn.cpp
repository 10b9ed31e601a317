#include "corpora/penn.h"

#include <algorithm>
#include <cctype>

#include "corpora/cocoa.h"
#include "settings/corpus.h"

namespace plix {

namespace {

constexpr size_t kNoPos = std::string::npos;

// The elements each deletion switch takes away with their content.
constexpr std::array<size_t, 1> kFontElements = {0};
constexpr std::array<size_t, 8> kForeignElements = {1, 9, 10, 11, 12, 13, 14, 15};
constexpr std::array<size_t, 1> kEditorCommentElements = {4};
constexpr std::array<size_t, 7> kCorpusCommentElements = {5, 6, 16, 17, 18, 19, 20};

struct ElementTags
{
    std::array<std::string, CPenn::kTagCount> open;
    std::array<std::string, CPenn::kTagCount> close;
};

const ElementTags& Tags()
{
    static const ElementTags tags = [] {
        ElementTags made;
        for (size_t i = 0; i < CPenn::kTagCount; ++i) {
            made.open[i] = "<" + std::string(CPenn::tagNames[i]) + ">";
            made.close[i] = "</" + std::string(CPenn::tagNames[i]) + ">";
        }
        return made;
    }();
    return tags;
}

bool EndsWith(const std::string& text, std::string_view tail)
{
    return text.size() >= tail.size() &&
           std::string_view(text).substr(text.size() - tail.size()) == tail;
}

// Removes the spans from `open` through the first `close` after it, one after
// the other, as if each search began again at the start of the text: bytes
// that a removal brings together can open a span too. The first `open` with
// no `close` after it stays, and so does everything after it. One pass: the
// kept text never holds an `open`, so only its last bytes can start one.
void RemoveSpans(std::string& text, std::string_view open, std::string_view close)
{
    const size_t first = text.find(open);
    if (first == kNoPos) {
        return;
    }
    std::string kept(text, 0, first);
    kept.reserve(text.size());
    size_t pos = first;
    while (pos < text.size()) {
        const char byte = text[pos++];
        kept += byte;
        if (byte != open.back() || !EndsWith(kept, open)) {
            continue;
        }
        const size_t closeAt = text.find(close, pos);
        if (closeAt == kNoPos) {
            kept.append(text, pos, kNoPos);
            break;
        }
        kept.resize(kept.size() - open.size());
        pos = closeAt + close.size();
    }
    text.swap(kept);
}

// Removes every occurrence of `tag`, again as if each search began at the
// start of the text.
void RemoveAll(std::string& text, std::string_view tag)
{
    const size_t first = text.find(tag);
    if (first == kNoPos) {
        return;
    }
    std::string kept(text, 0, first);
    kept.reserve(text.size());
    for (size_t pos = first; pos < text.size(); ++pos) {
        kept += text[pos];
        if (text[pos] == tag.back() && EndsWith(kept, tag)) {
            kept.resize(kept.size() - tag.size());
        }
    }
    text.swap(kept);
}

void RemoveByte(std::string& text, char byte)
{
    text.erase(std::remove(text.begin(), text.end(), byte), text.end());
}

// Removes each blank-separated token holding `mark` together with the blank
// after it. A token that ends the text has no blank after it and stays.
void RemoveTokensHolding(std::string& text, char mark)
{
    if (text.find(mark) == kNoPos) {
        return;
    }
    std::string kept;
    kept.reserve(text.size());
    size_t start = 0;
    while (start < text.size()) {
        const size_t blank = text.find(' ', start);
        if (blank == kNoPos) {
            kept.append(text, start, kNoPos);
            break;
        }
        const bool holds = std::find(text.begin() + static_cast<long>(start),
                                     text.begin() + static_cast<long>(blank),
                                     mark) != text.begin() + static_cast<long>(blank);
        if (!holds) {
            kept.append(text, start, blank + 1 - start);
        }
        start = blank + 1;
    }
    text.swap(kept);
}

// Removes each span from a "%" through the next "%"; a last "%" without a
// partner stays.
void RemovePercentSpans(std::string& text)
{
    size_t open = text.find('%');
    if (open == kNoPos || text.find('%', open + 1) == kNoPos) {
        return;
    }
    std::string kept;
    kept.reserve(text.size());
    size_t pos = 0;
    while (open != kNoPos) {
        const size_t close = text.find('%', open + 1);
        if (close == kNoPos) {
            break;
        }
        kept.append(text, pos, open - pos);
        pos = close + 1;
        open = text.find('%', pos);
    }
    kept.append(text, pos, kNoPos);
    text.swap(kept);
}

// A label ends at a blank or a "-"; also at any other white space or control
// byte, so that the line end a unit keeps from a line read ahead never gets
// into a reference.
bool EndsLabel(unsigned char byte)
{
    return byte == ' ' || byte == '-' || std::isspace(byte) || std::iscntrl(byte);
}

}  // namespace

CPenn::CPenn(CCocoa& cocoa) : cocoa_(cocoa), assembly_(kTypePpcme1) {}

void CPenn::Reset()
{
    unitType = 0;
    clause.clear();
    annotation.clear();
}

std::array<int, CPenn::kLevelCount> CPenn::DeleteSwitches() const
{
    return {deleteFont,          deleteForeign,       deleteRunes,  deleteEmendation,
            deleteEditorComment, deleteCorpusComment, deleteHeading};
}

void CPenn::SetDeleteSwitches(const std::array<int, kLevelCount>& switches)
{
    auto flag = [](int value) { return value != 0 ? 1 : 0; };
    deleteFont = flag(switches[0]);
    deleteForeign = flag(switches[1]);
    deleteRunes = flag(switches[2]);
    deleteEmendation = flag(switches[3]);
    deleteEditorComment = flag(switches[4]);
    deleteCorpusComment = flag(switches[5]);
    deleteHeading = flag(switches[6]);
}

void CPenn::ScanUnit(std::string& line) const
{
    const size_t pair = line.find(")(");
    if (pair != kNoPos) {
        line.resize(pair + 1);
        // A comment in braces just before the identifier goes with it.
        bool brace = false;
        for (size_t distance : {1, 2, 4}) {
            if (pair >= distance && line[pair - distance] == '}') {
                brace = true;
            }
        }
        if (brace) {
            const size_t open = line.rfind('{', pair);
            if (open != kNoPos && open > 0) {
                line.resize(open);
                line += " )";
            }
        }
    }
    StripMarkup(line);
}

void CPenn::StripMarkup(std::string& text) const
{
    RemoveSpans(text, "<P ", ">");
    RemoveSpans(text, "{MS:", "}");
    const ElementTags& tags = Tags();
    auto deleteElements = [&](int on, const auto& elements) {
        if (!on) {
            return;
        }
        for (size_t element : elements) {
            RemoveSpans(text, tags.open[element], tags.close[element]);
        }
    };
    deleteElements(deleteFont, kFontElements);
    deleteElements(deleteForeign, kForeignElements);
    deleteElements(deleteEditorComment, kEditorCommentElements);
    deleteElements(deleteCorpusComment, kCorpusCommentElements);
    for (size_t i = 0; i < kTagCount; ++i) {
        RemoveAll(text, tags.open[i]);
        RemoveAll(text, tags.close[i]);
    }
    if (deleteEmendation) {
        RemoveSpans(text, "<", ">");
    } else {
        RemoveByte(text, '<');
        RemoveByte(text, '>');
    }
}

void CPenn::Untag(std::string& text) const
{
    // The unit's type character is not a word of the text.
    if (text.size() >= 2 && text[0] == '(' && text[1] != ' ') {
        text[1] = ' ';
    }
    RemoveTokensHolding(text, '[');
    RemoveTokensHolding(text, ']');
    RemovePercentSpans(text);
    StripMarkup(text);
}

void CPenn::LocateLabels(const std::string& line, size_t hitOffset)
{
    Reset();
    if (line.empty() || line[0] != '(') {
        return;
    }
    if (line.size() > 1) {
        const auto type = static_cast<unsigned char>(line[1]);
        // A unit whose first line was read ahead keeps that line's end here.
        unitType = type != 0 && std::iscntrl(type) ? ' ' : static_cast<char>(type);
    }
    long bracketDepth = 0;
    for (size_t i = std::min(hitOffset, line.size()); i-- > 0;) {
        if (line[i] == ']') {
            ++bracketDepth;
        } else if (line[i] == '[') {
            if (bracketDepth > 0) {
                --bracketDepth;
            } else {
                // Only the first label of each kind is taken: the test of the
                // first byte comes before the label is read.
                const size_t start = i + 1;
                const bool upper =
                    start < line.size() && std::isupper(static_cast<unsigned char>(line[start]));
                std::string& slot = upper ? clause : annotation;
                if (slot.empty()) {
                    size_t end = start;
                    while (end < line.size() && !EndsLabel(static_cast<unsigned char>(line[end]))) {
                        ++end;
                    }
                    slot.assign(line, start, end - start);
                }
            }
        }
        if (!clause.empty() && !annotation.empty()) {
            break;
        }
    }
}

bool CPenn::MatchesSelection(const CCorpus& settings) const
{
    return cocoa_.MatchesSelection(settings);
}

void CPenn::BuildReference(const CCorpus& settings, std::string& out, int64_t lineNumber,
                           const std::string& fileName) const
{
    out += settings.FormatReference(lineNumber, fileName);
    for (size_t i = 0; i < settings.cocoaOutput.size(); ++i) {
        if (settings.cocoaOutput[i]) {
            out += settings.FormatTaggedField(cocoa_.GetValue(static_cast<int>(i)),
                                              std::string(1, static_cast<char>('A' + i)));
        }
    }
    out += settings.FormatTaggedField(unitType != 0 ? std::string(1, unitType) : std::string(),
                                      "type");
    out += settings.FormatTaggedField(clause, "clause");
    out += settings.FormatTaggedField(annotation, "annotation");
}

void CPenn::AppendUntagged(std::string& concordanceLine, const std::string& text)
{
    // The unit keeps the line ends of lines read ahead; in a concordance line
    // they would break the result's lines.
    concordanceLine += " => ";
    concordanceLine.reserve(concordanceLine.size() + text.size());
    for (char byte : text) {
        concordanceLine += std::iscntrl(static_cast<unsigned char>(byte)) ? ' ' : byte;
    }
}

void CPenn::WriteColumnHeader(CHandlerFrame& frame) const
{
    const CCorpus& settings = frame.Settings();
    std::string text = settings.GetLineHeading() + settings.FormatField("Reference");
    for (size_t i = 0; i < settings.cocoaOutput.size(); ++i) {
        if (settings.cocoaOutput[i]) {
            text += settings.FormatField(std::string(1, static_cast<char>('A' + i)));
        }
    }
    text += settings.FormatField("Type") + settings.FormatField("Clause") +
            settings.FormatField("Annotation") + settings.GetOccurrenceHeading() + frame.Eol();
    frame.Write(text);
}

void CPenn::WriteSelection(CHandlerFrame& frame) const
{
    const char* eol = frame.Eol();
    std::string text = cocoa_.SelectionLines(frame.Settings(), eol);
    const std::pair<int, const char*> levels[] = {
        {deleteFont, "font other than the basic font"},
        {deleteForeign, "foreign language"},
        {deleteEmendation, "emendation"},
        {deleteEditorComment, "editor's comment"},
        {deleteCorpusComment, "Helsinki / Penn Corpus comment"},
    };
    for (const auto& [on, name] : levels) {
        if (on) {
            text += std::string("Deleted text level:") + name + eol;
        }
    }
    if (!text.empty()) {
        frame.Write(text);
    }
}

void CPenn::ResetForFile()
{
    Reset();
    assembly_.Reset();
}

void CPenn::AssembleUnit(CHandlerFrame&, std::string& line)
{
    std::string references;
    if (assembly_.Assemble(line, references)) {
        cocoa_.ScanReferences(references);
    }
}

bool CPenn::FinishUnit(CHandlerFrame&, std::string& line)
{
    return assembly_.Finish(line);
}

void CPenn::ScanLine(CHandlerFrame&, std::string& line)
{
    ScanUnit(line);
}

bool CPenn::IsSelected(CHandlerFrame& frame)
{
    return MatchesSelection(frame.Settings());
}

void CPenn::WriteHeader(CHandlerFrame& frame)
{
    WriteSelection(frame);
}

void CPenn::WriteColumnHeading(CHandlerFrame& frame, int)
{
    WriteColumnHeader(frame);
}

void CPenn::LocateHit(CHandlerFrame&, const std::string& line, size_t hitOffset)
{
    LocateLabels(line, hitOffset);
}

void CPenn::MakeReference(CHandlerFrame& frame, int, std::string& reference)
{
    BuildReference(frame.Settings(), reference, frame.LineNumber(), frame.SourceName());
}

void CPenn::AmendContextLine(CHandlerFrame&, const std::string& line, std::string& contextLine)
{
    if (!untag) {
        return;
    }
    std::string copy = line;
    Untag(copy);
    AppendUntagged(contextLine, copy);
}

void CPenn::CleanListLine(CHandlerFrame&, std::string& line)
{
    Untag(line);
}

}  // namespace plix
