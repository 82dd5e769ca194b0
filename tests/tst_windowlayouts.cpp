#include "aboutbox.h"
#include "clicklabel.h"
#include "layout.h"
#include "mainwindow.h"
#include "nameentrydialog.h"
#include "platform/settingsstore.h"
#include "scaledlayout.h"
#include "session.h"
#include "stageview.h"
#include "textfit.h"
#include "titlewindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

using namespace vm2;
using app::twipsRect;

// The windows as their layout tables give them: every control's place and size
// (in twips), its font, whether it shows at start and its tool tip.
class TestWindowLayouts : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void controls_data();
    void controls();
    void clientSizes();
    void mainStartState();
    void mainTabOrder();
    void nameEntryStartState();
    void titleTabOrder();
    void aboutFocus();
    void scaledControls_data();
    void scaledControls();

private:
    // Builds a fresh window by its name: form_Title, form_First, form_Main, form_About.
    QWidget *build(const QString &form);

    platform::MemoryStore m_store;
    std::unique_ptr<app::Session> m_session;
    std::unique_ptr<QWidget> m_window;
};

QWidget *TestWindowLayouts::build(const QString &form)
{
    m_window.reset();
    m_session = std::make_unique<app::Session>(m_store, QString());
    if (form == QLatin1String("form_Title"))
        m_window = std::make_unique<app::TitleWindow>(*m_session);
    else if (form == QLatin1String("form_First"))
        m_window = std::make_unique<app::NameEntryDialog>();
    else if (form == QLatin1String("form_Main"))
        m_window = std::make_unique<app::MainWindow>(*m_session);
    else
        m_window = std::make_unique<app::AboutBox>(app::UrlOpener());
    m_window->show();
    if (!QTest::qWaitForWindowExposed(m_window.get()))
        return nullptr;
    return m_window.get();
}

