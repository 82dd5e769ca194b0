#pragma once

#include <QColor>
#include <QStringList>
#include <QTimer>
#include <QWidget>

namespace vm2::app {

// A band over the foot of the stage that shows what the place buttons hide: while
// they stand over the message label, the last message the player has had no wait to
// read (an event's closing narration, the SAVE and LOAD notices) is shown here, in
// its colour on a translucent panel, until the next place button is pressed. Short
// notices of the window itself (a screenshot taken, a missing guide) show here for a
// few seconds. The band is the window's, never part of the stage's picture. While
// the message history lies over the stage the band hides, and a notice waits for it
// to close: the band would cover the history's text, and a notice shown under the
// history would run out unseen.
class NoticeBand : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kNoticeTime = 4000; // milliseconds a window notice stays

    explicit NoticeBand(QWidget *parent = nullptr);

    // The message label took `text` (in `colour`); an empty text clears the label but
    // leaves a message the player has not read.
    void messageShown(const QString &text, const QColor &colour);
    // A wait ended: the player has seen the message on the label.
    void messageRead();
    // The place buttons: shown (some of them) or all hidden.
    void placeButtonsShown(bool shown);
    // A place button moved the hero: what the band showed is done with.
    void moved();
    // A notice of the window's own, shown for kNoticeTime.
    void showNotice(const QString &text);
    // Something of the window's lies over the band's room: the band hides, and the
    // time of a notice stands still. Notices raised while it is covered are all shown,
    // in order, for kNoticeTime from when it is uncovered.
    void setCovered(bool covered);

    // What the band shows now, or once it is uncovered (empty when it has nothing).
    QString text() const;
    // How long the notice shown now has left, in milliseconds (0 when there is none);
    // while the band is covered, what it will have once uncovered.
    int noticeTimeLeft() const;
    QColor colour() const;
    // The band's room: the stage's drawing area, in the parent's coordinates; the band
    // takes its foot. `pointSize`: the message font's size at the window's scale.
    void setArea(const QRect &area, qreal pointSize);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void refresh();

    QString m_unread;
    QColor m_unreadColour;
    QString m_notice;
    QTimer m_noticeTimer;
    bool m_covered = false;
    int m_noticeLeft = 0;  // while covered: the time the notice shown has left
    QStringList m_waiting; // notices raised while covered, oldest first
    bool m_buttonsShown = false;
    QRect m_area;
    qreal m_pointSize = 11.25;
};

} // namespace vm2::app
