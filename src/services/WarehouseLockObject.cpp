#include "WarehouseLockObject.h"

#include "suite/locks/LockVouchDLL.h"

namespace services {

WarehouseLockObject::WarehouseLockObject() = default;

WarehouseLockObject::~WarehouseLockObject() = default;

LockVouchDLL &WarehouseLockObject::get()
{
    if (!m_locks)
        m_locks = std::make_unique<LockVouchDLL>();
    return *m_locks;
}

bool WarehouseLockObject::releaseFailed()
{
    return get().ReleaseFailed();
}

QString WarehouseLockObject::lastReleaseError()
{
    return get().LastReleaseError();
}

}  // namespace services
