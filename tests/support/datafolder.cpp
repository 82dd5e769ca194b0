#include "datafolder.h"

#include "platform/scriptchannel.h"
#include "player.h"
#include "rolepicture.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace vm2::test {

DataFolder::DataFolder()
{
    QDir(m_dir.path()).mkpath(QStringLiteral("dat1"));
    QDir(m_dir.path()).mkpath(QStringLiteral("dat2"));
}

void DataFolder::script(const QString &name, const QStringList &lines)
{
    bool valid = true;
    QByteArray bytes;
    for (const QString &line : lines) {
        bytes += platform::encodeCp932(line, &valid) + "\r\n";
        if (!valid)
            qFatal("test script line not in code page 932: %s", qPrintable(line));
    }
    rawScript(name, bytes);
}

void DataFolder::rawScript(const QString &name, const QByteArray &bytes)
{
    QFile f(m_dir.filePath(QStringLiteral("dat2/") + name));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(f.fileName()));
}

void DataFolder::picture(const QString &name, const QImage &image, const char *format)
{
    const QString file = m_dir.filePath(QStringLiteral("dat1/") + name);
    if (!image.save(file, format))
        qFatal("cannot write %s", qPrintable(file));
}

void DataFolder::picture(const QString &name, int w, int h, QColor colour, const char *format)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    picture(name, image, format);
}

void DataFolder::standardPictures()
{
    using stage::PictureRole;
    auto write = [&](PictureRole role, const QString &code, QColor colour) {
        if (!writeRolePicture(m_dir.path(), role, code, colour))
            qFatal("cannot write %s", qPrintable(engine::pictureFile(role, code)));
    };
    for (QChar c : QStringLiteral("123456789ABCDEF"))
        write(PictureRole::Background, c, QColor(0x20, 0x40, 0x60));
    for (QChar c : QStringLiteral("12345A")) {
        write(PictureRole::Character, c, Qt::white);
        write(PictureRole::Face, c, Qt::white);
    }
    for (int i = 1; i <= 9; ++i)
        write(PictureRole::EventPicture, QStringLiteral("0%1").arg(i), Qt::white);
}

QStringList playEvent(const QString &data, const QString &place, int number, const QString &inputs,
                      int *status, const QStringList &names)
{
    play::Options options;
    options.dataFolder = data;
    options.place = place;
    options.number = number;
    options.names = names;
    options.inputs = inputs.split(u' ', Qt::SkipEmptyParts);
    QString text;
    QTextStream out(&text);
    const int result = play::play(options, out).status;
    if (status)
        *status = result;
    return text.split(u'\n', Qt::SkipEmptyParts);
}

} // namespace vm2::test
