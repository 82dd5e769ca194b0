#include "aboutbox.h"
#include "clicklabel.h"
#include "engine/blockwalk.h"
#include "engine/endings.h"
#include "engine/script.h"
#include "fitlabel.h"
#include "fonts.h"
#include "layout.h"
#include "mainwindow.h"
#include "nameentrydialog.h"
#include "places/places.h"
#include "platform/settingsstore.h"
#include "session.h"
#include "stageview.h"
#include "titlewindow.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <array>
#include <memory>

using namespace vm2;

namespace {

// The rule for one line in a font, as a place label fits its text.
struct TextFitRule : app::TextFit {
    explicit TextFitRule(const QFont &font) : app::TextFit(font, Qt::AlignLeft, false) {}
};

// Names as long as players type them, in letters and in kanji.
const QStringList kLongNames[] = {
    {QStringLiteral("Kirihara"), QStringLiteral("Souma"), QStringLiteral("Sou-chan")},
    {QStringLiteral("勅使河原"), QStringLiteral("蒼一郎"), QStringLiteral("そーちゃん")},
};

// The lines of a script source, as the engine's walk of a choice's captions and
// blocks reads them.
struct SourceLines {
    QStringList lines;
    qsizetype next = 0;

    bool atEnd() const { return next >= lines.size(); }
    QString readLine() { return lines[next++]; }
    int lineNumber() const { return static_cast<int>(next); }
};

// The texts of the demo story, read as the runner reads a script: every message of
// the main flow and of both blocks of every choice and flag branch, with the names
// put in, every choice caption, and the words each ending closes with.
struct StoryTexts {
    QStringList messages;
    QStringList captions;
};

StoryTexts demoTexts(const QStringList &names)
{
    StoryTexts texts;
    auto message = [&](const QString &line) {
        const engine::KindInfo *kind = engine::lineKind(line);
        if (!kind || (kind->kind != engine::Kind::Talk && kind->kind != engine::Kind::TalkNoWait))
            return;
        texts.messages << engine::messageText(engine::parseCommand(line),
                                              {names[0], names[1], names[2]});
    };
    const QDir dir(QStringLiteral(VM2_DEMO_SCRIPTS));
    for (const QString &file : dir.entryList({QStringLiteral("*.txt")}, QDir::Files)) {
        QFile f(dir.filePath(file));
        if (!f.open(QIODevice::ReadOnly))
            continue;
        SourceLines source{QString::fromUtf8(f.readAll()).remove(u'\r').split(u'\n')};
        // A fault of the demo's scripts fails the test, as it would fail a player.
        auto pastEnd = [](const platform::ScriptError &e) { throw e; };
        while (!source.atEnd()) {
            const QString line = source.readLine();
            const engine::KindInfo *kind = engine::lineKind(line);
            if (!kind)
                continue;
            if (!kind->opensBlocks) {
                message(line);
                continue;
            }
            const int opening = source.lineNumber();
            const engine::Command cmd = engine::parseCommand(line);
            if (cmd.kind == engine::Kind::Choice) {
                std::array<QString, 2> captions;
                engine::readCaptions(source, opening, captions, pastEnd);
                texts.captions << captions[0] << captions[1];
            }
            // Every line of both blocks, those after a hand-over too: each is a text of
            // the story.
            auto play = [&](const engine::BlockLine &l) {
                message(l.text);
                return false;
            };
            auto cut = [&](const engine::BlockLine &l) { message(l.text); };
            auto inert = [](const engine::BlockLine &) {};
            engine::walkBlocks(source, opening, cmd.countA, cmd.countB, engine::BlocksPlayed::Both,
                               play, inert, cut, pastEnd);
        }
    }
    // The endings' closing words, and the main screen's own confirmations.
    texts.messages << engine::closingWords(true).text << engine::closingWords(false).text
                   << QStringLiteral("SAVEしました！") << QStringLiteral("LOADしました！");
    return texts;
}

// Every name the place label can show.
QStringList placeNames()
{
    QStringList names;
    for (int n = 1; n <= 9; ++n)
        names << engine::placeByNumber(n)->nameText();
    // Every code a "F" line may name, in the main flow and in a block, where some
    // read longer (コンサートホール裏手).
    for (QChar code : QStringLiteral("123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ")) {
        for (engine::Where where : {engine::Where::MainFlow, engine::Where::Block}) {
            const QString name = engine::placeLabelName(code, where);
            if (!name.isEmpty() && !names.contains(name))
                names << name;
        }
    }
    return names;
}

// The ink of a label's or button's text as its own painting draws it, with no
// clipping, in the window's coordinates.
QRect inkOf(QWidget *control)
{
    const int margin = 64;
    const qreal ratio = control->devicePixelRatioF();
    QImage image((control->size() + QSize(2 * margin, 2 * margin)) * ratio,
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.translate(margin, margin);
        if (auto *label = qobject_cast<app::FitLabel *>(control))
            label->paintText(painter);
        else if (auto *button = qobject_cast<app::FitButton *>(control))
            button->paintText(painter);
    }
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0)
                box |= QRect(x, y, 1, 1);
    if (box.isNull())
        return box;
    const QRect logical(QPoint(int(box.left() / ratio), int(box.top() / ratio)),
                        QPoint(int(box.right() / ratio), int(box.bottom() / ratio)));
    return logical.translated(control->mapTo(control->window(), QPoint(-margin, -margin)));
}

