#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QTextStream>

namespace vm2::story {

// A walkthrough file: the inputs that play a story from the title screen to one
// ending (or the bonus event), as a player would give them.
//
//     # comments and blank lines are allowed
//     names: 桐原,蒼真,ソウマ        the hero's surname, given name and nickname
//     seen: 2 3 4 5                 happy endings already on record before the game
//     ending: happy 2               happy N, bad N (heroine 2 to 5) or bonus
//     inputs: p2 n n 1 n ...        the tokens of velmora2-play
struct Walkthrough {
    QString name; // the file's base name
    QStringList names;
    QList<int> seen;
    QString ending; // "happy", "bad" or "bonus"
    int heroine = 0;
    QStringList inputs;
    QString problem; // a fault of the file itself, or empty
};

Walkthrough readWalkthrough(const QString &path);

// Plays `w` headless on the story in `dataFolder`; returns why it failed, or an
// empty text when it reached its ending.
QString playWalkthrough(const Walkthrough &w, const QString &dataFolder);

// velmora2-story test: every walkthroughs/*.txt of `source` played on the story in
// `dataFolder`, one "PASS name" or "FAIL name: why" line each. Returns the exit
// status: 1 when one failed or there are none.
int testWalkthroughs(const QString &source, const QString &dataFolder, QTextStream &report);

} // namespace vm2::story
