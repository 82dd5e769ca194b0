#pragma once

#include "framelessdialog.h"
#include <QUrl>
#include <functional>

class QPushButton;

namespace vm2::app {

class ClickLabel;

// Opens a link with the desktop's handler for it (mail program, web browser, help
// viewer); tests put a recorder in its place.
using UrlOpener = std::function<void(const QUrl &url)>;

// form_About: the title logo, the version, the maker and three links, shown
// modally from the title screen and the main screen.
class AboutBox : public FramelessDialog
{
    Q_OBJECT
public:
    static const QString kMakerName;
    static const QString kMailAddress;
    static const QString kHomePage;
    static const QString kSupportBoard;

    explicit AboutBox(UrlOpener openUrl, QWidget *parent = nullptr);

    QPushButton *okButton() const { return Command1; }
    // The link labels Label4(0), Label4(1) and Label4(3).
    ClickLabel *link(int index) const;

public Q_SLOTS:
    void Command1_Click();
    void Label4_Click(int index);

protected:
private:
    UrlOpener m_openUrl;
    QPushButton *Command1 = nullptr;
    ClickLabel *Label4[4] = {};
};

} // namespace vm2::app
