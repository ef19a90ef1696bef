#include "WarehouseListSearch.h"

#include "WarehouseListGrid.h"
#include "data/Catalogue.h"
#include "filter/FilterDialog.h"
#include "suite/controls/SuperGrid.h"
#include "suite/modal/ModalSeam.h"

using namespace depotbase;

WarehouseListSearch::WarehouseListSearch() = default;

WarehouseListSearch::~WarehouseListSearch() = default;

std::optional<services::WarehouseFilter>
WarehouseListSearch::askFilter(services::WarehouseQueries &queries, const QString &caption,
                               const services::WarehouseFilter &start)
{
    frmFilter &filter = m_filter.get();
    filter.queries = &queries;
    const bool confirmed = filter.ShowFilter(caption, start);
    filter.queries = nullptr;
    if (!confirmed)
        return std::nullopt;
    return filter.choice();
}

void WarehouseListSearch::find(QWidget *window, const services::Account &account,
                               dbkit::DbDataSet &list, SuperGrid &grid)
{
    services::WarehouseQueries queries(account.login());
    services::WarehouseFilter start;
    start.find = true;
    const std::optional<services::WarehouseFilter> asked =
        askFilter(queries, LoadResString(text::FindConditions), start);
    // A find that compares nothing (no box filled, any position) does nothing.
    if (!asked || services::filterCondition(*asked).isEmpty())
        return;
    const std::optional<QString> found = services::WarehouseQueries::findFirst(list, *asked);
    if (!found) {
        modal::message(window, LoadResString(text::NoMatchingRecord), modal::Icon::Critical,
                       modal::Buttons::Ok, LoadResString(text::MessageCaption));
        return;
    }
    listgrid::selectCode(grid, *found, true);
}

bool WarehouseListSearch::filter(QWidget *window, const services::Account &account,
                                 SuperGrid &grid, bool filtered)
{
    services::WarehouseQueries queries(account.login());
    const std::optional<services::WarehouseFilter> asked =
        askFilter(queries, LoadResString(text::FilterConditions), m_inForce);
    // A cancelled dialog keeps the filter in force and the rows shown.
    if (!asked)
        return filtered;
    // The filtered rows come from a data set of their own; the list's data
    // set stays the whole list, so refresh shows every warehouse again.
    const services::ReadOutcome<std::shared_ptr<dbkit::DbDataSet>> rows =
        queries.filteredList(*asked);
    if (rows.failed()) {
        // A condition the database cannot run (a quota such as "1.2.3") is
        // told, and the rows shown stay as they were rather than looking
        // filtered.
        modal::message(window, rows.failure, modal::Icon::Critical, modal::Buttons::Ok,
                       LoadResString(text::MessageCaption));
        return filtered;
    }
    grid.setRows(1);
    grid.setRedraw(false);
    listgrid::fill(grid, *rows.rows);
    grid.setRedraw(true);
    m_inForce = *asked;
    return !services::filterCondition(*asked).isEmpty();
}
