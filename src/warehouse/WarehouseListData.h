#pragma once

#include "services/WarehouseListRows.h"

#include <memory>

class SuperGrid;

// The list's data set against what the list's grid shows: whether a filter
// hides warehouses, and whether rows were stored or deleted by key since the
// data set was read (a find reads it again first, a move reads it anyway).
// It works on the list's data set field and grid; no window of its own.
class WarehouseListData {
public:
    // `data` is the list's data set field, which its host may replace.
    explicit WarehouseListData(std::shared_ptr<dbkit::DbDataSet> &data);

    // Fills the grid with every warehouse of the data set, unfiltered;
    // `sorted`: in the order of the first column.
    void showAll(SuperGrid &grid, bool sorted = false);
    // Reads the data set again and shows every warehouse it holds, none
    // when all are gone; true when it holds any.
    bool refresh(SuperGrid &grid);
    // Positions the data set by a move (see listcursor::position).
    bool position(SuperGrid &grid, services::warehouse_list::Move move);
    // The data set as it is now, for a find; null before the host set one.
    dbkit::DbDataSet *current();

    // A command stored or deleted rows by key (or not).
    void rowsChanged(bool changed);
    bool filtered() const { return m_filtered; }
    void setFiltered(bool filtered) { m_filtered = filtered; }

private:
    std::shared_ptr<dbkit::DbDataSet> &m_data;
    bool m_filtered = false;
    bool m_behind = false;
};
