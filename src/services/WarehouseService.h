#pragma once

#include "ChangeHistory.h"
#include "ServiceResult.h"
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

// The valuation style a department's warehouses must share: that of its
// first warehouse by code, and how many warehouses other than the one being
// saved carry the department. An empty style sets no rule.
struct DepartmentStyle {
    QString style;
    int others = 0;
};

// Who holds the record lock of a warehouse, so a refused operator knows
// whom to ask.
struct LockHolder {
    QString operatorName;
    QString computer;
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

// The warehouses of the account: keyed reads and writes by warehouse code,
// the record locks that keep two operators off one warehouse, and the rules
// that need the database. Nothing here shows a window; every refusal comes
// back with the text the window shows.
class WarehouseService {
public:
    // `locks` is the lock object of the list that takes the locks (it
    // remembers releases that failed); `computer` names this computer to it.
    WarehouseService(dbkit::DbLogin &login, LockVouchDLL &locks, const QString &computer);

    // The stored warehouse of `code` with its department's name; nullopt
    // when there is none.
    std::optional<WarehouseRecord> read(const QString &code);

    // Takes the record lock of `code` (false: another operator holds it) and
    // releases it. A failed release is remembered by the lock object.
    bool lock(const QString &code);
    void unlock(const QString &code);
    // Tries the releases that failed before; true when none is left.
    bool retryReleases();
    bool hasPendingReleases() const;
    // The holder of the lock of `code`; nullopt when nobody holds it.
    // Database failures are raised as dbkit::DbError.
    std::optional<LockHolder> lockHolder(const QString &code);

    // Locks the warehouse and reads it. Without `takeLock` (a read-only
    // list) it is only read. The lock of an opened warehouse stays until
    // unlock(); that of one no longer stored is released at once.
    OpenedWarehouse openForEdit(const QString &code, bool takeLock = true);

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
    LockVouchDLL &m_locks;
    QString m_computer;
    ChangeHistory m_history;
};

} // namespace services
