#include "settings/qt/qt_settings_store.h"

#include <QSettings>
#include <QString>

namespace plix {

namespace {

QString Key(const std::string& section, const std::string& name)
{
    return QString::fromStdString(section) + '/' + QString::fromStdString(name);
}

// Paths and keywords are bytes of the locale's code page; they are stored as
// Latin-1 so that every byte value survives the round trip.
QString FromBytes(const std::string& bytes)
{
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string ToBytes(const QString& text)
{
    QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

}  // namespace

CQtSettingsStore::CQtSettingsStore()
    : settings_(std::make_unique<QSettings>(QStringLiteral("PLIX"), QStringLiteral("plix")))
{
}

CQtSettingsStore::~CQtSettingsStore()
{
    settings_->sync();
}

int CQtSettingsStore::GetInt(const std::string& section, const std::string& name,
                             int fallback) const
{
    QVariant value = settings_->value(Key(section, name));
    if (!value.isValid()) {
        return fallback;
    }
    bool ok = false;
    int number = value.toString().trimmed().toInt(&ok);
    return ok ? number : fallback;
}

std::string CQtSettingsStore::GetString(const std::string& section, const std::string& name,
                                        const std::string& fallback) const
{
    QVariant value = settings_->value(Key(section, name));
    if (!value.isValid()) {
        return fallback;
    }
    return ToBytes(value.toString());
}

void CQtSettingsStore::WriteInt(const std::string& section, const std::string& name, int value)
{
    settings_->setValue(Key(section, name), value);
}

void CQtSettingsStore::WriteString(const std::string& section, const std::string& name,
                                   const std::string& value)
{
    settings_->setValue(Key(section, name), FromBytes(value));
}

void CQtSettingsStore::Delete(const std::string& section, const std::string& name)
{
    settings_->remove(Key(section, name));
}

void CQtSettingsStore::Sync()
{
    settings_->sync();
}

}  // namespace plix
