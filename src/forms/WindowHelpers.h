#pragma once

#include <QSize>

class QString;
class QWidget;

// Window chores shared by every window of the component.
namespace depotbase {

// Centres a window on the screen: left = (screen width - window width) / 2,
// top likewise.
void CentreOnScreen(QWidget *window);

// The first size of a list window: `wanted`, within nine tenths of the screen.
QSize ListWindowSize(QSize wanted);

// Opens the help page of a help context (31100041 warehouse list, card and
// filter; 31100141 warehouse rights) modally over `parent`.
void ShowHelpPage(QWidget *parent, int helpContext);

// Shows the wait cursor while it lives, for work that keeps the window
// busy for a noticeable time.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

// Tells the user why a command stops: OK button, no icon, caption "提示".
void ShowNotice(QWidget *parent, const QString &text);

} // namespace depotbase
