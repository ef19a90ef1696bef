#pragma once

#include "services/Account.h"
#include "services/WarehouseLockObject.h"

#include <QString>
#include <memory>

class LockVouchDLL;
class QWidget;
namespace services {
class WarehouseService;
}

// The warehouse list's record locks, taken, released and retried through
// the warehouse service. A release the database refuses is told in the
// list's window, kept, and tried again by the next command and by the
// closing of the list.
class WarehouseListLocks {
public:
    // `listAccount` is the list's login field, which its host sets and may
    // replace; the list's own retries and releases go through it.
    WarehouseListLocks(QWidget *window, const services::Account &listAccount);
    ~WarehouseListLocks();
    WarehouseListLocks(const WarehouseListLocks &) = delete;
    WarehouseListLocks &operator=(const WarehouseListLocks &) = delete;

    // The record-lock object, made on first use.
    LockVouchDLL &lockObject();
    // The service on `account`, naming this computer as `computer` to the
    // locks; made again when either changes.
    services::WarehouseService &service(const services::Account &account,
                                        const QString &computer);

    // The service on `account` with the computer name it was last given.
    services::WarehouseService &service(const services::Account &account);
    // Releases this list's lock of a warehouse.
    void release(const services::Account &account, const QString &code);
    // Tries the releases that failed before, quietly: the user was told.
    // Nothing before the list has a login.
    void retry();
    // Before the list closes: the releases that failed, then `code`'s lock.
    void releaseBeforeClose(const QString &code);
    // Tells a release the database refused in the last call to the lock object.
    void tellFailedRelease();
    // Tells that another operator holds the lock of `code`, and who: the
    // holder's operator and computer on a second line.
    void tellLocked(const QString &code);

private:
    QWidget *m_window;
    const services::Account &m_listAccount;
    services::WarehouseLockObject m_locks;
    std::unique_ptr<services::WarehouseService> m_service;
    const dbkit::DbLogin *m_serviceLogin = nullptr;
    QString m_serviceComputer;
};
