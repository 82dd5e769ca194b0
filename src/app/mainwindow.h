#pragma once

#include "engine/screen.h"

#include <QWidget>
#include <cstdint>

class QLabel;
class QPushButton;

namespace vm2::app {

class AutoMode;
class ClickLabel;
class ModeIndicator;
class NoticeBand;
class PlayerKeys;
class PlayerWaits;
class ScaledLayout;
class ReadingAids;
class Session;
class StageView;

// form_Main: the game screen. It implements the screen the game shows itself on,
// and turns the player's clicks and the Space key into calls of the game. Its two
// waits (PlayerWaits) report what the player did; the game applies it.
class MainWindow : public QWidget, public engine::Screen
{
    Q_OBJECT
public:
    // The player's guide that HELP opens, in the program's own folder.
    static constexpr const char *kGuideName = "vm2-guide.html";

    explicit MainWindow(Session &session);
    ~MainWindow() override;

    StageView *stage() const { return pic_Main; }
    QLabel *talkLabel() const { return lbl_Talk; }
    QLabel *placeLabel() const { return lbl_Place; }
    QLabel *nameLabel(int index) const { return index == 1 ? lbl_Name1 : lbl_Name2; }
    ClickLabel *nextBox() const { return Nextbox; }
    QPushButton *placeButton(int index) const; // btnPlace(0) to btnPlace(4)
    QPushButton *talkButton(int index) const;  // btnTalk(1), btnTalk(2)
    // btn_Save, btn_Load, btn_Help, btn_About, btn_Title, btn_End, in that order.
    QList<QPushButton *> menuButtons() const;
    // Whether the start-up has played to its end.
    bool hasStarted() const { return m_started; }
    bool isWaiting() const;
    bool awaitsAdvance() const;
    bool awaitsChoice() const;
    // The message as the game last wrote it (the label shows it with its line breaks).
    QString talkText() const { return m_talkText; }
    // The message history and the skipping of what was read.
    ReadingAids *readingAids() const { return m_aids; }
    // What the place buttons would hide, and the window's own notices.
    NoticeBand *noticeBand() const { return m_band; }
    AutoMode *autoMode() const { return m_auto; }
    ModeIndicator *modeIndicator() const { return m_indicator; }
    // The layout at the window's size: one factor for every control.
    ScaledLayout *scaledLayout() const { return m_scaled; }
    // The layout's client area (537 × 537 pixels at factor 1) in the window now.
    QRect layoutRect() const;

    // Shows the window at the player's remembered size (or full screen), at the
    // largest factor that fits the screen where that size would not.
    void showRemembered();
    void toggleFullScreen();
    void takeScreenshot();

    // engine::Screen
    void setTalkColour(std::uint32_t colour) override;
    void setTalkText(const QString &text) override;
    void setPlaceLabel(const QString &name) override;
    void movedTo(const QString &placeName) override;
    void setNames(const QString &fullName, const QString &nickname) override;
    void eventStarted() override;
    void eventEnded() override;
    void showPlaceButtons(const engine::PlaceButtons &buttons) override;
    void hidePlaceButtons() override;
    void showStage(const engine::StageChange &change, const QImage &stage) override;
    void waitAdvance() override;
    int waitChoice(const QString &caption1, const QString &caption2) override;

public Q_SLOTS:
    void Form_Load();
    void Form_KeyDown(int KeyCode, int Shift);
    void btn_Save_Click();
    void btn_Load_Click();
    void btn_Help_Click();
    void btn_About_Click();
    void btn_Title_Click();
    void btn_End_Click();
    void btnTalk_Click(int Index);
    void btnPlace_Click(int Index);
    void Nextbox_Click();

Q_SIGNALS:
    // A wait for the player has begun (emitted before the window sleeps).
    void waitStarted();
    // The author asked for the author panel again (F9); only author mode has one.
    void authorPanelAsked();

protected:
    void closeEvent(QCloseEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void moveEvent(QMoveEvent *event) override;

private:
    void buildLayout();
    void wireAids();
    void layoutScaled(qreal factor);
    void fitOnScreen();
    void rememberWindow();

    Session &m_session;
    StageView *pic_Main = nullptr;
    QLabel *lbl_Talk = nullptr;
    QLabel *lbl_Place = nullptr;
    QLabel *lbl_Name1 = nullptr;
    QLabel *lbl_Name2 = nullptr;
    ClickLabel *Nextbox = nullptr;
    QPushButton *btnTalk[3] = {}; // members 1 and 2
    QPushButton *btnPlace[5] = {};
    QPushButton *btn_Save = nullptr;
    QPushButton *btn_Load = nullptr;
    QPushButton *btn_Help = nullptr;
    QPushButton *btn_About = nullptr;
    QPushButton *btn_Title = nullptr;
    QPushButton *btn_End = nullptr;

    ReadingAids *m_aids = nullptr;
    NoticeBand *m_band = nullptr;
    AutoMode *m_auto = nullptr;
    ModeIndicator *m_indicator = nullptr;
    PlayerKeys *m_keys = nullptr;
    ScaledLayout *m_scaled = nullptr;
    QLabel *m_panel = nullptr;
    QString m_talkText;
    QColor m_talkColour{0, 0, 255};
    PlayerWaits *m_waits = nullptr;
    bool m_unloading = false;
    bool m_closed = false;
    bool m_started = false;
    bool m_framed = false; // the window system's frame was taken into account
    QSize m_wanted;        // the size to show at start, where it fits the screen
};

} // namespace vm2::app
