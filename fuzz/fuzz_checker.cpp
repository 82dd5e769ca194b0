// Fuzz target: the checker on one script (with its story map), which must report
// findings and never crash, whatever the bytes.
#include "checker.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_checker";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    static QTemporaryDir dir;
    static const bool made = QDir(dir.path()).mkpath(QStringLiteral("dat2")) &&
                             QDir(dir.path()).mkpath(QStringLiteral("dat1"));
    if (!made)
        return 0;
    QFile f(dir.filePath(QStringLiteral("dat2/ibent1-0.da2")));
    if (!f.open(QIODevice::WriteOnly))
        return 0;
    f.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size));
    f.close();
    QString dot;
    QTextStream out(&dot);
    (void)vm2::check::checkData(dir.path(), &out);
    return 0;
}
