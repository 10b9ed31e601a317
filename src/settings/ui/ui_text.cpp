#include "settings/ui/ui_text.h"

#include <QFile>

#include "settings/codec.h"

namespace plix {

QString ToDisplay(const std::string& bytes)
{
    std::u16string text = DecodeLocaleText(bytes);
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

std::string FromDisplay(const QString& text)
{
    return EncodeLocaleText(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                                static_cast<size_t>(text.size())));
}

std::string PathFromFileDialog(const QString& path)
{
    QByteArray bytes = QFile::encodeName(path);
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

QString PathForFileDialog(const std::string& bytes)
{
    return QFile::decodeName(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

}  // namespace plix
