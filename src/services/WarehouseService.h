#pragma once

#include "ChangeHistory.h"
#include "ServiceResult.h"
#include "WarehouseChecks.h"
#include "WarehouseLocks.h"
#include "WarehouseRecord.h"

#include <QString>
#include <optional>

class LockVouchDLL;
namespace dbkit {
class DbLogin;
}

namespace services {

struct ColumnChanges;

// A warehouse opened for editing: its record lock taken and its row read.
struct OpenedWarehouse {
    enum class Outcome {
        Opened,
        Locked,  // another operator holds its record lock
        Gone,    // no longer stored (deleted or renamed by another operator)
    };
    Outcome outcome = Outcome::Opened;
    WarehouseRecord record;  // the row as stored, when opened
};

// What the card asks to store: a new warehouse, or the changes to one that
// was opened (the record as read, `original`, names the row by its key and
// tells which columns the user changed; only those are written).
struct WarehouseSave {
    bool adding = true;
    WarehouseRecord original;
    WarehouseRecord edited;
    // Inventory is accounted by department: after the save every warehouse
    // of the department takes the saved valuation style.
    bool byDepartment = false;
};

// How a save ended. A refused save changed nothing; `vanished` says the
// warehouse being edited is no longer stored (an edit of a warehouse another
// operator changed since it was read is refused without it); `storedInUse`
// that a warehouse other tables use was stored keeping its code and
// valuation style, and `styleKept` that the user had changed that style;
// `unchanged` that the edit changed nothing, so nothing was written.
struct SavedWarehouse {
    ServiceResult result;
    bool vanished = false;
    bool storedInUse = false;
    bool styleKept = false;
    bool unchanged = false;
    WarehouseRecord stored;  // the row as now stored, when done
};

// The warehouses of the account: keyed reads and writes by warehouse code.
// The record locks that keep two operators off one warehouse and the rules
// that need the database are parts of their own, reached through locks()
// and checks(). Nothing here shows a window; every refusal comes back with
// the text the window shows.
class WarehouseService {
public:
    // `locks` is the lock object of the list that takes the locks (it
    // remembers releases that failed); `computer` names this computer to it.
    WarehouseService(dbkit::DbLogin &login, LockVouchDLL &locks, const QString &computer);

    WarehouseLocks &locks() { return m_locks; }
    WarehouseChecks &checks() { return m_checks; }

    // The stored warehouse of `code` with its department's name; nullopt
    // when there is none.
    std::optional<WarehouseRecord> read(const QString &code);

    // Locks the warehouse and reads it. Without `takeLock` (a read-only
    // list) it is only read. The lock of an opened warehouse stays until
    // locks().unlock(); that of one no longer stored is released at once.
    OpenedWarehouse openForEdit(const QString &code, bool takeLock = true);

    // Stores a new or changed warehouse in one transaction, applying the
    // in-use rule and, by department, the department's style; each warehouse
    // it adds or changes gets its history row in that transaction. Database
    // refusals come back by error number, never raised.
    SavedWarehouse save(const WarehouseSave &request);

    // Deletes the warehouse of `code`: takes its lock, reads it again by key
    // and deletes it by key with its history row; the lock is released on
    // every path. A warehouse
    // gone meanwhile is refused, never reported as deleted. A lock another
    // operator holds is refused as Locked.
    ServiceResult remove(const QString &code);

private:
    SavedWarehouse insert(const WarehouseSave &request);
    SavedWarehouse update(const WarehouseSave &request);
    SavedWarehouse notWritten(const QString &code);
    SavedWarehouse storeInUse(const WarehouseSave &request, const WarehouseRecord &stored,
                              const RowImage &before);
    int writeChanges(const WarehouseRecord &original, const ColumnChanges &changes);
    void serialiseDepartment(const QString &depCode);
    void spreadStyle(const WarehouseRecord &saved);

    dbkit::DbLogin &m_login;
    WarehouseLocks m_locks;
    WarehouseChecks m_checks;
    ChangeHistory m_history;
};

} // namespace services
