#include "aboutbox.h"

#include "art.h"
#include "clicklabel.h"
#include "layout.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace vm2::app {

const QString AboutBox::kMakerName = QStringLiteral("VM2");
const QString AboutBox::kMailAddress = QStringLiteral("vm2@example.org");
const QString AboutBox::kHomePage = QStringLiteral("https://www.example.org/vm2/");
const QString AboutBox::kSupportBoard = QStringLiteral("https://www.example.org/vm2/bbs/");

namespace {

const QColor kSilver(192, 192, 192);
const QColor kVersionBlue(23, 64, 255);

// An auto-size label: its top-left corner from the table, its size its text's, up
// to `rightLimit` where the next label of its row begins.
FitLabel *addLabel(QWidget *parent, const QString &text, QRect rect, const QFont &font,
                   const QColor &colour, int rightLimit = -1)
{
    auto *label = new FitLabel(text, parent);
    label->setGeometry(rect);
    styleLabel(label, font);
    label->fitSizeToText(rightLimit);
    setTextColour(label, colour);
    return label;
}

} // namespace

AboutBox::AboutBox(UrlOpener openUrl, QWidget *parent)
    : FramelessDialog(Escape::Closes, parent), m_openUrl(std::move(openUrl))
{
    setObjectName(QStringLiteral("form_About"));
    setModal(true);
    QPalette silver = palette();
    silver.setColor(QPalette::Window, kSilver);
    silver.setColor(QPalette::Button, kSilver);
    setPalette(silver);
    setAutoFillBackground(true);

    // The client is as wide as the table says; the frame adds to it. The height is
    // the window's outer height, frame included.
    QWidget *client = makeFramedClient(this, QSize(twips(5295), twips(3345) - 2 * kDialogFrame));

    auto *image = new QLabel(client);
    image->setObjectName(QStringLiteral("Image1"));
    image->setGeometry(twipsRect(600, 0, 4125, 1560));
    image->setPixmap(art::titleLogo(devicePixelRatioF()));

    FitLabel *version = addLabel(client, QStringLiteral("Ver.1.2"), twipsRect(4080, 1320, 810, 240),
                                 gameFont(12, true), kVersionBlue);
    version->setObjectName(QStringLiteral("Label2"));

    Command1 = new FitButton(QStringLiteral("OK"), client);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(twipsRect(3720, 1680, 1455, 375));
    Command1->setFont(gameFont(9, true));
    Command1->setDefault(false);

    auto *frame = new GroupFrame(client);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setGeometry(twipsRect(120, 2160, 5055, 975));
    setBackground(frame, kSilver);
    QPalette etched = frame->palette();
    etched.setColor(QPalette::Dark, QColor(128, 128, 128));
    etched.setColor(QPalette::Light, QColor(255, 255, 255));
    frame->setPalette(etched);

    const QFont plain = gameFont(9, false);
    addLabel(frame, QStringLiteral("作った人："), twipsRect(120, 240, 765, 180), plain, Qt::black,
             twips(960))
        ->setObjectName(QStringLiteral("Label1(0)"));
    addLabel(frame, kMakerName, twipsRect(960, 240, 405, 180), gameFont(9, true), kVersionBlue,
             twips(1440))
        ->setObjectName(QStringLiteral("Label3(0)"));
    addLabel(frame, QStringLiteral("HP："), twipsRect(1110, 480, 315, 180), plain, Qt::black,
             twips(1440))
        ->setObjectName(QStringLiteral("Label1(1)"));
    addLabel(frame, QStringLiteral("サポートBBS："), twipsRect(350, 720, 1080, 180), plain,
             Qt::black, twips(1440))
        ->setObjectName(QStringLiteral("Label1(3)"));

    const struct {
        int index;
        QString text;
        QRect rect;
    } links[] = {
        {0, kMailAddress, twipsRect(1440, 240, 1890, 180)},
        {1, kHomePage, twipsRect(1440, 480, 2790, 180)},
        {3, kSupportBoard, twipsRect(1440, 720, 2985, 180)},
    };
    for (const auto &l : links) {
        auto *label = new ClickLabel(frame);
        label->setObjectName(QStringLiteral("Label4(%1)").arg(l.index));
        label->setText(l.text);
        label->setGeometry(l.rect);
        styleLabel(label, gameFont(9, false, true));
        label->fitSizeToText(frame->width() - 2);
        setTextColour(label, QColor(0, 0, 255));
        label->setCursor(Qt::PointingHandCursor);
        connect(label, &ClickLabel::clicked, this, [this, i = l.index] { Label4_Click(i); });
        Label4[l.index] = label;
    }

    connect(Command1, &QPushButton::clicked, this, &AboutBox::Command1_Click);
    Command1->setFocus();
}

ClickLabel *AboutBox::link(int index) const
{
    return index >= 0 && index < 4 ? Label4[index] : nullptr;
}

void AboutBox::Command1_Click()
{
    accept();
}

void AboutBox::Label4_Click(int index)
{
    // Each link opens the address it shows.
    QUrl url;
    if (index == 0)
        url = QUrl(QStringLiteral("mailto:") + kMailAddress);
    else if (index == 1)
        url = QUrl(kHomePage);
    else
        url = QUrl(kSupportBoard);
    if (m_openUrl)
        m_openUrl(url);
}

} // namespace vm2::app
