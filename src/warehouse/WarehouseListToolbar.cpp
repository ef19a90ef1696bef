#include "WarehouseListToolbar.h"

#include "WarehouseMessages.h"
#include "data/Catalogue.h"
#include "data/UserErrors.h"
#include "forms/ToolbarButtons.h"
#include "forms/ToolbarShortcuts.h"
#include "services/DatabaseFailure.h"
#include "suite/modal/ModalSeam.h"

#include <QAction>
#include <QKeyEvent>
#include <QStringList>
#include <QToolBar>
#include <array>
#include <exception>

using namespace depotbase;

namespace listtoolbar {

namespace {

// Toolbar pictures in image-list order (index 1 to 15), by key.
constexpr std::array<const char *, 15> Pictures{
    "imgAdd",  "imgDel",   "imgEdit",    "imgFind",   "imgFilter", "imgRefresh", "imgFont",
    "imgPrint", "imgHelp", "imgExit",    "imgPreview", "imgOutput", "imgPSetup", "imgauth",
    "imgHistory",
};

constexpr std::array<ToolbarButton, 14> Buttons{{
    {"TlbPSetup", 13, text::Setup, text::PrintSetup},
    {"TlbPrint", 8, text::Print, text::Print},
    {"TlbPreview", 11, text::Preview, text::Preview},
    {"TlbOutput", 12, text::Output, text::Output},
    {"TlbAdd", 1, text::Add, text::Add},
    {"TlbEdit", 3, text::Modify, text::Modify},
    {"TlbDel", 2, text::Delete, text::Delete},
    {"TlbFind", 4, text::Query, text::Query},
    {"TlbFilter", 5, text::Filter, text::Filter},
    {"TlbRefresh", 6, text::Refresh, text::Refresh},
    {"TlbAuth", 14, text::Rights, text::Rights},
    {"TlbHistory", 15, text::HistoryCaption, text::HistoryCaption},
    {"TlbHelp", 9, text::Help, text::Help},
    {"TlbExit", 10, text::Exit, text::Exit},
}};

// Keyboard shortcuts of the list: its own, then those the authority list
// shares.
constexpr auto Shortcuts = WithSharedListShortcuts<4>({{
    {Qt::Key_I, Qt::ControlModifier, false, "TlbAdd", "Ctrl+I"},
    {Qt::Key_F5, Qt::NoModifier, true, "TlbAdd", "F5"},
    {Qt::Key_D, Qt::ControlModifier, false, "TlbDel", "Ctrl+D"},
    {Qt::Key_U, Qt::ControlModifier, false, "TlbAuth", "Ctrl+U"},
}});

// The caption of a toolbar key ("刷新" for "TlbRefresh").
QString commandCaption(const QString &key)
{
    for (const ToolbarButton &b : Buttons)
        if (key == QLatin1String(b.key))
            return LoadResString(b.caption);
    return key;
}

} // namespace

QList<QIcon> loadPictures()
{
    return LoadToolbarPictures(Pictures);
}

void build(QToolBar &toolbar, const QList<QIcon> &pictures,
           const std::function<void(const QString &)> &run)
{
    BuildToolbar(toolbar, pictures, Buttons, run);
    NameShortcutsInToolTips(toolbar, Shortcuts);
}

void offerReadOnly(QToolBar &toolbar)
{
    for (const char *key : {"TlbAdd", "TlbDel"}) {
        QAction *action = ToolbarAction(toolbar, QLatin1String(key));
        action->setEnabled(false);
        action->setToolTip(whmessages::readOnlyTip(commandCaption(QLatin1String(key))));
    }
    ToolbarAction(toolbar, QStringLiteral("TlbEdit"))->setToolTip(whmessages::viewOnlyTip());
}

QString commandOfKey(const QKeyEvent &event)
{
    return CommandOfKey(event, Shortcuts);
}

void runStep(QWidget *window, const QString &key, const std::function<void()> &step)
{
    QString failure;
    try {
        if (services::guarded(step, [&failure](const services::DatabaseFailure &error) {
                failure = depotbase::UserErrorText(QStringLiteral("请稍后重试。"), error.number,
                                                   error.description);
            }))
            return;
    } catch (const std::exception &e) {
        failure = QString::fromLocal8Bit(e.what());
    }
    modal::message(window, QStringLiteral("“%1”未能完成，").arg(commandCaption(key)) + failure,
                   modal::Icon::Critical, modal::Buttons::Ok, LoadResString(text::MessageCaption));
}

} // namespace listtoolbar
