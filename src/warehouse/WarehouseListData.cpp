#include "WarehouseListData.h"

#include "WarehouseListCursor.h"
#include "WarehouseListGrid.h"
#include "suite/controls/SuperGrid.h"

#include <utility>

WarehouseListData::WarehouseListData(std::shared_ptr<dbkit::DbDataSet> &data) : m_data(data) {}

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
    const long long count = services::warehouse_list::requery(*m_data);
    m_behind = false;
    // An emptied table empties the grid too: rows of warehouses that are
    // gone must not stay on screen as if they could still be used.
    showAll(grid, true);
    return count > 0;
}

bool WarehouseListData::position(SuperGrid &grid, services::warehouse_list::Move move)
{
    if (!m_data)
        return false;
    m_behind = false;
    return listcursor::position(*m_data, grid, move);
}

dbkit::DbDataSet *WarehouseListData::current()
{
    // Warehouses stored or deleted since the data set was read are found as
    // they are now.
    if (m_data && std::exchange(m_behind, false))
        services::warehouse_list::requery(*m_data);
    return m_data.get();
}

void WarehouseListData::rowsChanged(bool changed)
{
    m_behind = m_behind || changed;
}
