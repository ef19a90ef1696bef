// Deleting warehouses from the list and the in-use test, through the
// warehouse service: it takes the record locks, reads and deletes by key.
//
// A lock taken by a command is released when the command ends, on every path
// (a refused confirmation, a warehouse deleted meanwhile, a database error),
// so no warehouse stays locked for other operators.
#include "WarehouseList.h"

#include "WarehouseListDeletion.h"
#include "services/WarehouseService.h"

bool frmWHBrowse::FDelete()
{
    return refuseWhenReadOnly() ? false : runDeletion([](WarehouseListDeletion &deletion) {
        return deletion.deleteCurrent();
    });
}

bool frmWHBrowse::FDelete1(long &firstRow, long &lastRow)
{
    return refuseWhenReadOnly() ? false : runDeletion([&](WarehouseListDeletion &deletion) {
        return deletion.deleteRows(firstRow, lastRow);
    });
}

bool frmWHBrowse::runDeletion(const std::function<bool(WarehouseListDeletion &)> &command)
{
    WarehouseListDeletion deletion(this, warehouses(), *m_grid, m_locks);
    const bool result = command(deletion);
    if (!deletion.lastCode().isEmpty())
        recLock = deletion.lastCode();
    m_data.rowsChanged(deletion.removedRows());
    return result;
}

// In use when the database refuses to delete the warehouse for its related
// records; any other failure (a busy database, a lost connection) says
// nothing about use and is raised.
bool frmWHBrowse::onUsed(const QString &code)
{
    return warehouses().checks().inUse(code);
}
