#include "settingsstore.h"

#include "boundedfile.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <utility>

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

QString QSettingsStore::nativeFile(const QString &application)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    // Where QSettings keeps the native user store of organisation and application
    // `application`: named here so that the file can be judged before it is opened.
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (config.isEmpty())
        return {};
    return QDir(config).filePath(application + u'/' + application + QStringLiteral(".conf"));
#else
    Q_UNUSED(application);
    return {};
#endif
}

QSettingsStore::QSettingsStore()
{
    const QString file = nativeFile(QStringLiteral("VM2"));
    if (!file.isEmpty()) {
        open(file);
        return;
    }
    m_settings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                             QStringLiteral("VM2"), QStringLiteral("VM2"));
    m_settings->setAtomicSyncRequired(true);
    m_location = m_settings->fileName();
}

QSettingsStore::QSettingsStore(const QString &path)
{
    open(path);
}

QSettingsStore::~QSettingsStore() = default;

void QSettingsStore::open(const QString &path)
{
    m_location = path;
    m_damage.clear();
    switch (BoundedFile::inspect(path, BoundedFile::kPlayerFileCap)) {
    case BoundedFile::Outcome::NotRegular:
        m_damage = QStringLiteral("%1 is not a regular file").arg(path);
        return;
    case BoundedFile::Outcome::TooLarge:
        m_damage = QStringLiteral("%1 is too large for a settings file").arg(path);
        return;
    default:
        break;
    }
    m_settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
    m_settings->setAtomicSyncRequired(true);
    // QSettings parses a section at its first use, and only then knows whether it
    // holds a line that is no setting: every section is parsed now.
    m_settings->allKeys();
    if (m_settings->status() == QSettings::FormatError)
        m_damage = QStringLiteral("%1 holds a line that is no setting").arg(path);
    else if (m_settings->status() == QSettings::AccessError)
        m_damage = QStringLiteral("%1 cannot be read").arg(path);
}

QString QSettingsStore::value(const QString &key, const QString &defaultValue) const
{
    const auto pending = m_pending.constFind(key);
    if (pending != m_pending.cend())
        return *pending;
    if (!m_settings)
        return defaultValue;
    const QVariant v = m_settings->value(kSection + key);
    if (!v.isValid())
        return defaultValue;
    return v.toString();
}

void QSettingsStore::setValue(const QString &key, const QString &value)
{
    m_pending.insert(key, value);
}

bool QSettingsStore::sync()
{
    const QMap<QString, QString> pending = std::exchange(m_pending, {});
    if (!m_damage.isEmpty()) {
        m_error = m_damage + QStringLiteral(": left as it is");
        return false;
    }
    // What the keys held, to put back when the write fails: QSettings keeps unwritten
    // changes and would write them later (at the latest when it is destroyed), which
    // would save a game that the player was told was not saved.
    QMap<QString, QVariant> before;
    for (auto it = pending.cbegin(); it != pending.cend(); ++it) {
        before.insert(it.key(), m_settings->value(kSection + it.key()));
        m_settings->setValue(kSection + it.key(), it.value());
    }
    m_settings->sync();
    if (m_settings->status() == QSettings::NoError) {
        m_error.clear();
        return true;
    }
    m_error = QStringLiteral("%1 could not be written").arg(m_location);
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        if (it.value().isValid())
            m_settings->setValue(kSection + it.key(), it.value());
        else
            m_settings->remove(kSection + it.key());
    }
    // QSettings keeps its first error for good: a fresh one, read from the file that
    // is still there, lets a later save succeed.
    const QString error = m_error;
    m_settings.reset();
    open(m_location);
    m_error = error;
    return false;
}

QString QSettingsStore::location() const
{
    return m_location;
}

} // namespace vm2::platform
