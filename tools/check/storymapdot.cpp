// The story map written as a Graphviz graph.
#include "storymap.h"

#include "engine/placetable.h"
#include "engine/script.h"

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

QString dotString(QString text)
{
    text.replace(u'\\', QStringLiteral("\\\\"));
    text.replace(u'"', QStringLiteral("\\\""));
    return u'"' + text + u'"';
}

QString nodeId(const EventId &e)
{
    return dotString(e.place + u'-' + QString::number(e.number));
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
    for (const ScriptInfo &s : m_scripts) {
        for (const HandOver &h : s.handOvers) {
            for (const Target &t : targets(h))
                list.push_back({s.event, t.event, t.label, Edge::HandOver});
        }
    }
    // The counter steps of each place: from every event a place's button can play to
    // the events its counter can go on to.
    forEachValue([&](int, const Counter &c, int v) {
        const int script = find({c.code, v});
        if (script < 0)
            return;
        std::set<int> steps(c.free.begin(), c.free.end());
        steps.insert(c.once.begin(), c.once.end());
        if (isBound(script)) {
            for (const int sum : ownSums(script))
                steps.insert(sum);
        }
        for (const int step : steps) {
            if (v + step <= c.cap && c.has[static_cast<std::size_t>(v + step)])
                list.push_back(
                    {{c.code, v}, {c.code, v + step}, QStringLiteral("+%1").arg(step), Edge::Step});
        }
    });
    return list;
}

void StoryMap::writeDot(QTextStream &out) const
{
    out << "// The story map: one node per script, with the first message it shows.\n"
           "// Solid edges hand over (jump, next day, ending); dashed edges are the\n"
           "// steps of a place's event counter. Grey scripts are never played, red\n"
           "// dashed ones are named but do not exist.\n"
           "digraph story {\n"
           "  node [shape=box, fontname=\"Noto Sans CJK JP\", fontsize=10];\n"
           "  edge [fontname=\"Noto Sans CJK JP\", fontsize=9];\n";
    std::map<QString, std::vector<int>> byPlace;
    for (std::size_t i = 0; i < m_scripts.size(); ++i)
        byPlace[m_scripts[i].event.place].push_back(static_cast<int>(i));
    int cluster = 0;
    for (const auto &[code, scripts] : byPlace) {
        out << "  subgraph cluster_" << cluster++ << " {\n    label=" << dotString(placeTitle(code))
            << ";\n";
        for (const int i : scripts) {
            const ScriptInfo &s = m_scripts[static_cast<std::size_t>(i)];
            QString label = engine::scriptFileName(s.event.place, s.event.number);
            label.chop(4);
            if (!s.firstMessage.isEmpty())
                label += u'\n' + shortened(s.firstMessage);
            out << "    " << nodeId(s.event)
                << " [label=" << dotString(label).replace(u'\n', "\\n");
            if (!m_reachable[static_cast<std::size_t>(i)])
                out << ", style=filled, fillcolor=lightgrey";
            out << "];\n";
        }
        out << "  }\n";
    }
    std::set<EventId> missing;
    for (const Edge &e : edges()) {
        if (find(e.to) < 0 && missing.insert(e.to).second) {
            QString label = engine::scriptFileName(e.to.place, e.to.number);
            label.chop(4);
            out << "  " << nodeId(e.to) << " [label="
                << dotString(label + QStringLiteral("\nmissing")).replace(u'\n', "\\n")
                << ", color=red, fontcolor=red, style=dashed];\n";
        }
        out << "  " << nodeId(e.from) << " -> " << nodeId(e.to) << " [label=" << dotString(e.label);
        if (e.style == Edge::Step)
            out << ", style=dashed, color=blue, fontcolor=blue";
        out << "];\n";
    }
    out << "}\n";
}

} // namespace vm2::check
