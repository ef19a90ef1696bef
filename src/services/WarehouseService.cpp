#include "WarehouseService.h"

#include "WarehouseRules.h"
#include "data/DataHelpers.h"
#include "suite/dbkit/DbError.h"
#include "suite/dbkit/DbLogin.h"
#include "suite/dbkit/SqlForms.h"
#include "suite/dbkit/StatementWatchdog.h"

#include <QStringList>
#include <QVariantList>
#include <utility>
#include <vector>

using depotbase::EmptyToNull;
using depotbase::NullToEmpty;

namespace services {

namespace rules = warehouse_rules;

// The columns an edit writes: "column=?" terms and their values, in the
// card's order.
struct ColumnChanges {
    QStringList terms;
    QVariantList values;
};

namespace {

// The warehouse of one code (bound) with its department's name.
QString keyedReadStatement()
{
    return QStringLiteral("SELECT Department.cDepName, Warehouse.* FROM Warehouse ")
           + QStringLiteral("LEFT JOIN Department ON Department.cDepCode = Warehouse.cDepCode ")
           + QStringLiteral("WHERE Warehouse.cWhCode=?");
}

WarehouseRecord recordOf(const dbkit::DbDataSet &row)
{
    auto text = [&row](const char *field) { return NullToEmpty(row.Fields(QLatin1String(field))); };
    WarehouseRecord r;
    r.code = text("cWhCode");
    r.name = text("cWhName");
    r.depCode = text("cDepCode");
    r.depName = text("cDepName");
    r.address = text("cWhAddress");
    r.phone = text("cWhPhone");
    r.person = text("cWhPerson");
    r.valueStyle = text("cWhValueStyle");
    r.positions = row.Fields(QStringLiteral("bWhPos")).toInt() != 0;
    r.fundQuota = text("iWhFundQuota");
    r.memo = text("cWhMemo");
    return r;
}

// The quota as it is written: typed text, so the engine converts it without
// a detour through binary floating point; 0 for an empty box.
QVariant quotaValue(const QString &quota)
{
    return quota.isEmpty() ? QVariant(0) : QVariant(quota);
}

// What a save hands back to show: the record as stored, 0 for an empty quota.
SavedWarehouse storedAs(const WarehouseRecord &record)
{
    SavedWarehouse saved;
    saved.stored = record;
    if (saved.stored.fundQuota.isEmpty())
        saved.stored.fundQuota = QStringLiteral("0");
    return saved;
}

// The warehouse being edited is no longer stored.
SavedWarehouse vanishedMeanwhile()
{
    SavedWarehouse saved;
    saved.vanished = true;
    saved.result = ServiceResult::refused(Refusal::DeletedMeanwhile, rules::aboutCode(107),
                                          QStringLiteral("cWhCode"));
    return saved;
}

// The warehouse being edited was changed by another operator since it was
// read: saving over it would lose that change.
SavedWarehouse changedMeanwhile()
{
    SavedWarehouse saved;
    saved.result =
        ServiceResult::refused(Refusal::ChangedMeanwhile, rules::changedMeanwhileText());
    return saved;
}

// The columns an edit changes. A column the user left as read is not among
// them, so it keeps exactly what is stored; the code and the valuation style
// only take part when `withCodeAndStyle`.
ColumnChanges changesOf(const WarehouseRecord &original, const WarehouseRecord &edited,
                        bool withCodeAndStyle)
{
    ColumnChanges changes;
    auto set = [&](const char *column, const QVariant &value) {
        changes.terms << QLatin1String(column) + QStringLiteral("=?");
        changes.values << value;
    };
    auto text = [&](const char *column, const QString &was, const QString &now) {
        if (was != now)
            set(column, EmptyToNull(now));
    };
    if (withCodeAndStyle)
        text("cWhCode", original.code, edited.code);
    text("cWhName", original.name, edited.name);
    text("cDepCode", original.depCode, edited.depCode);
    text("cWhAddress", original.address, edited.address);
    text("cWhPhone", original.phone, edited.phone);
    text("cWhPerson", original.person, edited.person);
    if (!rules::sameQuota(original.fundQuota, edited.fundQuota))
        set("iWhFundQuota", quotaValue(edited.fundQuota));
    text("cWhMemo", original.memo, edited.memo);
    if (withCodeAndStyle)
        text("cWhValueStyle", original.valueStyle, edited.valueStyle);
    if (original.positions != edited.positions)
        set("bWhPos", edited.positions ? 1 : 0);
    return changes;
}

// The WHERE clause that names the row exactly as it was read: its key and
// every stored column with the value read, so a row another operator changed
// since then matches nothing. A text read as empty was Null or ''. The quota
// takes part only where the engine hands back and compares it exactly.
QString asReadCondition(const WarehouseRecord &read, bool withQuota, QVariantList &values)
{
    QStringList terms{QStringLiteral("cWhCode=?")};
    values << read.code;
    auto text = [&](const char *column, const QString &value) {
        const QString name = QLatin1String(column);
        if (value.isEmpty()) {
            terms << QStringLiteral("(%1 IS NULL OR %1 = '')").arg(name);
            return;
        }
        terms << name + QStringLiteral("=?");
        values << value;
    };
    text("cWhName", read.name);
    text("cDepCode", read.depCode);
    text("cWhAddress", read.address);
    text("cWhPhone", read.phone);
    text("cWhPerson", read.person);
    text("cWhValueStyle", read.valueStyle);
    text("cWhMemo", read.memo);
    terms << (read.positions ? QStringLiteral("bWhPos<>0")
                             : QStringLiteral("(bWhPos IS NULL OR bWhPos=0)"));
    if (withQuota) {
        if (read.fundQuota.isEmpty()) {
            terms << QStringLiteral("iWhFundQuota IS NULL");
        } else {
            terms << QStringLiteral("iWhFundQuota=?");
            values << read.fundQuota;
        }
    }
    return terms.join(QStringLiteral(" AND "));
}

} // namespace

WarehouseService::WarehouseService(dbkit::DbLogin &login, LockVouchDLL &locks,
                                   const QString &computer)
    : m_login(login), m_locks(login, locks, computer), m_checks(login), m_history(login)
{
}

std::optional<WarehouseRecord> WarehouseService::read(const QString &code)
{
    dbkit::DbDataSetPtr row =
        m_login.OpenDataSet(keyedReadStatement(), {code}, dbkit::OpenMode::ReadOnly);
    if (row->Eof())
        return std::nullopt;
    return recordOf(*row);
}

OpenedWarehouse WarehouseService::openForEdit(const QString &code, bool takeLock)
{
    OpenedWarehouse opened;
    if (takeLock && !m_locks.lock(code)) {
        opened.outcome = OpenedWarehouse::Outcome::Locked;
        return opened;
    }
    std::optional<WarehouseRecord> stored;
    try {
        stored = read(code);
    } catch (...) {
        if (takeLock)
            m_locks.unlock(code);
        throw;
    }
    if (!stored) {
        // Nothing to edit: the lock goes with the command.
        if (takeLock)
            m_locks.unlock(code);
        opened.outcome = OpenedWarehouse::Outcome::Gone;
        return opened;
    }
    opened.record = *stored;
    return opened;
}

SavedWarehouse WarehouseService::save(const WarehouseSave &request)
{
    ServiceResult checked = rules::checkRequired(request.edited);
    if (checked.done())
        checked = rules::checkDepartment(request.edited, request.byDepartment);
    if (!checked.done()) {
        SavedWarehouse refused;
        refused.result = checked;
        return refused;
    }
    try {
        // The save as a whole keeps the statement time limit: a server that
        // stops answering halfway is given up on within it.
        const dbkit::StatementWatch deadline(m_login);
        m_history.ensureTable();
        dbkit::TransactionGuard transaction(m_login);
        if (request.byDepartment)
            serialiseDepartment(request.edited.depCode);
        SavedWarehouse saved = request.adding ? insert(request) : update(request);
        if (!saved.result.done())
            return saved;
        if (request.byDepartment && !saved.storedInUse && !saved.unchanged)
            spreadStyle(saved.stored);
        transaction.commit();
        return saved;
    } catch (const dbkit::DbError &error) {
        SavedWarehouse refused;
        refused.result =
            ServiceResult::refused(refusalOfError(error.number()),
                                   rules::saveErrorText(error.number(), error.description()));
        return refused;
    }
}

SavedWarehouse WarehouseService::insert(const WarehouseSave &request)
{
    const WarehouseRecord &r = request.edited;
    m_login.executeBound(
        QStringLiteral("INSERT INTO Warehouse (cWhCode, cWhName, cDepCode, cWhAddress, "
                       "cWhPhone, cWhPerson, iWhFundQuota, cWhMemo, cWhValueStyle, bWhPos) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        {EmptyToNull(r.code), EmptyToNull(r.name), EmptyToNull(r.depCode),
         EmptyToNull(r.address), EmptyToNull(r.phone), EmptyToNull(r.person),
         quotaValue(r.fundQuota), EmptyToNull(r.memo), EmptyToNull(r.valueStyle),
         r.positions ? 1 : 0});
    m_history.recordAfter(warehouseHistory(), std::nullopt, r.code);
    return storedAs(r);
}

SavedWarehouse WarehouseService::update(const WarehouseSave &request)
{
    // The card's lock may have been taken over while this operator's
    // connection was lost: then another operator may be editing it too.
    if (!m_locks.holds(request.original.code)) {
        SavedWarehouse refused;
        refused.result = ServiceResult::refused(Refusal::LockLost, rules::lockTakenText());
        return refused;
    }
    // The row as the change finds it, kept in its history (and held
    // against other writers until the save ends).
    const RowImage before = m_history.image(warehouseHistory(), request.original.code);
    const std::optional<WarehouseRecord> stored = read(request.original.code);
    if (!stored || !before)
        return vanishedMeanwhile();
    const ColumnChanges changes = changesOf(request.original, request.edited, true);
    // A save that changes nothing writes nothing, and leaves no history.
    if (changes.terms.isEmpty()) {
        SavedWarehouse saved = storedAs(*stored);
        saved.unchanged = true;
        return saved;
    }
    // The in-use test raises what is not a refusal by related records (a
    // lock, a lost connection): it is told as what it is.
    if (m_checks.inUse(stored->code))
        return storeInUse(request, *stored, before);
    int written = 0;
    // Only a changed code can meet related records: the warehouse refers to
    // no other table. A kept code is written without a savepoint to return to.
    if (request.edited.code == request.original.code) {
        written = writeChanges(request.original, changes);
    } else {
        try {
            dbkit::TransactionGuard attempt(m_login);
            written = writeChanges(request.original, changes);
            attempt.commit();
        } catch (const dbkit::DbError &error) {
            // Related records refuse a change of the code: the warehouse is in use.
            if (!rules::isRelatedRecords(error.number()))
                throw;
            return storeInUse(request, *stored, before);
        }
    }
    if (written == 0)
        return notWritten(request.original.code);
    m_history.recordAfter(warehouseHistory(), before, request.edited.code);
    return storedAs(request.edited);
}

// An edit that wrote no row: the warehouse is gone, or another operator
// changed it since the card read it.
SavedWarehouse WarehouseService::notWritten(const QString &code)
{
    return read(code) ? changedMeanwhile() : vanishedMeanwhile();
}

// A warehouse that other tables use keeps its code and valuation style; the
// other fields the user changed are stored. A changed style is kept back
// (and said so); when nothing else changed, nothing is written.
SavedWarehouse WarehouseService::storeInUse(const WarehouseSave &request,
                                            const WarehouseRecord &stored,
                                            const RowImage &before)
{
    SavedWarehouse saved;
    if (request.edited.code != request.original.code) {
        saved.result = ServiceResult::refused(Refusal::InUse, rules::aboutCode(106),
                                              QStringLiteral("cWhCode"));
        return saved;
    }
    const ColumnChanges changes = changesOf(request.original, request.edited, false);
    if (!changes.terms.isEmpty()) {
        try {
            if (writeChanges(request.original, changes) == 0)
                return notWritten(request.original.code);
        } catch (const dbkit::DbError &error) {
            if (!rules::isRelatedRecords(error.number()))
                throw;
            saved.result = ServiceResult::refused(Refusal::InUse, rules::aboutCode(106));
            return saved;
        }
        m_history.recordAfter(warehouseHistory(), before, request.original.code);
    }
    saved = storedAs(changes.terms.isEmpty() ? stored : request.edited);
    saved.storedInUse = true;
    saved.styleKept = request.edited.valueStyle != request.original.valueStyle;
    saved.unchanged = changes.terms.isEmpty();
    saved.stored.code = stored.code;
    saved.stored.valueStyle = stored.valueStyle;
    return saved;
}

// Writes the changes to the row as it was read (by its key and the values
// read). Returns the rows written: 0 when the row is gone or was changed
// meanwhile.
int WarehouseService::writeChanges(const WarehouseRecord &original, const ColumnChanges &changes)
{
    QVariantList values = changes.values;
    // SQLite keeps the quota as a double and ODBC drivers differ in how they
    // bind a decimal text: only PostgreSQL compares the quota as read exactly.
    const bool withQuota = dbkit::SqlForms(m_login).decimalsCompareExactly();
    const QString asRead = asReadCondition(original, withQuota, values);
    return m_login.executeBound(QStringLiteral("UPDATE Warehouse SET ")
                                    + changes.terms.join(QStringLiteral(", "))
                                    + QStringLiteral(" WHERE ") + asRead,
                                values);
}

// Two saves into one department wait for each other, so the second one's
// style reaches the warehouse the first one added. A PostgreSQL server
// would otherwise let the second spread miss a row it cannot see yet; SQLite
// lets one writer in at a time anyway.
void WarehouseService::serialiseDepartment(const QString &depCode)
{
    if (depCode.isEmpty())
        return;
    dbkit::SqlForms(m_login).holdTransactionLock({QStringLiteral("Warehouse.cDepCode:") + depCode});
}

// Every warehouse of the department takes the saved warehouse's style, in
// the save's own transaction; each one whose style this changes gets its
// own history row.
void WarehouseService::spreadStyle(const WarehouseRecord &saved)
{
    if (saved.depCode.isEmpty())
        return;
    dbkit::DbDataSetPtr others = m_login.OpenDataSet(
        QStringLiteral("SELECT cWhCode FROM Warehouse WHERE cDepCode=? "
                       "AND COALESCE(cWhValueStyle, '')<>COALESCE(?, '')"),
        {saved.depCode, saved.valueStyle}, dbkit::OpenMode::ReadOnly);
    std::vector<std::pair<QString, RowImage>> changing;
    for (; !others->Eof(); others->MoveNext()) {
        const QString code = NullToEmpty(others->Fields(0));
        changing.emplace_back(code, m_history.image(warehouseHistory(), code));
    }
    m_login.executeBound(
        QStringLiteral("UPDATE Warehouse SET cWhValueStyle=? WHERE cDepCode=?"),
        {EmptyToNull(saved.valueStyle), saved.depCode});
    for (const auto &[code, before] : changing)
        if (before)
            m_history.recordAfter(warehouseHistory(), before, code);
}

ServiceResult WarehouseService::remove(const QString &code)
{
    try {
        if (!m_locks.lock(code))
            return ServiceResult::refused(Refusal::Locked, rules::lockedText(),
                                          QStringLiteral("cWhCode"));
        const CommandLock release(m_locks, code);
        m_history.ensureTable();
        dbkit::TransactionGuard transaction(m_login);
        ServiceResult gone =
            ServiceResult::refused(Refusal::DeletedMeanwhile, rules::deletedBeforeDeleteText(),
                                   QStringLiteral("cWhCode"));
        const RowImage before = m_history.image(warehouseHistory(), code);
        if (!before)
            return gone;
        if (m_login.executeBound(QStringLiteral("DELETE FROM Warehouse WHERE cWhCode=?"),
                                 {code})
            == 0)
            return gone;
        m_history.record(warehouseHistory(), before, std::nullopt);
        transaction.commit();
        return ServiceResult::ok();
    } catch (const dbkit::DbError &error) {
        return ServiceResult::refused(refusalOfError(error.number()),
                                      rules::deleteErrorText(error.number(), error.description()));
    }
}

} // namespace services
