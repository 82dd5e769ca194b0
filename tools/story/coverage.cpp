#include "coverage.h"

#include "engine/script.h"

#include <QDir>
#include <QFileInfo>

namespace vm2::story {

void Coverage::add(const play::Played &played)
{
    m_played.scripts.insert(played.scripts.begin(), played.scripts.end());
    m_played.blocks.insert(played.blocks.begin(), played.blocks.end());
}

// Calls visit(script, line, kind, played, what) for every script (kind 0), answer
// (kind 1) and flag-branch block (kind 2) of the story, in the order of the scripts.
template <typename Visit> void Coverage::forEach(Visit visit) const
{
    for (const check::ScriptInfo &s : m_scripts) {
        visit(s, 1, 0, m_played.scripts.count(s.file) > 0,
              QStringLiteral("no walkthrough plays this script"));
        for (const check::Branch &b : s.branches) {
            for (int block = 1; block <= 2; ++block) {
                const bool played = m_played.blocks.count({s.file, b.line, block}) > 0;
                if (b.flag == 0)
                    visit(s, b.line, 1, played,
                          QStringLiteral("answer %1 of the choice (\"%2\")")
                              .arg(block)
                              .arg(b.captions.value(block - 1)));
                else
                    visit(s, b.line, 2, played,
                          QStringLiteral("block %1 of the flag branch (flag %2 %3)")
                              .arg(block)
                              .arg(b.flag)
                              .arg(block == 1 ? QLatin1String("is 0") : QLatin1String("is set")));
            }
        }
    }
}

QString Coverage::summary() const
{
    std::array<Count, 3> counts{};
    forEach([&](const check::ScriptInfo &, int, int kind, bool played, const QString &) {
        Count &c = counts[static_cast<std::size_t>(kind)];
        ++c.total;
        c.covered += played ? 1 : 0;
    });
    return QStringLiteral("covered: %1/%2 scripts, %3/%4 answers, %5/%6 branches")
        .arg(counts[0].covered)
        .arg(counts[0].total)
        .arg(counts[1].covered)
        .arg(counts[1].total)
        .arg(counts[2].covered)
        .arg(counts[2].total);
}

QStringList Coverage::notReached(const QString &source) const
{
    QStringList lines;
    forEach([&](const check::ScriptInfo &s, int line, int, bool played, const QString &what) {
        if (played)
            return;
        const QString name = QFileInfo(s.file).completeBaseName() + QStringLiteral(".txt");
        lines << QStringLiteral("%1:%2: not reached: %3")
                     .arg(QDir(source).filePath(QStringLiteral("dat2/") + name))
                     .arg(line)
                     .arg(what);
    });
    return lines;
}

} // namespace vm2::story
