#include "player.h"

#include "game/game.h"
#include "platform/commandline.h"
#include "platform/settingsstore.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <memory>

namespace vm2::play {

namespace {

using engine::PlaceButtons;
using engine::StageChange;

QString escaped(QString text)
{
    text.replace(u'\\', QStringLiteral("\\\\"));
    text.replace(u'\r', QStringLiteral("\\r"));
    text.replace(u'\n', QStringLiteral("\\n"));
    return text;
}

// Marks a snapshot folder as the player's own: only there are earlier snapshots
// removed.
const char kSnapshotMarker[] = ".velmora2-play-snapshots";

QString rgbHex(std::uint32_t colour)
{
    const std::uint32_t rgb = ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
    return QStringLiteral("%1").arg(rgb, 6, 16, QLatin1Char('0')).toUpper();
}

struct InputError {
    InputError(QString text, QString at = QString())
        : message(std::move(text)), where(std::move(at))
    {}
    QString message;
    QString where; // the script line of the wait, or empty
};
struct InputExhausted {
    QString where;
};

// The settings store of the player, which notes every write in the transcript.
class TracedStore : public platform::SettingsStore
{
public:
    TracedStore(std::unique_ptr<platform::SettingsStore> store, QTextStream &out)
        : m_store(std::move(store)), m_out(out)
    {}
    QString value(const QString &key, const QString &def) const override
    {
        return m_store->value(key, def);
    }
    void setValue(const QString &key, const QString &value) override
    {
        m_out << "store " << key << ' ' << escaped(value) << '\n';
        m_store->setValue(key, value);
    }
    bool sync() override { return m_store->sync(); }
    QString errorString() const override { return m_store->errorString(); }

private:
    std::unique_ptr<platform::SettingsStore> m_store;
    QTextStream &m_out;
};

// The main screen of the player: a transcript line for each effect, and the
// player's inputs, in order, for the waits.
class TranscriptScreen : public engine::Screen, public engine::Trace
{
public:
    TranscriptScreen(const Options &options, QTextStream &out, Result &result)
        : m_options(options), m_out(out), m_result(result)
    {}

    void setTalkColour(std::uint32_t colour) override { m_colour = colour; }
    void setTalkText(const QString &text) override
    {
        m_talk = text;
        m_out << "talk " << rgbHex(m_colour) << ' ' << escaped(text) << '\n';
    }
    void setPlaceLabel(const QString &name) override { m_out << "place " << escaped(name) << '\n'; }
    void movedTo(const QString &name) override { setPlaceLabel(name); }
    void setNames(const QString &, const QString &) override {}
    void eventStarted() override {}
    void eventEnded() override {}
    void showPlaceButtons(const PlaceButtons &buttons) override
    {
        m_out << "buttons";
        for (const auto &b : buttons) {
            if (b.visible)
                m_out << ' ' << b.tag << ':' << escaped(b.caption);
        }
        m_out << '\n';
    }
    void hidePlaceButtons() override { m_out << "hide\n"; }
    void showStage(const StageChange &change, const QImage &stage) override
    {
        m_stage = stage;
        switch (change.kind) {
        case StageChange::Background:
            m_out << "bg " << change.file << '\n';
            break;
        case StageChange::StageOnly:
            m_out << "stage " << change.file << '\n';
            break;
        case StageChange::Character:
            m_out << "chara " << escaped(change.character) << ' ' << change.expression << ' '
                  << change.variant << '\n';
            break;
        case StageChange::Overlay:
            m_out << "overlay " << change.file << '\n';
            break;
        }
    }
    void waitAdvance() override
    {
        m_out << "wait\n";
        snapshot();
        m_waiting = true;
        const QString token = take();
        if (token != QStringLiteral("n"))
            throw InputError{QStringLiteral("input %1: expected n at an advance wait, got \"%2\"")
                                     .arg(m_next)
                                     .arg(token) +
                                 atWait(),
                             waitLocation()};
        m_waiting = false;
    }
    int waitChoice(const QString &caption1, const QString &caption2) override
    {
        m_out << "option 1 " << escaped(caption1) << '\n'
              << "option 2 " << escaped(caption2) << '\n';
        snapshot();
        m_waiting = true;
        const QString token = take();
        if (token != QStringLiteral("1") && token != QStringLiteral("2"))
            throw InputError{QStringLiteral("input %1: expected 1 or 2 at a choice, got \"%2\"")
                                     .arg(m_next)
                                     .arg(token) +
                                 atWait(),
                             waitLocation()};
        m_waiting = false;
        m_out << "choose " << token << '\n';
        return token.toInt();
    }

