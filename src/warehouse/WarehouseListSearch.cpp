#include "WarehouseListSearch.h"

#include "WarehouseListGrid.h"
#include "WarehouseStatements.h"
#include "data/Catalogue.h"
#include "data/UserErrors.h"
#include "data/DataHelpers.h"
#include "filter/frmFilter.h"
#include "suite/controls/SuperGrid.h"
#include "suite/dbkit/DbError.h"
#include "suite/modal/ModalSeam.h"

using namespace depotbase;

WarehouseListSearch::WarehouseListSearch() = default;

WarehouseListSearch::~WarehouseListSearch() = default;

std::optional<QString> WarehouseListSearch::askCondition(const dbkit::DbLoginPtr &login,
                                                        const QString &caption,
                                                        const filtercolumns::Choice &start)
{
    frmFilter &filter = m_filter.get();
    filter.dbs = login;
    filter.strSel.clear();
    if (!filter.ShowFilter(caption, start))
        return std::nullopt;
    return filter.strSel;
}

void WarehouseListSearch::find(QWidget *window, const dbkit::DbLoginPtr &login,
                               dbkit::DbDataSet &list, SuperGrid &grid)
{
    const std::optional<QString> condition = askCondition(login, LoadResString(119));
    if (!condition || condition->isEmpty())
        return;
    list.FindFirst(*condition);
    if (list.NoMatch()) {
        modal::message(window, LoadResString(123), modal::Icon::Critical, modal::Buttons::Ok,
                       LoadResString(17));
        return;
    }
    listgrid::selectCode(grid, NullToEmpty(list.Fields(QStringLiteral("cWhCode"))), true);
}

bool WarehouseListSearch::filter(QWidget *window, const dbkit::DbLoginPtr &login,
                                 SuperGrid &grid, bool filtered)
{
    const std::optional<QString> condition = askCondition(login, LoadResString(118), m_inForce);
    // A cancelled dialog keeps the filter in force and the rows shown.
    if (!condition)
        return filtered;
    // The filtered rows come from a data set of their own; the list's data
    // set stays the whole list, so refresh shows every warehouse again.
    dbkit::DbDataSetPtr rows;
    try {
        rows = login->OpenDataSet(warehouse::filteredListStatement(*condition),
                                  dbkit::OpenMode::Default);
    } catch (const dbkit::DbError &error) {
        // A condition the database cannot run (a quota such as "1.2.3") is
        // told, and the rows shown stay as they were rather than looking
        // filtered.
        modal::message(window,
                       depotbase::UserErrorText(
                           QStringLiteral("过滤条件不能执行，请检查条件中的数值后重试。"), error),
                       modal::Icon::Critical, modal::Buttons::Ok, LoadResString(17));
        return filtered;
    }
    grid.setRows(1);
    grid.setRedraw(false);
    listgrid::fill(grid, *rows);
    grid.setRedraw(true);
    m_inForce = m_filter.get().choice();
    return !condition->isEmpty();
}
