// Fuzz target: picture loading by content, then every composition with the result.
#include "platform/pictureloader.h"
#include "platform/scripterror.h"
#include "stage/stage.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>

using namespace vm2;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_picture";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("picture.da1"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return 0;
        f.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size));
    }
    try {
        const QImage picture = platform::loadPicture(path, QStringLiteral("dat1/picture.da1"));
        stage::Stage stage;
        stage.loadBackground(picture);
        stage.drawCharacter(QStringLiteral("1"), 3, picture, &picture);
        stage.drawCharacter(QStringLiteral("5"), 9, picture, &picture);
        stage.overlay(picture);
        stage.loadStageOnly(picture);
    } catch (const platform::ScriptError &) {
    }
    return 0;
}
