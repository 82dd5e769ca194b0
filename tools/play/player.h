#pragma once

#include "engine/gamestate.h"

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <set>
#include <tuple>
#include <vector>

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

// An ending that played: whose, which of her two, and her affection when the ending
// line chose it.
struct Ending {
    int heroine = 0;
    bool happy = false;
    int affection = 0;
};

// What a game really played: the scripts that ran, and the blocks of choices and
// flag branches that played, each by script and the line of its "4" or "6".
struct Played {
    struct Block {
        QString script; // "dat2/ibent2-0.da2"
        int line = 0;
        int block = 0; // 1 or 2
        friend bool operator<(const Block &a, const Block &b)
        {
            return std::tie(a.script, a.line, a.block) < std::tie(b.script, b.line, b.block);
        }
    };
    std::set<QString> scripts; // "dat2/ibent2-0.da2"
    std::set<Block> blocks;
};

// What a game came to, for callers that judge it: the transcript says the same for
// people.
struct Result {
    Status status = Ok; // why it stopped: Ok when every input was used
    QString message;    // the text of the transcript's "error" or "stop" line, or empty
    QString where;      // the script line of the wait or the fault ("dat2/ibent2-0.da2:7")
    qsizetype inputsGiven = 0;
    qsizetype inputsUsed = 0; // a refused input included
    // The game ended after this many inputs: a place move left no place button (an
    // ending's closing words, or another message with "End"), or the bonus event
    // played; -1 while the game goes on.
    qsizetype overAfter = -1;
    std::vector<Ending> endings; // in the order they played
    engine::GameState state;     // at the end
    QString lastMessage;         // the message label at the end
    Played played;
};

// Plays one event, or a whole game, with the inputs of `options`, writing the
// transcript to `out`.
Result play(const Options &options, QTextStream &out);

// Makes `folder` ready for --snapshots: a new or empty folder is marked as the
// player's own; in a folder with that mark the earlier snapshots are removed. A
// folder that holds anything else is refused (false, the reason in `error`), so
// that no file the player did not write is removed or overwritten.
bool prepareSnapshotFolder(const QString &folder, QString *error);

// Parses the command line (arguments without the program name). On failure returns
// false and sets `error`.
bool parseArguments(const QStringList &arguments, Options &options, QString &error);

} // namespace vm2::play
