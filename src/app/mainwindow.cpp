#include "mainwindow.h"

#include "aboutbox.h"
#include "art.h"
#include "automode.h"
#include "clicklabel.h"
#include "game/game.h"
#include "historyview.h"
#include "layout.h"
#include "modeindicator.h"
#include "noticeband.h"
#include "playerkeys.h"
#include "playerwaits.h"
#include "readingaids.h"
#include "readskip.h"
#include "scaledlayout.h"
#include "screenshot.h"
#include "session.h"
#include "stageview.h"
#include "windowprefs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QUrl>

namespace vm2::app {

namespace {

const QColor kWhite(255, 255, 255);
const QSize kClientSize(twips(8055), twips(8055));

// A caption shown as it is: an ampersand is no mnemonic here.
QString plainCaption(QString text)
{
    return text.replace(u'&', QStringLiteral("&&"));
}

QLabel *addCaption(QWidget *parent, const char *name, const QString &text, QRect rect)
{
    auto *label = new FitLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(rect);
    styleLabel(label, gameFont(9.75, true));
    return label;
}

// A white, bordered, centred box for a name or the place.
QLabel *addBox(QWidget *parent, const char *name, QRect rect)
{
    auto *label = new FitLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(rect);
    label->setFrameStyle(QFrame::Box | QFrame::Plain);
    label->setLineWidth(1);
    label->setAlignment(Qt::AlignHCenter);
    styleLabel(label, gameFont(14.25, true));
    setBackground(label, kWhite);
    setTextColour(label, Qt::black);
    return label;
}

QPushButton *addButton(QWidget *parent, const QString &name, const QString &text, QRect rect,
                       const QFont &font, const QString &toolTip = QString())
{
    auto *button = new FitButton(text, parent);
    button->setObjectName(name);
    button->setGeometry(rect);
    button->setFont(font);
    button->setToolTip(toolTip);
    return button;
}

} // namespace

MainWindow::MainWindow(Session &session)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                           Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      m_session(session)
{
    setObjectName(QStringLiteral("form_Main"));
    setWindowTitle(QStringLiteral("Velmora 2"));
    setWindowIcon(art::programIcon());
    // Any size: the layout scales by one factor, down to half of it.
    resize(kClientSize);
    setMinimumSize(kClientSize / 2);
    useButtonFace(this);
    // No control of this window takes text: an input method never holds back Space.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    buildLayout();
    m_scaled = new ScaledLayout(this, kClientSize);
    m_scaled->captureChildren();
    connect(m_scaled, &ScaledLayout::scaled, this, &MainWindow::layoutScaled);
    m_band = new NoticeBand(this);
    m_indicator = new ModeIndicator(this);
    m_scaled->apply();
    centreOnScreen(this);
    m_waits =
        new PlayerWaits(this, pic_Main, [this] { m_session.game().engine().playerAdvanced(); });
    connect(m_waits, &PlayerWaits::waitStarted, this, &MainWindow::waitStarted);
    connect(m_waits, &PlayerWaits::keyDown, this, &MainWindow::Form_KeyDown);
    m_aids = new ReadingAids(*this, session, [this] { m_waits->advance(); });
    wireAids();
}

void MainWindow::wireAids()
{
    m_auto = new AutoMode([this] { m_waits->advance(); }, this);
    connect(m_auto, &AutoMode::changed, m_indicator, &ModeIndicator::setAuto);
    connect(&m_aids->skip(), &ReadSkip::skippingChanged, m_indicator, &ModeIndicator::setSkip);
    m_keys = new PlayerKeys(*this, {pic_Main, m_panel, lbl_Talk});
    connect(m_keys, &PlayerKeys::advanceAsked, this, &MainWindow::Nextbox_Click);
    connect(m_keys, &PlayerKeys::autoToggled, m_auto, &AutoMode::toggle);
    connect(m_keys, &PlayerKeys::playerInput, m_auto, &AutoMode::stop);
    connect(m_keys, &PlayerKeys::fullScreenToggled, this, &MainWindow::toggleFullScreen);
    connect(m_keys, &PlayerKeys::screenshotAsked, this, &MainWindow::takeScreenshot);
    connect(m_keys, &PlayerKeys::authorPanelAsked, this, &MainWindow::authorPanelAsked);
    connect(m_aids, &ReadingAids::historyOpened, m_auto, &AutoMode::stop);
    // The history covers the stage, and the band with it: notices wait until it closes.
    connect(m_aids, &ReadingAids::historyOpened, m_band, [this] { m_band->setCovered(true); });
    connect(m_aids, &ReadingAids::historyClosed, m_band, [this] { m_band->setCovered(false); });
}

QRect MainWindow::layoutRect() const
{
    return m_scaled->map(QRect(QPoint(), kClientSize));
}

void MainWindow::layoutScaled(qreal factor)
{
    pic_Main->setScale(factor);
    const QRect stage = pic_Main->contentsRect().translated(pic_Main->pos());
    m_band->setArea(stage, 11.25 * factor);
    m_indicator->setArea(stage, factor);
    if (HistoryView *view = m_aids ? m_aids->historyView() : nullptr) {
        view->setGeometry(layoutRect());
        view->setScale(factor);
    }
}

MainWindow::~MainWindow() = default;

void MainWindow::buildLayout()
{
    // Labels first: buttons and the stage lie above every label.
    addCaption(this, "Label5", QStringLiteral("名前"), twipsRect(6120, 120, 645, 195));
    lbl_Name1 = addBox(this, "lbl_Name1", twipsRect(6120, 360, 1935, 375));
    addCaption(this, "Label6", QStringLiteral("愛称"), twipsRect(6120, 840, 645, 195));
    lbl_Name2 = addBox(this, "lbl_Name2", twipsRect(6120, 1080, 1935, 375));
    addCaption(this, "Label2", QStringLiteral("現在地"), twipsRect(6120, 1680, 645, 195));
    lbl_Place = addBox(this, "lbl_Place", twipsRect(6120, 1920, 1935, 375));

    // The message panel, below the message and the advance prompt.
    auto *panel = new QLabel(this);
    m_panel = panel;
    panel->setObjectName(QStringLiteral("Label1"));
    panel->setGeometry(twipsRect(0, 6120, 8055, 1935));
    panel->setFrameStyle(QFrame::Box | QFrame::Plain);
    setBackground(panel, kWhite);
    setTextColour(panel, Qt::black);

    auto *talk = new FitLabel(QStringLiteral("Label2"), this);
    lbl_Talk = talk;
    lbl_Talk->setObjectName(QStringLiteral("lbl_Talk"));
    lbl_Talk->setGeometry(twipsRect(120, 6240, 7815, 1335));
    lbl_Talk->setWordWrap(true);
    styleLabel(lbl_Talk, gameFont(11.25, true));
    setTextColour(lbl_Talk, QColor(0, 0, 255));

    Nextbox = new ClickLabel(this);
    Nextbox->setObjectName(QStringLiteral("Nextbox"));
    Nextbox->setText(QStringLiteral("Click or SpaceKey to Next"));
    Nextbox->setGeometry(twipsRect(5520, 7800, 2430, 180));
    styleLabel(Nextbox, gameFont(9, true));
    setTextColour(Nextbox, QColor(8, 99, 255));
    Nextbox->hide();

    pic_Main = new StageView(this);
    pic_Main->setObjectName(QStringLiteral("pic_Main"));
    pic_Main->setGeometry(twipsRect(0, 0, 6060, 6060));

    const QFont menuFont = gameFont(9, true);
    btn_Save = addButton(this, QStringLiteral("btn_Save"), QStringLiteral("SAVE"),
                         twipsRect(6240, 2520, 1695, 495), menuFont,
                         QStringLiteral("現在までのデータを保存します"));
    btn_Load = addButton(this, QStringLiteral("btn_Load"), QStringLiteral("LOAD"),
                         twipsRect(6240, 3120, 1695, 495), menuFont,
                         QStringLiteral("セーブしたデータを読み込みます"));
    btn_Help = addButton(this, QStringLiteral("btn_Help"), QStringLiteral("HELP"),
                         twipsRect(6240, 3720, 1695, 495), menuFont);
    btn_About = addButton(this, QStringLiteral("btn_About"), QStringLiteral("ABOUT"),
                          twipsRect(6240, 4320, 1695, 495), menuFont);
    btn_Title = addButton(this, QStringLiteral("btn_Title"), QStringLiteral("TITLE"),
                          twipsRect(6240, 4920, 1695, 495), menuFont,
                          QStringLiteral("タイトル画面に戻ります"));
    btn_End =
        addButton(this, QStringLiteral("btn_End"), QStringLiteral("END"),
                  twipsRect(6240, 5520, 1695, 495), menuFont, QStringLiteral("ゲームを終了します"));

    // Place buttons top to bottom; the choice buttons share the two lowest rows,
    // the first choice on the bottom one.
    const QFont rowFont = gameFont(9.75, false);
    for (int i = 0; i < 5; ++i) {
        btnPlace[i] = addButton(this, QStringLiteral("btnPlace(%1)").arg(i), QString(),
                                twipsRect(120, 6240 + 360 * i, 7815, 255), rowFont);
        btnPlace[i]->hide();
        connect(btnPlace[i], &QPushButton::clicked, this, [this, i] { btnPlace_Click(i); });
    }
    for (int i = 1; i <= 2; ++i) {
        btnTalk[i] = addButton(this, QStringLiteral("btnTalk(%1)").arg(i), QString(),
                               twipsRect(120, i == 1 ? 7680 : 7320, 7815, 255), rowFont);
        btnTalk[i]->hide();
        connect(btnTalk[i], &QPushButton::clicked, this, [this, i] { btnTalk_Click(i); });
    }

    // The message lies beneath the rows of buttons: none of it shows between them.
    talk->setCoveredBy(
        {btnPlace[0], btnPlace[1], btnPlace[2], btnPlace[3], btnPlace[4], btnTalk[1], btnTalk[2]});

    chainTabOrder({btnPlace[3], btnPlace[2], btnPlace[1], btnPlace[0], pic_Main, btnTalk[1],
                   btnTalk[2], btn_Save, btn_Help, btn_Title, btn_Load, btn_About, btn_End,
                   btnPlace[4]});

    connect(btn_Save, &QPushButton::clicked, this, &MainWindow::btn_Save_Click);
    connect(btn_Load, &QPushButton::clicked, this, &MainWindow::btn_Load_Click);
    connect(btn_Help, &QPushButton::clicked, this, &MainWindow::btn_Help_Click);
    connect(btn_About, &QPushButton::clicked, this, &MainWindow::btn_About_Click);
    connect(btn_Title, &QPushButton::clicked, this, &MainWindow::btn_Title_Click);
    connect(btn_End, &QPushButton::clicked, this, &MainWindow::btn_End_Click);
    connect(Nextbox, &ClickLabel::clicked, this, &MainWindow::Nextbox_Click);
    pic_Main->setFocus();
}

QPushButton *MainWindow::placeButton(int index) const
{
    return index >= 0 && index < 5 ? btnPlace[index] : nullptr;
}

QPushButton *MainWindow::talkButton(int index) const
{
    return index == 1 || index == 2 ? btnTalk[index] : nullptr;
}

QList<QPushButton *> MainWindow::menuButtons() const
{
    return {btn_Save, btn_Load, btn_Help, btn_About, btn_Title, btn_End};
}

bool MainWindow::isWaiting() const
{
    return m_waits->isWaiting();
}

bool MainWindow::awaitsAdvance() const
{
    return m_waits->awaitsAdvance();
}

bool MainWindow::awaitsChoice() const
{
    return m_waits->awaitsChoice();
}

// ---- the screen the game shows itself on

void MainWindow::setTalkColour(std::uint32_t colour)
{
    m_talkColour = windowsColour(colour);
    setTextColour(lbl_Talk, m_talkColour);
}

void MainWindow::setTalkText(const QString &text)
{
    m_talkText = text;
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    lbl_Talk->setText(shown);
    m_band->messageShown(shown, m_talkColour);
}

void MainWindow::setPlaceLabel(const QString &name)
{
    lbl_Place->setText(name);
}

void MainWindow::movedTo(const QString &placeName)
{
    lbl_Place->setText(placeName);
    // What the band held belonged to the place the hero left; auto mode stops at
    // every move.
    m_band->moved();
    m_auto->stop();
}

void MainWindow::setNames(const QString &fullName, const QString &nickname)
{
    lbl_Name1->setText(fullName);
    lbl_Name2->setText(nickname);
}

void MainWindow::eventStarted()
{
    for (QPushButton *button : menuButtons())
        button->setEnabled(false);
}

void MainWindow::eventEnded()
{
    for (QPushButton *button : menuButtons())
        button->setEnabled(true);
}

void MainWindow::showPlaceButtons(const engine::PlaceButtons &buttons)
{
    bool any = false;
    for (int i = 0; i < 5; ++i) {
        const engine::PlaceButton &b = buttons[static_cast<std::size_t>(i)];
        btnPlace[i]->setText(plainCaption(b.caption));
        btnPlace[i]->setVisible(b.visible);
        any = any || b.visible;
    }
    m_band->placeButtonsShown(any);
}

void MainWindow::hidePlaceButtons()
{
    for (QPushButton *button : btnPlace)
        button->hide();
    m_band->placeButtonsShown(false);
}

void MainWindow::showStage(const engine::StageChange &change, const QImage &stage)
{
    Q_UNUSED(change)
    pic_Main->setImage(stage);
}

void MainWindow::waitAdvance()
{
    Nextbox->show();
    m_aids->advanceWaitBegins();
    m_auto->advanceWaitBegins(m_talkText);
    m_waits->waitAdvance();
    m_auto->advanceWaitEnds();
    m_aids->advanceWaitEnds();
    m_band->messageRead();
    Nextbox->hide();
}

int MainWindow::waitChoice(const QString &caption1, const QString &caption2)
{
    btnTalk[1]->setText(plainCaption(caption1));
    btnTalk[2]->setText(plainCaption(caption2));
    btnTalk[1]->show();
    btnTalk[2]->show();
    m_aids->choiceWaitBegins();
    m_auto->stop();
    const int picked = m_waits->waitChoice();
    m_band->messageRead();
    return picked;
}

// ---- handlers

void MainWindow::Form_Load()
{
    if (m_closed)
        return;
    setWindowTitle(QStringLiteral("Velmora 2"));
    btn_About->setText(QStringLiteral("ABOUT"));
    m_session.play([this] { m_session.game().start(); });
    m_started = true;
}

void MainWindow::Form_KeyDown(int KeyCode, int Shift)
{
    Q_UNUSED(Shift)
    if (KeyCode == 32 && !m_aids->historyOpen())
        m_waits->advance();
}

void MainWindow::btn_Save_Click()
{
    m_session.play([this] { m_session.game().save(); });
}

void MainWindow::btn_Load_Click()
{
    m_session.history().clear();
    m_session.play([this] { m_session.game().load(); });
}

void MainWindow::btn_Help_Click()
{
    // Only the exact name counts, as on a file system that ignores case.
    const QDir folder(m_session.helpFolder());
    const QString name = QLatin1String(kGuideName);
    if (!folder.entryList({name}, QDir::Files).contains(name)) {
        m_band->showNotice(QStringLiteral("ヘルプ（%1）が見つかりません。")
                               .arg(QDir::toNativeSeparators(folder.filePath(name))));
        return;
    }
    if (m_session.urlOpener())
        m_session.urlOpener()(QUrl::fromLocalFile(folder.filePath(name)));
}

void MainWindow::btn_About_Click()
{
    AboutBox about(m_session.urlOpener(), this);
    about.exec();
}

void MainWindow::btn_Title_Click()
{
    m_unloading = true;
    close();
    m_session.showTitle();
}

void MainWindow::btn_End_Click()
{
    m_session.finish(0);
}

void MainWindow::btnTalk_Click(int Index)
{
    btnTalk[1]->hide();
    btnTalk[2]->hide();
    m_waits->choose(Index);
}

void MainWindow::btnPlace_Click(int Index)
{
    if (!btnPlace[Index]->isVisible())
        return;
    m_aids->placeButtonPressed();
    m_session.play([this, Index] { m_session.game().placeMove(Index); });
}

void MainWindow::Nextbox_Click()
{
    if (!m_aids->historyOpen())
        m_waits->advance();
}

// ---- the window

void MainWindow::showRemembered()
{
    const WindowPrefs prefs = WindowPrefs::load(m_session.playerFile());
    m_wanted = prefs.size.isValid() ? prefs.size.expandedTo(minimumSize()) : size();
    fitOnScreen();
    if (prefs.fullScreen)
        showFullScreen();
    else
        show();
}

void MainWindow::fitOnScreen()
{
    if (!m_wanted.isValid() || isFullScreen() || isMaximized())
        return;
    QScreen *shown = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!shown)
        return;
    // The frame (title bar) counts in what must lie on screen: a window too large
    // for the area is shown at the largest factor that fits it. Until the window
    // system has framed the window, the frame it will have is assumed.
    const QMargins margins = expectedFrame(this);
    const QSize frame(margins.left() + margins.right(), margins.top() + margins.bottom());
    const QSize room = shown->availableGeometry().size() - frame;
    QSize target = m_wanted;
    if (target.width() > room.width() || target.height() > room.height()) {
        const qreal factor = qMin(m_scaled->factorFor(room), m_scaled->factorFor(target));
        target = (QSizeF(kClientSize) * factor).toSize().expandedTo(minimumSize());
    }
    if (target == size())
        return;
    resize(target);
    if (isVisible())
        move(placeOnScreen(target + frame, shown->availableGeometry()));
}