void TestWindowLayouts::controls_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QRect>("rect"); // twips
    QTest::addColumn<bool>("autoSize");
    QTest::addColumn<qreal>("points"); // 0: no text
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("toolTip");

    auto row = [](const char *form, const char *control, QRect rect, bool autoSize, qreal points,
                  bool bold, bool visible, const QString &text, const QString &toolTip = {}) {
        QTest::addRow("%s.%s", form, control)
            << QString::fromLatin1(form) << QString::fromLatin1(control) << rect << autoSize
            << points << bold << visible << text << toolTip;
    };
    const QString none;
    row("form_Title", "Image1", twipsRect(240, 120, 4125, 1560), false, 0, false, true, none);
    row("form_Title", "Label2", twipsRect(3720, 1560, 810, 240), true, 12, true, true, "Ver.1.2");
    row("form_Title", "Command1", twipsRect(120, 1920, 2175, 375), false, 9, true, true, "NEW",
        "新しくゲームを始めます");
    row("form_Title", "Command2", twipsRect(2400, 1920, 2175, 375), false, 9, true, true, "LOAD",
        "セーブしたデータを読み込みます");
    row("form_Title", "Command3", twipsRect(120, 2400, 2175, 375), false, 9, true, true, "ABOUT",
        "バージョン情報");
    row("form_Title", "Command4", twipsRect(2400, 2400, 2175, 375), false, 9, true, true, "END",
        "ゲームを終了します");

    row("form_First", "Image1", twipsRect(0, 0, 2310, 2310), false, 0, false, true, none);
    row("form_First", "Label1", twipsRect(2400, 0, 3795, 195), true, 9.75, true, true,
        "プレーヤーの名前、愛称を入力してください");
    row("form_First", "Label2", twipsRect(2400, 360, 225, 195), true, 9.75, true, true, "姓");
    row("form_First", "Label3", twipsRect(4680, 360, 225, 195), true, 9.75, true, true, "名");
    row("form_First", "Text1", twipsRect(2400, 600, 2175, 375), false, 12, true, true, "");
    row("form_First", "Text2", twipsRect(4680, 600, 2175, 375), false, 12, true, true, "");
    row("form_First", "Label4", twipsRect(4680, 1080, 435, 195), true, 9.75, true, true, "愛称");
    row("form_First", "Label5", twipsRect(2520, 1320, 1860, 240), false, 12, true, true,
        "アース学園2年生");
    row("form_First", "Text3", twipsRect(4680, 1320, 2175, 375), false, 12, true, true, "");
    row("form_First", "Command2", twipsRect(2400, 1800, 2175, 375), false, 9, true, true, "CANCEL");
    row("form_First", "Command1", twipsRect(4680, 1800, 2175, 375), false, 9, true, true, "OK");

    row("form_Main", "pic_Main", twipsRect(0, 0, 6060, 6060), false, 0, false, true, none);
    row("form_Main", "Label5", twipsRect(6120, 120, 645, 195), false, 9.75, true, true, "名前");
    row("form_Main", "lbl_Name1", twipsRect(6120, 360, 1935, 375), false, 14.25, true, true, "");
    row("form_Main", "Label6", twipsRect(6120, 840, 645, 195), false, 9.75, true, true, "愛称");
    row("form_Main", "lbl_Name2", twipsRect(6120, 1080, 1935, 375), false, 14.25, true, true, "");
    row("form_Main", "Label2", twipsRect(6120, 1680, 645, 195), false, 9.75, true, true, "現在地");
    row("form_Main", "lbl_Place", twipsRect(6120, 1920, 1935, 375), false, 14.25, true, true, "");
    row("form_Main", "btn_Save", twipsRect(6240, 2520, 1695, 495), false, 9, true, true, "SAVE",
        "現在までのデータを保存します");
    row("form_Main", "btn_Load", twipsRect(6240, 3120, 1695, 495), false, 9, true, true, "LOAD",
        "セーブしたデータを読み込みます");
    row("form_Main", "btn_Help", twipsRect(6240, 3720, 1695, 495), false, 9, true, true, "HELP");
    row("form_Main", "btn_About", twipsRect(6240, 4320, 1695, 495), false, 9, true, true, "ABOUT");
    row("form_Main", "btn_Title", twipsRect(6240, 4920, 1695, 495), false, 9, true, true, "TITLE",
        "タイトル画面に戻ります");
    row("form_Main", "btn_End", twipsRect(6240, 5520, 1695, 495), false, 9, true, true, "END",
        "ゲームを終了します");
    row("form_Main", "Label1", twipsRect(0, 6120, 8055, 1935), false, 0, false, true, none);
    row("form_Main", "lbl_Talk", twipsRect(120, 6240, 7815, 1335), false, 11.25, true, true,
        "Label2");
    row("form_Main", "Nextbox", twipsRect(5520, 7800, 2430, 180), false, 9, true, false,
        "Click or SpaceKey to Next");
    for (int i = 0; i < 5; ++i)
        row("form_Main", qPrintable(QStringLiteral("btnPlace(%1)").arg(i)),
            twipsRect(120, 6240 + 360 * i, 7815, 255), false, 9.75, false, false, "");
    row("form_Main", "btnTalk(1)", twipsRect(120, 7680, 7815, 255), false, 9.75, false, false, "");
    row("form_Main", "btnTalk(2)", twipsRect(120, 7320, 7815, 255), false, 9.75, false, false, "");

    row("form_About", "Image1", twipsRect(600, 0, 4125, 1560), false, 0, false, true, none);
    row("form_About", "Label2", twipsRect(4080, 1320, 810, 240), true, 12, true, true, "Ver.1.2");
    row("form_About", "Command1", twipsRect(3720, 1680, 1455, 375), false, 9, true, true, "OK");
    row("form_About", "Frame1", twipsRect(120, 2160, 5055, 975), false, 0, false, true, none);
    row("form_About", "Label1(0)", twipsRect(120, 240, 765, 180), true, 9, false, true,
        "作った人：");
    row("form_About", "Label3(0)", twipsRect(960, 240, 405, 180), true, 9, true, true,
        app::AboutBox::kMakerName);
    row("form_About", "Label4(0)", twipsRect(1440, 240, 1890, 180), true, 9, false, true,
        app::AboutBox::kMailAddress);
    row("form_About", "Label1(1)", twipsRect(1110, 480, 315, 180), true, 9, false, true, "HP：");
    row("form_About", "Label4(1)", twipsRect(1440, 480, 2790, 180), true, 9, false, true,
        app::AboutBox::kHomePage);
    row("form_About", "Label1(3)", twipsRect(350, 720, 1080, 180), true, 9, false, true,
        "サポートBBS：");
    row("form_About", "Label4(3)", twipsRect(1440, 720, 2985, 180), true, 9, false, true,
        app::AboutBox::kSupportBoard);
}

