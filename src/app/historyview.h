#pragma once

#include "messagehistory.h"

#include <QAbstractScrollArea>
#include <QWidget>
#include <memory>
#include <vector>

class QLabel;
class QTextLayout;

namespace vm2::app {

// The entries of the history, laid out top to bottom, oldest first, and scrolled
// with the wheel and the keys. Each message wraps in the message font and its
// speaker's colour; an answer stands in a box like the choice button it was; a
// place move is a rule with the place's name in a box like the place label.
class HistoryList : public QAbstractScrollArea
{
    Q_OBJECT
public:
    explicit HistoryList(QWidget *parent = nullptr);
    ~HistoryList() override;

    void setEntries(const std::deque<HistoryEntry> &entries);
    int count() const { return int(m_items.size()); }
    const HistoryEntry &entry(int index) const { return m_items[std::size_t(index)].entry; }
    // Where an entry stands in the list, in the list's own coordinates.
    QRect entryRect(int index) const;
    QColor entryColour(int index) const;
    // Scrolled to the newest entry.
    bool atNewest() const;
    // The main screen's layout factor: fonts, boxes and spaces grow by it.
    void setScale(qreal scale);
    // The top of the list shown now, in the list's coordinates.
    int scrollPosition() const;

Q_SIGNALS:
    // Escape, a right click or the wheel turned down past the newest entry.
    void closeRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    // Tab stays here: the controls under the history take no keys while it is open.
    bool focusNextPrevChild(bool next) override;

private:
    struct Item {
        HistoryEntry entry;
        std::unique_ptr<QTextLayout> layout;
        QRect rect; // the whole entry, in list coordinates
    };
    void relayout();
    void paintItem(QPainter &painter, const Item &item) const;
    int scaled(int pixels) const;

    std::vector<Item> m_items;
    int m_height = 0;
    qreal m_scale = 1.0;
};

// The history over the main screen: a white, bordered panel as wide and as high as
// the main screen's client area, holding the list and, at its foot, how to go back.
class HistoryView : public QWidget
{
    Q_OBJECT
public:
    explicit HistoryView(QWidget *parent = nullptr);

    HistoryList *list() const { return m_list; }
    // Fills the list and scrolls it to the newest entry.
    void setEntries(const std::deque<HistoryEntry> &entries);
    // The main screen's layout factor.
    void setScale(qreal scale);

Q_SIGNALS:
    void closeRequested();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    int borderInset() const;

    HistoryList *m_list = nullptr;
    QLabel *m_hint = nullptr;
    qreal m_scale = 1.0;
};

} // namespace vm2::app
