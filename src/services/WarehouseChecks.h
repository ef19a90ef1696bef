#pragma once

#include "ServiceResult.h"
#include "WarehouseRecord.h"

#include <QString>

namespace dbkit {
class DbLogin;
}

namespace services {

// The valuation style a department's warehouses must share: that of its
// first warehouse by code, and how many warehouses other than the one being
// saved carry the department. An empty style sets no rule.
struct DepartmentStyle {
    QString style;
    int others = 0;
};

// The account's options a warehouse save follows.
struct AccountOptions {
    // An industrial account (the default) offers the planned-price style, a
    // trading account the sales-price style.
    bool industrial = true;
    // Inventory is accounted by department: a department's warehouses share
    // one valuation style.
    bool byDepartment = false;
};

// The rules of a warehouse that need the account's database: its options,
// the quota its engine keeps, whether other tables use a warehouse, its
// storage positions and a department's valuation style. The card and the
// list ask these before they write; nothing here writes.
class WarehouseChecks {
public:
    explicit WarehouseChecks(dbkit::DbLogin &login);

    // A fund quota typed on the card, checked for this engine's column
    // (SQLite keeps a double, which would store another number than a long
    // one typed).
    ServiceResult checkQuota(const QString &quota);

    // The account's options from AccInformation.
    AccountOptions accountOptions();

    // True when other tables refer to the warehouse: a trial delete, always
    // rolled back, that the database refuses for related records. Any other
    // failure says nothing about use and is raised as dbkit::DbError.
    bool inUse(const QString &code);

    // Number of storage positions of a warehouse.
    long long positionCount(const QString &code);
    // Clearing the position management of the stored warehouse `stored`:
    // refused as HasPositions while it has storage positions. Database
    // failures are raised as dbkit::DbError.
    ServiceResult checkPositionsOff(const WarehouseRecord &stored);

    // The style rule of a department for a save of warehouse `ownCode` ("" for
    // a new warehouse).
    DepartmentStyle departmentStyle(const QString &depCode, const QString &ownCode);

private:
    dbkit::DbLogin &m_login;
};

} // namespace services
