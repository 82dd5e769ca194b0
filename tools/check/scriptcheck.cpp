#include "scriptcheck.h"

#include "engine/blockwalk.h"
#include "engine/script.h"
#include "platform/scriptchannel.h"

#include <QStringBuilder>
#include <memory>
#include <optional>

namespace vm2::check {

using engine::BlockLine;
using engine::Command;
using engine::KindInfo;
using engine::Where;
using platform::ScriptError;

QString EventId::file() const
{
    return engine::scriptPath(place, number);
}

namespace {

class ScriptChecker
{
public:
    ScriptChecker(const EventId &event, Findings &findings) : m_findings(findings)
    {
        m_info.event = event;
        m_info.file = event.file();
    }

    bool read(const QString &path);
    void check();
    ScriptInfo take() { return std::move(m_info); }

private:
    void error(int line, const QString &message) { m_findings.error(m_info.file, line, message); }
    void warning(int line, const QString &message)
    {
        m_findings.warning(m_info.file, line, message);
    }

    std::optional<Command> parse(int line, const QString &text);
    void blocks(int line, const Command &cmd, qsizetype &next);
    void play(int line, const Command &cmd, Where where);
    void message(int line, const Command &cmd);
    int guardOf(const Command &branch, qsizetype first, qsizetype available) const;

    ScriptInfo m_info;
    Findings &m_findings;
    std::vector<QString> m_lines;
    bool m_mayHaveHandedOver = false; // a line before the current one may have ended the script
    bool m_inMainFlow = true;
    int m_guardFlag = 0; // the flag that guards the block being checked
    int m_branch = 0;    // the line of the choice or flag branch whose block is checked
    int m_block = 0;     // 1 or 2
};

bool ScriptChecker::read(const QString &path)
{
    platform::ScriptChannel channel;
    int invalid = 0, firstInvalid = 0;
    try {
        channel.open(path, m_info.file);
        // The channel skips a byte-order mark silently; real scripts carry none.
        if (channel.startsWithBom())
            warning(1, QStringLiteral("the file starts with a UTF-8 byte-order mark: scripts "
                                      "are code page 932 text"));
        while (!channel.atEnd()) {
            m_lines.push_back(channel.readLine());
            if (!channel.lastLineValid() && invalid++ == 0)
                firstInvalid = channel.lineNumber();
        }
    } catch (const ScriptError &e) {
        error(0, e.description());
        return false;
    }
    m_info.lines = static_cast<int>(m_lines.size());
    if (invalid > 0) {
        QString text = QStringLiteral("the line is not valid code page 932 text");
        if (invalid > 1)
            text += QStringLiteral(" (nor are %1 more lines of the file)").arg(invalid - 1);
        error(firstInvalid, text);
    }
    return true;
}

std::optional<Command> ScriptChecker::parse(int line, const QString &text)
{
    std::optional<ScriptError> fault;
    Command cmd = engine::parseCommand(text, fault);
    if (fault) {
        error(line, fault->description());
        return std::nullopt;
    }
    return cmd;
}

// Plays the script as the runner reads it: the main flow line by line, each "4"
// and "6" with its caption lines and both its blocks (every block line is checked,
// whichever block a player would get). Lines after a hand-over of the main flow, or
// after one earlier in the same block, are never read: the first command among them
// is reported as never played, and nothing in them is an error.
void ScriptChecker::check()
{
    const auto count = static_cast<qsizetype>(m_lines.size());
    int handOver = 0;
    bool deadReported = false;
    qsizetype next = 0;
    while (next < count) {
        const int line = static_cast<int>(next) + 1;
        const QString &text = m_lines[static_cast<std::size_t>(next++)];
        const KindInfo *info = engine::lineKind(text);
        if (!info)
            continue;
        if (handOver) {
            if (!deadReported)
                warning(line, QStringLiteral("the line is never played: the script ends at the "
                                             "hand-over on line %1")
                                  .arg(handOver));
            deadReported = true;
            continue;
        }
        const std::optional<Command> cmd = parse(line, text);
        if (!cmd)
            continue; // a "4" or "6" without counts: its blocks are unknown
        if (info->opensBlocks) {
            blocks(line, *cmd, next);
            continue;
        }
        play(line, *cmd, Where::MainFlow);
        if (info->handsOver && !handOver)
            handOver = line;
        m_mayHaveHandedOver = m_mayHaveHandedOver || info->handsOver;
    }
}

// The script's lines as the block walk reads them, from line `next` on.
struct LineReader {
    const std::vector<QString> &lines;
    qsizetype &next;

