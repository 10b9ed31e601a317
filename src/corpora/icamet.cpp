#include "corpora/icamet.h"

#include "settings/corpus.h"

#include <cctype>

namespace plix {

namespace {

// The reference shows this much of a book title.
constexpr size_t kBookShown = 15;

bool IsDigit(char byte)
{
    return std::isdigit(static_cast<unsigned char>(byte)) != 0;
}

// The first `code` that digits follow is read into `digits` and removed with
// them. Only the first occurrence of the code is looked at: one without
// digits leaves the value as it was.
void ReadDigitsCode(std::string& line, const char* code, std::string& digits)
{
    size_t at = line.find(code);
    if (at == std::string::npos) {
        return;
    }
    size_t end = at + 2;
    while (end < line.size() && IsDigit(line[end])) {
        ++end;
    }
    if (end == at + 2) {
        return;
    }
    digits.assign(line, at + 2, end - (at + 2));
    line.erase(at, end - at);
}

bool IsCodeAt(const std::string& text, size_t i, const char* letters)
{
    if (text[i] != '|' || i + 1 >= text.size()) {
        return false;
    }
    for (const char* l = letters; *l != '\0'; ++l) {
        if (text[i + 1] == *l) {
            return true;
        }
    }
    return false;
}

// Removes each code of `letters` with what follows it up to the next blank.
// In the text read ahead the end of a line also ends a code, as the end of the
// line does when that line is scanned: a code never reaches into the next
// line. A removal stops at a blank or a line end, so it never makes a new
// code, and one pass removes what removing the kinds one after another would.
void RemoveCodesToBlank(std::string& text, const char* letters)
{
    if (text.find('|') == std::string::npos) {
        return;
    }
    std::string kept;
    kept.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        if (!IsCodeAt(text, i, letters)) {
            kept += text[i++];
            continue;
        }
        while (i < text.size() && text[i] != ' ' && text[i] != '\n') {
            ++i;
        }
    }
    text = std::move(kept);
}

}  // namespace

void CICAMET::Reset()
{
    book_.clear();
    page_.clear();
    number_.clear();
}

void CICAMET::ReadBook(std::string& line)
{
    const size_t at = line.find("|b");
    if (at == std::string::npos) {
        bookContinues_ = false;
        return;
    }
    if (!bookContinues_) {
        book_.clear();
    }
    bookContinues_ = true;
    const size_t open = at + 2;
    if (open >= line.size()) {
        // "|b" ends the line: a book code with an empty title.
        line.resize(at);
        return;
    }
    char close = line[open];
    bool toEnd = false;
    switch (close) {
        case '(':
            close = ')';
            break;
        case '[':
            close = ']';
            break;
        case '{':
            close = '}';
            break;
        case '_':
            toEnd = true;
            break;
        default:
            break;
    }
    const size_t from = open + 1;
    const size_t end = toEnd ? std::string::npos : line.find(close, from);
    if (end == std::string::npos) {
        if (from < line.size()) {
            book_.append(line, from, std::string::npos);
        }
        line.resize(at);
        return;
    }
    book_.append(line, from, end - from);
    line.erase(at, end + 1 - at);
}

void CICAMET::ReadCodes(std::string& line)
{
    ReadBook(line);
    ReadDigitsCode(line, "|p", page_);
    ReadDigitsCode(line, "|r", number_);
    // Whatever "|r" codes remain (without digits, or after the first) go up
    // to the next blank.
    RemoveCodesToBlank(line, "r");
}

void CICAMET::StripCodes(std::string& text)
{
    RemoveCodesToBlank(text, "bpr");
}

void CICAMET::BuildReference(const CCorpus& settings, int64_t lineNumber,
                             const std::string& sourceName, std::string& out) const
{
    out += settings.FormatReference(lineNumber, sourceName);
    out += settings.FormatTaggedField(book_.substr(0, kBookShown), "book");
    out += settings.FormatTaggedField(page_, "page");
    out += settings.FormatTaggedField(number_, "number");
}

void CICAMET::WriteColumnHeader(CHandlerFrame& frame) const
{
    const CCorpus& settings = frame.Settings();
    frame.Write(settings.GetLineHeading() + settings.FormatField("b") + settings.FormatField("p") +
                settings.FormatField("r") + settings.GetOccurrenceHeading() + frame.Eol());
}

void CICAMET::ResetForFile()
{
    Reset();
}

void CICAMET::ScanLine(CHandlerFrame&, std::string& line)
{
    ReadCodes(line);
}

void CICAMET::WriteColumnHeading(CHandlerFrame& frame, int)
{
    WriteColumnHeader(frame);
}

void CICAMET::CleanFollowingText(CHandlerFrame&, std::string& text)
{
    StripCodes(text);
}

void CICAMET::MakeReference(CHandlerFrame& frame, int, std::string& reference)
{
    BuildReference(frame.Settings(), frame.LineNumber(), frame.SourceName(), reference);
}

}  // namespace plix
