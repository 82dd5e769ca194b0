#include "runner.h"

#include "blockwalk.h"
#include "platform/pictureloader.h"
#include "platform/settingsstore.h"
#include "stage/stage.h"

namespace vm2::engine {

using platform::Fault;
using platform::ScriptError;

Engine::Engine(GameState &state, Screen &screen, stage::Stage &stage,
               platform::SettingsStore &store, QString dataFolder)
    : m_state(state), m_screen(screen), m_stage(stage), m_store(store),
      m_dataFolder(std::move(dataFolder))
{}

QString Engine::dataPath(const QString &relative) const
{
    return m_dataFolder + u'/' + relative;
}

QImage Engine::picture(const QString &file)
{
    return m_pictures.load(dataPath(file), file);
}

void Engine::decodeAhead(const QString &place, int number)
{
    // A place move asks before it draws the place, and its run would ask again.
    if (m_aheadFor && m_aheadFor->place == place && m_aheadFor->number == number)
        return;
    m_aheadFor = Next{place, number};
    std::vector<platform::PictureCache::Ahead> pictures;
    std::vector<Next> jumps;
    auto scan = [&](const Next &event, bool follow) {
        const QString name = scriptPath(event.place, event.number);
        std::shared_ptr<const platform::ScriptCache::Script> script;
        try {
            script = m_scripts.lines(dataPath(name), name);
        } catch (const ScriptError &) {
            // Reported when the event runs.
        }
        if (!script)
            return;
        for (const QString &line : script->lines) {
            const KindInfo *info = lineKind(line);
            if (!info || (info->pictureCount == 0 && !(follow && info->kind == Kind::Jump)))
                continue;
            std::optional<ScriptError> error;
            const Command cmd = parseCommand(line, error);
            if (error)
                continue;
            for (const PictureLoad &load : picturesOf(cmd))
                pictures.push_back({dataPath(load.file), load.file});
            if (follow && cmd.kind == Kind::Jump)
                jumps.push_back({cmd.code, cmd.value});
        }
    };
    scan({place, number}, true);
    for (const Next &jump : jumps)
        scan(jump, false);
    m_pictures.decodeAhead(pictures);
}

RunResult Engine::RunEvent(const QString &place, int number)
{
    Q_ASSERT(m_endings.empty());
    decodeAhead(place, number);
    m_aheadFor.reset(); // the next run asks afresh: its files may have changed meanwhile
    m_result = RunResult{};
    m_screen.eventStarted();
    std::optional<Next> next = Next{place, number};
    m_handOvers = 0;
    try {
        while (next) {
            open(*next);
            next = playScript();
            if (next && ++m_handOvers > m_handOverLimit) {
                ScriptError e(
                    Fault::OutOfStackSpace,
                    QStringLiteral("%1 hand-overs in a row without waiting for the player")
                        .arg(m_handOvers - 1));
                e.setLocation(m_channel.name(), m_channel.lineNumber());
                throw e;
            }
        }
        m_channel.close();
        // The events that played endings end after them, innermost first.
        while (!m_endings.empty()) {
            const PlayedEnding ending = m_endings.back();
            m_endings.pop_back();
            finishEnding(ending);
        }
    } catch (...) {
        m_endings.clear();
        m_channel.close();
        throw;
    }
    m_screen.eventEnded();
    return std::move(m_result);
}

void Engine::open(const Next &next)
{
    // The hand-over line is still current: a missing script is its fault.
    const QString from = m_channel.isOpen() ? m_channel.name() : QString();
    const int fromLine = m_channel.lineNumber();
    if (m_trace)
        m_trace->run(next.place, next.number);
    const QString name = scriptPath(next.place, next.number);
    try {
        m_channel.open(dataPath(name), name, &m_scripts);
    } catch (ScriptError &e) {
        if (!from.isEmpty())
            e.setLocation(from, fromLine);
        throw;
    }
}

std::optional<Engine::Next> Engine::playScript()
{
    try {
        while (!m_channel.atEnd()) {
            const QString line = m_channel.readLine();
            const KindInfo *info = lineKind(line);
            if (!info)
                continue;
            if (m_trace && info->opensBlocks)
                m_trace->line(m_channel.name(), m_channel.lineNumber(), line);
            std::optional<Next> handOver;
            if (info->opensBlocks)
                openBlocks(parseCommand(line), handOver);
            else
                handOver = execute(line, Where::MainFlow);
            if (handOver || info->handsOver)
                return handOver;
        }
    } catch (ScriptError &e) {
        if (!e.hasLocation())
            e.setLocation(m_channel.name(), m_channel.lineNumber());
        throw;
    }
    return std::nullopt;
}

// A choice or flag branch whose lines run out is the fault of its "4" or "6" line,
// which is where the error points.
ScriptError Engine::atLine(ScriptError error, int line) const
{
    error.setLocation(m_channel.name(), line);
    return error;
}

void Engine::openBlocks(const Command &cmd, std::optional<Next> &handOver)
{
    const int opening = m_channel.lineNumber();
    const bool first =
        cmd.kind == Kind::Choice ? choose(opening) == 1 : m_state.Ibentflag(cmd.index) == 0;
    if (m_trace)
        m_trace->block(m_channel.name(), opening, first ? 1 : 2);
    playBlocks(opening, first, cmd.countA, cmd.countB, handOver);
}

int Engine::choose(int opening)
{
    std::array<QString, 2> captions;
    readCaptions(m_channel, opening, captions,
                 [&](ScriptError e) { throw atLine(std::move(e), opening); });
    m_state.TalkFlag = 0;
    m_choiceLine = opening;
    m_state.TalkNo = static_cast<std::int16_t>(m_screen.waitChoice(captions[0], captions[1]));
    m_choiceLine = 0;
    m_state.TalkFlag = 0;
    m_handOvers = 0;
    return m_state.TalkNo;
}

void Engine::playBlocks(int opening, bool first, int countA, int countB,
                        std::optional<Next> &handOver)
{
    auto play = [&](const BlockLine &line) {
        handOver = execute(line.text, Where::Block);
        return handOver.has_value();
    };
    auto nothing = [](const BlockLine &) {};
    walkBlocks(m_channel, opening, countA, countB,
               first ? BlocksPlayed::First : BlocksPlayed::Second, play, nothing, nothing,
               [&](ScriptError e) { throw atLine(std::move(e), opening); });
}

std::optional<Engine::Next> Engine::execute(const QString &line, Where where)
{
    const KindInfo *info = lineKind(line);
    if (!info || (where == Where::Block && info->opensBlocks))
        return std::nullopt;
    if (m_trace)
        m_trace->line(m_channel.name(), m_channel.lineNumber(), line);
    const Command cmd = parseCommand(line);
    const std::vector<PictureLoad> pictures = picturesOf(cmd);
    switch (cmd.kind) {
    case Kind::Background: {
        const QString &file = pictures[0].file;
        m_state.BackPath = dataPath(file);
        m_stage.loadBackground(picture(file));
        m_screen.showStage({StageChange::Background, file, {}, 0, 0}, m_stage.visible());
        break;
    }
    case Kind::PlaceLabel: {
        const QString name = placeLabelName(cmd.code.front(), where);
        if (!name.isNull())
            m_screen.setPlaceLabel(name);
        break;
    }
    case Kind::Picture: {
        const QString &file = pictures[0].file;
        m_stage.overlay(picture(file));
        m_screen.showStage({StageChange::Overlay, file, {}, 0, 0}, m_stage.visible());
        break;
    }
    case Kind::Character: {
        const QString &body = pictures[0].file;
        const QImage bodyPicture = picture(body);
        std::optional<QImage> face;
        if (pictures.size() > 1)
            face = picture(pictures[1].file);
        m_stage.drawCharacter(cmd.code, cmd.value, bodyPicture, face ? &*face : nullptr);
        StageChange change{StageChange::Character, body, cmd.code, cmd.value, cmd.variant};
        m_screen.showStage(change, m_stage.visible());
        break;
    }
    case Kind::Talk:
    case Kind::TalkNoWait:
        message(cmd, cmd.kind == Kind::Talk);
        break;
    case Kind::Choice:
    case Kind::FlagBranch:
        break; // the runner plays these itself in the main flow
    case Kind::SetFlag:
        m_state.Ibentflag(cmd.index) = static_cast<std::int16_t>(cmd.value);
        if (m_trace)
            m_trace->flag(cmd.index, cmd.value);
        break;
    case Kind::Love: {
        auto &value = m_state.Loveval(cmd.index);
        value = addInt16(value, cmd.value);
        if (m_trace)
            m_trace->love(cmd.index, value);
        break;
    }
    case Kind::Counter: {
        auto &value = m_state.Ibentcnt(cmd.index);
        value = addInt16(value, cmd.value);
        if (m_trace)
            m_trace->count(cmd.index, value);
        break;
    }
    case Kind::NextDay:
        loadStageOnly(cmd.code);
        m_state.PlaceCode = cmd.code;
        m_screen.setPlaceLabel(home().nameText());
        showTalk(colour::kBlack, QStringLiteral("翌日になりました"));
        advanceWait();
        return Next{cmd.code, where == Where::MainFlow ? 0 : m_state.Ibentcnt(home().number)};
    case Kind::Jump:
        m_state.PlaceCode = cmd.code;
        return Next{cmd.code, cmd.value};
    case Kind::Ending: {
        // The affection is read once, before the ending event plays.
        const bool happy = isHappy(m_state.Loveval(cmd.index));
        m_endings.push_back({cmd.index, happy});
        if (m_trace)
            m_trace->ending(cmd.index, happy);
        return Next{kEndingsPlace, endingEvent(cmd.index, happy)};
    }
    }
    return std::nullopt;
}

void Engine::message(const Command &cmd, bool waits)
{
    std::uint32_t colour = 0;
    if (speakerColour(cmd.speaker, waits, &colour)) {
        showTalk(colour, messageText(cmd, {m_state.PName(1), m_state.PName(2), m_state.PName(3)}));
    }
    if (waits)
        advanceWait();
}

QString Engine::waitLocation() const
{
    return m_channel.name() + u':' +
           QString::number(m_choiceLine > 0 ? m_choiceLine : m_channel.lineNumber());
}

void Engine::advanceWait()
{
    m_state.NextFlag = 0;
    m_screen.waitAdvance();
    m_state.NextFlag = 0;
    m_handOvers = 0;
}

void Engine::showTalk(std::uint32_t colour, const QString &text)
{
    m_screen.setTalkColour(colour);
    m_screen.setTalkText(text);
    m_result.talkText = text;
}

void Engine::finishEnding(const PlayedEnding &ending)
{
    const ClosingWords &words = closingWords(ending.happy);
    showTalk(words.colour, words.text);
    m_result.endings.push_back(ending);
    if (ending.happy) {
        m_store.setValue(seenEndingKey(ending.heroine), QStringLiteral("1"));
        m_store.sync();
    }
}

void Engine::loadStageOnly(const QString &code)
{
    const QString file = pictureFile(stage::PictureRole::Background, code);
    m_stage.loadStageOnly(picture(file));
    m_screen.showStage({StageChange::StageOnly, file, {}, 0, 0}, m_stage.visible());
}

} // namespace vm2::engine
