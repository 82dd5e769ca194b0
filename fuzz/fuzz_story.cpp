// Fuzz target: the checker on a story of several scripts, so that jumps, endings,
// counters and the story map meet the shapes that span files.
//
// The input is the story's scripts one after the other. The first is event 0 of
// home; every further one starts after a line "%%" followed by its name, the part
// of the file name between "ibent" and ".da2" ("%%2-1" is dat2/ibent2-1.da2). A
// later script of the same name replaces the earlier one. The scripts are read in
// place: they are removed before the input goes.
#include "fuzzsupport.h"

#include "checker.h"

#include <QTextStream>

using namespace vm2;

namespace {

constexpr int kMostScripts = 24;
constexpr qsizetype kLongestName = 16;

void addScripts(platform::MemorySource &files, const QByteArray &input)
{
    const QByteArray separator = QByteArrayLiteral("\n%%");
    const QString folder = fuzz::kDataFolder + QStringLiteral("/dat2/ibent");
    QByteArray name = QByteArrayLiteral("1-0");
    qsizetype from = 0;
    for (int scripts = 0; scripts < kMostScripts; ++scripts) {
        const qsizetype cut = input.indexOf(separator, from);
        const qsizetype end = cut < 0 ? input.size() : cut + 1; // the script keeps its line end
        if (!name.isEmpty() && name.size() <= kLongestName && !name.contains('/'))
            files.setFile(folder + QString::fromLatin1(name) + QStringLiteral(".da2"),
                          QByteArray::fromRawData(input.constData() + from, end - from));
        if (cut < 0)
            return;
        const qsizetype nameFrom = cut + separator.size();
        qsizetype nameEnd = input.indexOf('\n', nameFrom);
        if (nameEnd < 0)
            nameEnd = input.size();
        name = input.mid(nameFrom, nameEnd - nameFrom);
        if (name.endsWith('\r'))
            name.chop(1);
        from = std::min(nameEnd + 1, input.size());
    }
}

} // namespace

extern "C" int VM2_FUZZ_ENTRY(const std::uint8_t *data, std::size_t size)
{
    platform::MemorySource &files = fuzz::checkerFiles();
    addScripts(files, fuzz::bytesOf(data, size));
    QString dot;
    QTextStream out(&dot);
    (void)check::checkData(fuzz::kDataFolder, &out);
    files.clearFiles();
    return 0;
}
