#include "authorpanel.h"

#include "engine/endings.h"
#include "engine/placetable.h"
#include "engine/script.h"
#include "game/authortools.h"
#include "layout.h"
#include "mainwindow.h"
#include "session.h"
#include "sideplacement.h"
#include "storymonitor.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTabWidget>
#include <QTime>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

namespace vm2::app {

namespace {

void moveFrame(QWidget *window, QPoint at)
{
    if (QWindow *handle = window->windowHandle())
        handle->setFramePosition(at);
    else
        window->move(at); // placed with its frame when it is first shown
}

// The place codes an event may have: the walkable places, then the endings' "9".
QStringList eventPlaceCodes()
{
    QStringList codes;
    for (int n = 1; n <= engine::kPlaceCount; ++n)
        codes << engine::placeByNumber(n)->codeText();
    return codes << engine::kEndingsPlace;
}

QSpinBox *valueBox(const QString &name, const QString &toolTip)
{
    auto *box = new QSpinBox;
    box->setObjectName(name);
    box->setRange(-32768, 32767);
    box->setToolTip(toolTip);
    // A value counts once typed in whole (Return or leaving the field), not per key.
    box->setKeyboardTracking(false);
    // Narrow: the wheel and the arrow keys step the value.
    box->setButtonSymbols(QAbstractSpinBox::NoButtons);
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("-0000")) + 12);
    return box;
}

QLabel *smallLabel(const QString &text)
{
    auto *label = new QLabel(text);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

} // namespace

