// The list's add command, its read-only guard, and the list as the card's
// host: the warehouse service it lends and the stored warehouses it shows.
#include "frmWHBrowse.h"

#include "WarehouseListGrid.h"
#include "frmWHCard.h"

void frmWHBrowse::FAdd()
{
    if (refuseWhenReadOnly())
        return;
    frmWHCard &card = m_card.get(this);
    card.mRecwarehouse = {};
    card.mblnAddMark = true;
    card.ShowCard(*this);
}

bool frmWHBrowse::refuseWhenReadOnly()
{
    return frmWHCard::refuseWhenReadOnly(this, isReadOnly());
}

services::WarehouseService &frmWHBrowse::warehouses()
{
    return m_locks.service(*dbs, PCName);
}

void frmWHBrowse::showSavedWarehouse(const services::WarehouseRecord &stored, bool added)
{
    m_dataSetBehind = true;
    listgrid::showWarehouse(*m_grid, stored, added);
}

void frmWHBrowse::showDepartmentStyle(const QString &depName, const QString &style)
{
    listgrid::showDepartmentStyle(*m_grid, depName, style);
}

void frmWHBrowse::dropEditedRow()
{
    m_dataSetBehind = true;
    listgrid::removeCurrentRow(*m_grid);
}
