#pragma once

#include "suite/dbkit/DbLogin.h"
#include "testdata/GenerateWarehouses.h"

namespace bench {

// Leaves `count` generated warehouses as the account's only ones.
inline void replaceWarehouses(dbkit::DbLogin &login, int count)
{
    login.Execute("DELETE FROM StockMove");
    login.Execute("DELETE FROM Position");
    login.Execute("DELETE FROM WarehAuth");
    login.Execute("DELETE FROM Warehouse");
    GenerateWarehouses(login, count);
}

}  // namespace bench
