#pragma once

#include "framelessdialog.h"

class QLineEdit;
class QPushButton;

namespace vm2::app {

// form_First: the modal name entry of a new game. exec() returns Accepted when the
// player confirmed the three names, Rejected when he cancelled; the names are
// read from the dialog afterwards.
class NameEntryDialog : public FramelessDialog
{
    Q_OBJECT
public:
    explicit NameEntryDialog(QWidget *parent = nullptr);

    QString surname() const;
    QString givenName() const;
    QString nickname() const;

    QLineEdit *field(int index) const; // Text1 to Text3, by 1 to 3
    QPushButton *okButton() const { return Command1; }
    QPushButton *cancelButton() const { return Command2; }

public Q_SLOTS:
    void Text_Change();
    void Command1_Click();
    void Command2_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Text_KeyPress(int keyAscii);

    QLineEdit *Text1 = nullptr;
    QLineEdit *Text2 = nullptr;
    QLineEdit *Text3 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
};

} // namespace vm2::app