void TestWindowLayouts::controls()
{
    QFETCH(QString, form);
    QFETCH(QString, control);
    QFETCH(QRect, rect);
    QFETCH(bool, autoSize);
    QFETCH(qreal, points);
    QFETCH(bool, bold);
    QFETCH(bool, visible);
    QFETCH(QString, text);
    QFETCH(QString, toolTip);

    QWidget *window = build(form);
    QVERIFY(window);
    auto *widget = window->findChild<QWidget *>(control);
    QVERIFY2(widget, qPrintable(control));
    if (auto *label = qobject_cast<QLabel *>(widget); label && autoSize) {
        // An auto-size label stands at the table's corner and takes the size of its
        // text in the font in use.
        QCOMPARE(widget->pos(), rect.topLeft());
        const QSize textSize =
            app::TextFit::textSize(label->font(), label->text(), label->devicePixelRatioF());
        QCOMPARE(widget->height(), textSize.height());
        if (widget->width() != textSize.width()) {
            // Narrower only where the next control of its row begins.
            QVERIFY(widget->width() < textSize.width());
            bool meets = false;
            for (QWidget *sibling : widget->parentWidget()->findChildren<QWidget *>(
                     QString(), Qt::FindDirectChildrenOnly))
                meets =
                    meets || (sibling != widget && sibling->x() == widget->x() + widget->width());
            QVERIFY(meets);
        } else {
            QVERIFY(qAbs(widget->width() - label->fontMetrics().horizontalAdvance(label->text())) <=
                    3);
        }
    } else {
        QCOMPARE(widget->geometry(), rect);
    }
    QCOMPARE(widget->isVisibleTo(window), visible);
    if (points > 0) {
        QCOMPARE(widget->font().pointSizeF(), points);
        QCOMPARE(widget->font().bold(), bold);
        QCOMPARE(widget->font().family(), app::gameFontFamily());
    }
    if (!text.isNull()) {
        if (auto *label = qobject_cast<QLabel *>(widget))
            QCOMPARE(label->text(), text);
        else if (auto *button = qobject_cast<QPushButton *>(widget))
            QCOMPARE(button->text(), text);
        else if (auto *field = qobject_cast<QLineEdit *>(widget))
            QCOMPARE(field->text(), text);
    }
    QCOMPARE(widget->toolTip(), toolTip);
}

void TestWindowLayouts::clientSizes()
{
    const int frame = 2 * app::kDialogFrame;
    QCOMPARE(build(QStringLiteral("form_Main"))->size(), QSize(537, 537));
    QCOMPARE(build(QStringLiteral("form_Title"))->size(), QSize(312 + frame, 193 + frame));
    QCOMPARE(build(QStringLiteral("form_First"))->size(), QSize(464 + frame, 155 + frame));
    // The About box: its client width, and its outer height with the frame.
    QCOMPARE(build(QStringLiteral("form_About"))->size(), QSize(353 + frame, 223));
    QVERIFY(m_window->windowFlags() & Qt::FramelessWindowHint);
}

void TestWindowLayouts::mainStartState()
{
    auto *window = static_cast<app::MainWindow *>(build(QStringLiteral("form_Main")));
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), QStringLiteral("Velmora 2"));
    QVERIFY(!window->windowIcon().isNull());
    QVERIFY(window->windowIcon().availableSizes().contains(QSize(16, 16)));
    QVERIFY(window->windowIcon().availableSizes().contains(QSize(32, 32)));
    // The player may resize it; the layout scales (scaledControls).
    QVERIFY(window->maximumSize().width() > 537 && window->maximumSize().height() > 537);
    // The stage's drawing area inside its border.
    QCOMPARE(window->stage()->contentsRect().size(), QSize(400, 400));
    for (QPushButton *button : window->menuButtons())
        QVERIFY(button->isEnabled());
    QCOMPARE(window->talkLabel()->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QCOMPARE(window->nameLabel(1)->palette().color(QPalette::Window), QColor(255, 255, 255));
    QCOMPARE(window->nextBox()->palette().color(QPalette::WindowText), QColor(8, 99, 255));
}

void TestWindowLayouts::mainTabOrder()
{
    QWidget *window = build(QStringLiteral("form_Main"));
    QVERIFY(window);
    const QStringList expected{"btnPlace(3)", "btnPlace(2)", "btnPlace(1)", "btnPlace(0)",
                               "pic_Main",    "btnTalk(1)",  "btnTalk(2)",  "btn_Save",
                               "btn_Help",    "btn_Title",   "btn_Load",    "btn_About",
                               "btn_End",     "btnPlace(4)"};
    QWidget *w = window->findChild<QWidget *>(expected.first());
    QStringList order;
    for (int i = 0; i < expected.size(); ++i, w = w->nextInFocusChain())
        order << w->objectName();
    QCOMPARE(order, expected);
}

