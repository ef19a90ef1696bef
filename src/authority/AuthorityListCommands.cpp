// The authority list's commands: edit, locate, filter, refresh, the print
// commands, help and exit.
#include "AuthorityList.h"

#include "AuthorityFilter.h"
#include "OpenAuthorityEditor.h"
#include "data/Catalogue.h"
#include "data/UserErrors.h"
#include "forms/WindowHelpers.h"
#include "history/HistoryWindow.h"
#include "print/PrintList.h"
#include "services/DatabaseFailure.h"
#include "suite/controls/SuperGrid.h"

#include <QAction>
#include <QScopeGuard>
#include <exception>

using namespace depotbase;

void FrmWHAuth::OnToolbarCommand(const QString &key)
{
    runGuarded([this, &key] { runCommand(key); });
}

void FrmWHAuth::runGuarded(const std::function<void()> &command)
{
    // A database failure ends the command with the engine's text; the window
    // stays as it was at that point.
    ++m_commandsRunning;
    const auto ended = qScopeGuard([this] { --m_commandsRunning; });
    try {
        services::guarded(command, [this](const services::DatabaseFailure &failure) {
            refuse(depotbase::UserErrorText(
                QStringLiteral("命令未能完成，列表保持原样。请稍后重试。"), failure.number,
                failure.description));
        });
    } catch (const std::exception &error) {
        refuse(QString::fromLocal8Bit(error.what()));
    }
    // Any command may have read, filtered or left the rows.
    if (m_loaded)
        showListState();
}

void FrmWHAuth::runCommand(const QString &key)
{
    if (key == QLatin1String("TlbEdit"))
        editRights(m_rows.rightOfRow(m_grid->Row()));
    else if (key == QLatin1String("TlbHistory"))
        showHistory();
    else if (key == QLatin1String("TlbFind"))
        locateRight();
    else if (key == QLatin1String("TlbFilter"))
        filterRights();
    else if (key == QLatin1String("TlbRefresh"))
        refreshList();
    else if (const short mode = PrintModeOfKey(key); mode >= 0)
        runPrintCommand(mode);
    else if (key == QLatin1String("TlbHelp"))
        ShowHelpPage(this, HelpContext);
    else if (key == QLatin1String("TlbExit"))
        done(QDialog::Accepted);
}

void FrmWHAuth::refuse(const QString &text)
{
    ShowNotice(this, text);
}

bool FrmWHAuth::refuseWithoutWarehouses(const QString &text)
{
    if (m_queries.anyWarehouse())
        return false;
    refuse(text);
    return true;
}

void FrmWHAuth::editRights(const std::optional<RightToShow> &start)
{
    if (refuseWithoutWarehouses(QStringLiteral("没有仓库,不能设置权限.")))
        return;
    openAuthorityEditor(m_inputs.context, this, start);
    // The editor may have added, changed or deleted rights, whichever way it
    // was opened: the list shows the table as it is now, through the filter
    // it showed before.
    if (m_filtered)
        showFiltered(m_shownFilter);
    else
        refreshList();
}

services::RightsFilter FrmWHAuth::askDialog(bool filter, const QString &caption)
{
    FrmWAFilter &dialog = m_filter.get(m_inputs.context.account, this);
    dialog.bFilter = filter;
    return dialog.ShowFilter(caption);
}

void FrmWHAuth::locateRight()
{
    if (refuseWithoutWarehouses(QStringLiteral("没有仓库,无法执行定位功能.")))
        return;
    const services::RightsFilter wanted = askDialog(false, LoadResString(text::LocateConditions));
    if (!wanted.empty() && !m_rows.locate(wanted))
        refuse(QStringLiteral("没有查到符合条件的记录!"));
}

void FrmWHAuth::filterRights()
{
    if (refuseWithoutWarehouses(QStringLiteral("没有仓库,无法执行过滤功能.")))
        return;
    showFiltered(askDialog(true, LoadResString(text::FilterConditions)));
    // An empty grid says why, rather than look like an empty table.
    if (m_filtered && m_grid->Rows() == 1)
        refuse(QStringLiteral("没有符合过滤条件的权限，刷新可显示全部权限。"));
}

void FrmWHAuth::showFiltered(const services::RightsFilter &filter)
{
    // The filtered rows come from a data set of their own; a refresh reads
    // the whole list again.
    const std::shared_ptr<dbkit::DbDataSet> filtered = m_queries.filteredRights(filter);
    m_rows.show(*filtered);
    m_filtered = !filter.empty();
    m_shownFilter = filter;
}

void FrmWHAuth::refreshList()
{
    // The grid and the list let go of the old rows first: they share their
    // texts, which are then freed before the new rows load instead of being
    // held twice over.
    m_grid->setRows(1);
    m_filtered = false;
    rsAuthList.reset();
    rsAuthList = m_queries.rightsList();
    m_rows.show(*rsAuthList);
    toolbarButton(QStringLiteral("TlbPrint"))->setEnabled(true);
}

void FrmWHAuth::runPrintCommand(short mode)
{
    if (refuseEmptyList(mode, m_grid->Rows(), this))
        return;
    // Dialogs and the preview open over this window, which is modal.
    ReportHost host = m_inputs.printHost;
    host.owner = this;
    PrintAuthorityList(printDb.get(), *m_grid, LoadResString(text::WarehouseRights), mode, *this,
                       host);
}

// The history of the current row's right: every right of its operator on its
// warehouse, so a right deleted and stored again shows whole.
void FrmWHAuth::showHistory()
{
    const std::optional<RightToShow> right = m_rows.rightOfRow(m_grid->Row());
    if (!right)
        return;
    HistorySubject subject;
    subject.filter.table = QStringLiteral("WarehAuth");
    subject.filter.rightUser = right->operatorCode;
    subject.filter.warehouse = right->warehouseCode;
    subject.title = QStringLiteral("%1 在仓库 %2 的权限")
                        .arg(m_rows.operatorName(m_grid->Row()), right->warehouseCode);
    ShowChangeHistory(this, m_inputs.context.account, subject, m_inputs.context.readOnly);
}
