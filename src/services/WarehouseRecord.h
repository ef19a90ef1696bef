#pragma once

#include <QString>

namespace services {

// One row of table Warehouse, as stored. Texts that may be Null are empty
// for Null. The fund quota is kept as the decimal text it was typed or read
// as, so no value passes through binary floating point on its way.
struct WarehouseRecord {
    QString code;         // cWhCode, the key
    QString name;         // cWhName
    QString depCode;      // cDepCode
    QString depName;      // cDepName of the department (read only, not stored)
    QString address;      // cWhAddress
    QString phone;        // cWhPhone
    QString person;       // cWhPerson
    QString valueStyle;   // cWhValueStyle
    bool positions = false;  // bWhPos
    QString fundQuota;    // iWhFundQuota as decimal text; "" for Null
    QString memo;         // cWhMemo

    bool operator==(const WarehouseRecord &) const = default;
};

} // namespace services
