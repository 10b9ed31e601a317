#include "settings/settings_store.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace plix {

int CMemorySettingsStore::GetInt(const std::string& section, const std::string& name,
                                 int fallback) const
{
    auto it = values.find({section, name});
    if (it == values.end() || it->second.empty()) {
        return fallback;
    }
    const char* text = it->second.c_str();
    char* end = nullptr;
    errno = 0;
    long value = std::strtol(text, &end, 10);
    if (*end != '\0' || errno != 0 || value < INT_MIN || value > INT_MAX) {
        return fallback;
    }
    return static_cast<int>(value);
}

std::string CMemorySettingsStore::GetString(const std::string& section, const std::string& name,
                                            const std::string& fallback) const
{
    auto it = values.find({section, name});
    return it == values.end() ? fallback : it->second;
}

void CMemorySettingsStore::WriteInt(const std::string& section, const std::string& name, int value)
{
    values[{section, name}] = std::to_string(value);
}

void CMemorySettingsStore::WriteString(const std::string& section, const std::string& name,
                                       const std::string& value)
{
    values[{section, name}] = value;
}

void CMemorySettingsStore::Delete(const std::string& section, const std::string& name)
{
    values.erase({section, name});
}

bool CMemorySettingsStore::Has(const std::string& section, const std::string& name) const
{
    return values.count({section, name}) != 0;
}

}  // namespace plix
