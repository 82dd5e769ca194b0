// The stage and the saved game: a character drawing with its two picture loads,
// an overlay composition, SaveGame and LoadGame.
#include "benchutil.h"
#include "recordingscreen.h"

#include "engine/script.h"
#include "game/game.h"
#include "platform/settingsstore.h"
#include "save/savedgame.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

using namespace vm2;

namespace {

// A picture of `role` in its role's size, its left half (the cells) in `colour` and
// its right half (the mask) black.
void picture(const QString &folder, stage::PictureRole role, const QString &code, QColor colour)
{
    const QSize size = stage::pictureLayout(role, code).size;
    const int w = size.width(), h = size.height();
    const QString path = QDir(folder).filePath(engine::pictureFile(role, code));
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.fillRect(0, 0, w / 2, h, colour);
    p.fillRect(w / 2, 0, w / 2, h, Qt::black);
    p.end();
    if (!image.save(path, "BMP"))
        qFatal("cannot write %s", qPrintable(path));
}

void script(const QString &path, const QByteArray &text)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    f.write(text);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("dat1"));
    QDir(dir.path()).mkpath(QStringLiteral("dat2"));
    using stage::PictureRole;
    picture(dir.path(), PictureRole::Background, QStringLiteral("1"), QColor(40, 80, 160));
    picture(dir.path(), PictureRole::Character, QStringLiteral("2"), QColor(200, 60, 90));
    picture(dir.path(), PictureRole::Face, QStringLiteral("2"), QColor(250, 210, 190));
    picture(dir.path(), PictureRole::EventPicture, QStringLiteral("01"), QColor(20, 160, 60));
    script(dir.filePath(QStringLiteral("dat2/ibent1-0.da2")), "11\r\n");
    script(dir.filePath(QStringLiteral("dat2/ibent1-1.da2")), "2230\r\n");
    script(dir.filePath(QStringLiteral("dat2/ibent1-2.da2")), "C01\r\n");

    test::RecordingScreen screen;
    platform::MemoryStore memory;
    game::Game game(screen, memory, dir.path());
    game.engine().RunEvent(QStringLiteral("1"), 0);
    bench::measure(
        "character drawing with body and face loads (BMP)", 200,
        [&] { game.engine().RunEvent(QStringLiteral("1"), 1); }, "us");
    bench::measure(
        "overlay composition with its picture load (BMP)", 200,
        [&] { game.engine().RunEvent(QStringLiteral("1"), 2); }, "us");

    platform::QSettingsStore store(dir.filePath(QStringLiteral("store.ini")));
    engine::GameState state;
    for (int i = 1; i <= 3; ++i)
        state.PName(i) = QStringLiteral("名前%1").arg(i);
    bench::measure(
        "SaveGame (INI store, synced)", 200, [&] { save::SaveGame(state, store); }, "us");
    bench::measure(
        "LoadGame (INI store)", 200, [&] { save::LoadGame(state, store); }, "us");
    return 0;
}
