#pragma once

#include "services/Account.h"

#include <QString>

namespace dbkit {
class DbLogin;
}
namespace services {
class WarehouseService;
struct WarehouseRecord;
}

// What the warehouse card needs from the window that opens it, handed to the
// card when it is shown. The warehouse list implements it; the card sees the
// list through nothing else.
class WarehouseCardHost {
public:
    // The login the card reads its choices through (departments, options).
    virtual dbkit::DbLogin &login() = 0;
    // The account the card follows the changes of other seats on.
    virtual const services::Account &account() const = 0;
    // True when the list was opened read-only: the card's save is refused.
    virtual bool isReadOnly() const = 0;
    // The service that stores warehouses and takes the list's record locks.
    virtual services::WarehouseService &warehouses() = 0;
    // Shows a stored warehouse: a new one in a row added at the end and made
    // current, a changed one in the current row.
    virtual void showSavedWarehouse(const services::WarehouseRecord &stored, bool added) = 0;
    // Every row of the department (by its name) shows the valuation style.
    virtual void showDepartmentStyle(const QString &depName, const QString &style) = 0;
    // The warehouse being edited is no longer stored: its row goes.
    virtual void dropEditedRow() = 0;
    // Releases the lock the list took on the warehouse being edited.
    virtual void releaseEditLock() = 0;

protected:
    ~WarehouseCardHost() = default;
};