// Where a control's text may show: inside its border (a button's face, a label's
// frame), inside every widget that holds it, in the window's coordinates.
QRect roomOf(QWidget *control)
{
    QRect room = control->rect();
    if (auto *label = qobject_cast<QLabel *>(control))
        room = label->contentsRect();
    else
        room = room.adjusted(1, 1, -1, -1);
    room.translate(control->mapTo(control->window(), QPoint()));
    for (QWidget *w = control->parentWidget(); w && !w->isWindow(); w = w->parentWidget())
        room &= QRect(w->mapTo(w->window(), QPoint()), w->size());
    return room;
}

QString describe(QWidget *control, const QString &text, QRect ink, QRect room)
{
    return QStringLiteral("%1 \"%2\": ink (%3,%4 %5x%6) outside (%7,%8 %9x%10)")
        .arg(control->objectName(), text)
        .arg(ink.x())
        .arg(ink.y())
        .arg(ink.width())
        .arg(ink.height())
        .arg(room.x())
        .arg(room.y())
        .arg(room.width())
        .arg(room.height());
}

} // namespace

// Every text of every window, at its longest realistic value and in each face the
// game may use, lies whole inside its control.
class TestTextFit : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup();
    void windows_data();
    void windows();
    void rule_data();
    void rule();
    void coveredMessage();
    void aboutFrame();
    void placement_data();
    void placement();
    void placedOnScreen();
    void frameScaled();
    void stageScaled();
    void placeNamesComplete();
    void boldAtEveryScale_data();
    void boldAtEveryScale();

private:
    // Checks the ink of every text control of `window`; `texts` gives the texts to
    // try in a control by name (the control's own text when none is given).
    void checkWindow(QWidget *window, const QHash<QString, QStringList> &texts = {});
    void checkControl(QWidget *control, const QString &text);

    platform::MemoryStore m_store;
};

void TestTextFit::cleanup()
{
    app::useGameFontFamily(QString());
}

void TestTextFit::windows_data()
{
    QTest::addColumn<QString>("family");
    for (const QString &family : app::gameFontFamilies())
        QTest::newRow(qPrintable(family)) << family;
}

void TestTextFit::checkControl(QWidget *control, const QString &text)
{
    const QRect ink = inkOf(control);
    const QRect room = roomOf(control);
    QVERIFY2(ink.isNull() || room.contains(ink), qPrintable(describe(control, text, ink, room)));
    app::FittedText fitted;
    qreal size = control->font().pointSizeF();
    if (auto *label = qobject_cast<app::FitLabel *>(control))
        fitted = label->fitted();
    else if (auto *button = qobject_cast<app::FitButton *>(control))
        fitted = button->fitted();
    if (qEnvironmentVariableIsSet("VM2_TEXTFIT_REPORT") &&
        (fitted.font.pointSizeF() < size || qobject_cast<app::FitLabel *>(control))) {
        qInfo("%s %.2fpt->%.2fpt ink %d,%d %dx%d room %d,%d %dx%d \"%s\"",
              qPrintable(control->objectName()), size, fitted.font.pointSizeF(), ink.x(), ink.y(),
              ink.width(), ink.height(), room.x(), room.y(), room.width(), room.height(),
              qPrintable(text.left(24)));
    }
    // Readable: at least the floor size, and whole (realistic texts need no cut).
    QVERIFY2(fitted.font.pointSizeF() >= app::TextFit::floorSize(size),
             qPrintable(control->objectName() + QStringLiteral(" too small")));
    QVERIFY2(!fitted.elided, qPrintable(control->objectName() + QStringLiteral(" cut: ") + text));
}

