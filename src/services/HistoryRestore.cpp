#include "HistoryRestore.h"

#include "DepartmentLookup.h"
#include "RowImageRecords.h"
#include "WarehouseRules.h"
#include "data/UserErrors.h"
#include "suite/dbkit/DbError.h"
#include "suite/dbkit/DbLogin.h"

namespace services {

namespace rules = warehouse_rules;

namespace {

// The warehouse changed again after the change whose earlier values were asked for.
QString changedSinceText()
{
    return QStringLiteral("该仓库档案在这次修改之后又被修改过，不能恢复此前的值！");
}

// A save's answer in the words of a restore.
ServiceResult answerOf(const SavedWarehouse &saved)
{
    switch (saved.result.refusal) {
    case Refusal::ChangedMeanwhile:
        return ServiceResult::refused(Refusal::ChangedMeanwhile, changedSinceText());
    case Refusal::LockLost: return ServiceResult::refused(Refusal::LockLost, rules::lockedText());
    default: break;
    }
    if (saved.result.done() && saved.styleKept)
        return {Refusal::None, rules::storedInUseText(), QString()};
    return saved.result;
}

} // namespace

HistoryRestore::HistoryRestore(dbkit::DbLogin &login)
    : m_login(login), m_warehouses(login, m_lockObject.get(), login.computerName()),
      m_rights(login)
{
}

HistoryRestore::~HistoryRestore()
{
    retryLockReleases();
}

void HistoryRestore::retryLockReleases()
{
    if (m_warehouses.locks().hasPendingReleases())
        m_warehouses.locks().retryReleases();
}

RestoreKind HistoryRestore::kindOf(const HistoryEntry &entry)
{
    const bool warehouse = entry.table == warehouseHistory().name;
    const bool right = entry.table == rightHistory().name;
    if (entry.action == QLatin1String("delete") && entry.before && (warehouse || right))
        return RestoreKind::Deleted;
    if (entry.action == QLatin1String("change") && entry.before && entry.after && warehouse)
        return RestoreKind::EarlierValues;
    return RestoreKind::None;
}

ServiceResult HistoryRestore::restore(const HistoryEntry &entry)
{
    retryLockReleases();
    try {
        switch (kindOf(entry)) {
        case RestoreKind::Deleted:
            return entry.table == rightHistory().name ? addRight(*entry.before)
                                                      : addWarehouse(*entry.before);
        case RestoreKind::EarlierValues: return putBackEarlierValues(*entry.before, *entry.after);
        case RestoreKind::None: break;
        }
        return ServiceResult::refused(Refusal::InvalidValue,
                                      QStringLiteral("该修改记录没有可以恢复的内容！"));
    } catch (const dbkit::DbError &error) {
        return ServiceResult::refused(
            refusalOfError(error.number()),
            depotbase::UserErrorText(QStringLiteral("未能恢复，请稍后重试。"), error));
    }
}

ServiceResult HistoryRestore::addWarehouse(const QJsonObject &before)
{
    WarehouseSave request;
    request.adding = true;
    request.edited = warehouseWithImage({}, before);
    return answerOf(m_warehouses.save(ruledSave(request)));
}

ServiceResult HistoryRestore::addRight(const QJsonObject &before)
{
    // Stored as a new right: it gets an Auto_id of its own.
    RightRecord right = rightWithImage({}, before);
    return m_rights.insert(right);
}

// As a card edit does: the record lock first, released on every path, then
// the stored row compared with what the change left, then the save, whose
// own condition refuses a row another writer changes meanwhile.
ServiceResult HistoryRestore::putBackEarlierValues(const QJsonObject &before,
                                                   const QJsonObject &after)
{
    const QString code = warehouseWithImage({}, after).code;
    const OpenedWarehouse opened = m_warehouses.openForEdit(code);
    if (opened.outcome == OpenedWarehouse::Outcome::Locked)
        return ServiceResult::refused(Refusal::Locked, rules::lockedText());
    if (opened.outcome == OpenedWarehouse::Outcome::Gone)
        return ServiceResult::refused(Refusal::DeletedMeanwhile, rules::deletedBeforeEditText());
    const CommandLock release(m_warehouses.locks(), code);
    if (!warehouseMatchesImage(opened.record, after))
        return ServiceResult::refused(Refusal::ChangedMeanwhile, changedSinceText());
    WarehouseSave request;
    request.adding = false;
    request.original = opened.record;
    request.edited = warehouseWithImage(opened.record, before);
    return answerOf(m_warehouses.save(ruledSave(request)));
}

WarehouseSave HistoryRestore::ruledSave(WarehouseSave request)
{
    WarehouseRecord &edited = request.edited;
    // The code stands where the card's box holds the department's name, so a
    // code that names no leaf department now is refused as the card refuses it.
    if (!edited.depCode.isEmpty()) {
        const std::optional<Department> found = DepartmentLookup(m_login).find(edited.depCode);
        const bool stillThere = found && found->code == edited.depCode;
        edited.depName = stillThere ? found->name : edited.depCode;
        if (!stillThere)
            edited.depCode.clear();
    }
    WarehouseChecks &checks = m_warehouses.checks();
    request.byDepartment = checks.accountOptions().byDepartment;
    // By department every warehouse of the department keeps its style: the
    // restored one takes it rather than setting the others to its own.
    if (request.byDepartment && !edited.depCode.isEmpty()) {
        const QString own = request.adding ? QString() : request.original.code;
        const DepartmentStyle rule = checks.departmentStyle(edited.depCode, own);
        if (!rule.style.isEmpty())
            edited.valueStyle = rule.style;
    }
    return request;
}

} // namespace services