AuthorPanel::AuthorPanel(Session &session, const QString &checker)
    : QWidget(nullptr, Qt::Tool), m_session(session),
      m_tools(std::make_unique<game::AuthorTools>(session.game()))
{
    setObjectName(QStringLiteral("authorPanel"));
    setWindowTitle(tr("Author panel"));
    // The main screen keeps the focus: Space must go on advancing the game.
    setAttribute(Qt::WA_ShowWithoutActivating);

    m_notice = new QLabel;
    m_notice->setObjectName(QStringLiteral("notice"));
    m_notice->setWordWrap(true);
    m_notice->setStyleSheet(
        QStringLiteral("QLabel { background: #fff3c4; color: black; padding: 3px; }"));
    m_notice->hide();

    m_wait = new QLabel;
    m_wait->setObjectName(QStringLiteral("wait"));
    m_wait->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *tabs = new QTabWidget;
    tabs->addTab(buildEvents(), tr("Events"));
    tabs->addTab(buildLines(), tr("Lines run"));
    m_findings = new QPlainTextEdit;
    m_findings->setObjectName(QStringLiteral("findings"));
    m_findings->setReadOnly(true);
    m_findings->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_findings->setPlainText(tr("Checking…"));
    tabs->addTab(m_findings, tr("Findings"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_notice);
    layout->addWidget(buildState());
    layout->addWidget(m_wait);
    layout->addWidget(tabs, 1);

    // Many changes come in a row while an event runs fast; the panel shows them
    // together once the window system gets its turn.
    m_coalesce = new QTimer(this);
    m_coalesce->setSingleShot(true);
    m_coalesce->setInterval(0);
    connect(m_coalesce, &QTimer::timeout, this, &AuthorPanel::refresh);
    m_tools->setOnChange([this] { m_coalesce->start(); });
    connect(&m_session, &Session::played, m_coalesce, qOverload<>(&QTimer::start));
    connect(&m_session, &Session::mainWindowShown, this, &AuthorPanel::mainWindowShown);
    if (m_session.mainWindow())
        mainWindowShown(m_session.mainWindow());

    m_monitor = new StoryMonitor(m_session.dataFolder(), checker, this);
    connect(m_monitor, &StoryMonitor::storyChanged, this, &AuthorPanel::storyChanged);
    connect(m_monitor, &StoryMonitor::findings, this, &AuthorPanel::showFindings);
    fillEvents();
    m_monitor->check();
    refresh();
}

AuthorPanel::~AuthorPanel() = default;

// Rows of numbered value boxes, `perRow` to a row, each after its number.
void AuthorPanel::addValueRows(QGridLayout *grid, int &row, const QString &title, int first,
                               int last, int perRow, const char *name, const QString &tip,
                               std::function<bool(int, int)> set, QSpinBox **boxes)
{
    grid->addWidget(new QLabel(title), row++, 0, 1, 2 * perRow);
    for (int n = first; n <= last; ++n) {
        const int i = n - first;
        QSpinBox *box = boxes[i] =
            valueBox(QString::fromLatin1(name) + QString::number(n), tip.arg(n));
        grid->addWidget(smallLabel(QString::number(n)), row + i / perRow, i % perRow * 2);
        grid->addWidget(box, row + i / perRow, i % perRow * 2 + 1);
        connect(box, &QSpinBox::valueChanged, this,
                [this, n, set](int value) { steer([=] { return set(n, value); }, {}); });
        m_steering << box;
    }
    row += (last - first) / perRow + 1;
}

QWidget *AuthorPanel::buildState()
{
    auto *box = new QGroupBox(tr("State"));
    auto *layout = new QVBoxLayout(box);
    layout->setSpacing(2);
    m_place = new QLabel;
    m_place->setObjectName(QStringLiteral("placeCode"));
    m_names = new QLabel;
    m_names->setObjectName(QStringLiteral("names"));
    m_names->setToolTip(tr("PName(1) PName(2) / PName(3)"));
    auto *top = new QHBoxLayout;
    top->setSpacing(8);
    top->addWidget(new QLabel(tr("PlaceCode")));
    top->addWidget(m_place, 1);
    top->addWidget(m_names, 2);
    layout->addLayout(top);

    // Affection, two heroines to a row, each with the ending she would get now.
    layout->addWidget(
        new QLabel(tr("Affection (the ending from %1: happy)").arg(engine::kHappyThreshold)));
    auto *love = new QGridLayout;
    love->setVerticalSpacing(2);
    for (int h = 2; h <= 5; ++h) {
        const int i = h - 2;
        m_love[i] = valueBox(QStringLiteral("love%1").arg(h), tr("Loveval(%1)").arg(h));
        m_ending[i] = new QLabel;
        m_ending[i]->setObjectName(QStringLiteral("ending%1").arg(h));
        love->addWidget(smallLabel(QString::number(h)), i / 2, i % 2 * 3);
        love->addWidget(m_love[i], i / 2, i % 2 * 3 + 1);
        love->addWidget(m_ending[i], i / 2, i % 2 * 3 + 2);
        connect(m_love[i], &QSpinBox::valueChanged, this, [this, h](int value) {
            steer([=, this] { return m_tools->setAffection(h, value); }, {});
        });
        m_steering << m_love[i];
    }
    love->setColumnStretch(2, 1);
    love->setColumnStretch(5, 1);
    layout->addLayout(love);

    auto *values = new QGridLayout;
    values->setVerticalSpacing(2);
    int row = 0;
    addValueRows(
        values, row, tr("Flags"), 1, 9, 5, "flag", tr("Ibentflag(%1)"),
        [this](int n, int v) { return m_tools->setFlag(n, v); }, m_flags.data());
    addValueRows(
        values, row, tr("Event counters"), 1, 10, 5, "counter", tr("Ibentcnt(%1)"),
        [this](int n, int v) { return m_tools->setCounter(n, v); }, m_counters.data());
    layout->addLayout(values);
    return box;
}

QWidget *AuthorPanel::buildLines()
{
    m_lines = new QPlainTextEdit;
    m_lines->setObjectName(QStringLiteral("lines"));
    m_lines->setReadOnly(true);
    m_lines->setLineWrapMode(QPlainTextEdit::NoWrap);
    return m_lines;
}

QWidget *AuthorPanel::buildEvents()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    m_events = new QListWidget;
    m_events->setObjectName(QStringLiteral("events"));
    m_events->setToolTip(tr("Double click or Return starts the event"));
    m_events->setMinimumHeight(m_events->fontMetrics().lineSpacing() * 4);
    connect(m_events, &QListWidget::itemDoubleClicked, this, &AuthorPanel::startListedEvent);
    layout->addWidget(m_events, 1);

    auto *startRow = new QHBoxLayout;
    m_code = new QComboBox;
    m_code->setObjectName(QStringLiteral("eventPlace"));
    m_code->addItems(eventPlaceCodes());
    m_code->setToolTip(tr("Place code of the event"));
    m_number = new QSpinBox;
    m_number->setObjectName(QStringLiteral("eventNumber"));
    m_number->setRange(-32768, 32767);
    m_number->setToolTip(tr("Event number"));
    m_start = new QPushButton(tr("Start event"));
    m_start->setObjectName(QStringLiteral("startEvent"));
    connect(m_start, &QPushButton::clicked, this, [this] {
        const QString place = m_code->currentText();
        const int number = m_number->value();
        steer([=, this] { return m_tools->startEvent(place, number); },
              tr("There is no event %1-%2.").arg(place).arg(number));
    });
    startRow->addWidget(m_code);
    startRow->addWidget(new QLabel(QStringLiteral("-")));
    startRow->addWidget(m_number, 1);
    startRow->addWidget(m_start);
    layout->addLayout(startRow);

    auto *goRow = new QHBoxLayout;
    m_goPlace = new QComboBox;
    m_goPlace->setObjectName(QStringLiteral("goPlace"));
    for (int n = 1; n <= engine::kPlaceCount; ++n)
        m_goPlace->addItem(QStringLiteral("%1 %2").arg(n).arg(engine::placeByNumber(n)->nameText()),
                           n);
    m_go = new QPushButton(tr("Go there"));
    m_go->setObjectName(QStringLiteral("goThere"));
    connect(m_go, &QPushButton::clicked, this, [this] {
        const int number = m_goPlace->currentData().toInt();
        steer([=, this] { return m_tools->moveTo(number); }, {});
    });
    goRow->addWidget(m_goPlace, 1);
    goRow->addWidget(m_go);
    layout->addLayout(goRow);

    m_steering << m_events << m_code << m_number << m_start << m_goPlace << m_go;
    return page;
}

