#include "screenshot.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QPixmap>
#include <QSaveFile>
#include <QStandardPaths>
#include <QWidget>

namespace vm2::app {

QString screenshotFolder()
{
    QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (pictures.isEmpty())
        pictures = QDir::home().filePath(QStringLiteral("Pictures"));
    return QDir(pictures).filePath(QStringLiteral("Velmora 2"));
}

QString saveScreenshot(QWidget *window)
{
    const QPixmap shot = window->grab();
    const QDir folder(screenshotFolder());
    if (!folder.mkpath(QStringLiteral(".")))
        return QString();
    const QString stem = QStringLiteral("velmora2-") +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString path = folder.filePath(stem + QStringLiteral(".png"));
    for (int n = 2; QFileInfo::exists(path) && n < 1000; ++n)
        path = folder.filePath(QStringLiteral("%1-%2.png").arg(stem).arg(n));
    if (QFileInfo::exists(path))
        return QString();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !shot.save(&file, "PNG") || !file.commit())
        return QString();
    return path;
}

} // namespace vm2::app
