#pragma once

#include "suite/dbkit/DbLogin.h"

#include <QString>

namespace bench {

// Rows 1..count of a recursive series, as every engine runs it.
inline QString series(int count, const QString &insert, const QString &select)
{
    return QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                          "WHERE i < %1) ")
               .arg(count)
           + insert + QLatin1Char(' ') + select + QStringLiteral(" FROM n");
}

// Fills an empty account with 2,000 operators, 10,000 warehouses, 2,000
// inventory classes, 100,000 items and 200,000 rights. Operator U100001 holds
// 100 whole-warehouse rights; warehouse W100001 is held by 20 operators; the
// other 199,880 rights are item rights spread over the other operators and
// warehouses.
inline void generateRightsAccount(dbkit::DbLogin &login)
{
    login.Execute(series(2000,
                         "INSERT INTO lxsystem..qd_user (cuser_id, cuser_name, iAdmin, nState)",
                         "SELECT 'U' || (100000 + i), '操作员' || i, 0, 0"));
    login.Execute(series(10000, "INSERT INTO Warehouse (cWhCode, cWhName)",
                         "SELECT 'W' || (100000 + i), '仓库' || i"));
    login.Execute(series(2000, "INSERT INTO InventoryClass (cInvCCode, cInvCName)",
                         "SELECT 'C' || (10000 + i), '分类' || i"));
    login.Execute(series(
        100000, "INSERT INTO Inventory (cInvCode, cInvName, cInvStd, cInvCCode, bService)",
        "SELECT 'I' || (1000000 + i), '存货' || i, '规格' || (i % 97), 'C' || (10001 + i % 2000), "
        "CASE WHEN i % 50 = 0 THEN 1 ELSE 0 END"));
    const QString rights =
        QStringLiteral("INSERT INTO WarehAuth (Id, cuser_id, cWhCode, bDispMoney, cInvCode)");
    login.Execute(series(199880, rights,
                         "SELECT 'U' || (100002 + i % 1999), '操作员' || (2 + i % 1999), "
                         "'W' || (100002 + i % 9999), i % 2, 'I' || (1000001 + i % 100000)"));
    login.Execute(series(100, rights,
                         "SELECT 'U100001', '操作员1', 'W' || (100001 + i), 1, NULL"));
    login.Execute(series(20, rights,
                         "SELECT 'U' || (100001 + i), '操作员' || (1 + i), 'W100001', 0, NULL"));
    login.Execute("ANALYZE");
}

} // namespace bench
