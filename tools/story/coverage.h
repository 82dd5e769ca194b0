#pragma once

#include "player.h"
#include "scriptcheck.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace vm2::story {

// What the walkthroughs of a story played, out of what the story holds: its scripts,
// the answers of its choices and the blocks of its flag branches. What counts as
// played is what the player reports having played, never a reading of the scripts.
class Coverage
{
public:
    explicit Coverage(std::vector<check::ScriptInfo> scripts) : m_scripts(std::move(scripts)) {}

    void add(const play::Played &played);

    // "covered: 12/14 scripts, 7/8 answers, 3/4 branches"
    QString summary() const;
    // One "SOURCE/dat2/ibent2-0.txt:5: not reached: ..." line for each script, answer
    // and block that no walkthrough played, in the checker's order; `source` is the
    // folder of the story's sources, whose lines are the scripts' lines.
    QStringList notReached(const QString &source) const;

private:
    struct Count {
        int covered = 0;
        int total = 0;
    };
    template <typename Visit> void forEach(Visit visit) const;

    std::vector<check::ScriptInfo> m_scripts;
    play::Played m_played;
};

} // namespace vm2::story
