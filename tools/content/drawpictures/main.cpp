// vm2-draw-pictures: draws every picture of the story's dat1 folder, and the
// program's icon, from the picture recipe of the story.
//
//   vm2-draw-pictures RECIPE.json DAT1_FOLDER ICON_FOLDER
//
// The icon is drawn at every size a desktop asks for, as the icon theme's tree
// ICON_FOLDER/hicolor/NxN/apps/velmora2.png.
//
// Backgrounds, characters with their masks, face strips and event pictures are
// named in the recipe by their codes, as the scripts name them, and drawn into the
// files the scripts load them from. They are drawn with QPainter, written in the
// formats the recipe names (the game tells formats apart by content, whatever the
// file name says) and read back: a picture whose mask the stage could not use fails
// the build.
#include "eventscenes.h"
#include "figure.h"
#include "gifwriter.h"
#include "maskedsheet.h"
#include "recipe.h"
#include "scenery.h"

#include "stage/pictures.h"

#include <QDir>
#include <QGuiApplication>
#include <QImageReader>
#include <cstdio>

using namespace vm2::content;

namespace {

bool failed = false;

void fail(const QString &message)
{
    std::fprintf(stderr, "vm2-draw-pictures: %s\n", qPrintable(message));
    failed = true;
}

void save(const QImage &image, const QString &path, const QString &format)
{
    bool ok = false;
    if (format == QLatin1String("GIF"))
        ok = writeGif(image, path);
    else
        ok = image.save(path, format.toLatin1().constData(),
                        format == QLatin1String("JPEG") ? 92 : -1);
    if (!ok)
        fail(QStringLiteral("%1: cannot write as %2").arg(path, format));
}

// Reads the written file back as the game will, and checks its size and mask
// against the stage's layout of its role.
void verify(const QString &path, vm2::stage::PictureRole role, const QString &code = QString())
{
    const vm2::stage::PictureLayout layout = vm2::stage::pictureLayout(role, code);
    const QSize size = layout.size;
    const int cells = static_cast<int>(layout.cells.size()) + (layout.mask.isNull() ? 0 : 1);
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const QImage image = reader.read();
    if (image.isNull()) {
        fail(QStringLiteral("%1: unreadable (%2)").arg(path, reader.errorString()));
        return;
    }
    if (image.size() != size) {
        fail(QStringLiteral("%1: %2 × %3, expected %4 × %5")
                 .arg(path)
                 .arg(image.width())
                 .arg(image.height())
                 .arg(size.width())
                 .arg(size.height()));
        return;
    }
    if (cells > 1) {
        const QString problem = checkMaskedPicture(image, cells);
        if (!problem.isEmpty())
            fail(path + QStringLiteral(": ") + problem);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4) {
        std::fputs("usage: vm2-draw-pictures RECIPE.json DAT1_FOLDER ICON_FOLDER\n", stderr);
        return 2;
    }
    Recipe recipe;
    QString error;
    if (!readRecipe(args.at(1), recipe, error)) {
        fail(error);
        return 1;
    }
    QDir out(args.at(2));
    out.mkpath(QStringLiteral("."));
    using vm2::stage::PictureRole;

    for (const SceneRecipe &s : recipe.backgrounds) {
        const QString path = out.filePath(fileName(s));
        const QImage image = drawBackground(s.scene);
        if (image.isNull()) {
            fail(QStringLiteral("%1: unknown scene %2").arg(path, s.scene));
            continue;
        }
        save(image, path, s.format);
        verify(path, PictureRole::Background);
    }
    for (const FigureRecipe &f : recipe.figures) {
        const QString path = out.filePath(fileName(f));
        save(pictureWithMask(renderFigure(f, f.expression)), path, f.format);
        verify(path, PictureRole::Character);
        if (f.faceFormat.isEmpty())
            continue;
        QList<QImage> expressions;
        for (int e = Calm; e <= Surprised; ++e)
            expressions << renderFigure(f, e);
        const QString strip = out.filePath(faceFileName(f));
        save(faceStrip(expressions, f.face), strip, f.faceFormat);
        verify(strip, PictureRole::Face, f.code);
    }
    for (const SceneRecipe &s : recipe.events) {
        const QString path = out.filePath(fileName(s));
        const QImage image = drawEventPicture(s, recipe);
        if (image.isNull()) {
            fail(QStringLiteral("%1: unknown scene %2").arg(path, s.scene));
            continue;
        }
        save(pictureWithMask(image), path, s.format);
        verify(path, PictureRole::EventPicture);
    }
    for (const int size : {16, 32, 48, 64, 128, 256, 512}) {
        const QString folder = QStringLiteral("%1/hicolor/%2x%2/apps").arg(args.at(3)).arg(size);
        const QString path = folder + QStringLiteral("/velmora2.png");
        if (!QDir().mkpath(folder) ||
            !drawIcon(recipe, recipe.iconCharacter, size).save(path, "PNG"))
            fail(path + QStringLiteral(": cannot write"));
    }
    return failed ? 1 : 0;
}
