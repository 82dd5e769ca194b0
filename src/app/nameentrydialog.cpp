#include "nameentrydialog.h"

#include "art.h"
#include "fitlabel.h"
#include "layout.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

#include <limits>

namespace vm2::app {

namespace {

// `autoSize`: the label takes its text's size, keeping the table's top-left corner.
void addLabel(QWidget *parent, const char *name, const QString &text, QRect rect, qreal pointSize,
              bool autoSize)
{
    auto *label = new FitLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(rect);
    styleLabel(label, gameFont(pointSize, true));
    if (autoSize)
        label->fitSizeToText();
}

QLineEdit *addField(QWidget *parent, const char *name, QRect rect)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(QLatin1String(name));
    field->setGeometry(rect);
    field->setFont(gameFont(12, true));
    // Names are Japanese: the input method stays on for these fields, and the
    // locale tells it which language to offer. No length limit, no filter.
    field->setAttribute(Qt::WA_InputMethodEnabled, true);
    field->setInputMethodHints(Qt::ImhNone);
    field->setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    field->setMaxLength(std::numeric_limits<int>::max());
    return field;
}

QPushButton *addButton(QWidget *parent, const char *name, const QString &text, QRect rect)
{
    auto *button = new FitButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(rect);
    button->setFont(gameFont(9, true));
    return button;
}

} // namespace

NameEntryDialog::NameEntryDialog(QWidget *parent) : FramelessDialog(Escape::Closes, parent)
{
    setObjectName(QStringLiteral("form_First"));
    setModal(true);
    useButtonFace(this);
    QWidget *client = makeFramedClient(this, QSize(twips(6960), twips(2325)));
    useButtonFace(client);

    auto *image = new QLabel(client);
    image->setObjectName(QStringLiteral("Image1"));
    image->setGeometry(twipsRect(0, 0, 2310, 2310));
    image->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    image->setPixmap(art::heroPortrait());

    addLabel(client, "Label1", QStringLiteral("プレーヤーの名前、愛称を入力してください"),
             twipsRect(2400, 0, 3795, 195), 9.75, true);
    addLabel(client, "Label2", QStringLiteral("姓"), twipsRect(2400, 360, 225, 195), 9.75, true);
    addLabel(client, "Label3", QStringLiteral("名"), twipsRect(4680, 360, 225, 195), 9.75, true);
    addLabel(client, "Label4", QStringLiteral("愛称"), twipsRect(4680, 1080, 435, 195), 9.75, true);
    addLabel(client, "Label5", QStringLiteral("アース学園2年生"), twipsRect(2520, 1320, 1860, 240),
             12, false);

    Text1 = addField(client, "Text1", twipsRect(2400, 600, 2175, 375));
    Text2 = addField(client, "Text2", twipsRect(4680, 600, 2175, 375));
    Text3 = addField(client, "Text3", twipsRect(4680, 1320, 2175, 375));
    Command2 =
        addButton(client, "Command2", QStringLiteral("CANCEL"), twipsRect(2400, 1800, 2175, 375));
    Command1 =
        addButton(client, "Command1", QStringLiteral("OK"), twipsRect(4680, 1800, 2175, 375));
    Command1->setEnabled(false);
    Command1->setDefault(true);

    chainTabOrder({Text1, Text2, Text3, Command1, Command2});
    for (QLineEdit *field : {Text1, Text2, Text3}) {
        connect(field, &QLineEdit::textChanged, this, &NameEntryDialog::Text_Change);
        field->installEventFilter(this);
    }
    connect(Command1, &QPushButton::clicked, this, &NameEntryDialog::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &NameEntryDialog::Command2_Click);
    Text1->setFocus();
}

QString NameEntryDialog::surname() const
{
    return Text1->text();
}

QString NameEntryDialog::givenName() const
{
    return Text2->text();
}

QString NameEntryDialog::nickname() const
{
    return Text3->text();
}

QLineEdit *NameEntryDialog::field(int index) const
{
    switch (index) {
    case 1:
        return Text1;
    case 2:
        return Text2;
    case 3:
        return Text3;
    }
    return nullptr;
}

void NameEntryDialog::Text_Change()
{
    // A blank is a character too: only empty fields keep OK disabled.
    Command1->setEnabled(!Text1->text().isEmpty() && !Text2->text().isEmpty() &&
                         !Text3->text().isEmpty());
}

void NameEntryDialog::Command1_Click()
{
    accept();
}

void NameEntryDialog::Command2_Click()
{
    reject();
}

void NameEntryDialog::Text_KeyPress(int keyAscii)
{
    if (keyAscii == 13)
        focusNextChild(); // one Tab stroke: on to the next enabled control
}

bool NameEntryDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        // Once OK is enabled, Enter is the default button's: it confirms.
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !Command1->isEnabled()) {
            Text_KeyPress(13);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace vm2::app
