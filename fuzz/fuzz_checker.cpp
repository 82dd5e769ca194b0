// Fuzz target: the checker on one script (with its story map), which must report
// findings and never crash, whatever the bytes. The script and a few pictures are
// served from memory.
#include "fuzzsupport.h"

#include "checker.h"

#include <QTextStream>

using namespace vm2;

extern "C" int VM2_FUZZ_ENTRY(const std::uint8_t *data, std::size_t size)
{
    platform::MemorySource &files = fuzz::checkerFiles();
    files.setFile(fuzz::kDataFolder + QStringLiteral("/dat2/ibent1-0.da2"),
                  fuzz::bytesOf(data, size));
    QString dot;
    QTextStream out(&dot);
    (void)check::checkData(fuzz::kDataFolder, &out);
    files.clearFiles();
    return 0;
}
