// The per-user settings store on QSettings: organization "PLIX", application
// "plix" (on Linux an INI file under $XDG_CONFIG_HOME/PLIX/plix.conf).
#pragma once

#include <memory>

#include "settings/settings_store.h"

class QSettings;

namespace plix {

class CQtSettingsStore : public CSettingsStore
{
public:
    CQtSettingsStore();
    ~CQtSettingsStore() override;
    int GetInt(const std::string& section, const std::string& name, int fallback) const override;
    std::string GetString(const std::string& section, const std::string& name,
                          const std::string& fallback) const override;
    void WriteInt(const std::string& section, const std::string& name, int value) override;
    void WriteString(const std::string& section, const std::string& name,
                     const std::string& value) override;
    void Delete(const std::string& section, const std::string& name) override;
    // Writes pending changes to disk.
    void Sync();

private:
    std::unique_ptr<QSettings> settings_;
};

}  // namespace plix
