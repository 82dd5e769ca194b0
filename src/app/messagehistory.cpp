#include "messagehistory.h"

namespace vm2::app {

void MessageHistory::addMessage(std::uint32_t colour, const QString &text)
{
    add({HistoryEntry::Message, text, colour});
}

void MessageHistory::addAnswer(const QString &caption)
{
    add({HistoryEntry::Answer, caption, 0});
}

void MessageHistory::addPlace(const QString &label)
{
    add({HistoryEntry::Place, label, 0});
}

void MessageHistory::clear()
{
    m_entries.clear();
    m_messages = 0;
}

void MessageHistory::add(HistoryEntry entry)
{
    entry.text = cut(entry.text);
    if (entry.kind == HistoryEntry::Message)
        ++m_messages;
    m_entries.push_back(std::move(entry));
    // The oldest message goes, and with it the answer to it: a place heading the
    // messages kept stays.
    while (m_messages > kMaxMessages) {
        if (m_entries.front().kind == HistoryEntry::Message)
            --m_messages;
        m_entries.pop_front();
        while (!m_entries.empty() && m_entries.front().kind == HistoryEntry::Answer)
            m_entries.pop_front();
    }
}

QString MessageHistory::cut(const QString &text)
{
    if (text.size() <= kMaxLength)
        return text;
    qsizetype end = kMaxLength;
    if (text.at(end - 1).isHighSurrogate())
        --end;
    return text.left(end) + QChar(0x2026);
}

} // namespace vm2::app
