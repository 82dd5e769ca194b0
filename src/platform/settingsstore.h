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
    // Makes the writes since the last sync durable, all at once. False when they
    // could not be written: they are then dropped, and the store reads as before.
    virtual bool sync() { return true; }
    // Why the last sync failed, for the player ("" when it did not).
    virtual QString errorString() const { return {}; }
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

// A store kept by QSettings in an INI file (on Windows and macOS the native store
// may be the registry or a property list). Writes are collected and written by
// sync() into a new file that replaces the old one, so a save interrupted half way
// leaves the previous values whole.
//
// A file that is not ours to rewrite is never written: one that is no regular file
// (a FIFO, a device, a link to one) or is larger than any store, which is not even
// opened and reads as empty; and one with a line QSettings cannot parse, which it
// would drop (or worse, move into another section) when it rewrote the file. Such
// a store reads what it can and every sync fails, naming the file.
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
    QString errorString() const override { return m_error; }
    QString location() const;
    // Whether the file was found unfit to be written (see above).
    bool isDamaged() const { return !m_damage.isEmpty(); }

    // Where the native store of the given application lives, without opening it: a
    // file on Linux and the BSDs, "" where it is no file of ours to judge.
    static QString nativeFile(const QString &application);

private:
    void open(const QString &path);

    QString m_location;
    std::unique_ptr<QSettings> m_settings;
    QMap<QString, QString> m_pending;
    QString m_damage;
    QString m_error;
};

} // namespace vm2::platform
