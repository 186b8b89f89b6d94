#pragma once
#include <QSettings>

#include "base/settings_store.h"

// The settings store over QSettings: organisation "KALVOR Soft", application "Ordexa",
// group "Config" (on Linux an INI file under the user's config folder).
class QtSettingsStore : public SettingsStore {
public:
    QtSettingsStore();
    int ReadInt(const std::string& key, int defaultValue) const override;
    void WriteInt(const std::string& key, int value) override;
    std::string ReadString(const std::string& key, const std::string& defaultValue) const override;
    void WriteString(const std::string& key, const std::string& value) override;

private:
    mutable QSettings m_settings;
};
