#include "corpora/copc.h"

#include "settings/corpus.h"

#include <cctype>

namespace plix {

namespace {

// The bytes of `line` from `pos` up to, not including, `stop` into `field`;
// `pos` then stands after the `stop`, or at npos when the line ended first.
// Fields are taken whole, however long.
void TakeField(const std::string& line, size_t& pos, char stop, std::string& field)
{
    if (pos == std::string::npos) {
        field.clear();
        return;
    }
    size_t end = line.find(stop, pos);
    if (end == std::string::npos) {
        field.assign(line, pos, std::string::npos);
        pos = std::string::npos;
        return;
    }
    field.assign(line, pos, end - pos);
    pos = end + 1;
}

}  // namespace

void CCOPC::Reset()
{
    reference_.clear();
    year_.clear();
    info_.clear();
}

bool CCOPC::IsHeaderLine(const std::string& line)
{
    auto at = [&line](size_t i) { return static_cast<unsigned char>(line[i]); };
    if (line.size() >= 2 && std::isdigit(at(0)) != 0 && std::isupper(at(1)) != 0) {
        return true;
    }
    return line.size() >= 6 && line[4] == ':' && std::isspace(at(5)) == 0;
}

void CCOPC::ReadHeader(std::string& line)
{
    if (!IsHeaderLine(line)) {
        return;
    }
    size_t pos = 0;
    TakeField(line, pos, '(', reference_);
    TakeField(line, pos, ')', year_);
    TakeField(line, pos, ' ', info_);
    if (pos == std::string::npos) {
        line.clear();
    } else {
        line.erase(0, pos);
    }
}

void CCOPC::CleanText(std::string& line)
{
    if (!IsHeaderLine(line)) {
        return;
    }
    size_t blank = line.find(' ');
    if (blank == std::string::npos) {
        line.clear();
    } else {
        line.erase(0, blank);
    }
}

void CCOPC::BuildReference(const CCorpus& settings, int64_t lineNumber,
                           const std::string& sourceName, std::string& out) const
{
    out += settings.FormatReference(lineNumber, sourceName);
    out += settings.FormatTaggedField(reference_, "reference");
    out += settings.FormatTaggedField(year_, "year");
    out += settings.FormatTaggedField(info_, "info");
}

void CCOPC::WriteColumnHeader(CHandlerFrame& frame) const
{
    const CCorpus& settings = frame.Settings();
    frame.Write(settings.GetLineHeading() + settings.FormatField("Reference") +
                settings.FormatField("Year") + settings.FormatField("Info") +
                settings.GetOccurrenceHeading() + frame.Eol());
}

void CCOPC::ResetForFile()
{
    Reset();
}

void CCOPC::ScanLine(CHandlerFrame&, std::string& line)
{
    ReadHeader(line);
}

void CCOPC::WriteColumnHeading(CHandlerFrame& frame, int)
{
    WriteColumnHeader(frame);
}

void CCOPC::MakeReference(CHandlerFrame& frame, int, std::string& reference)
{
    BuildReference(frame.Settings(), frame.LineNumber(), frame.SourceName(), reference);
}

void CCOPC::CleanPeekedLine(std::string& line)
{
    CleanText(line);
}

}  // namespace plix
