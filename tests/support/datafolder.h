#pragma once

#include <QColor>
#include <QImage>
#include <QStringList>
#include <QTemporaryDir>

namespace vm2::test {

// A temporary program folder with dat1 and dat2, for scripts and pictures made by
// a test.
class DataFolder
{
public:
    DataFolder();
    QString path() const { return m_dir.path(); }

    // Writes dat2/<name> in code page 932 with CR LF line ends (and one after the
    // last line).
    void script(const QString &name, const QStringList &lines);
    // Writes dat2/<name> as the bytes given.
    void rawScript(const QString &name, const QByteArray &bytes);
    // Writes dat1/<name> in `format` ("BMP", "PNG", "GIF", "JPEG").
    void picture(const QString &name, const QImage &image, const char *format = "BMP");
    // A plain picture of one colour.
    void picture(const QString &name, int w, int h, QColor colour, const char *format = "BMP");
    // Plain backgrounds, characters, faces and event pictures for every name a test
    // script may use: back*.da1 for the place codes and 1-9, A-F; chara and f for
    // 1-5 and A; ibent01-ibent09.
    void standardPictures();

private:
    QTemporaryDir m_dir;
};

// Plays `place` `number` with the headless player and returns the transcript lines.
// `status` (when given) receives the player's exit status.
QStringList playEvent(const QString &data, const QString &place, int number,
                      const QString &inputs = QString(), int *status = nullptr,
                      const QStringList &names = {QString(), QString(), QString()});

} // namespace vm2::test