bool AuthorPanel::canSteer() const
{
    const MainWindow *main = m_session.mainWindow();
    return main && main->hasStarted() && !m_session.isFinished() && m_tools->betweenEvents();
}

void AuthorPanel::steer(const std::function<bool()> &change, const QString &refused)
{
    if (m_refreshing)
        return;
    bool done = false;
    if (canSteer())
        m_session.play([&] { done = change(); });
    if (!done && !refused.isEmpty()) {
        m_notice->setText(refused);
        m_notice->show();
    }
    m_coalesce->start();
}

void AuthorPanel::startListedEvent(QListWidgetItem *item)
{
    if (!item)
        return;
    const QString place = item->data(Qt::UserRole).toString();
    const int number = item->data(Qt::UserRole + 1).toInt();
    steer([=, this] { return m_tools->startEvent(place, number); },
          tr("There is no event %1-%2.").arg(place).arg(number));
}

void AuthorPanel::setValue(QSpinBox *box, int value)
{
    if (box->value() != value && !box->hasFocus())
        box->setValue(value);
}

void AuthorPanel::refresh()
{
    const engine::GameState &s = m_tools->state();
    m_refreshing = true;
    const engine::Place *place = engine::placeByCode(s.PlaceCode);
    m_place->setText(place ? QStringLiteral("%1 (%2)").arg(s.PlaceCode, place->nameText())
                           : s.PlaceCode);
    m_names->setText(QStringLiteral("%1 %2 / %3").arg(s.PName(1), s.PName(2), s.PName(3)));
    for (int h = 2; h <= 5; ++h) {
        const int value = s.Loveval(h);
        setValue(m_love[h - 2], value);
        const bool happy = value >= engine::kHappyThreshold;
        m_ending[h - 2]->setText(happy ? tr("≥ %1 happy").arg(engine::kHappyThreshold)
                                       : tr("< %1 bad").arg(engine::kHappyThreshold));
    }
    for (int f = 1; f <= 9; ++f)
        setValue(m_flags[f - 1], s.Ibentflag(f));
    for (int c = 1; c <= 10; ++c)
        setValue(m_counters[c - 1], s.Ibentcnt(c));

    const QString wait = m_tools->waitLocation();
    m_wait->setText(wait.isEmpty() ? tr("Between events") : tr("Waits at %1").arg(wait));
    QStringList lines;
    for (const game::AuthorTools::Line &l : m_tools->recentLines())
        lines << QStringLiteral("%1:%2  %3")
                     .arg(l.script.section(u'/', -1))
                     .arg(l.number)
                     .arg(l.text);
    if (m_lines->toPlainText() != lines.join(u'\n')) {
        m_lines->setPlainText(lines.join(u'\n'));
        m_lines->moveCursor(QTextCursor::End);
    }

    const bool steerable = canSteer();
    for (QWidget *w : std::as_const(m_steering))
        w->setEnabled(steerable);
    m_refreshing = false;
}

