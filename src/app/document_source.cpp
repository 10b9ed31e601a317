#include "app/document_source.h"

#include "app/plix_doc.h"
#include "settings/codec.h"

namespace plix {

CDocumentSource::CDocumentSource(const CPlixDoc& doc)
    : lines_(doc.LineBytes()),
      title_(EncodeLocaleText(
          std::u16string_view(reinterpret_cast<const char16_t*>(doc.GetTitle().utf16()),
                              static_cast<size_t>(doc.GetTitle().size()))))
{
}

std::string CDocumentSource::Line(size_t index) const
{
    return index < lines_.size() ? lines_[index] : std::string();
}

}  // namespace plix
