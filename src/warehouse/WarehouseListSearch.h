#pragma once

#include "forms/FormSlot.h"
#include "services/Account.h"
#include "services/WarehouseQueries.h"

#include <QString>
#include <optional>

class QWidget;
class SuperGrid;
class frmFilter;

// Finding a warehouse in the list and filtering the list through the filter
// dialog, which it keeps for the list's life.
class WarehouseListSearch {
public:
    WarehouseListSearch();
    ~WarehouseListSearch();
    WarehouseListSearch(const WarehouseListSearch &) = delete;
    WarehouseListSearch &operator=(const WarehouseListSearch &) = delete;

    // Shows the filter dialog with a caption, its boxes set as in `start`,
    // and returns the filter confirmed; nullopt when cancelled.
    std::optional<services::WarehouseFilter> askFilter(services::WarehouseQueries &queries,
                                                       const QString &caption,
                                                       const services::WarehouseFilter &start);

    // Asks for a condition, finds the first warehouse of the list's data set
    // that meets it and selects and shows its grid row; tells when none does.
    void find(QWidget *window, const services::Account &account, dbkit::DbDataSet &list,
              SuperGrid &grid);

    // Asks for a condition, the dialog showing the filter in force, and fills
    // the grid with the warehouses that meet it, all of them for an empty
    // one. Returns whether the grid now shows a filtered list; a cancelled
    // dialog, and a condition the database cannot run (told), leave the rows
    // and the filter in force as they were (`filtered` unchanged).
    bool filter(QWidget *window, const services::Account &account, SuperGrid &grid,
                bool filtered);
    // The filter the list's rows were last narrowed by.
    const services::WarehouseFilter &filterInForce() const { return m_inForce; }
    // The list shows every warehouse again: the next filter starts empty.
    void forgetFilter() { m_inForce = {}; }

private:
    depotbase::FormSlot<frmFilter> m_filter;
    services::WarehouseFilter m_inForce;
};
