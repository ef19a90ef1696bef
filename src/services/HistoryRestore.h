#pragma once

#include "HistoryReader.h"
#include "RightsService.h"
#include "ServiceResult.h"
#include "WarehouseLockObject.h"
#include "WarehouseService.h"

namespace dbkit {
class DbLogin;
}

namespace services {

// What a history row offers to put back.
enum class RestoreKind {
    None,
    Deleted,        // a deleted warehouse or right, stored again as it was
    EarlierValues,  // the values a changed warehouse had before the change
};

// Puts back what a history row shows, through the warehouse and rights
// services and their rules, so each restore is an ordinary add or save with
// a history row of its own. Nothing here shows a window: every answer is a
// result with the text to show.
class HistoryRestore {
public:
    explicit HistoryRestore(dbkit::DbLogin &login);
    // Tries once more the lock releases the database refused.
    ~HistoryRestore();
    HistoryRestore(const HistoryRestore &) = delete;
    HistoryRestore &operator=(const HistoryRestore &) = delete;

    static RestoreKind kindOf(const HistoryEntry &entry);

    // A deleted warehouse is added again (refused when its code is taken
    // again meanwhile or its department is gone); a deleted right is stored
    // again (refused when it would repeat or cross another right); a changed
    // warehouse gets its earlier values back under its record lock, only
    // while it still holds what the change stored. A result that is done may
    // carry a text to show all the same (a warehouse in use kept its style).
    ServiceResult restore(const HistoryEntry &entry);

private:
    // A lock release the database refused (busy, say) is tried again before
    // the next restore and when the restore goes, so no warehouse stays
    // locked against other operators.
    void retryLockReleases();
    ServiceResult addWarehouse(const QJsonObject &before);
    ServiceResult addRight(const QJsonObject &before);
    ServiceResult putBackEarlierValues(const QJsonObject &before, const QJsonObject &after);
    // Ready to save: the department resolved as the card resolves it, and
    // by department the style its warehouses share.
    WarehouseSave ruledSave(WarehouseSave request);

    dbkit::DbLogin &m_login;
    WarehouseLockObject m_lockObject;
    WarehouseService m_warehouses;
    RightsService m_rights;
};

} // namespace services
