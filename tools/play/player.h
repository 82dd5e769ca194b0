#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace vm2::play {

// What velmora2-play was asked to do.
struct Options {
    enum class Mode { Event, NewGame, LoadGame, Bonus };
    Mode mode = Mode::Event;
    QString dataFolder;
    QStringList names{QString(), QString(), QString()};
    QStringList inputs;
    bool printState = false;
    QString place;     // Event mode
    int number = 0;    // Event mode
    QString storeFile; // empty: the store lives in memory
    QString snapshotFolder;
};

// Exit statuses of the player.
enum Status { Ok = 0, ScriptFailed = 1, BadInput = 2, OutOfInput = 3 };

// Plays one event, or a whole game, with the inputs of `options`, writing the
// transcript to `out`. Returns the exit status.
int play(const Options &options, QTextStream &out);

// Makes `folder` ready for --snapshots: a new or empty folder is marked as the
// player's own; in a folder with that mark the earlier snapshots are removed. A
// folder that holds anything else is refused (false, the reason in `error`), so
// that no file the player did not write is removed or overwritten.
bool prepareSnapshotFolder(const QString &folder, QString *error);

// Parses the command line (arguments without the program name). On failure returns
// false and sets `error`.
bool parseArguments(const QStringList &arguments, Options &options, QString &error);

} // namespace vm2::play
