#pragma once

#include <QMap>
#include <QString>
#include <memory>

class QSettings;

namespace vm2::platform {

// The per-user settings store: string values under application "VM2", section
// "setting", addressed by key. A missing key reads as the default the reader gives.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;
    virtual QString value(const QString &key, const QString &defaultValue) const = 0;
    virtual void setValue(const QString &key, const QString &value) = 0;
    // Makes the writes so far durable, all at once; false when they could not be written.
    virtual bool sync() { return true; }
};

// A store that lives in memory only: the headless player's default, and the tests'.
class MemoryStore : public SettingsStore
{
public:
    QString value(const QString &key, const QString &defaultValue) const override;
    void setValue(const QString &key, const QString &value) override;
    const QMap<QString, QString> &values() const { return m_values; }

private:
    QMap<QString, QString> m_values;
};

// A store kept by QSettings: the platform's native per-user store, or an INI file.
// Writes are collected and written by sync() into a new file that replaces the old
// one, so a save interrupted half way leaves the previous values whole.
class QSettingsStore : public SettingsStore
{
public:
    // The native per-user store of the platform (organisation and application "VM2").
    QSettingsStore();
    // An INI file at `path`.
    explicit QSettingsStore(const QString &path);
    ~QSettingsStore() override;

    QString value(const QString &key, const QString &defaultValue) const override;
    void setValue(const QString &key, const QString &value) override;
    bool sync() override;
    QString location() const;

private:
    std::unique_ptr<QSettings> m_settings;
};

} // namespace vm2::platform
