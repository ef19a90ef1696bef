#pragma once

#include <QString>
#include <optional>

class LockVouchDLL;
namespace dbkit {
class DbLogin;
}

namespace services {

// Who holds the record lock of a warehouse, so a refused operator knows
// whom to ask.
struct LockHolder {
    QString operatorName;
    QString computer;
};

// The record locks that keep two operators off one warehouse, by warehouse
// code. A release the database refuses is remembered by the lock object and
// tried again later.
class WarehouseLocks {
public:
    // `locks` is the lock object of the list that takes the locks;
    // `computer` names this computer to it.
    WarehouseLocks(dbkit::DbLogin &login, LockVouchDLL &locks, const QString &computer);

    // Takes the record lock of `code` (false: another operator holds it) and
    // releases it. A failed release is remembered by the lock object.
    bool lock(const QString &code);
    void unlock(const QString &code);
    // True while this operator still holds the lock of `code` (it may have
    // been taken over while the connection was lost).
    bool holds(const QString &code);
    // Tries the releases that failed before; true when none is left.
    bool retryReleases();
    bool hasPendingReleases() const;
    // The holder of the lock of `code`; nullopt when nobody holds it.
    // Database failures are raised as dbkit::DbError.
    std::optional<LockHolder> holder(const QString &code);

private:
    dbkit::DbLogin &m_login;
    LockVouchDLL &m_locks;
    QString m_computer;
};

// Releases a lock taken by one command when the command ends, on every path.
class CommandLock {
public:
    CommandLock(WarehouseLocks &locks, const QString &code) : m_locks(locks), m_code(code) {}
    ~CommandLock() { m_locks.unlock(m_code); }
    CommandLock(const CommandLock &) = delete;
    CommandLock &operator=(const CommandLock &) = delete;

private:
    WarehouseLocks &m_locks;
    QString m_code;
};

} // namespace services
