#pragma once

#include <QString>
#include <memory>

class LockVouchDLL;

namespace services {

// The record-lock object of the warehouse list, made on first use and kept
// for the list's life: it remembers the releases that failed, so they are
// tried again later. The warehouse service takes and releases the locks
// through it; the list asks it only whether the last release failed.
class WarehouseLockObject {
public:
    WarehouseLockObject();
    ~WarehouseLockObject();
    WarehouseLockObject(const WarehouseLockObject &) = delete;
    WarehouseLockObject &operator=(const WarehouseLockObject &) = delete;

    LockVouchDLL &get();
    // The last release or retry met a database failure, and its text.
    bool releaseFailed();
    QString lastReleaseError();

private:
    std::unique_ptr<LockVouchDLL> m_locks;
};

}  // namespace services
