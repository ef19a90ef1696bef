#include "WarehouseListLocks.h"

#include "WarehouseMessages.h"
#include "data/Catalogue.h"
#include "services/DatabaseFailure.h"
#include "services/WarehouseRules.h"
#include "services/WarehouseService.h"
#include "suite/modal/ModalSeam.h"

namespace text = depotbase::text;

using depotbase::LoadResString;

WarehouseListLocks::WarehouseListLocks(QWidget *window, const services::Account &listAccount)
    : m_window(window), m_listAccount(listAccount)
{
}

WarehouseListLocks::~WarehouseListLocks() = default;

LockVouchDLL &WarehouseListLocks::lockObject()
{
    return m_locks.get();
}

services::WarehouseService &WarehouseListLocks::service(const services::Account &account,
                                                        const QString &computer)
{
    // The host may hand the list another login; the computer name is taken
    // when the window loads.
    dbkit::DbLogin &login = account.login();
    if (!m_service || m_serviceLogin != &login || m_serviceComputer != computer) {
        m_service = std::make_unique<services::WarehouseService>(login, lockObject(), computer);
        m_serviceLogin = &login;
        m_serviceComputer = computer;
    }
    return *m_service;
}

services::WarehouseService &WarehouseListLocks::service(const services::Account &account)
{
    return service(account, m_serviceComputer);
}

void WarehouseListLocks::release(const services::Account &account, const QString &code)
{
    if (code.isEmpty())
        return;
    service(account).locks().unlock(code);
    tellFailedRelease();
}

void WarehouseListLocks::retry()
{
    // A retry that fails again waits for the next command.
    if (m_listAccount && service(m_listAccount).locks().hasPendingReleases())
        service(m_listAccount).locks().retryReleases();
}

void WarehouseListLocks::releaseBeforeClose(const QString &code)
{
    if (!m_listAccount)
        return;
    // Other operators stay locked out of the warehouse until the release works.
    if (!service(m_listAccount).locks().retryReleases())
        tellFailedRelease();
    release(m_listAccount, code);
}

void WarehouseListLocks::tellFailedRelease()
{
    if (!m_locks.releaseFailed())
        return;
    modal::message(m_window,
                   QStringLiteral("仓库档案的锁定暂时未能解除，将在下一次操作时重试。\n")
                       + m_locks.lastReleaseError(),
                   modal::Icon::Exclamation, modal::Buttons::Ok,
                   LoadResString(text::MessageCaption));
}

void WarehouseListLocks::tellLocked(const QString &code)
{
    QString text = services::warehouse_rules::lockedText();
    // The holder may have let go meanwhile: then there is nobody to name. A
    // failure to read the holder leaves out only the name; the refusal
    // itself is told.
    if (m_listAccount)
        services::guarded(
            [&] {
                const auto holder = service(m_listAccount).locks().holder(code);
                if (holder)
                    text += QLatin1Char('\n')
                            + whmessages::lockHolderLine(holder->operatorName, holder->computer);
            },
            [](const services::DatabaseFailure &) {});
    whmessages::notice(m_window, text);
}
