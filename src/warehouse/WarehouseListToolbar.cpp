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
    {"TlbPSetup", 13, 137, 138}, {"TlbPrint", 8, 13, 13},     {"TlbPreview", 11, 135, 135},
    {"TlbOutput", 12, 136, 136}, {"TlbAdd", 1, 63, 63},       {"TlbEdit", 3, 74, 74},
    {"TlbDel", 2, 9, 9},         {"TlbFind", 4, 11, 11},      {"TlbFilter", 5, 12, 12},
    {"TlbRefresh", 6, 117, 117}, {"TlbAuth", 14, 139, 139},
    {"TlbHistory", 15, HistoryCaptionId, HistoryCaptionId},
    {"TlbHelp", 9, 14, 14},      {"TlbExit", 10, 15, 15},
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
                   modal::Icon::Critical, modal::Buttons::Ok, LoadResString(17));
}

} // namespace listtoolbar
