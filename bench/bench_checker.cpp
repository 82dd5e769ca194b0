// Times velmora2-check's whole check on a generated story of 10,000 scripts of 50
// lines each: every line kind, choices and flag branches with their blocks, jumps,
// next days, endings and a chain of counter steps through every place.
#include "benchutil.h"
#include "checker.h"

#include "platform/scriptchannel.h"
#include "rolepicture.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

constexpr int kScripts = 10000;
constexpr int kLines = 50;
constexpr int kRuns = 5;
const QString kPlaces = QStringLiteral("1234567AB");

void writePicture(const QString &folder, vm2::stage::PictureRole role, const QString &code)
{
    if (!vm2::test::writeRolePicture(folder, role, code, Qt::white))
        qFatal("cannot write %s", qPrintable(vm2::engine::pictureFile(role, code)));
}

// Event `number` of `place`: it advances its own counter (`slot`) first, unless it is
// the place's last; the school's events also move home on to its next event.
QStringList script(const QString &place, const QString &slot, int number, bool last,
                   bool advancesHome)
{
    const QString message = QStringLiteral("@1は今日も学園へ向かう。桜の花びらが舞っていた。");
    QStringList lines{QStringLiteral("1") + place, QStringLiteral("FA"), QStringLiteral("2210")};
    lines << (last ? QStringLiteral("E1……") : QStringLiteral("9%1%2").arg(slot).arg(1));
    lines << (advancesHome ? QStringLiteral("911") : QStringLiteral("E3……"));
    for (int i = 0; i < 9; ++i)
        lines << QStringLiteral("3%1%2").arg(i % 4 + 1).arg(message);
    lines << QStringLiteral("40302") << QStringLiteral("一緒に帰る") << QStringLiteral("一人で帰る")
          << QStringLiteral("72050") << QStringLiteral("32うれしい！")
          << QStringLiteral("D9%1").arg(number % 8) << QStringLiteral("72021")
          << QStringLiteral("E2そう……");
    lines << QStringLiteral("610201") << QStringLiteral("E3また明日。") << QStringLiteral("A")
          << QStringLiteral("B3");
    lines << QStringLiteral("C0%1").arg(number % 9 + 1);
    while (lines.size() < kLines)
        lines << (lines.size() % 3 ? QStringLiteral("E4%1").arg(message) : QStringLiteral("531"));
    return lines;
}

void generate(const QString &folder)
{
    QDir(folder).mkpath(QStringLiteral("dat1"));
    QDir(folder).mkpath(QStringLiteral("dat2"));
    using vm2::stage::PictureRole;
    for (QChar c : kPlaces + u'9')
        writePicture(folder, PictureRole::Background, c);
    writePicture(folder, PictureRole::Character, QStringLiteral("2"));
    writePicture(folder, PictureRole::Face, QStringLiteral("2"));
    for (int i = 1; i <= 9; ++i)
        writePicture(folder, PictureRole::EventPicture, QStringLiteral("0%1").arg(i));

    const int perPlace = (kScripts - 9) / static_cast<int>(kPlaces.size());
    int written = 0;
    auto write = [&](const QString &place, int number, const QStringList &lines) {
        QByteArray bytes;
        for (const QString &line : lines)
            bytes += vm2::platform::encodeCp932(line) + "\r\n";
        QFile f(folder + QStringLiteral("/dat2/ibent%1-%2.da2").arg(place).arg(number));
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(f.fileName()));
        ++written;
    };
    for (qsizetype p = 0; p < kPlaces.size(); ++p) {
        const int count = p + 1 == kPlaces.size() ? kScripts - 9 - written : perPlace;
        const QString place(kPlaces.at(p));
        const QString slot = p < 7 ? place : QString(place == QLatin1String("A") ? u'A' : u'B');
        for (int n = 0; n < count; ++n) {
            // Home moves on only through the school's events.
            const bool last = place == QLatin1String("1") || n + 1 == count;
            write(place, n,
                  script(place, slot, n, last, place == QLatin1String("2") && n + 1 < perPlace));
        }
    }
    for (int n = 0; n <= 8; ++n)
        write(QStringLiteral("9"), n,
              script(QStringLiteral("9"), QStringLiteral("0"), n, true, false));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // With a folder argument the generated story is kept there, for a look at it.
    QTemporaryDir temporary;
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporary.path();
    if (folder.isEmpty())
        qFatal("no temporary folder");
    generate(folder);

    std::vector<qint64> times;
    int errors = 0, warnings = 0, scripts = 0;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        const vm2::check::Result result = vm2::check::checkData(folder);
        times.push_back(timer.elapsed());
        errors = result.findings.errors();
        warnings = result.findings.warnings();
        scripts = result.scripts;
    }
    std::sort(times.begin(), times.end());
    std::printf("bench_checker: %d scripts of %d lines; %d errors, %d warnings\n", scripts, kLines,
                errors, warnings);
    vm2::bench::report("check 10,000 generated scripts of 50 lines",
                       static_cast<double>(times[times.size() / 2]), "ms");
    return 0;
}
