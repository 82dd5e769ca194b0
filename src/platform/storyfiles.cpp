#include "storyfiles.h"

#include "readrecord.h"
#include "settingsstore.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace vm2::platform {

namespace {

QString canonical(const QString &path)
{
    const QFileInfo info(path);
    const QString resolved = info.canonicalFilePath();
    return resolved.isEmpty() ? info.absoluteFilePath() : resolved;
}

// The folder of the native store, or the per-user application data folder where the
// store is no file (the Windows registry).
QString nativeStoreFolder()
{
    const QString file = QSettingsStore::nativeFile(QStringLiteral("VM2"));
    if (!file.isEmpty())
        return QFileInfo(file).absolutePath();
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

} // namespace

bool StoryFiles::isInstalledStory(const QString &dataFolder, const QString &programFolder)
{
    const QString story = canonical(dataFolder);
    if (story == canonical(programFolder))
        return true;
    for (const char *data : {"dat1", "dat2"}) {
        const QString own =
            QFileInfo(QDir(programFolder).filePath(QLatin1String(data))).canonicalFilePath();
        const QString theirs =
            QFileInfo(QDir(dataFolder).filePath(QLatin1String(data))).canonicalFilePath();
        if (own.isEmpty() || own != theirs)
            return false;
    }
    return true;
}

StoryFiles StoryFiles::locate(const QString &dataFolder, const QString &programFolder)
{
    StoryFiles files;
    files.m_storyFolder = canonical(dataFolder);
    if (isInstalledStory(dataFolder, programFolder)) {
        const QString store = QSettingsStore::nativeFile(QStringLiteral("VM2"));
        files.m_readRecordFile = ReadRecord::pathBeside(
            store.isEmpty() ? QDir(nativeStoreFolder()).filePath(QLatin1String(kStoreFileName))
                            : store);
        files.m_readKeyPrefix = files.m_storyFolder + u'/';
        return files;
    }
    const QByteArray hash =
        QCryptographicHash::hash(files.m_storyFolder.toUtf8(), QCryptographicHash::Sha256)
            .toHex()
            .left(16);
    const QDir folder(QDir(nativeStoreFolder())
                          .filePath(QLatin1String(kStoriesFolder) + u'/' + QLatin1String(hash)));
    files.m_settingsFile = folder.filePath(QLatin1String(kStoreFileName));
    files.m_readRecordFile = folder.filePath(QLatin1String(ReadRecord::kFileName));
    return files;
}

std::unique_ptr<QSettingsStore> StoryFiles::openStore() const
{
    if (isInstalledStory())
        return std::make_unique<QSettingsStore>();
    return std::make_unique<QSettingsStore>(m_settingsFile);
}

bool StoryFiles::writeNote() const
{
    if (isInstalledStory())
        return true;
    const QString path =
        QFileInfo(m_settingsFile).absoluteDir().filePath(QLatin1String(kNoteFileName));
    if (QFileInfo::exists(path) || QFileInfo(path).isSymLink())
        return true;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write("The saved game, seen endings and read messages of the story in\n");
    file.write(m_storyFolder.toUtf8() + '\n');
    return file.commit();
}

} // namespace vm2::platform
