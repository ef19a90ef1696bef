#include "WarehouseListData.h"

#include "WarehouseListCursor.h"
#include "WarehouseListGrid.h"
#include "suite/controls/SuperGrid.h"

#include <utility>

WarehouseListData::WarehouseListData(dbkit::DbDataSetPtr &data) : m_data(data) {}

void WarehouseListData::showAll(SuperGrid &grid, bool sorted)
{
    m_filtered = false;
    grid.setRows(1);
    grid.setRedraw(false);
    if (m_data)
        listgrid::fill(grid, *m_data);
    if (sorted)
        grid.setSort(1);
    grid.setRedraw(true);
}

bool WarehouseListData::refresh(SuperGrid &grid)
{
    if (!m_data)
        return false;
    m_data->Requery(-1);
    m_behind = false;
    // An emptied table empties the grid too: rows of warehouses that are
    // gone must not stay on screen as if they could still be used.
    showAll(grid, true);
    return m_data->RecordCount() > 0;
}

bool WarehouseListData::position(SuperGrid &grid, int moveKind)
{
    if (!m_data)
        return false;
    m_behind = false;
    return listcursor::position(*m_data, grid, moveKind);
}

dbkit::DbDataSet *WarehouseListData::current()
{
    // Warehouses stored or deleted since the data set was read are found as
    // they are now.
    if (m_data && std::exchange(m_behind, false))
        m_data->Requery(-1);
    return m_data.get();
}

void WarehouseListData::rowsChanged(bool changed)
{
    m_behind = m_behind || changed;
}
