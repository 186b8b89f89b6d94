#pragma once
// The per-user settings of section "Config" (company "KALVOR Soft", application
// "Ordexa"): "Last1".."Last4", "FacX", "FacY". QSettings in the program; a map in tests.
#include <map>
#include <string>

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual int ReadInt(const std::string& key, int defaultValue) const = 0;
    virtual void WriteInt(const std::string& key, int value) = 0;
    virtual std::string ReadString(const std::string& key, const std::string& defaultValue) const = 0;
    virtual void WriteString(const std::string& key, const std::string& value) = 0;
};

class MemorySettingsStore : public SettingsStore {
public:
    int ReadInt(const std::string& key, int defaultValue) const override
    {
        const auto it = m_values.find(key);
        if (it == m_values.end())
            return defaultValue;
        try {
            return std::stoi(it->second);
        } catch (...) {
            return defaultValue;
        }
    }
    void WriteInt(const std::string& key, int value) override { m_values[key] = std::to_string(value); }
    std::string ReadString(const std::string& key, const std::string& defaultValue) const override
    {
        const auto it = m_values.find(key);
        return it == m_values.end() ? defaultValue : it->second;
    }
    void WriteString(const std::string& key, const std::string& value) override { m_values[key] = value; }
    const std::map<std::string, std::string>& Values() const { return m_values; }

private:
    std::map<std::string, std::string> m_values;
};