void TestTextFit::checkWindow(QWidget *window, const QHash<QString, QStringList> &texts)
{
    QList<QWidget *> controls;
    for (QWidget *w : window->findChildren<QWidget *>())
        if (qobject_cast<app::FitLabel *>(w) || qobject_cast<app::FitButton *>(w))
            controls << w;
    QVERIFY(!controls.isEmpty());
    for (QWidget *control : controls) {
        auto *label = qobject_cast<QLabel *>(control);
        auto *button = qobject_cast<QPushButton *>(control);
        const QString own = label ? label->text() : button->text();
        const QStringList tries = texts.value(control->objectName(), {own});
        for (const QString &text : tries) {
            if (label)
                label->setText(text);
            else
                button->setText(text);
            checkControl(control, text);
            if (QTest::currentTestFailed())
                return;
        }
        if (label)
            label->setText(own);
        else
            button->setText(own);
    }
    // No text runs into another: the inks of the texts shown together are apart.
    QList<QPair<QWidget *, QRect>> inks;
    for (QWidget *control : controls)
        if (control->isVisibleTo(window))
            inks.append({control, inkOf(control)});
    for (qsizetype i = 0; i < inks.size(); ++i)
        for (qsizetype j = i + 1; j < inks.size(); ++j)
            QVERIFY2(!inks[i].second.intersects(inks[j].second),
                     qPrintable(inks[i].first->objectName() + QStringLiteral(" runs into ") +
                                inks[j].first->objectName()));
}

void TestTextFit::windows()
{
    QFETCH(QString, family);
    if (!app::isFontInstalled(family))
        QSKIP(qPrintable(family + QStringLiteral(" is not installed: not checked")));
    app::useGameFontFamily(family);
    qInfo("face %s, scale %g", qPrintable(family), qApp->devicePixelRatio());

    app::Session session(m_store, QString());
    {
        app::TitleWindow title(session);
        title.show();
        QVERIFY(QTest::qWaitForWindowExposed(&title));
        checkWindow(&title);
    }
    {
        app::NameEntryDialog entry;
        entry.show();
        QVERIFY(QTest::qWaitForWindowExposed(&entry));
        checkWindow(&entry);
    }
    {
        app::AboutBox about{app::UrlOpener()};
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        checkWindow(&about);
    }
    app::MainWindow main(session);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QStringList fullNames, nicknames, messages, captions;
    for (const QStringList &names : kLongNames) {
        fullNames << names[0] + QLatin1Char(' ') + names[1];
        nicknames << names[2];
        const StoryTexts story = demoTexts(names);
        messages << story.messages;
        captions << story.captions;
    }
    qInfo("%lld messages, %lld captions", static_cast<long long>(messages.size()),
          static_cast<long long>(captions.size()));
    QVERIFY(messages.size() > 100);
    QVERIFY(captions.size() > 10);
    QStringList placeCaptions = placeNames();
    placeCaptions << QStringLiteral("生徒会室を出る") << QStringLiteral("基地を出る")
                  << QStringLiteral("病室を出る");
    QHash<QString, QStringList> texts{
        {QStringLiteral("lbl_Name1"), fullNames},    {QStringLiteral("lbl_Name2"), nicknames},
        {QStringLiteral("lbl_Place"), placeNames()}, {QStringLiteral("lbl_Talk"), messages},
        {QStringLiteral("btnTalk(1)"), captions},    {QStringLiteral("btnTalk(2)"), captions},
    };
    for (int i = 0; i < 5; ++i)
        texts.insert(QStringLiteral("btnPlace(%1)").arg(i), placeCaptions);
    main.nextBox()->show();
    checkWindow(&main, texts);
}