void TestWindowLayouts::nameEntryStartState()
{
    auto *entry = static_cast<app::NameEntryDialog *>(build(QStringLiteral("form_First")));
    QVERIFY(entry);
    QVERIFY(!entry->okButton()->isEnabled());
    QVERIFY(entry->okButton()->isDefault());
    QCOMPARE(entry->focusWidget(), entry->field(1));
    QStringList order;
    QWidget *w = entry->field(1);
    for (int i = 0; i < 5; ++i, w = w->nextInFocusChain())
        order << w->objectName();
    QCOMPARE(order, (QStringList{"Text1", "Text2", "Text3", "Command1", "Command2"}));
    for (int i = 1; i <= 3; ++i) {
        QVERIFY(entry->field(i)->testAttribute(Qt::WA_InputMethodEnabled));
        QVERIFY(entry->field(i)->maxLength() > 100000);
    }
}

void TestWindowLayouts::titleTabOrder()
{
    auto *title = static_cast<app::TitleWindow *>(build(QStringLiteral("form_Title")));
    QVERIFY(title);
    QCOMPARE(title->focusWidget(), title->button(1));
    QCOMPARE(title->button(1)->nextInFocusChain(), title->button(2));
    QCOMPARE(title->button(2)->nextInFocusChain(), title->button(3));
    QCOMPARE(title->button(3)->nextInFocusChain(), title->button(4));
}

void TestWindowLayouts::aboutFocus()
{
    auto *about = static_cast<app::AboutBox *>(build(QStringLiteral("form_About")));
    QVERIFY(about);
    QCOMPARE(about->focusWidget(), about->okButton());
    for (QWidget *w : about->findChildren<QWidget *>())
        if (w != about->okButton())
            QCOMPARE(w->focusPolicy() & Qt::TabFocus, 0);
    QCOMPARE(about->palette().color(QPalette::Window), QColor(192, 192, 192));
}

void TestWindowLayouts::scaledControls_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<qreal>("factor");
    QTest::newRow("2.5x") << QSize(1343, 1343) << 2.5;
    QTest::newRow("wide") << QSize(1600, 1074) << 2.0;
    QTest::newRow("tall") << QSize(806, 1200) << 1.5;
    QTest::newRow("back to 1x") << QSize(537, 537) << 1.0;
}

void TestWindowLayouts::scaledControls()
{
    QFETCH(QSize, size);
    QFETCH(qreal, factor);
    auto *window = static_cast<app::MainWindow *>(build(QStringLiteral("form_Main")));
    QVERIFY(window);
    struct Place {
        QWidget *widget;
        QRect rect;
        qreal points;
    };
    // Every control of the layout table: the named children, but for the window's
    // own band and tag, which follow the stage.
    const QStringList windowOwn{"noticeBand", "modeIndicator"};
    QList<Place> places;
    for (QWidget *child : window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (!child->objectName().isEmpty() && !windowOwn.contains(child->objectName()))
            places << Place{child, child->geometry(), child->font().pointSizeF()};
    QCOMPARE(places.size(), 23);

    window->resize(size);
    QTRY_COMPARE(window->size(), size);
    const qreal f = window->scaledLayout()->factor();
    QVERIFY2(qAbs(f - factor) < 0.005, qPrintable(QString::number(f)));
    // Centred in the window, the margin on the longer side.
    const QPointF origin((size.width() - 537 * f) / 2, (size.height() - 537 * f) / 2);
    for (const Place &place : places) {
        const QRect now = place.widget->geometry();
        const QRectF expected(origin + QPointF(place.rect.topLeft()) * f,
                              QSizeF(place.rect.size()) * f);
        const QString where = place.widget->objectName();
        QVERIFY2(qAbs(now.x() - expected.x()) <= 1 && qAbs(now.y() - expected.y()) <= 1 &&
                     qAbs(now.width() - expected.width()) <= 1 &&
                     qAbs(now.height() - expected.height()) <= 1,
                 qPrintable(where));
        if (place.points > 0)
            QVERIFY2(qAbs(place.widget->font().pointSizeF() - place.points * f) < 0.01,
                     qPrintable(where));
    }
    // The stage's picture fills its drawing area at the same factor.
    QVERIFY(qAbs(window->stage()->contentsRect().width() - 400 * f) <= 1);
}

QTEST_MAIN(TestWindowLayouts)
#include "tst_windowlayouts.moc"
