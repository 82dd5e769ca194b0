#pragma once

#include "framelessdialog.h"

class QPushButton;

namespace vm2::app {

class ClickLabel;
class Session;

// form_Title: the first window of the program and the one TITLE returns to. NEW
// goes through the name entry to a new game, LOAD to the saved game, the title
// picture to the bonus event once all four happy endings have been seen.
class TitleWindow : public FramelessDialog
{
    Q_OBJECT
public:
    explicit TitleWindow(Session &session);

    // Command1 to Command4: NEW, LOAD, ABOUT, END.
    QPushButton *button(int index) const;
    ClickLabel *picture() const { return Image1; }

public Q_SLOTS:
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Image1_Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // Closes the window on the way to another screen.
    void leave();

    Session &m_session;
    bool m_leaving = false;
    ClickLabel *Image1 = nullptr;
    QPushButton *Command[4] = {};
};

} // namespace vm2::app