void TestTextFit::rule_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QSize>("box");
    QTest::addColumn<bool>("wrap");
    QTest::addColumn<int>("smaller"); // 1 yes, 0 no, -1 as the face needs
    QTest::addColumn<bool>("elided");
    QTest::addColumn<qreal>("points");

    QTest::newRow("short, whole size") << "自宅" << QSize(127, 23) << false << 0 << false << 14.25;
    QTest::newRow("long name, smaller")
        << "Kirihara Souma" << QSize(127, 23) << false << 1 << false << 14.25;
    QTest::newRow("far too long, cut")
        << QString(40, u'桐') << QSize(127, 23) << false << 1 << true << 14.25;
    QTest::newRow("prompt in 12 pixels")
        << "Click or SpaceKey to Next" << QSize(162, 12) << false << -1 << false << 9.0;
    QTest::newRow("message, wrapped")
        << QString(60, u'あ') << QSize(521, 89) << true << 0 << false << 11.25;
    QTest::newRow("message too long, cut")
        << QString(600, u'あ') << QSize(521, 89) << true << 1 << true << 11.25;
}

void TestTextFit::rule()
{
    QFETCH(QString, text);
    QFETCH(QSize, box);
    QFETCH(bool, wrap);
    QFETCH(int, smaller);
    QFETCH(bool, elided);
    QFETCH(qreal, points);
    for (const QString &family : app::gameFontFamilies()) {
        if (!app::isFontInstalled(family))
            continue;
        app::useGameFontFamily(family);
        const QFont font = app::gameFont(points, true);
        const app::TextFit rule(font, Qt::AlignHCenter, wrap);
        const app::FittedText fitted = rule.fit(text, box, 1);
        QVERIFY2(fitted.fits, qPrintable(family));
        QVERIFY(QRect(QPoint(), box).contains(fitted.ink));
        QCOMPARE(fitted.elided, elided);
        if (smaller >= 0)
            QCOMPARE(fitted.font.pointSizeF() < font.pointSizeF(), smaller == 1);
        QVERIFY(fitted.font.pointSizeF() >= app::TextFit::floorSize(font.pointSizeF()));
        QCOMPARE(fitted.font.family(), font.family());
        if (elided)
            QVERIFY(fitted.lines.last().endsWith(QChar(0x2026)));
        else
            QCOMPARE(fitted.lines.join(QString()), text);
        if (!wrap && !elided) {
            // Centred: the ink's middle is the box's middle.
            QVERIFY(qAbs(fitted.ink.center().x() - box.width() / 2) <= 2);
        }
    }
}

void TestTextFit::coveredMessage()
{
    // The first day's message stays when the home buttons come: none of it shows
    // between the buttons.
    app::Session session(m_store, QString());
    app::MainWindow main(session);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    main.setTalkText(demoTexts(kLongNames[1]).messages.value(0) + QString(40, u'あ'));
    engine::PlaceButtons buttons;
    places::SetPlaceButtons(QStringLiteral("1"), buttons);
    main.showPlaceButtons(buttons);
    const QImage shot = main.grab().toImage();
    const qreal ratio = shot.devicePixelRatio();
    const QRect talk = main.talkLabel()->geometry();
    int inkPixels = 0;
    for (int i = 0; i < 4; ++i) {
        const QRect gap(talk.left(), main.placeButton(i)->geometry().bottom() + 1, talk.width(),
                        main.placeButton(i + 1)->y() - main.placeButton(i)->geometry().bottom() -
                            1);
        for (int y = qCeil(gap.top() * ratio); y < qFloor((gap.bottom() + 1) * ratio); ++y)
            for (int x = qCeil(gap.left() * ratio); x < qFloor((gap.right() + 1) * ratio); ++x)
                if (shot.pixel(x, y) != qRgb(255, 255, 255))
                    ++inkPixels;
    }
    QCOMPARE(inkPixels, 0);
    // Without buttons the message shows.
    main.hidePlaceButtons();
    QVERIFY(!inkOf(main.talkLabel()).isNull());
    const QImage bare = main.grab().toImage();
    QVERIFY(bare != shot);
}

