// The list's add and edit commands, which open the card, and its read-only
// guard.
#include "WarehouseList.h"

#include "WarehouseMessages.h"
#include "suite/controls/SuperGrid.h"

void frmWHBrowse::FAdd()
{
    if (refuseWhenReadOnly())
        return;
    m_cards.attach(*m_grid, dbs, isReadOnly(), PCName);
    m_cards.add();
    m_data.rowsChanged(m_cards.takeRowsChanged());
}

void frmWHBrowse::FEdit()
{
    const QString code = m_grid->TextMatrix(m_grid->Row(), 0);
    // A read-only list takes no lock for the card, so closing it has none to
    // release (a release is a write, refused on a standby server).
    recLock = isReadOnly() ? QString() : code;
    m_cards.attach(*m_grid, dbs, isReadOnly(), PCName);
    m_cards.edit(code);
    m_data.rowsChanged(m_cards.takeRowsChanged());
}

bool frmWHBrowse::refuseWhenReadOnly()
{
    return whmessages::refuseWhenReadOnly(this, isReadOnly());
}

services::WarehouseService &frmWHBrowse::warehouses()
{
    return m_locks.service(dbs, PCName);
}
