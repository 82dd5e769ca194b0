// fuzz_replay TARGET PATH...: plays every file under the PATHs (files, or folders
// of files) through the entry function of fuzz target TARGET once, as the fuzzer
// would. A crash ends the program. An input that takes longer than the fuzzers'
// time limit is named, but does not fail it: the suite runs on machines of every
// speed, under sanitizers and beside other builds, and a time is no verdict there
// (a hang still ends in the test's time-out; the fuzzers hold inputs to their
// limit). Built without libFuzzer, so that the ordinary test suite keeps the corpus
// and the regressions passing.
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cstdint>
#include <cstdio>
#include <cstring>

using Entry = int (*)(const std::uint8_t *, std::size_t);

extern "C" {
int vm2_fuzz_script(const std::uint8_t *, std::size_t);
int vm2_fuzz_checker(const std::uint8_t *, std::size_t);
int vm2_fuzz_story(const std::uint8_t *, std::size_t);
int vm2_fuzz_picture(const std::uint8_t *, std::size_t);
int vm2_fuzz_loadgame(const std::uint8_t *, std::size_t);
}

namespace {

struct Target {
    const char *name;
    Entry entry;
};
constexpr Target kTargets[] = {
    {"script", vm2_fuzz_script},   {"checker", vm2_fuzz_checker},   {"story", vm2_fuzz_story},
    {"picture", vm2_fuzz_picture}, {"loadgame", vm2_fuzz_loadgame},
};
constexpr qint64 kSlowMs = 2000; // the fuzzers' -timeout

QStringList inputsUnder(const QString &path)
{
    if (QFileInfo(path).isFile())
        return {path};
    QStringList files;
    QDirIterator it(path, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    return files;
}

} // namespace

int main(int argc, char **argv)
{
    const Target *target = nullptr;
    for (const Target &t : kTargets) {
        if (argc > 1 && std::strcmp(argv[1], t.name) == 0)
            target = &t;
    }
    if (!target) {
        std::fprintf(stderr, "usage: fuzz_replay script|checker|story|picture|loadgame PATH...\n");
        return 2;
    }
    int played = 0, slow = 0;
    QElapsedTimer total;
    total.start();
    for (int i = 2; i < argc; ++i) {
        for (const QString &file : inputsUnder(QString::fromLocal8Bit(argv[i]))) {
            QFile f(file);
            if (!f.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "cannot read %s\n", qPrintable(file));
                return 1;
            }
            const QByteArray bytes = f.readAll();
            QElapsedTimer one;
            one.start();
            target->entry(reinterpret_cast<const std::uint8_t *>(bytes.constData()),
                          static_cast<std::size_t>(bytes.size()));
            const qint64 ms = one.elapsed();
            if (ms > kSlowMs) {
                std::fprintf(stderr, "slow: %s took %lld ms\n", qPrintable(file),
                             static_cast<long long>(ms));
                ++slow;
            }
            ++played;
        }
    }
    std::printf("%s: %d inputs in %lld ms, %d slow\n", target->name, played,
                static_cast<long long>(total.elapsed()), slow);
    return 0;
}
