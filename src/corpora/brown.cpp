#include "corpora/brown.h"

#include "settings/corpus.h"

namespace plix {

void Cbrown::SetCategory(const std::string& firstByte)
{
    category_.clear();
    if (!firstByte.empty()) {
        category_ += firstByte.front();
    }
}

void Cbrown::BuildReference(const CCorpus& settings, std::string& out) const
{
    out += settings.FormatTaggedField(category_, "category");
}

void Cbrown::WriteColumnHeader(CHandlerFrame& frame) const
{
    const CCorpus& settings = frame.Settings();
    frame.Write(settings.GetLineHeading() + settings.FormatField("Field") +
                settings.FormatField("Category") + settings.GetOccurrenceHeading() + frame.Eol());
}

void Cbrown::ScanLine(CHandlerFrame&, std::string& line)
{
    SetCategory(line.substr(0, 1));
}

void Cbrown::WriteColumnHeading(CHandlerFrame& frame, int)
{
    WriteColumnHeader(frame);
}

void Cbrown::MakeReference(CHandlerFrame& frame, int, std::string& reference)
{
    BuildReference(frame.Settings(), reference);
}

}  // namespace plix