    void run(const QString &place, int number) override
    {
        m_out << "run " << escaped(place) << ' ' << number << '\n';
        m_result.played.scripts.insert(engine::scriptPath(place, number));
    }
    void block(const QString &script, int line, int block) override
    {
        m_result.played.blocks.insert({script, line, block});
    }
    void ending(int heroine, bool happy) override
    {
        m_result.endings.push_back({heroine, happy, m_engine->state().Loveval(heroine)});
    }
    void flag(int index, int value) override { m_out << "flag " << index << ' ' << value << '\n'; }
    void love(int heroine, int value) override
    {
        m_out << "love " << heroine << ' ' << value << '\n';
    }
    void count(int slot, int value) override { m_out << "count " << slot << ' ' << value << '\n'; }

    bool hasInput() const { return m_next < m_options.inputs.size(); }
    // The next input token; its 1-based number is then inputNumber().
    QString take()
    {
        if (!hasInput())
            throw InputExhausted{waitLocation()};
        return m_options.inputs.at(m_next++);
    }
    // The engine whose waits these are, so that a stop names the script line.
    void setEngine(engine::Engine *engine) { m_engine = engine; }
    // "dat2/ibent2-0.da2:7" while a wait is in progress, else empty.
    QString waitLocation() const
    {
        return m_engine && m_waiting ? m_engine->waitLocation() : QString();
    }
    // " at dat2/ibent2-0.da2:7" while a wait is in progress, else empty.
    QString atWait() const
    {
        const QString where = waitLocation();
        return where.isEmpty() ? where : QStringLiteral(" at ") + where;
    }
    qsizetype inputNumber() const { return m_next; }
    const QString &lastMessage() const { return m_talk; }

