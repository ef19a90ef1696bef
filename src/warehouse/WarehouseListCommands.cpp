// The warehouse list's command dispatcher, its keys, and the commands that
// stay within the list: refresh, find, filter, help and exit.
#include "WarehouseList.h"

#include "WarehouseListToolbar.h"
#include "WarehouseMessages.h"
#include "data/Catalogue.h"
#include "forms/ToolbarShortcuts.h"
#include "forms/WindowHelpers.h"
#include "services/WarehouseListRead.h"
#include "suite/controls/SuperGrid.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScopeGuard>

using namespace depotbase;
using listtoolbar::runStep;

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
    const QString command = listtoolbar::commandOfKey(*event);
    if (command.isEmpty())
        return false;
    // The key of a disabled button does nothing, as its click does.
    if (const QAction *button = toolbarButton(command); button && !button->isEnabled())
        return false;
    event->accept();
    if (command == "TlbPrint")
        RTPrn1().SetPrintConfirmation(KeyedPrintConfirmation(this, QStringLiteral("仓库列表")));
    OnToolbarCommand(command);
    RTPrn1().SetPrintConfirmation({});
    return true;
}

void frmWHBrowse::OnToolbarCommand(const QString &key)
{
    // Other seats' changes wait while the command runs: it may show a dialog
    // over the list, or act on its current row.
    ++m_commandsRunning;
    const auto commandEnded = qScopeGuard([this] {
        --m_commandsRunning;
        m_following.showWhenFree();
    });
    // Locks whose release failed earlier are released first (the exit
    // command does so on its way).
    // Every command but leaving and help needs the whole list: one still
    // being read is read first, or the command is not run.
    if (key != "TlbExit" && key != "TlbHelp" && !m_fullRead.waitForEnd())
        return;
    if (key != "TlbExit")
        m_locks.retry();
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
        runStep(this, key, [this] { m_locks.releaseBeforeClose(recLock); });
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
    const QString state = m_fullRead.running()
                              ? QStringLiteral("（正在读取… %1）").arg(m_rowsRead)
                          : m_data.filtered() ? QStringLiteral("（已过滤：显示 %1 个仓库）").arg(shown)
                                              : QStringLiteral("（共 %1 个仓库）").arg(shown);
    setWindowTitle(LoadResString(text::WarehouseList) + state
                   + (isReadOnly() ? whmessages::readOnlyMark() : QString()));
}

// The branches that are one step each.
void frmWHBrowse::runOtherCommand(const QString &key)
{
    if (m_printing.run(key, *m_grid, *lblTitle1, *lblTitle2, mRecObject.get()))
        return;
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
    } else if (key == "TlbAuth") {
        showAuthority();
    } else if (key == "TlbHistory") {
        showHistory();
    }
}

void frmWHBrowse::refreshList()
{
    // A long list is read again on a thread of its own, its rows shown
    // meanwhile; the filter goes as with any refresh.
    if (mRecObject && !m_data.filtered()) {
        if (auto read = services::warehouse_list::readAgain(dbs.login(), *mRecObject)) {
            followFullRead(std::move(read));
            m_fullRead.follow();
            m_search.forgetFilter();
            return;
        }
    }
    if (m_data.refresh(*m_grid))
        toolbarButton("TlbPrint")->setEnabled(true);
    if (!m_data.filtered())
        m_search.forgetFilter();
}

void frmWHBrowse::closeEvent(QCloseEvent *event)
{
    // Closing from the title bar ends the list like the exit command.
    m_locks.releaseBeforeClose(recLock);
    qApp->removeEventFilter(this);
    QDialog::closeEvent(event);
}

void frmWHBrowse::showHelp()
{
    ShowHelpPage(this, property("HelpContextID").toInt());
}

void frmWHBrowse::findWarehouse()
{
    if (dbkit::DbDataSet *rows = m_data.current())
        m_search.find(this, dbs, *rows, *m_grid);
}

void frmWHBrowse::filterList()
{
    m_data.setFiltered(m_search.filter(this, dbs, *m_grid, m_data.filtered()));
}
