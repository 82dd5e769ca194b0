#pragma once

#include <QString>
#include <QStringList>

namespace vm2::app {

// The command line of velmora2: what its manual page names, plus the standard
// options of Qt's application object, which that object takes for itself. Anything
// else is refused before a window (or the application object, which aborts without
// a display) exists.
struct GameOptions {
    enum class Outcome { Play, Help, BadArguments };

    // `arguments` as the program got them, its own name first. `error` says what was
    // wrong when the outcome is BadArguments.
    static Outcome parse(const QStringList &arguments, GameOptions &options, QString &error);

    static const char kUsage[];

    QString dataFolder;         // "" when not given
    bool author = false;        // --author: the author panel beside the main screen
    bool platformGiven = false; // -platform: Qt then needs no display variable
};

} // namespace vm2::app