    void snapshot(const QString &name = QString())
    {
        if (m_options.snapshotFolder.isEmpty() || m_stage.isNull())
            return;
        const QString file =
            name.isEmpty()
                ? QStringLiteral("wait-%1.png").arg(++m_snapshots, 3, 10, QLatin1Char('0'))
                : name;
        QSaveFile png(QDir(m_options.snapshotFolder).filePath(file));
        if (png.open(QIODevice::WriteOnly) && m_stage.save(&png, "PNG"))
            png.commit();
    }
    void setStage(const QImage &stage) { m_stage = stage; }

private:
    const Options &m_options;
    QTextStream &m_out;
    Result &m_result;
    std::uint32_t m_colour = 0xFF0000; // blue, as the message label starts
    QString m_talk;                    // the last message shown
    QImage m_stage;
    qsizetype m_next = 0;
    int m_snapshots = 0;
    engine::Engine *m_engine = nullptr;
    bool m_waiting = false;
};

// The whole-game loop between events: place buttons, SAVE and LOAD. A place move
// that leaves no place button has ended the game; LOAD goes on with the saved one.
void playGame(game::Game &game, TranscriptScreen &screen, Result &result)
{
    while (screen.hasInput()) {
        const QString token = screen.take();
        if (token == QStringLiteral("save")) {
            game.save();
        } else if (token == QStringLiteral("load")) {
            game.load();
            result.overAfter = -1;
        } else if (token.startsWith(u'p') && token.size() > 1) {
            const QString tag = token.mid(1);
            const PlaceButtons &buttons = game.placeButtons();
            int index = -1;
            for (int i = 0; i < 5; ++i) {
                if (buttons[i].visible && buttons[i].tag == tag) {
                    index = i;
                    break;
                }
            }
            if (index < 0)
                throw InputError{QStringLiteral("input %1: no visible place button has Tag %2")
                                     .arg(screen.inputNumber())
                                     .arg(tag)};
            game.placeMove(index);
            if (game.isOver())
                result.overAfter = screen.inputNumber();
        } else {
            throw InputError{QStringLiteral("input %1: expected p<TAG>, save or load between "
                                            "events, got \"%2\"")
                                 .arg(screen.inputNumber())
                                 .arg(token)};
        }
    }
}

QString joined(const engine::GameState &s)
{
    QStringList love, counts, flags;
    using namespace engine;
    for (int i = kFirstHeroine; i <= kLastHeroine; ++i)
        love << QString::number(s.Loveval(i));
    for (int i = kFirstCounter; i <= kLastCounter; ++i)
        counts << QString::number(s.Ibentcnt(i));
    for (int i = kFirstFlag; i <= kLastFlag; ++i)
        flags << QString::number(s.Ibentflag(i));
    return QStringLiteral("state PlaceCode=%1 Loveval=%2 Ibentcnt=%3 Ibentflag=%4")
        .arg(escaped(s.PlaceCode), love.join(u','), counts.join(u','), flags.join(u','));
}

} // namespace

bool prepareSnapshotFolder(const QString &folder, QString *error)
{
    const QFileInfo info(folder);
    if (info.exists() && !info.isDir()) {
        *error = QStringLiteral("--snapshots %1 is not a folder").arg(folder);
        return false;
    }
    QDir dir(folder);
    const QStringList entries = dir.entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    const bool marked = entries.contains(QLatin1String(kSnapshotMarker)) &&
                        QFileInfo(dir.filePath(QLatin1String(kSnapshotMarker))).isFile();
    const QRegularExpression snapshot(QStringLiteral("^(wait-\\d{3,}|final)\\.png$"));
    QStringList earlier;
    for (const QString &name : entries) {
        if (name == QLatin1String(kSnapshotMarker))
            continue;
        const QFileInfo entry(dir.filePath(name));
        if (!marked || !snapshot.match(name).hasMatch() || entry.isSymLink() || !entry.isFile()) {
            *error = QStringLiteral("--snapshots %1 holds %2, which velmora2-play did not write: "
                                    "give a new or empty folder, or one that holds its snapshots")
                         .arg(folder, dir.filePath(name));
            return false;
        }
        earlier << name;
    }
    if (!dir.mkpath(QStringLiteral("."))) {
        *error = QStringLiteral("--snapshots: cannot create %1").arg(folder);
        return false;
    }
    for (const QString &name : earlier)
        dir.remove(name);
    if (!marked) {
        QSaveFile marker(dir.filePath(QLatin1String(kSnapshotMarker)));
        if (!marker.open(QIODevice::WriteOnly) ||
            marker.write("velmora2-play writes its snapshots here and removes earlier ones\n") <
                0 ||
            !marker.commit()) {
            *error = QStringLiteral("--snapshots: cannot write %1").arg(marker.fileName());
            return false;
        }
    }
    return true;
}

Result play(const Options &options, QTextStream &out)
{
    Result result;
    result.inputsGiven = options.inputs.size();
    std::unique_ptr<platform::SettingsStore> backing;
    if (options.storeFile.isEmpty())
        backing = std::make_unique<platform::MemoryStore>();
    else
        backing = std::make_unique<platform::QSettingsStore>(options.storeFile);
    TracedStore store(std::move(backing), out);
    TranscriptScreen screen(options, out, result);
    game::Game game(screen, store, options.dataFolder);
    game.engine().setTrace(&screen);
    screen.setEngine(&game.engine());
    QString refusal;
    if (!options.snapshotFolder.isEmpty() &&
        !prepareSnapshotFolder(options.snapshotFolder, &refusal)) {
        out << "error " << escaped(refusal) << '\n';
        out.flush();
        result.status = BadInput;
        result.message = refusal;
        return result;
    }

    Status status = Ok;
    try {
        switch (options.mode) {
        case Options::Mode::Event:
            for (int i = engine::kFirstName; i <= engine::kLastName; ++i)
                game.state().PName(i) = options.names.value(i - engine::kFirstName);
            game.engine().RunEvent(options.place, options.number);
            break;
        case Options::Mode::NewGame:
            game.newGame(options.names.value(0), options.names.value(1), options.names.value(2));
            game.start();
            playGame(game, screen, result);
            break;
        case Options::Mode::LoadGame:
            game.loadFromTitle();
            game.start();
            playGame(game, screen, result);
            break;
        case Options::Mode::Bonus:
            if (!game.enterBonus())
                throw InputError{
                    QStringLiteral("--bonus: the four happy endings have not all been seen")};
            game.start();
            // The bonus event is all that bonus mode plays.
            result.overAfter = screen.inputNumber();
            playGame(game, screen, result);
            break;
        }
    } catch (const platform::ScriptError &e) {
        result.message = e.message();
        if (e.hasLocation())
            result.where = e.file() + u':' + QString::number(e.line());
        status = ScriptFailed;
    } catch (const InputError &e) {
        result.message = e.message;
        result.where = e.where;
        status = BadInput;
    } catch (const InputExhausted &e) {
        result.message = QStringLiteral("out of input");
        if (!e.where.isEmpty())
            result.message += QStringLiteral(" at ") + e.where;
        result.where = e.where;
        status = OutOfInput;
    }
    if (status != Ok)
        out << (status == OutOfInput ? "stop " : "error ") << escaped(result.message) << '\n';
    screen.setStage(game.stage().visible());
    screen.snapshot(QStringLiteral("final.png"));
    if (options.printState)
        out << joined(game.state()) << '\n';
    out.flush();
    result.status = status;
    result.inputsUsed = screen.inputNumber();
    result.state = game.state();
    result.lastMessage = screen.lastMessage();
    return result;
}

bool parseArguments(const QStringList &given, Options &options, QString &error)
{
    const QStringList arguments = platform::splitOptionValues(
        given, {QStringLiteral("--data"), QStringLiteral("--names"), QStringLiteral("--inputs"),
                QStringLiteral("--new"), QStringLiteral("--store"), QStringLiteral("--snapshots")});
    QStringList positional;
    int modes = 0;
    auto splitNames = [](const QString &value) {
        QStringList names = value.split(u',');
        while (names.size() < 3)
            names << QString();
        return names;
    };
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &arg = arguments.at(i);
        auto value = [&](QString &target) {
            if (i + 1 >= arguments.size()) {
                error = arg + QStringLiteral(" needs a value");
                return false;
            }
            target = arguments.at(++i);
            return true;
        };
        QString v;
        if (arg == QStringLiteral("--data")) {
            if (!value(options.dataFolder))
                return false;
        } else if (arg == QStringLiteral("--names")) {
            if (!value(v))
                return false;
            options.names = splitNames(v);
        } else if (arg == QStringLiteral("--inputs")) {
            if (!value(v))
                return false;
            options.inputs =
                v.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        } else if (arg == QStringLiteral("--state")) {
            options.printState = true;
        } else if (arg == QStringLiteral("--new")) {
            if (!value(v))
                return false;
            options.names = splitNames(v);
            options.mode = Options::Mode::NewGame;
            ++modes;
        } else if (arg == QStringLiteral("--load")) {
            options.mode = Options::Mode::LoadGame;
            ++modes;
        } else if (arg == QStringLiteral("--bonus")) {
            options.mode = Options::Mode::Bonus;
            ++modes;
        } else if (arg == QStringLiteral("--store")) {
            if (!value(options.storeFile))
                return false;
        } else if (arg == QStringLiteral("--snapshots")) {
            if (!value(options.snapshotFolder))
                return false;
        } else if (arg.startsWith(QStringLiteral("--"))) {
            error = QStringLiteral("unknown option ") + arg;
            return false;
        } else {
            positional << arg;
        }
    }
    if (modes > 1) {
        error = QStringLiteral("--new, --load and --bonus exclude each other");
        return false;
    }
    if (options.mode == Options::Mode::Event) {
        bool ok = false;
        if (positional.size() != 2 || (options.number = positional.at(1).toInt(&ok), !ok) ||
            options.number < -32768 || options.number > 32767) {
            error = QStringLiteral("expected PLACE EVENT (a place code and an event number)");
            return false;
        }
        options.place = positional.at(0);
    } else if (!positional.isEmpty()) {
        error = QStringLiteral("PLACE EVENT go without --new, --load and --bonus");
        return false;
    }
    return true;
}

} // namespace vm2::play
