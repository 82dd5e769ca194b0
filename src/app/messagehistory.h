#pragma once

#include <QString>
#include <cstdint>
#include <deque>

namespace vm2::app {

// One line of the message history: a message in its speaker's colour, the caption
// of the answer the player picked, or the place the player moved to.
struct HistoryEntry {
    enum Kind { Message, Answer, Place };
    Kind kind = Message;
    QString text;
    std::uint32_t colour = 0; // Message: a Windows colour value 0x00BBGGRR
};

// What was said in this session, for the player to scroll back through: the last
// kMaxMessages messages, with the answers and place moves among them. It is never
// saved; a new game screen and LOAD start it afresh.
class MessageHistory
{
public:
    static constexpr int kMaxMessages = 300;
    // A longer entry is cut there and ends with an ellipsis.
    static constexpr int kMaxLength = 2000;

    void addMessage(std::uint32_t colour, const QString &text);
    void addAnswer(const QString &caption);
    void addPlace(const QString &label);
    void clear();

    const std::deque<HistoryEntry> &entries() const { return m_entries; }
    int messageCount() const { return m_messages; }
    bool isEmpty() const { return m_entries.empty(); }

    // `text` cut to kMaxLength characters plus an ellipsis (never inside a surrogate pair).
    static QString cut(const QString &text);

private:
    void add(HistoryEntry entry);

    std::deque<HistoryEntry> m_entries;
    int m_messages = 0;
};

} // namespace vm2::app
