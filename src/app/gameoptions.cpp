#include "gameoptions.h"

#include <QCommandLineParser>

namespace vm2::app {

const char GameOptions::kUsage[] =
    "usage: velmora2 [--data DIR] [--author]\n"
    "  --data DIR   play the story in DIR (its dat1 and dat2); also --data=DIR\n"
    "  --author     open the author panel beside the main screen\n"
    "  --help       print this usage\n"
    "Qt's standard options (-platform, -display, -style, -geometry, ...) are taken too.\n";

namespace {

// The options Qt's application objects take from the command line (with one dash or
// two), which the game lets through to them.
const char *const kQtValueOptions[] = {"platform",
                                       "platformpluginpath",
                                       "platformtheme",
                                       "plugin",
                                       "qmljsdebugger",
                                       "qwindowgeometry",
                                       "qwindowicon",
                                       "qwindowtitle",
                                       "session",
                                       "style",
                                       "stylesheet",
                                       "display",
                                       "geometry",
                                       "title",
                                       "name",
                                       "icon",
                                       "visual",
                                       "ncols",
                                       "im",
                                       "font",
                                       "fn",
                                       "background",
                                       "bg",
                                       "foreground",
                                       "fg",
                                       "button",
                                       "btn"};
const char *const kQtFlagOptions[] = {"reverse", "widgetcount", "nograb", "dograb",
                                      "sync",    "testability", "cmap"};

} // namespace

GameOptions::Outcome GameOptions::parse(const QStringList &arguments, GameOptions &options,
                                        QString &error)
{
    QCommandLineParser parser;
    // Qt's own options are words after one dash (-platform offscreen).
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption data(QStringLiteral("data"), QString(), QStringLiteral("DIR"));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption author(QStringLiteral("author"));
    parser.addOption(data);
    parser.addOption(author);
    parser.addOption(help);
    for (const char *name : kQtValueOptions)
        parser.addOption(
            QCommandLineOption(QLatin1String(name), QString(), QStringLiteral("value")));
    for (const char *name : kQtFlagOptions)
        parser.addOption(QCommandLineOption(QLatin1String(name)));

    // Said as it always was, rather than in the parser's words.
    const QString last = arguments.isEmpty() ? QString() : arguments.last();
    if (last == QLatin1String("--data") || last == QLatin1String("-data")) {
        error = QStringLiteral("--data needs a folder");
        return Outcome::BadArguments;
    }
    if (!parser.parse(arguments)) {
        error = parser.errorText();
        return Outcome::BadArguments;
    }
    if (parser.isSet(help))
        return Outcome::Help;
    if (const QStringList rest = parser.positionalArguments(); !rest.isEmpty()) {
        error = QStringLiteral("unexpected argument ") + rest.first();
        return Outcome::BadArguments;
    }
    // Given more than once, the last one counts: a launcher may name a default first.
    const QStringList folders = parser.values(data);
    options.dataFolder = folders.isEmpty() ? QString() : folders.last();
    if (folders.contains(QString())) {
        error = QStringLiteral("--data needs a folder");
        return Outcome::BadArguments;
    }
    options.platformGiven = parser.isSet(QStringLiteral("platform"));
    options.author = parser.isSet(author);
    return Outcome::Play;
}

} // namespace vm2::app
