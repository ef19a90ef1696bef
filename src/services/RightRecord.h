#pragma once

#include <QString>

namespace services {

// One row of table WarehAuth: an operator's right on a warehouse, with the
// show-money flag, narrowed to at most one inventory class or one item.
struct RightRecord {
    long long autoId = 0;     // Auto_id; 0 for a right not stored yet
    QString operatorCode;     // Id
    QString operatorName;     // cuser_id (the table keeps the name there)
    QString warehouseCode;    // cWhCode
    bool showMoney = false;   // bDispMoney
    QString classCode;        // cInvCCode; "" for Null
    QString itemCode;         // cInvCode; "" for Null

    // Neither class nor item: the right covers the whole warehouse.
    bool wholeWarehouse() const { return classCode.isEmpty() && itemCode.isEmpty(); }
    bool operator==(const RightRecord &) const = default;
};

} // namespace services