void TestTextFit::aboutFrame()
{
    app::AboutBox about{app::UrlOpener()};
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QWidget *frame = about.findChild<QWidget *>(QStringLiteral("Frame1"));
    QVERIFY(frame);
    const QImage shot = frame->grab().toImage();
    const qreal ratio = shot.devicePixelRatio();
    // The colour in the middle of a pixel of the layout.
    auto at = [&](int x, int y) {
        return QColor(shot.pixel(int((x + 0.5) * ratio), int((y + 0.5) * ratio)));
    };
    // The border on the edges: a shadow line, a light line inside it.
    QCOMPARE(at(frame->width() / 2, 0), QColor(128, 128, 128));
    QCOMPARE(at(frame->width() / 2, 1), QColor(255, 255, 255));
    QCOMPARE(at(0, frame->height() / 2), QColor(128, 128, 128));
    QCOMPARE(at(frame->width() / 2, frame->height() - 2), QColor(128, 128, 128));
    QCOMPARE(at(frame->width() / 2, frame->height() - 1), QColor(255, 255, 255));
    // The fill inside, away from the labels.
    QCOMPARE(at(frame->width() - 8, 4), QColor(192, 192, 192));
    QCOMPARE(at(4, frame->height() - 6), QColor(192, 192, 192));
    // The links: underlined, in the link colour, on one line below their text.
    for (int index : {0, 1, 3}) {
        app::ClickLabel *link = about.link(index);
        QVERIFY(link->font().underline());
        const QRect ink = inkOf(link);
        QVERIFY(roomOf(link).contains(ink));
        QVERIFY(ink.width() >= link->fontMetrics().horizontalAdvance(link->text()) - 2);
    }
}

void TestTextFit::placement_data()
{
    QTest::addColumn<QSize>("frame"); // pixels of the layout, title bar included
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QPoint>("expected");

    // Main screen (537 + a 26-pixel title bar) and the title screen, at each scale
    // on a 1280 × 1024 and a 2560 × 1600 screen (areas in pixels of the layout).
    const QSize mainFrame(537, 537 + 26), title(318, 199);
    const struct {
        qreal scale;
        QSize screen;
    } cases[] = {{1, {1280, 1024}},    {1.25, {1280, 1024}}, {1.5, {1280, 1024}}, {2, {1280, 1024}},
                 {1.25, {2560, 1600}}, {1.5, {2560, 1600}},  {2, {2560, 1600}}};
    for (const auto &c : cases) {
        const QRect area(QPoint(), (QSizeF(c.screen) / c.scale).toSize());
        for (QSize frame : {mainFrame, title}) {
            const QPoint centred((area.width() - frame.width()) / 2,
                                 (area.height() - frame.height()) / 2);
            QTest::addRow("%dx%d at %g on %dx%d", frame.width(), frame.height(), c.scale,
                          c.screen.width(), c.screen.height())
                << frame << area << QPoint(qMax(0, centred.x()), qMax(0, centred.y()));
        }
    }
    // A panel at the top: the window stays below it.
    QTest::newRow("below a panel") << mainFrame << QRect(0, 40, 640, 472) << QPoint(51, 40);
    QTest::newRow("beside a dock") << QSize(318, 199) << QRect(64, 0, 576, 512) << QPoint(193, 156);
}

void TestTextFit::placement()
{
    QFETCH(QSize, frame);
    QFETCH(QRect, available);
    QFETCH(QPoint, expected);
    const QPoint at = app::placeOnScreen(frame, available);
    QCOMPARE(at, expected);
    const QRect placed(at, frame);
    if (frame.width() <= available.width() && frame.height() <= available.height())
        QVERIFY(available.contains(placed));
    else
        QVERIFY(available.contains(placed.topLeft()));
}

void TestTextFit::placedOnScreen()
{
    // Each window on the screen the tests run on, at the scale they run at.
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    app::Session session(m_store, QString());
    std::unique_ptr<QWidget> windows[] = {std::make_unique<app::TitleWindow>(session),
                                          std::make_unique<app::NameEntryDialog>(),
                                          std::make_unique<app::AboutBox>(app::UrlOpener()),
                                          std::make_unique<app::MainWindow>(session)};
    for (auto &window : windows) {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        const QRect frame = window->frameGeometry();
        qInfo("%s: %d,%d %dx%d on %d,%d %dx%d (scale %g)", qPrintable(window->objectName()),
              frame.x(), frame.y(), frame.width(), frame.height(), area.x(), area.y(), area.width(),
              area.height(), window->devicePixelRatioF());
        if (frame.width() <= area.width() && frame.height() <= area.height())
            QVERIFY(area.contains(frame));
        else
            QVERIFY(area.contains(frame.topLeft()));
        window->hide();
    }
}

