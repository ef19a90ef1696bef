#pragma once

#include "suite/dbkit/DbLogin.h"

class SuperGrid;

// The list's data set against what the list's grid shows: whether a filter
// hides warehouses, and whether rows were stored or deleted by key since the
// data set was read (a find reads it again first, a move reads it anyway).
// It works on the list's data set field and grid; no window of its own.
class WarehouseListData {
public:
    // `data` is the list's data set field, which its host may replace.
    explicit WarehouseListData(dbkit::DbDataSetPtr &data);

    // Fills the grid with every warehouse of the data set, unfiltered;
    // `sorted`: in the order of the first column.
    void showAll(SuperGrid &grid, bool sorted = false);
    // Reads the data set again and shows every warehouse it holds, none
    // when all are gone; true when it holds any.
    bool refresh(SuperGrid &grid);
    // Positions the data set by a move kind (see listcursor::position).
    bool position(SuperGrid &grid, int moveKind);
    // The data set as it is now, for a find; null before the host set one.
    dbkit::DbDataSet *current();

    // A command stored or deleted rows by key (or not).
    void rowsChanged(bool changed);
    bool filtered() const { return m_filtered; }
    void setFiltered(bool filtered) { m_filtered = filtered; }

private:
    dbkit::DbDataSetPtr &m_data;
    bool m_filtered = false;
    bool m_behind = false;
};
