#pragma once
// What every fuzz target shares: the application object, made once per process,
// and the name of the entry function. libFuzzer calls LLVMFuzzerTestOneInput; the
// replay driver of the ordinary build links every target into one program and
// names each entry by the target (VM2_FUZZ_ENTRY is set per source file there).

#include "engine/placetable.h"
#include "platform/filesource.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QImage>
#include <QLoggingCategory>
#include <cstddef>
#include <cstdint>

#ifndef VM2_FUZZ_ENTRY
#define VM2_FUZZ_ENTRY LLVMFuzzerTestOneInput
#endif

namespace vm2::fuzz {

// The folder that the game's data paths start with; the files are in memory.
inline const QString kDataFolder = QStringLiteral("/fuzz");

inline void ensureApplication()
{
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    // A picture refused by Qt's decoders is a script error for the engine; the warning
    // Qt would print for each one only slows the run and buries libFuzzer's output.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio*.warning=false"));
}

// The input as a byte array without a copy: valid during the call only.
inline QByteArray bytesOf(const std::uint8_t *data, std::size_t size)
{
    return QByteArray::fromRawData(reinterpret_cast<const char *>(data),
                                   static_cast<qsizetype>(size));
}

inline void addPicture(platform::MemorySource &files, const char *name, int w, int h,
                       QRgb colour = 0xFFFFFFFFu)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    files.setPicture(kDataFolder + QLatin1String("/dat1/") + QLatin1String(name), image);
}

// A few pictures of the sizes of their roles, decoded already, so that picture lines
// get past loading; any other picture is missing.
inline void addPictures(platform::MemorySource &files)
{
    auto picture = [&](const char *name, int w, int h, QRgb colour = 0xFFFFFFFFu) {
        addPicture(files, name, w, h, colour);
    };
    picture("back1.da1", 400, 400, 0xFF00008Bu);
    picture("chara1.da1", 600, 400);
    picture("charaA.da1", 600, 400);
    picture("f1.da1", 840, 120);
    picture("ibent01.da1", 800, 400);
}

// The pictures of the checker's targets: the background of every place (one picture
// under nine names: a place button that reaches a missing background would make
// each input report, and throw for, a missing file), and a character picture of
// the wrong size. The checker's mask test reads every pixel of a masked picture, at
// a cost that does not depend on the scripts; the picture target's inputs are the
// ones that vary pictures.
inline void addCheckerPictures(platform::MemorySource &files)
{
    QImage back(400, 400, QImage::Format_RGB32);
    back.fill(0xFF00008Bu);
    for (int number = 1; number <= 9; ++number)
        files.setPicture(kDataFolder + QStringLiteral("/dat1/back") +
                             engine::placeByNumber(number)->codeText() + QStringLiteral(".da1"),
                         back);
    addPicture(files, "chara1.da1", 300, 400);
}

// The story folder in memory that the checker targets read: the pictures of every
// role, installed as the process's file source at the first input.
inline platform::MemorySource &checkerFiles()
{
    static platform::MemorySource files;
    static const bool ready = [] {
        ensureApplication();
        addCheckerPictures(files);
        platform::setFileSource(&files);
        return true;
    }();
    (void)ready;
    return files;
}

} // namespace vm2::fuzz
