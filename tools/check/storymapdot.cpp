// The story map written as a Graphviz graph.
#include "storymap.h"

#include "engine/placetable.h"
#include "engine/script.h"

#include <algorithm>
#include <set>

namespace vm2::check {

namespace {

QString placeTitle(const QString &code)
{
    if (code == engine::kEndingsPlace)
        return QStringLiteral("endings and bonus");
    if (const engine::Place *place = engine::placeByCode(code))
        return QStringLiteral("%1 (%2)").arg(place->nameText(), code);
    return code;
}

// Writes text escaped for a Graphviz string: backslashes and quotes escaped, line
// ends as \n. The map is written piece by piece, without building its strings.
void writeEscaped(QTextStream &out, QStringView text)
{
    qsizetype from = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\\' && c != u'"' && c != u'\n')
            continue;
        out << text.sliced(from, i - from);
        if (c == u'\n')
            out << QLatin1String("\\n");
        else
            out << '\\' << c;
        from = i + 1;
    }
    out << text.sliced(from);
}

void writeQuoted(QTextStream &out, QStringView text)
{
    out << '"';
    writeEscaped(out, text);
    out << '"';
}

void writeNodeId(QTextStream &out, const EventId &e)
{
    out << '"';
    writeEscaped(out, e.place);
    out << '-' << e.number << '"';
}

QString shortened(const QString &text)
{
    constexpr qsizetype kLength = 24;
    return text.size() <= kLength ? text : text.left(kLength) + QStringLiteral("…");
}

} // namespace

std::vector<StoryMap::Edge> StoryMap::edges() const
{
    std::vector<Edge> list;
    for (const ScriptNode &n : m_scripts) {
        for (const HandOver &h : n.info.handOvers) {
            for (const Target &t : targets(h))
                list.push_back({n.info.event, t.event, t.label, Edge::HandOver});
        }
    }
    // The counter steps of each place: from every event a place's button can play to
    // the events its counter can go on to.
    std::vector<int> steps; // of one event, each size once, smallest first
    forEachValue([&](const Counter &c, int v) {
        const int script = find({c.code, v});
        if (script < 0)
            return;
        steps.clear();
        for (const auto *kind : {&c.free, &c.once}) {
            for (const Counter::Step &s : *kind)
                steps.push_back(s.amount);
        }
        if (isBound(script)) {
            const std::vector<int> own = ownSums(script);
            steps.insert(steps.end(), own.begin(), own.end());
        }
        std::sort(steps.begin(), steps.end());
        steps.erase(std::unique(steps.begin(), steps.end()), steps.end());
        for (const int step : steps) {
            if (c.holds(v + step))
                list.push_back({{c.code, v}, {c.code, v + step}, QString(), Edge::Step});
        }
    });
    return list;
}

void StoryMap::writeDot(QTextStream &out) const
{
    using L1 = QLatin1String;
    out << L1("// The story map: one node per script, with the first message it shows.\n"
              "// Solid edges hand over (jump, next day, ending); dashed edges are the\n"
              "// steps of a place's event counter. Grey scripts are never played, red\n"
              "// dashed ones are named but do not exist.\n"
              "digraph story {\n"
              "  node [shape=box, fontname=\"Noto Sans CJK JP\", fontsize=10];\n"
              "  edge [fontname=\"Noto Sans CJK JP\", fontsize=9];\n");
    // A node's label: its file name without ".da2", then a second line.
    auto writeLabel = [&](const EventId &e, const QString &second) {
        const QString name = engine::scriptFileName(e.place, e.number);
        out << L1(" [label=\"");
        writeEscaped(out, QStringView(name).chopped(4));
        if (!second.isEmpty()) {
            out << L1("\\n");
            writeEscaped(out, second);
        }
        out << '"';
    };
    std::map<QString, std::vector<int>> byPlace;
    for (std::size_t i = 0; i < m_scripts.size(); ++i)
        byPlace[m_scripts[i].info.event.place].push_back(static_cast<int>(i));
    int cluster = 0;
    for (const auto &[code, scripts] : byPlace) {
        out << L1("  subgraph cluster_") << cluster++ << L1(" {\n    label=");
        writeQuoted(out, placeTitle(code));
        out << L1(";\n");
        for (const int i : scripts) {
            const ScriptNode &n = node(i);
            out << L1("    ");
            writeNodeId(out, n.info.event);
            writeLabel(n.info.event, shortened(n.info.firstMessage));
            if (!n.reachable)
                out << L1(", style=filled, fillcolor=lightgrey");
            out << L1("];\n");
        }
        out << L1("  }\n");
    }
    std::set<EventId> missing;
    const QString missingText = QStringLiteral("missing");
    for (const Edge &e : edges()) {
        if (find(e.to) < 0 && missing.insert(e.to).second) {
            out << L1("  ");
            writeNodeId(out, e.to);
            writeLabel(e.to, missingText);
            out << L1(", color=red, fontcolor=red, style=dashed];\n");
        }
        out << L1("  ");
        writeNodeId(out, e.from);
        out << L1(" -> ");
        writeNodeId(out, e.to);
        if (e.style == Edge::Step) {
            out << L1(" [label=\"+") << e.to.number - e.from.number
                << L1("\", style=dashed, color=blue, fontcolor=blue");
        } else {
            out << L1(" [label=");
            writeQuoted(out, e.label);
        }
        out << L1("];\n");
    }
    out << L1("}\n");
}

} // namespace vm2::check