void AuthorPanel::reopen()
{
    refresh();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
}

void AuthorPanel::fillEvents()
{
    const QString current = m_events->currentItem() ? m_events->currentItem()->text() : QString();
    m_events->clear();
    for (const game::AuthorTools::Event &e : m_tools->events()) {
        auto *item = new QListWidgetItem(engine::scriptFileName(e.place, e.number), m_events);
        item->setData(Qt::UserRole, e.place);
        item->setData(Qt::UserRole + 1, e.number);
        if (item->text() == current)
            m_events->setCurrentItem(item);
    }
}

void AuthorPanel::storyChanged()
{
    fillEvents();
    m_notice->setText(tr("The story changed at %1: the next event plays it.")
                          .arg(QTime::currentTime().toString(QStringLiteral("HH:mm:ss"))));
    m_notice->show();
}

void AuthorPanel::showFindings(const QString &text, int status)
{
    QString shown = text.trimmed();
    if (shown.isEmpty())
        shown =
            status == 0 ? tr("No findings.") : tr("The checker ended with status %1.").arg(status);
    m_findings->setPlainText(
        tr("Checked at %1\n").arg(QTime::currentTime().toString(QStringLiteral("HH:mm:ss"))) +
        shown);
    Q_EMIT findingsShown();
}

void AuthorPanel::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F5) {
        m_monitor->check();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && m_events->hasFocus()) {
        startListedEvent(m_events->currentItem());
        return;
    }
    QWidget::keyPressEvent(event);
}

void AuthorPanel::mainWindowShown(MainWindow *window)
{
    connect(window, &MainWindow::waitStarted, this, &AuthorPanel::refresh);
    connect(window, &MainWindow::authorPanelAsked, this, &AuthorPanel::reopen);
    m_coalesce->start();
    if (m_placed)
        return;
    m_placed = true;
    // Shown with the first main screen, once the window system has placed it.
    QTimer::singleShot(0, this, [this] {
        if (MainWindow *main = m_session.mainWindow())
            placeBeside(main);
        show();
    });
    m_framing = window;
    window->installEventFilter(this);
}

bool AuthorPanel::eventFilter(QObject *watched, QEvent *event)
{
    // The window system frames the main screen after it is shown, and the main
    // screen then fits itself to the screen, centred: placed again beside it as it
    // stands then, the panel stays beside it rather than over it.
    const QEvent::Type type = event->type();
    if (watched == m_framing && (type == QEvent::Move || type == QEvent::Resize) &&
        m_framing->frameGeometry() != m_framing->geometry()) {
        m_framing->removeEventFilter(this);
        QTimer::singleShot(0, this, [this, main = m_framing] {
            if (main && main == m_session.mainWindow() && isVisible())
                placeBeside(main);
        });
        m_framing = nullptr;
    }
    return QWidget::eventFilter(watched, event);
}

// Frames are placed by their top-left corner, as the window system will frame
// them: a window already framed moves by its client area otherwise, and one not
// yet framed would have its title bar put above the place given.
void AuthorPanel::placeBeside(QWidget *window)
{
    const QScreen *screen = window->screen();
    if (!screen)
        return;
    const QMargins mainMargins = expectedFrame(window);
    const QRect mainFrame = window->geometry().marginsAdded(mainMargins);
    // Until the panel has a frame of its own, it will have one as the main screen's.
    const QMargins margins = frameGeometry() != geometry() ? expectedFrame(this) : mainMargins;
    const QSize decoration(margins.left() + margins.right(), margins.top() + margins.bottom());
    // Room between the frames, for one a little wider than expected.
    constexpr int kGap = 8;
    const SidePlacement placed = SidePlacement::beside(screen->availableGeometry(), mainFrame,
                                                       sizeHint() + decoration, kGap);
    if (placed.main != mainFrame.topLeft())
        moveFrame(window, placed.main);
    resize(placed.panel.size() - decoration);
    moveFrame(this, placed.panel.topLeft());
}

} // namespace vm2::app
