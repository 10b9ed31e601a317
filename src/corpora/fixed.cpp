#include "corpora/fixed.h"

#include "settings/corpus.h"

namespace plix {

namespace {

// The 0-based span of the field in a text of `size` bytes, false when there
// is none: an empty range, or a text that ends before the field begins. A
// start below column 1 counts from column 1.
bool FieldSpan(size_t size, int start, int end, size_t& from, size_t& count)
{
    const long first = start < 1 ? 1 : start;
    if (end < first || size < static_cast<size_t>(first)) {
        return false;
    }
    from = static_cast<size_t>(first - 1);
    count = static_cast<size_t>(end - first + 1);
    return true;
}

}  // namespace

void CFixed::ResetForFile()
{
    info_.clear();
}

void CFixed::CutField(std::string& line, int start, int end)
{
    start_ = start;
    end_ = end;
    size_t from = 0;
    size_t count = 0;
    if (!FieldSpan(line.size(), start, end, from, count)) {
        info_.clear();
        return;
    }
    info_.assign(line, from, count);
    line.erase(from, count);
}

void CFixed::RemoveInfo(std::string& text, int start, int end)
{
    size_t from = 0;
    size_t count = 0;
    if (FieldSpan(text.size(), start, end, from, count)) {
        text.erase(from, count);
    }
}

void CFixed::BuildReference(const CCorpus& settings, int64_t lineNumber,
                            const std::string& sourceName, std::string& out) const
{
    out += settings.FormatReference(lineNumber, sourceName);
    out += settings.FormatTaggedField(info_, "field");
}

void CFixed::ScanLine(CHandlerFrame& frame, std::string& line)
{
    CutField(line, frame.Settings().GetInfoStart(), frame.Settings().GetInfoEnd());
}

void CFixed::WriteColumnHeading(CHandlerFrame& frame, int)
{
    const CCorpus& settings = frame.Settings();
    frame.Write(settings.GetLineHeading() + settings.FormatField("Field") +
                settings.GetOccurrenceHeading() + frame.Eol());
}

void CFixed::MakeReference(CHandlerFrame& frame, int, std::string& reference)
{
    BuildReference(frame.Settings(), frame.LineNumber(), frame.SourceName(), reference);
}

void CFixed::CleanPeekedLine(std::string& line)
{
    RemoveInfo(line, start_, end_);
}

}  // namespace plix