void TestTextFit::frameScaled()
{
    // The dialog frame's two rings are each one pixel of the layout wide, however
    // many device pixels that is.
    app::AboutBox about{app::UrlOpener()};
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    const QImage shot = about.grab().toImage();
    const qreal ratio = shot.devicePixelRatio();
    const int middle = int(about.height() / 2 * ratio);
    const QPalette palette = about.palette();
    // In the middle of each ring's pixel of the layout.
    QCOMPARE(shot.pixel(int(0.5 * ratio), middle), palette.color(QPalette::Light).rgb());
    QCOMPARE(shot.pixel(int(1.5 * ratio), middle), palette.color(QPalette::Midlight).rgb());
}

void TestTextFit::stageScaled()
{
    app::Session session(m_store, QString());
    app::MainWindow main(session);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QImage picture(400, 400, QImage::Format_RGB32);
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 400; ++x)
            picture.setPixel(x, y, (x + y) % 2 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
    main.stage()->setImage(picture);
    QCOMPARE(main.stage()->image().size(), QSize(400, 400));
    const QImage shot = main.stage()->grab(main.stage()->contentsRect()).toImage();
    const qreal ratio = shot.devicePixelRatio();
    QCOMPARE(shot.size(), (QSizeF(400, 400) * ratio).toSize());
    int blended = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QRgb p = shot.pixel(x, y);
            if (p != qRgb(255, 0, 0) && p != qRgb(0, 0, 255))
                ++blended;
        }
    if (qFuzzyCompare(ratio, qreal(qRound(ratio)))) {
        // Pixel for pixel: every device pixel is its picture pixel's colour.
        QCOMPARE(blended, 0);
        for (int y = 0; y < 400; y += 37)
            for (int x = 0; x < 400; x += 41)
                QCOMPARE(shot.pixel(int(x * ratio), int(y * ratio)), picture.pixel(x, y));
    } else {
        // Smoothed between pixels.
        QVERIFY(blended > 0);
    }
}

void TestTextFit::placeNamesComplete()
{
    const QStringList names = placeNames();
    QVERIFY(names.contains(QStringLiteral("公園")));
    QVERIFY(names.contains(QStringLiteral("コンサートホール裏手")));
}

void TestTextFit::boldAtEveryScale_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<qreal>("ratio");
    for (const QString &family : app::gameFontFamilies())
        for (qreal ratio : {1.25, 1.5, 2.0, 2.5})
            QTest::addRow("%s at %g", qPrintable(family), ratio) << family << ratio;
}

void TestTextFit::boldAtEveryScale()
{
    QFETCH(QString, family);
    QFETCH(qreal, ratio);
    if (!app::isFontInstalled(family))
        QSKIP(qPrintable(family + QStringLiteral(" is not installed: not checked")));
    app::useGameFontFamily(family);
    // How much ink a text leaves, in pixels of the layout: bold against regular must
    // weigh as much more on a scaled screen as at 1x.
    auto weight = [](const QFont &font, const QString &text, qreal r) {
        const TextFitRule rule(font);
        const QSize box(500, 60);
        QImage image((QSizeF(box) * r).toSize(), QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(r);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            painter.setPen(Qt::black);
            app::TextFit::draw(painter, rule.fit(text, box, r));
        }
        qint64 sum = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                sum += qAlpha(image.pixel(x, y));
        return double(sum) / (255.0 * r * r);
    };
    // The bold texts of the main screen at their sizes: a place, a name, a message.
    const struct {
        qreal points;
        QString text;
    } texts[] = {{14.25, QStringLiteral("コンサートホール裏手")},
                 {14.25, QStringLiteral("公園")},
                 {11.25, QStringLiteral("春。さて、どこへ行ってみよう？")},
                 {9, QStringLiteral("SAVE")}};
    for (const auto &t : texts) {
        const QFont bold = app::gameFont(t.points, true);
        const QFont regular = app::gameFont(t.points, false);
        const qreal atOne = weight(bold, t.text, 1) / weight(regular, t.text, 1);
        const qreal scaled = weight(bold, t.text, ratio) / weight(regular, t.text, ratio);
        QVERIFY2(atOne > 1.1, qPrintable(QStringLiteral("%1 is not bold at 1x").arg(t.text)));
        QVERIFY2(scaled >= atOne * 0.9, qPrintable(QStringLiteral("%1: bold %2 times regular at "
                                                                  "%3x, %4 times at 1x")
                                                       .arg(t.text)
                                                       .arg(scaled)
                                                       .arg(ratio)
                                                       .arg(atOne)));
    }
}

QTEST_MAIN(TestTextFit)
#include "tst_textfit.moc"
