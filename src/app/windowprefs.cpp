#include "windowprefs.h"

#include "platform/boundedfile.h"
#include "platform/readrecord.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace vm2::app {

namespace {

constexpr qint64 kMaxFileSize = 4096;
constexpr int kLargest = 16384; // pixels: larger sizes are no window's

} // namespace

QString WindowPrefs::pathBeside(const QString &storeLocation)
{
    // Where the read record lives, the player's other file lives too.
    return QFileInfo(platform::ReadRecord::pathBeside(storeLocation))
        .absoluteDir()
        .filePath(QLatin1String(kFileName));
}

WindowPrefs WindowPrefs::load(const QString &path)
{
    WindowPrefs prefs;
    if (path.isEmpty())
        return prefs;
    QByteArray bytes;
    if (platform::BoundedFile::read(path, kMaxFileSize, bytes) !=
        platform::BoundedFile::Outcome::Read)
        return prefs;
    const QList<QByteArray> lines = bytes.split('\n');
    for (const QByteArray &raw : lines) {
        const QByteArray line = raw.trimmed();
        const qsizetype equals = line.indexOf('=');
        if (equals < 0)
            continue;
        const QByteArray key = line.left(equals).trimmed();
        const QByteArray value = line.mid(equals + 1).trimmed();
        if (key == "size") {
            const QList<QByteArray> parts = value.split('x');
            bool okW = false, okH = false;
            const int w = parts.size() == 2 ? parts[0].toInt(&okW) : 0;
            const int h = parts.size() == 2 ? parts[1].toInt(&okH) : 0;
            if (okW && okH && w > 0 && h > 0 && w <= kLargest && h <= kLargest)
                prefs.size = QSize(w, h);
        } else if (key == "fullscreen") {
            prefs.fullScreen = value == "1";
        }
    }
    return prefs;
}

bool WindowPrefs::save(const QString &path) const
{
    if (path.isEmpty())
        return false;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray bytes = "# Velmora 2: the player's window\n";
    if (size.isValid() && !size.isEmpty())
        bytes += "size=" + QByteArray::number(size.width()) + 'x' +
                 QByteArray::number(size.height()) + '\n';
    bytes += QByteArray("fullscreen=") + (fullScreen ? "1" : "0") + '\n';
    if (file.write(bytes) != bytes.size())
        return false;
    return file.commit();
}

} // namespace vm2::app
