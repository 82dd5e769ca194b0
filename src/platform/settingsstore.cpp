#include "settingsstore.h"

#include <QSettings>

namespace vm2::platform {

namespace {
const QString kSection = QStringLiteral("setting/");
}

QString MemoryStore::value(const QString &key, const QString &defaultValue) const
{
    return m_values.value(key, defaultValue);
}

void MemoryStore::setValue(const QString &key, const QString &value)
{
    m_values.insert(key, value);
}

QSettingsStore::QSettingsStore()
    : m_settings(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                             QStringLiteral("VM2"), QStringLiteral("VM2")))
{
    m_settings->setAtomicSyncRequired(true);
}

QSettingsStore::QSettingsStore(const QString &path)
    : m_settings(std::make_unique<QSettings>(path, QSettings::IniFormat))
{
    m_settings->setAtomicSyncRequired(true);
}

QSettingsStore::~QSettingsStore() = default;

QString QSettingsStore::value(const QString &key, const QString &defaultValue) const
{
    const QVariant v = m_settings->value(kSection + key);
    if (!v.isValid())
        return defaultValue;
    return v.toString();
}

void QSettingsStore::setValue(const QString &key, const QString &value)
{
    m_settings->setValue(kSection + key, value);
}

bool QSettingsStore::sync()
{
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

QString QSettingsStore::location() const
{
    return m_settings->fileName();
}

} // namespace vm2::platform
