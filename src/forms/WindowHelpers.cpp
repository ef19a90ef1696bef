#include "WindowHelpers.h"

#include "data/Catalogue.h"
#include "suite/modal/ModalSeam.h"

#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace depotbase {

WaitCursor::WaitCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor()
{
    QApplication::restoreOverrideCursor();
}

void CentreOnScreen(QWidget *window)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    window->move(area.x() + (area.width() - window->width()) / 2,
                 area.y() + (area.height() - window->height()) / 2);
}

void ShowNotice(QWidget *parent, const QString &text)
{
    modal::message(parent, text, modal::Icon::None, modal::Buttons::Ok,
                   QStringLiteral("提示"));
}

QSize ListWindowSize(QSize wanted)
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        wanted = wanted.boundedTo(screen->availableGeometry().size() * 9 / 10);
    return wanted;
}

void ShowHelpPage(QWidget *parent, int helpContext)
{
    QDialog help(parent);
    help.setObjectName(QStringLiteral("frmHelp"));
    const QString title = parent ? parent->windowTitle() : QString();
    help.setWindowTitle(LoadResString(text::Help) + (title.isEmpty() ? QString() : " - " + title));
    help.resize(720, 560);
    auto *layout = new QVBoxLayout(&help);
    auto *browser = new QTextBrowser(&help);
    browser->setObjectName(QStringLiteral("helpBrowser"));
    browser->setOpenExternalLinks(false);
    browser->setSource(QUrl(QStringLiteral("qrc:/help/%1.html").arg(helpContext)));
    layout->addWidget(browser);
    modal::showModal(&help);
}

} // namespace depotbase
