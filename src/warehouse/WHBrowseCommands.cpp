// The warehouse list's toolbar, keys and command dispatcher.
#include "frmWHBrowse.h"

#include "ListColumns.h"
#include "WarehouseStatements.h"
#include "data/Catalogue.h"
#include "data/DataHelpers.h"
#include "forms/ToolbarButtons.h"
#include "forms/WindowHelpers.h"
#include "filter/frmFilter.h"
#include "suite/controls/SuperGrid.h"
#include "suite/dbkit/DbError.h"
#include "suite/locks/LockVouchDLL.h"
#include "suite/modal/ModalSeam.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QIcon>
#include <QKeyEvent>
#include <QStringList>
#include <QToolBar>
#include <array>
#include <exception>
#include <utility>

using namespace depotbase;

namespace {

// Toolbar pictures in image-list order (index 1 to 14), by key.
constexpr std::array<const char *, 14> Pictures{
    "imgAdd",  "imgDel",   "imgEdit",    "imgFind",   "imgFilter", "imgRefresh", "imgFont",
    "imgPrint", "imgHelp", "imgExit",    "imgPreview", "imgOutput", "imgPSetup", "imgauth",
};

constexpr std::array<ToolbarButton, 13> Buttons{{
    {"TlbPSetup", 13, 137, 138}, {"TlbPrint", 8, 13, 13},     {"TlbPreview", 11, 135, 135},
    {"TlbOutput", 12, 136, 136}, {"TlbAdd", 1, 63, 63},       {"TlbEdit", 3, 74, 74},
    {"TlbDel", 2, 9, 9},         {"TlbFind", 4, 11, 11},      {"TlbFilter", 5, 12, 12},
    {"TlbRefresh", 6, 117, 117}, {"TlbAuth", 14, 139, 139},   {"TlbHelp", 9, 14, 14},
    {"TlbExit", 10, 15, 15},
}};

// Keyboard shortcuts of the list: the key, exactly these modifiers (or any),
// the command, and how the tool tip names the keys.
struct Shortcut {
    int key;
    Qt::KeyboardModifiers modifiers;
    bool anyModifiers;
    const char *command;
    const char *keys;
};

constexpr std::array<Shortcut, 12> Shortcuts{{
    {Qt::Key_I, Qt::ControlModifier, false, "TlbAdd", "Ctrl+I"},
    {Qt::Key_F5, Qt::NoModifier, true, "TlbAdd", "F5"},
    {Qt::Key_D, Qt::ControlModifier, false, "TlbDel", "Ctrl+D"},
    {Qt::Key_K, Qt::ControlModifier, false, "TlbFind", "Ctrl+K"},
    {Qt::Key_E, Qt::ControlModifier, false, "TlbEdit", "Ctrl+E"},
    {Qt::Key_P, Qt::ControlModifier, false, "TlbPrint", "Ctrl+P"},
    {Qt::Key_F, Qt::ControlModifier, false, "TlbFilter", "Ctrl+F"},
    {Qt::Key_R, Qt::ControlModifier, false, "TlbRefresh", "Ctrl+R"},
    {Qt::Key_L, Qt::ControlModifier, false, "TlbPreview", "Ctrl+L"},
    {Qt::Key_O, Qt::ControlModifier, false, "TlbOutput", "Ctrl+O"},
    {Qt::Key_F1, Qt::NoModifier, true, "TlbHelp", "F1"},
    {Qt::Key_F4, Qt::AltModifier, false, "TlbExit", "Alt+F4"},
}};

QString infoCaption()
{
    return LoadResString(17);
}

} // namespace

void frmWHBrowse::LoadToolbarImages()
{
    m_images = LoadToolbarPictures(Pictures);
}

void frmWHBrowse::BuildListToolbar()
{
    BuildToolbar(*m_toolbar, m_images, Buttons, [this](const QString &key) {
        OnToolbarCommand(key);
    });
    // The tool tips name the keys that run the same commands.
    for (QAction *action : m_toolbar->actions()) {
        QStringList keys;
        for (const Shortcut &shortcut : Shortcuts)
            if (action->objectName() == QLatin1String(shortcut.command))
                keys << QLatin1String(shortcut.keys);
        if (!keys.isEmpty())
            action->setToolTip(action->toolTip() + QStringLiteral(" (%1)")
                                                       .arg(keys.join(QStringLiteral(", "))));
    }
}

QAction *frmWHBrowse::toolbarButton(const QString &key) const
{
    return ToolbarAction(*m_toolbar, key);
}

