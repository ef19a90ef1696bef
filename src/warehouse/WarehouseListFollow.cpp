// The warehouse list's side of following other seats' changes.
#include "WarehouseList.h"

#include "WarehouseListChangedRows.h"
#include "services/DatabaseFailure.h"
#include "services/WarehouseQueries.h"

#include <QApplication>

void frmWHBrowse::followChanges()
{
    m_following.start(dbs);
}

bool frmWHBrowse::busyForChanges() const
{
    const QWidget *modal = QApplication::activeModalWidget();
    return !m_loaded || m_fullRead.running() || m_commandsRunning > 0
           || (modal != nullptr && modal != this);
}

bool frmWHBrowse::showChangedWarehouses(const ChangedWarehouses &changed)
{
    // The rows as the list shows them: under the filter in force, if any.
    const services::WarehouseFilter filter =
        m_data.filtered() ? m_search.filterInForce() : services::WarehouseFilter{};
    std::vector<std::shared_ptr<dbkit::DbDataSet>> rows;
    services::WarehouseQueries queries(dbs.login());
    // A read that fails is tried again with the next changes; the list
    // goes on with what it shows.
    if (!services::guarded([&] { rows = queries.listedRows(filter, changed.codes); },
                           [](const services::DatabaseFailure &) {}))
        return false;
    listgrid::showChanged(*m_grid, changed, rows);
    // A find reads the list's data set again first.
    m_data.rowsChanged(true);
    return true;
}
