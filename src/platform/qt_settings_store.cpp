#include "platform/qt_settings_store.h"

namespace {
const QString kGroup = QStringLiteral("Config/");
}

QtSettingsStore::QtSettingsStore()
    : m_settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("KALVOR Soft"), QStringLiteral("Ordexa"))
{
}

int QtSettingsStore::ReadInt(const std::string& key, int defaultValue) const
{
    bool ok = false;
    const int v = m_settings.value(kGroup + QString::fromStdString(key), defaultValue).toInt(&ok);
    return ok ? v : defaultValue;
}

void QtSettingsStore::WriteInt(const std::string& key, int value)
{
    m_settings.setValue(kGroup + QString::fromStdString(key), value);
    m_settings.sync();
}

std::string QtSettingsStore::ReadString(const std::string& key, const std::string& defaultValue) const
{
    return m_settings.value(kGroup + QString::fromStdString(key), QString::fromStdString(defaultValue))
        .toString()
        .toStdString();
}

void QtSettingsStore::WriteString(const std::string& key, const std::string& value)
{
    m_settings.setValue(kGroup + QString::fromStdString(key), QString::fromStdString(value));
    m_settings.sync();
}