void MainWindow::toggleFullScreen()
{
    if (isFullScreen())
        showNormal();
    else
        showFullScreen();
}

void MainWindow::takeScreenshot()
{
    const QString path = saveScreenshot(this);
    m_band->showNotice(path.isEmpty()
                           ? QStringLiteral("スクリーンショットを保存できませんでした：%1")
                                 .arg(QDir::toNativeSeparators(screenshotFolder()))
                           : QStringLiteral("スクリーンショットを保存しました：%1")
                                 .arg(QDir::toNativeSeparators(path)));
}

void MainWindow::rememberWindow()
{
    WindowPrefs prefs;
    prefs.fullScreen = isFullScreen();
    prefs.size = prefs.fullScreen || isMaximized() ? normalGeometry().size() : size();
    if (!prefs.size.isValid() || prefs.size.isEmpty())
        prefs.size = size();
    prefs.save(m_session.playerFile());
}

// ---- window events

void MainWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_framed = false;
    QTimer::singleShot(0, this, &MainWindow::fitOnScreen);
}

void MainWindow::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    // Once the window system has put its frame around the window: its size is known.
    if (!m_framed && frameGeometry().size() != size()) {
        m_framed = true;
        fitOnScreen();
        m_wanted = QSize(); // from now on the player sizes the window
    }
}

void MainWindow::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (!event->spontaneous())
        rememberWindow();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    if (m_unloading || m_closed)
        return;
    m_closed = true;
    if (m_waits->isWaiting()) {
        // The wait ends by throwing; the handler that started the run ends the program.
        m_waits->abort();
        return;
    }
    m_session.finish(0);
}

} // namespace vm2::app
