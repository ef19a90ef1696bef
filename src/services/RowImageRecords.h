#pragma once

#include "RightRecord.h"
#include "WarehouseRecord.h"

#include <QJsonObject>

namespace services {

// The values a history row image holds, put onto a record: each column the
// image names replaces the record's value (Null as empty), the others stay.
WarehouseRecord warehouseWithImage(WarehouseRecord record, const QJsonObject &image);
RightRecord rightWithImage(RightRecord record, const QJsonObject &image);

// True when `stored` holds every value the image names (a quota compared as
// a number, so "12" and "12.0000" agree).
bool warehouseMatchesImage(const WarehouseRecord &stored, const QJsonObject &image);

} // namespace services
