#include "titlewindow.h"

#include "aboutbox.h"
#include "art.h"
#include "clicklabel.h"
#include "layout.h"
#include "nameentrydialog.h"
#include "session.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>

namespace vm2::app {

TitleWindow::TitleWindow(Session &session) : FramelessDialog(Escape::Ignored), m_session(session)
{
    setObjectName(QStringLiteral("form_Title"));
    setWindowTitle(QStringLiteral("Velmora 2"));
    setWindowIcon(art::programIcon());
    useButtonFace(this);
    QWidget *client = makeFramedClient(this, QSize(twips(4680), twips(2895)));
    useButtonFace(client);

    // The version lies below the logo where they overlap: it is made first.
    auto *version = new FitLabel(QStringLiteral("Ver.1.2"), client);
    version->setObjectName(QStringLiteral("Label2"));
    version->setGeometry(twipsRect(3720, 1560, 810, 240));
    styleLabel(version, gameFont(12, true));
    version->fitSizeToText(); // auto-size
    setTextColour(version, QColor(23, 64, 255));

    Image1 = new ClickLabel(client);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(twipsRect(240, 120, 4125, 1560));
    Image1->setPixmap(art::titleLogo(devicePixelRatioF()));

    const struct {
        QString caption;
        QString toolTip;
        QRect rect;
    } buttons[] = {
        {QStringLiteral("NEW"), QStringLiteral("新しくゲームを始めます"),
         twipsRect(120, 1920, 2175, 375)},
        {QStringLiteral("LOAD"), QStringLiteral("セーブしたデータを読み込みます"),
         twipsRect(2400, 1920, 2175, 375)},
        {QStringLiteral("ABOUT"), QStringLiteral("バージョン情報"),
         twipsRect(120, 2400, 2175, 375)},
        {QStringLiteral("END"), QStringLiteral("ゲームを終了します"),
         twipsRect(2400, 2400, 2175, 375)},
    };
    for (int i = 0; i < 4; ++i) {
        auto *button = new FitButton(buttons[i].caption, client);
        button->setObjectName(QStringLiteral("Command%1").arg(i + 1));
        button->setGeometry(buttons[i].rect);
        button->setFont(gameFont(9, true));
        button->setToolTip(buttons[i].toolTip);
        Command[i] = button;
    }
    chainTabOrder({Command[0], Command[1], Command[2], Command[3]});

    connect(Command[0], &QPushButton::clicked, this, &TitleWindow::Command1_Click);
    connect(Command[1], &QPushButton::clicked, this, &TitleWindow::Command2_Click);
    connect(Command[2], &QPushButton::clicked, this, &TitleWindow::Command3_Click);
    connect(Command[3], &QPushButton::clicked, this, &TitleWindow::Command4_Click);
    connect(Image1, &ClickLabel::clicked, this, &TitleWindow::Image1_Click);
    Command[0]->setFocus();
}

QPushButton *TitleWindow::button(int index) const
{
    return index >= 1 && index <= 4 ? Command[index - 1] : nullptr;
}

void TitleWindow::Command1_Click()
{
    // This window closes before the name entry opens and is gone once the handler
    // returns: only the session is used after close().
    Session &session = m_session;
    session.game().beginNewGame();
    leave();
    NameEntryDialog entry;
    if (entry.exec() != QDialog::Accepted) {
        session.showTitle();
        return;
    }
    session.game().newGame(entry.surname(), entry.givenName(), entry.nickname());
    session.showMain();
}

void TitleWindow::Command2_Click()
{
    Session &session = m_session;
    leave();
    session.game().loadFromTitle();
    session.showMain();
}

void TitleWindow::Command3_Click()
{
    AboutBox about(m_session.urlOpener(), this);
    about.exec();
}

void TitleWindow::Command4_Click()
{
    m_session.finish(0);
}

void TitleWindow::Image1_Click()
{
    Session &session = m_session;
    if (!session.game().enterBonus())
        return;
    leave();
    session.showMain();
}

void TitleWindow::leave()
{
    m_leaving = true;
    close();
}

void TitleWindow::closeEvent(QCloseEvent *event)
{
    QDialog::closeEvent(event);
    // The window has no close box; closed by other means it ends the program.
    if (event->isAccepted() && !m_leaving)
        m_session.finish(0);
}

} // namespace vm2::app
