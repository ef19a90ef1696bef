#pragma once

#include "ChangeHistory.h"
#include "RightRecord.h"
#include "ServiceResult.h"

#include <QString>
#include <optional>
#include <vector>

namespace dbkit {
class DbLogin;
}

namespace services {

// Reads and writes the rights of table WarehAuth by Auto_id, and holds their
// rules. Every write checks the whole right against the rights stored for
// the same operator and warehouse inside its own transaction, serialised per
// operator and warehouse, so two administrators cannot both store rights
// that cross. Each write stores its history row in its own transaction.
// Nothing here shows a window: each call answers with a result.
class RightsService {
public:
    explicit RightsService(dbkit::DbLogin &login) : m_login(login), m_history(login) {}

    // The texts of a right gone from the table (deleted by another
    // administrator) when it is saved and when it is deleted.
    static QString goneOnSaveMessage();
    static QString goneOnDeleteMessage();
    // The texts of a right another administrator changed since it was read,
    // when it is saved and when it is deleted.
    static QString changedOnSaveMessage();
    static QString changedOnDeleteMessage();

    // Checks the right against the stored ones (its own record left out)
    // without writing: unknown item, duplicate, overlap.
    ServiceResult validate(const RightRecord &right);
    // Stores a new right; on success right.autoId holds its Auto_id.
    ServiceResult insert(RightRecord &right);
    // Rewrites the right stored under right.autoId as long as it still holds
    // what `asRead` says was read (the grid's columns: both sides, show
    // money, class and item). Refused as DeletedMeanwhile when it is no
    // longer there, and as ChangedMeanwhile when another administrator
    // changed it meanwhile; nothing is overwritten then.
    ServiceResult update(const RightRecord &right, const RightRecord &asRead);
    // Deletes the right; refused as DeletedMeanwhile when it was already
    // gone (nothing is lost then). Given the right as read, it deletes it
    // only unchanged and is refused as ChangedMeanwhile when another
    // administrator changed it meanwhile.
    ServiceResult remove(long long autoId,
                         const std::optional<RightRecord> &asRead = std::nullopt);

    std::optional<RightRecord> find(long long autoId);
    // In the order they were stored.
    std::vector<RightRecord> rightsOfOperator(const QString &operatorCode);
    std::vector<RightRecord> rightsOfWarehouse(const QString &warehouseCode);

private:
    // Keeps other writers of this operator and warehouse waiting until the
    // current transaction ends. SQLite needs nothing: the write made before
    // the check holds the database's write lock.
    void serialise(const RightRecord &right);
    ServiceResult checkStored(const RightRecord &right);
    // Runs a write and its check in one transaction; commits only when both
    // pass. A database refusal becomes a refused result.
    template <typename Write>
    ServiceResult writeChecked(const RightRecord &right, Write write);
    // The rights a condition picks, its "?" bound to `values` in order.
    std::vector<RightRecord> readRights(const QString &where, const QVariantList &values);

    dbkit::DbLogin &m_login;
    ChangeHistory m_history;
};

} // namespace services