// The window sees keys before its controls: shortcuts are taken here.
bool frmWHBrowse::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()
        && static_cast<QWidget *>(watched)->window() == this && isVisible()) {
        if (handleShortcut(static_cast<QKeyEvent *>(event)))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmWHBrowse::keyPressEvent(QKeyEvent *event)
{
    if (handleShortcut(event))
        return;
    // The list is the main window: Esc does not close it.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool frmWHBrowse::handleShortcut(QKeyEvent *event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    QString command;
    for (const Shortcut &shortcut : Shortcuts) {
        if (event->key() == shortcut.key
            && (shortcut.anyModifiers || mods == shortcut.modifiers)) {
            command = QLatin1String(shortcut.command);
            break;
        }
    }
    if (command == "TlbPrint" && !toolbarButton("TlbPrint")->isEnabled())
        command.clear();
    if (command.isEmpty())
        return false;
    event->accept();
    if (command == "TlbPrint") {
        // A key pressed by accident must not send a long list to the
        // printer: Ctrl+P asks first when the list takes more than one page.
        m_rtPrn1.SetPrintConfirmation([this](int pages) {
            return pages <= 1
                   || modal::message(this,
                                     QStringLiteral("仓库列表共 %1 页，确实要在默认打印机上打印吗？")
                                         .arg(pages),
                                     modal::Icon::Question, modal::Buttons::YesNo,
                                     infoCaption())
                          == modal::Answer::Yes;
        });
    }
    OnToolbarCommand(command);
    m_rtPrn1.SetPrintConfirmation({});
    return true;
}

namespace {

// The caption of a toolbar key ("刷新" for "TlbRefresh").
QString commandCaption(const QString &key)
{
    for (const ToolbarButton &b : Buttons)
        if (key == QLatin1String(b.key))
            return LoadResString(b.caption);
    return key;
}

// Runs one step of a command. A step that fails is told to the user (the
// database's refusals with the engine's text) and the command goes on with
// its next step, so that, say, a card that could not load still leaves the
// toolbar and the selection as the add command sets them.
template <typename Step>
void runStep(QWidget *window, const QString &key, Step &&step)
{
    QString failure;
    try {
        step();
        return;
    } catch (const dbkit::DbError &error) {
        failure = error.description();
    } catch (const std::exception &e) {
        failure = QString::fromLocal8Bit(e.what());
    }
    modal::message(window, QStringLiteral("“%1”未能完成：").arg(commandCaption(key)) + failure,
                   modal::Icon::Critical, modal::Buttons::Ok, infoCaption());
}

} // namespace

void frmWHBrowse::OnToolbarCommand(const QString &key)
{
    // Locks whose release failed earlier are released first (the exit
    // command does so on its way).
    if (key != "TlbExit")
        retryLockReleases();
    // Nothing escapes into the event loop: a failing step leaves the window
    // as it is at that point and the branch goes on.
    if (key == "TlbAdd") {
        runStep(this, key, [this] { FAdd(); });
        runStep(this, key, [this] {
            if (m_grid->Rows() >= 2) {
                toolbarButton("TlbPrint")->setEnabled(true);
                showSelection(true);
            }
        });
    } else if (key == "TlbDel") {
        runStep(this, key, [this] {
            if (m_grid->Row() == m_grid->RowSel() && m_grid->Rows() >= 2) {
                FDelete();
            } else if (m_grid->Row() != m_grid->RowSel()) {
                long first = m_grid->Row();
                long last = m_grid->RowSel();
                FDelete1(first, last);
            }
        });
        runStep(this, key, [this] {
            if (m_grid->Rows() >= 2)
                toolbarButton("TlbPrint")->setEnabled(true);
        });
    } else if (key == "TlbExit") {
        runStep(this, key, [this] { unlockCurrent(); });
        runStep(this, key, [this] { Fclose(); });
    } else {
        runStep(this, key, [this, &key] { runOtherCommand(key); });
    }
    // Any command may have added, removed or filtered rows.
    if (m_loaded)
        showListState();
}

void frmWHBrowse::showListState()
{
    const int shown = m_grid->Rows() - 1;
    setWindowTitle(LoadResString(62)
                   + (m_filtered ? QStringLiteral("（已过滤：显示 %1 个仓库）")
                                 : QStringLiteral("（共 %1 个仓库）"))
                         .arg(shown));
}

// The branches that are one step each.
void frmWHBrowse::runOtherCommand(const QString &key)
{
    if (key == "TlbEdit") {
        if (m_grid->Rows() >= 2)
            FEdit();
    } else if (key == "TlbRefresh") {
        refreshList();
    } else if (key == "TlbHelp") {
        showHelp();
    } else if (key == "TlbFind") {
        findWarehouse();
    } else if (key == "TlbFilter") {
        filterList();
    } else if (key == "TlbPSetup") {
        runPrintCommand(3);
    } else if (key == "TlbPreview") {
        runPrintCommand(0);
    } else if (key == "TlbPrint") {
        runPrintCommand(1);
    } else if (key == "TlbOutput") {
        runPrintCommand(2);
    } else if (key == "TlbAuth") {
        showAuthority();
    }
}

void frmWHBrowse::refreshList()
{
    if (!mRecObject)
        return;
    mRecObject->Requery(-1);
    m_dataSetBehind = false;
    // Only a list that still holds warehouses replaces the rows shown.
    if (mRecObject->RecordCount() <= 0)
        return;
    m_grid->setRows(1);
    m_filtered = false;
    m_grid->setRedraw(false);
    FillListGrid(*mRecObject);
    m_grid->setSort(1);
    m_grid->setRedraw(true);
    toolbarButton("TlbPrint")->setEnabled(true);
}

// Before the list closes: the releases that failed earlier, then the lock of
// the current warehouse.
void frmWHBrowse::unlockCurrent()
{
    if (!dbs)
        return;
    // Other operators stay locked out of the warehouse until the release works.
    if (!bLock().RetryReleases(*dbs))
        tellFailedRelease();
    releaseLock(recLock);
}

void frmWHBrowse::retryLockReleases()
{
    // The user was told when the release failed; a retry that fails again
    // waits for the next command.
    if (dbs && bLock().HasPendingReleases())
        bLock().RetryReleases(*dbs);
}

void frmWHBrowse::releaseLock(const QString &code)
{
    if (code.isEmpty() || !dbs)
        return;
    bLock().UnlockRecords(*dbs, QStringLiteral("BJ"), QVariantList{code});
    tellFailedRelease();
}

void frmWHBrowse::closeEvent(QCloseEvent *event)
{
    // Closing from the title bar ends the list like the exit command.
    unlockCurrent();
    qApp->removeEventFilter(this);
    QDialog::closeEvent(event);
}

void frmWHBrowse::showHelp()
{
    ShowHelpPage(this, property("HelpContextID").toInt());
}

// Shows the filter dialog with a caption and returns the condition it built
// ("" when cancelled).
QString frmWHBrowse::askCondition(const QString &caption)
{
    frmFilter &filter = m_filter.get();
    filter.dbs = dbs;
    filter.strSel.clear();
    filter.ShowFilter(caption);
    return filter.strSel;
}

void frmWHBrowse::findWarehouse()
{
    const QString condition = askCondition(LoadResString(119));
    if (condition.isEmpty() || !mRecObject)
        return;
    // Warehouses stored or deleted since the data set was read are found as
    // they are now.
    if (std::exchange(m_dataSetBehind, false))
        mRecObject->Requery(-1);
    mRecObject->FindFirst(condition);
    if (mRecObject->NoMatch()) {
        modal::message(this, LoadResString(123), modal::Icon::Critical, modal::Buttons::Ok,
                       infoCaption());
        return;
    }
    const QString code = NullToEmpty(mRecObject->Fields(QStringLiteral("cWhCode")));
    for (int row = 1; row < m_grid->Rows(); ++row) {
        if (m_grid->TextMatrix(row, 0) == code) {
            m_grid->setRow(row);
            m_grid->setRowSel(row);
            m_grid->setTopRow(row);
            break;
        }
    }
}

void frmWHBrowse::filterList()
{
    const QString condition = askCondition(LoadResString(118));
    // The filtered rows come from a data set of their own; mRecObject stays
    // the whole list, so refresh shows every warehouse again.
    dbkit::DbDataSetPtr filtered;
    try {
        filtered = dbs->OpenDataSet(warehouse::filteredListStatement(condition),
                                    dbkit::OpenMode::Default);
    } catch (const dbkit::DbError &error) {
        // A condition the database cannot run (a quota such as "1.2.3") is
        // told, and the rows shown stay as they were rather than looking
        // filtered.
        modal::message(this, QStringLiteral("过滤条件不能执行：") + error.description(),
                       modal::Icon::Critical, modal::Buttons::Ok, infoCaption());
        return;
    }
    m_grid->setRows(1);
    m_filtered = !condition.isEmpty();
    m_grid->setRedraw(false);
    FillListGrid(*filtered);
    m_grid->setRedraw(true);
}
