#include "corpora/ace.h"

#include <cctype>

#include "corpora/sgml.h"
#include "corpora/tag_strip.h"
#include "settings/corpus.h"

namespace plix {

namespace {

constexpr const char kOpenId[] = "<id>";
constexpr const char kCloseId[] = "</id>";
constexpr size_t kOpenIdLength = sizeof kOpenId - 1;
constexpr size_t kCloseIdLength = sizeof kCloseId - 1;

// The bytes of `text` from `from` up to `to`, white space left out.
std::string WithoutWhiteSpace(const std::string& text, size_t from, size_t to)
{
    std::string kept;
    for (size_t i = from; i < to && i < text.size(); ++i) {
        if (!std::isspace(static_cast<unsigned char>(text[i]))) {
            kept += text[i];
        }
    }
    return kept;
}

}  // namespace

CACE::CACE(CSgml& sgml) : sgml_(sgml) {}

void CACE::Reset()
{
    textId_.clear();
}

void CACE::TakeIdentifier(std::string& line)
{
    size_t open = line.find(kOpenId);
    while (open != std::string::npos) {
        const size_t textStart = open + kOpenIdLength;
        const size_t close = line.find(kCloseId, textStart);
        if (close == std::string::npos) {
            textId_ = WithoutWhiteSpace(line, textStart, line.size());
            line.erase(open);
            return;
        }
        textId_ = WithoutWhiteSpace(line, textStart, line.find('<', textStart));
        line.erase(open, close + kCloseIdLength - open);
        // Nothing before `open` held "<id>"; one can only have been made by
        // the bytes that the removal brought together.
        open = line.find(kOpenId, open >= kOpenIdLength - 1 ? open - (kOpenIdLength - 1) : 0);
    }
}

void CACE::StripTags(std::string& text)
{
    StripCompleteTags(text);
}

void CACE::BuildReference(const CCorpus& settings, std::string& out, int64_t lineNumber,
                          const std::string& fileName) const
{
    out += settings.FormatReference(lineNumber, fileName);
    out += settings.FormatTaggedField(textId_, "infoid");
}

void CACE::WriteColumnHeader(CHandlerFrame& frame) const
{
    const CCorpus& settings = frame.Settings();
    frame.Write(settings.GetLineHeading() + settings.FormatField("ID") +
                settings.GetOccurrenceHeading() + frame.Eol());
}

void CACE::WriteSelection(CHandlerFrame& frame) const
{
    std::string text = sgml_.ExcludedLines(frame.Settings(), frame.Eol());
    if (!text.empty()) {
        frame.Write(text);
    }
}

void CACE::ResetForFile()
{
    Reset();
}

void CACE::ScanLine(CHandlerFrame& frame, std::string& line)
{
    TakeIdentifier(line);
    sgml_.ReadTags(frame.Settings(), line);
}

void CACE::WriteHeader(CHandlerFrame& frame)
{
    WriteSelection(frame);
}

void CACE::WriteColumnHeading(CHandlerFrame& frame, int)
{
    WriteColumnHeader(frame);
}

void CACE::CleanFollowingText(CHandlerFrame&, std::string& text)
{
    StripTags(text);
}

void CACE::MakeReference(CHandlerFrame& frame, int, std::string& reference)
{
    BuildReference(frame.Settings(), reference, frame.LineNumber(), frame.SourceName());
}

}  // namespace plix