    bool atEnd() const { return next >= static_cast<qsizetype>(lines.size()); }
    QString readLine() { return lines[static_cast<std::size_t>(next++)]; }
    int lineNumber() const { return static_cast<int>(next); }
};

void ScriptChecker::blocks(int line, const Command &cmd, qsizetype &next)
{
    LineReader reader{m_lines, next};
    auto pastEnd = [&](const ScriptError &e) { error(line, e.description()); };
    if (cmd.kind == engine::Kind::Choice) {
        if (cmd.countA == 0 && cmd.countB == 0)
            warning(line, QStringLiteral("both blocks of the choice are empty: either answer "
                                         "goes on at the next line"));
        // The captions are shown as written, whatever they hold.
        std::array<QString, 2> captions;
        if (!engine::readCaptions(reader, line, captions, pastEnd))
            return;
        m_info.branches.push_back({line, 0, {captions[0], captions[1]}});
    } else {
        m_info.branches.push_back({line, cmd.index, {}});
    }
    const qsizetype available =
        std::min<qsizetype>(cmd.countA + cmd.countB, static_cast<qsizetype>(m_lines.size()) - next);
    m_inMainFlow = false;
    m_branch = line;
    m_block = 1;
    m_guardFlag = cmd.kind == engine::Kind::FlagBranch ? guardOf(cmd, next, available) : 0;
    auto enter = [&](const BlockLine &l) {
        if (l.block != m_block) {
            m_guardFlag = 0; // block 2 plays while the flag is set
            m_block = l.block;
        }
    };
    std::array<int, 3> handOver{}; // by block: the line that surely ends the script
    std::array<bool, 3> cutReported{};
    auto play = [&](const BlockLine &l) {
        enter(l);
        if (l.kind->handsOver) {
            m_mayHaveHandedOver = true;
            handOver[static_cast<std::size_t>(l.block)] = l.number;
        }
        if (const std::optional<Command> blockCmd = parse(l.number, l.text))
            this->play(l.number, *blockCmd, Where::Block);
        return false; // a hand-over line ends its block whatever it holds
    };
    auto inert = [&](const BlockLine &l) {
        enter(l);
        if (l.kind)
            warning(l.number, QStringLiteral("a \"%1\" line inside a block does nothing: it opens "
                                             "no blocks, and the lines after it are lines of "
                                             "this block")
                                  .arg(l.text.front()));
    };
    auto cut = [&](const BlockLine &l) {
        const auto block = static_cast<std::size_t>(l.block);
        if (!l.kind || cutReported[block])
            return;
        warning(l.number, QStringLiteral("the line is never played: the block ends at the "
                                         "hand-over on line %1")
                              .arg(handOver[block]));
        cutReported[block] = true;
    };
    engine::walkBlocks(reader, line, cmd.countA, cmd.countB, engine::BlocksPlayed::Both, play,
                       inert, cut, pastEnd);
    m_inMainFlow = true;
    m_guardFlag = 0;
    m_branch = 0;
    m_block = 0;
}

// Block 1 of a flag branch plays while its flag is 0; when the block surely sets the
// flag to something else (before any line that may hand over), it cannot play again
// until a line clears the flag.
int ScriptChecker::guardOf(const Command &branch, qsizetype first, qsizetype available) const
{
    const qsizetype end = first + std::min<qsizetype>(branch.countA, available);
    for (qsizetype i = first; i < end; ++i) {
        const QString &text = m_lines[static_cast<std::size_t>(i)];
        const KindInfo *info = engine::lineKind(text);
        if (!info || info->opensBlocks)
            continue;
        if (info->handsOver)
            return 0;
        if (info->kind != engine::Kind::SetFlag)
            continue;
        std::optional<ScriptError> fault;
        const Command set = engine::parseCommand(text, fault);
        if (fault)
            return 0; // reported where the line is checked
        if (set.index == branch.index && set.value != 0)
            return branch.index;
    }
    return 0;
}

void ScriptChecker::play(int line, const Command &cmd, Where where)
{
    using engine::Kind;
    const bool inBlock = where == Where::Block;
    for (const engine::PictureLoad &p : engine::picturesOf(cmd))
        m_info.pictures.push_back({p.file, p.role, cmd.code, line});
    switch (cmd.kind) {
    case Kind::Background:
    case Kind::Picture:
    case Kind::Character:
        break;
    case Kind::PlaceLabel:
        if (engine::placeLabelName(cmd.code.front(), where).isNull())
            warning(line, QStringLiteral("place-label code \"%1\" is not known: the place label "
                                         "is left unchanged")
                              .arg(cmd.code));
        break;
    case Kind::Talk:
    case Kind::TalkNoWait:
        message(line, cmd);
        break;
    case Kind::SetFlag:
        if (cmd.value == 0)
            m_info.clearsFlag[static_cast<std::size_t>(cmd.index)] = true;
        break;
    case Kind::Choice:
    case Kind::FlagBranch:
    case Kind::Love:
        break;
    case Kind::Counter:
        m_info.advances.push_back({cmd.index, cmd.value, line, m_inMainFlow && !m_mayHaveHandedOver,
                                   m_guardFlag, m_branch, m_block});
        break;
    case Kind::NextDay:
        m_info.handOvers.push_back(
            {HandOver::NextDay, line, inBlock, {cmd.code, 0}, 0, m_branch, m_block});
        break;
    case Kind::Jump:
        m_info.handOvers.push_back(
            {HandOver::Jump, line, inBlock, {cmd.code, cmd.value}, 0, m_branch, m_block});
        break;
    case Kind::Ending:
        m_info.handOvers.push_back(
            {HandOver::Ending, line, inBlock, {}, cmd.index, m_branch, m_block});
        m_findings.note(m_info.file, line,
                        QStringLiteral("the ending of heroine %1: dat2/ibent9-%2.da2 (happy) when "
                                       "her affection is %4 or more here, else "
                                       "dat2/ibent9-%3.da2 (bad)")
                            .arg(cmd.index)
                            .arg(engine::endingEvent(cmd.index, true))
                            .arg(engine::endingEvent(cmd.index, false))
                            .arg(engine::kHappyThreshold));
        break;
    }
}

void ScriptChecker::message(int line, const Command &cmd)
{
    const bool waits = cmd.kind == engine::Kind::Talk;
    if (m_info.firstMessage.isEmpty())
        m_info.firstMessage = cmd.text;
    std::uint32_t colour = 0;
    if (!engine::speakerColour(cmd.speaker, waits, &colour)) {
        warning(line, QStringLiteral("speaker code \"%1\" is not 1 to 4: the message is not "
                                     "shown%2")
                          .arg(cmd.speaker)
                          .arg(waits ? QStringLiteral(", but the line still waits") : QString()));
        return;
    }
    // After an event started by a place button, a message with "End" in it is taken
    // for an ending's closing words. Endings and the bonus (place "9") are no places.
    if (m_info.event.place != engine::kEndingsPlace && engine::endsGame(cmd.text))
        warning(line, QStringLiteral("the message contains \"End\": if it is the last of an "
                                     "event started by a place button, no place button is "
                                     "offered after it"));
}

} // namespace

ScriptInfo checkScript(const QString &dataFolder, const EventId &event, Findings &findings)
{
    ScriptChecker checker(event, findings);
    if (checker.read(dataFolder % u'/' % event.file()))
        checker.check();
    return checker.take();
}

} // namespace vm2::check
