#include "WarehouseListLocks.h"

#include "WarehouseMessages.h"
#include "data/Catalogue.h"
#include "services/WarehouseRules.h"
#include "services/WarehouseService.h"
#include "suite/dbkit/DbError.h"
#include "suite/locks/LockVouchDLL.h"
#include "suite/modal/ModalSeam.h"

using depotbase::LoadResString;

WarehouseListLocks::WarehouseListLocks(QWidget *window, const dbkit::DbLoginPtr &listLogin)
    : m_window(window), m_listLogin(listLogin)
{
}

WarehouseListLocks::~WarehouseListLocks() = default;

LockVouchDLL &WarehouseListLocks::lockObject()
{
    if (!m_locks)
        m_locks = std::make_unique<LockVouchDLL>();
    return *m_locks;
}

services::WarehouseService &WarehouseListLocks::service(dbkit::DbLogin &login,
                                                        const QString &computer)
{
    // The host may hand the list another login; the computer name is taken
    // when the window loads.
    if (!m_service || m_serviceLogin != &login || m_serviceComputer != computer) {
        m_service = std::make_unique<services::WarehouseService>(login, lockObject(), computer);
        m_serviceLogin = &login;
        m_serviceComputer = computer;
    }
    return *m_service;
}

services::WarehouseService &WarehouseListLocks::service(dbkit::DbLogin &login)
{
    return service(login, m_serviceComputer);
}

void WarehouseListLocks::release(dbkit::DbLogin &login, const QString &code)
{
    if (code.isEmpty())
        return;
    service(login).unlock(code);
    tellFailedRelease();
}

void WarehouseListLocks::retry()
{
    // A retry that fails again waits for the next command.
    if (m_listLogin && service(*m_listLogin).hasPendingReleases())
        service(*m_listLogin).retryReleases();
}

void WarehouseListLocks::releaseBeforeClose(const QString &code)
{
    if (!m_listLogin)
        return;
    // Other operators stay locked out of the warehouse until the release works.
    if (!service(*m_listLogin).retryReleases())
        tellFailedRelease();
    release(*m_listLogin, code);
}

void WarehouseListLocks::tellFailedRelease()
{
    if (!lockObject().ReleaseFailed())
        return;
    modal::message(m_window,
                   QStringLiteral("仓库档案的锁定暂时未能解除，将在下一次操作时重试。\n")
                       + lockObject().LastReleaseError(),
                   modal::Icon::Exclamation, modal::Buttons::Ok, LoadResString(17));
}

void WarehouseListLocks::tellLocked(const QString &code)
{
    QString text = services::warehouse_rules::lockedText();
    try {
        // The holder may have let go meanwhile: then there is nobody to name.
        if (m_listLogin) {
            const auto holder = service(*m_listLogin).lockHolder(code);
            if (holder)
                text += QLatin1Char('\n')
                        + whmessages::lockHolderLine(holder->operatorName, holder->computer);
        }
    } catch (const dbkit::DbError &) {
        // Only the holder's name is missing; the refusal itself is told.
    }
    whmessages::notice(m_window, text);
}
