#pragma once

// Another operator's seat on the same account: it adds, changes and deletes
// warehouses through the services, as its own list would.

#include "services/WarehouseService.h"
#include "suite/locks/LockVouchDLL.h"
#include "support/TestDatabases.h"

#include <functional>
#include <gtest/gtest.h>

namespace whtest {

class OtherSeat {
public:
    explicit OtherSeat(const testsupport::TempDatabase &db)
        : m_login(db.connect("001", "PC-07")), m_warehouses(*m_login, m_locks, "PC-07")
    {
    }

    void add(const QString &code, const QString &name)
    {
        services::WarehouseSave add;
        add.edited.code = code;
        add.edited.name = name;
        add.edited.valueStyle = QStringLiteral("全月平均法");
        EXPECT_TRUE(m_warehouses.save(add).result.done()) << "add " << code.toStdString();
    }

    void change(const QString &code, const std::function<void(services::WarehouseRecord &)> &edit)
    {
        ASSERT_TRUE(m_warehouses.locks().lock(code));
        services::WarehouseSave change;
        change.adding = false;
        change.original = *m_warehouses.read(code);
        change.edited = change.original;
        edit(change.edited);
        EXPECT_TRUE(m_warehouses.save(change).result.done()) << "change " << code.toStdString();
        m_warehouses.locks().unlock(code);
    }

    void remove(const QString &code)
    {
        EXPECT_TRUE(m_warehouses.remove(code).done()) << "delete " << code.toStdString();
    }

private:
    dbkit::DbLoginPtr m_login;
    LockVouchDLL m_locks;
    services::WarehouseService m_warehouses;
};

}  // namespace whtest
