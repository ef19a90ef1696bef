#include "suite/locks/LockVouchDLL.h"

#include "suite/dbkit/DbError.h"
#include "suite/locks/LockHolders.h"
#include "suite/locks/LockTable.h"
#include "suite/locks/SessionLease.h"

#include <QDateTime>
#include <QtGlobal>

using dbkit::DbError;
using dbkit::DbLogin;
namespace ErrorNumber = dbkit::ErrorNumber;

namespace {

// Runs a lock operation as one unit: its own transaction, or a savepoint
// when the caller already has a transaction open. (On SQLite a transaction
// of the kit claims the write lock at once, so two lock takers never meet in
// a deadlock that fails one of them.)
using LockTransaction = dbkit::TransactionGuard;

// Errors that mean "somebody else has it or is taking it right now". A busy
// SQLite file is not one of them: it says nothing about who holds the lock,
// so it is raised and told as busy, not as another operator's lock.
bool isContention(const DbError &error)
{
    return error.number() == ErrorNumber::DuplicateKey
           || error.number() == ErrorNumber::RecordLocked;
}

// Takes one code inside the running transaction; false when another live
// holder has it.
bool takeOne(DbLogin &login, locks::LockTable &table, const QString &kind, const QString &code,
             const QString &system, const QString &mode, const QString &computer)
{
    // Most codes are free or one's own: whether a holder lives is asked
    // only for a lock of somebody else.
    std::optional<locks::LockRow> row =
        table.read(kind, code, locks::LockTable::Liveness::NotNeeded);
    if (row && !locks::isOwnLock(login, *row))
        row = table.read(kind, code);
    if (row) {
        if (locks::isOwnLock(login, *row))
            return true;
        if (!locks::isStale(login, *row, QDateTime::currentDateTimeUtc()))
            return false;
        // Another operator taking over the same stale lock meanwhile leaves
        // nothing for us to delete: then that operator has won.
        if (table.removeHeldBy(kind, code, *row) != 1)
            return false;
    }
    // A duplicate key here means another operator was faster.
    table.insert(kind, code, system, mode, computer);
    return true;
}

} // namespace

bool LockVouchDLL::LockRecords(DbLogin &login, const QString &kind, const QString &system,
                               const QString &mode, const QString &computer,
                               const QVariantList &codes)
{
    if (codes.isEmpty())
        return true;
    try {
        locks::LockTable table(login);
        locks::registerLogin(login);
        LockTransaction transaction(login);
        // The locks are stored with a fresh lease of their holder.
        locks::renewOwnLease(login);
        for (const QVariant &code : codes) {
            if (!takeOne(login, table, kind, code.toString(), system, mode, computer))
                return false;
        }
        transaction.commit();
        // A lock taken again belongs to its new command, which releases it.
        for (const QVariant &code : codes)
            m_pending.removeAll(PendingRelease{kind, code.toString()});
        return true;
    } catch (const DbError &error) {
        if (isContention(error))
            return false;
        // A connection lost at the commit may have lost only its answer: the
        // locks may be stored. They are released with the next retry.
        if (error.number() == ErrorNumber::ConnectionFailed
            || error.number() == ErrorNumber::TimedOut)
            remember(kind, codes);
        throw;
    }
}

bool LockVouchDLL::HoldsRecords(DbLogin &login, const QString &kind, const QVariantList &codes)
{
    locks::LockTable table(login);
    for (const QVariant &code : codes) {
        // Whether its own holder lives is no question: this login lives.
        const std::optional<locks::LockRow> row =
            table.read(kind, code.toString(), locks::LockTable::Liveness::NotNeeded);
        if (!row || !locks::isOwnLock(login, *row))
            return false;
    }
    return true;
}

std::optional<locks::LockRow> LockVouchDLL::Holder(DbLogin &login, const QString &kind,
                                                  const QString &code)
{
    locks::LockTable table(login);
    return table.read(kind, code, locks::LockTable::Liveness::NotNeeded);
}

bool LockVouchDLL::UnlockRecords(DbLogin &login, const QString &kind, const QVariantList &codes)
{
    m_releaseFailed = false;
    if (codes.isEmpty())
        return true;
    bool allReleased = true;
    if (release(login, kind, codes, allReleased))
        return allReleased;
    remember(kind, codes);
    return false;
}

bool LockVouchDLL::RetryReleases(DbLogin &login)
{
    m_releaseFailed = false;
    while (!m_pending.isEmpty()) {
        const PendingRelease next = m_pending.front();
        bool allReleased = true;
        // While the database stays busy the rest would only wait as long.
        if (!release(login, next.kind, QVariantList{next.code}, allReleased))
            return false;
        m_pending.removeAll(next);
    }
    return true;
}

bool LockVouchDLL::release(DbLogin &login, const QString &kind, const QVariantList &codes,
                           bool &allReleased)
{
    try {
        locks::LockTable table(login);
        LockTransaction transaction(login);
        for (const QVariant &code : codes) {
            if (table.removeOwn(kind, code.toString()) != 1)
                allReleased = false;
        }
        transaction.commit();
        return true;
    } catch (const DbError &error) {
        m_releaseFailed = true;
        m_lastReleaseError = error.description();
        return false;
    }
}

void LockVouchDLL::remember(const QString &kind, const QVariantList &codes)
{
    for (const QVariant &code : codes) {
        const PendingRelease pending{kind, code.toString()};
        if (!m_pending.contains(pending))
            m_pending.push_back(pending);
    }
}
