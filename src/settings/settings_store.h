// The per-user store behind the persisted settings: integers and strings by
// section and value name. Both front ends use one backed by QSettings; tests
// use the in-memory one.
#pragma once

#include <map>
#include <string>
#include <utility>

namespace plix {

class CSettingsStore
{
public:
    virtual ~CSettingsStore() = default;
    // The stored integer, or `fallback` when the value is missing or not a number.
    virtual int GetInt(const std::string& section, const std::string& name, int fallback) const = 0;
    virtual std::string GetString(const std::string& section, const std::string& name,
                                  const std::string& fallback) const = 0;
    virtual void WriteInt(const std::string& section, const std::string& name, int value) = 0;
    virtual void WriteString(const std::string& section, const std::string& name,
                             const std::string& value) = 0;
    virtual void Delete(const std::string& section, const std::string& name) = 0;
};

class CMemorySettingsStore : public CSettingsStore
{
public:
    int GetInt(const std::string& section, const std::string& name, int fallback) const override;
    std::string GetString(const std::string& section, const std::string& name,
                          const std::string& fallback) const override;
    void WriteInt(const std::string& section, const std::string& name, int value) override;
    void WriteString(const std::string& section, const std::string& name,
                     const std::string& value) override;
    void Delete(const std::string& section, const std::string& name) override;
    bool Has(const std::string& section, const std::string& name) const;

    // Values as text, as an INI file would hold them.
    std::map<std::pair<std::string, std::string>, std::string> values;
};

}  // namespace plix
