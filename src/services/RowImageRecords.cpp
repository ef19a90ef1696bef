#include "RowImageRecords.h"

#include "WarehouseRules.h"

#include <QJsonValue>
#include <QVariant>
#include <array>
#include <utility>

namespace services {

namespace {

// An image keeps a text as a string, a number as a number and Null as null.
QString textOf(const QJsonValue &value)
{
    return value.isNull() || value.isUndefined() ? QString() : value.toVariant().toString();
}

// A flag column: a number (0 or 1), a boolean, or a number as text.
bool flagOf(const QJsonValue &value)
{
    if (value.isBool())
        return value.toBool();
    if (value.isString())
        return value.toString().toInt() != 0 || value.toString() == QLatin1String("true");
    return value.toDouble() != 0;
}

using WarehouseText = QString WarehouseRecord::*;
const std::array<std::pair<const char *, WarehouseText>, 8> WarehouseTexts{{
    {"cWhCode", &WarehouseRecord::code},
    {"cWhName", &WarehouseRecord::name},
    {"cDepCode", &WarehouseRecord::depCode},
    {"cWhAddress", &WarehouseRecord::address},
    {"cWhPhone", &WarehouseRecord::phone},
    {"cWhPerson", &WarehouseRecord::person},
    {"cWhValueStyle", &WarehouseRecord::valueStyle},
    {"cWhMemo", &WarehouseRecord::memo},
}};

using RightText = QString RightRecord::*;
const std::array<std::pair<const char *, RightText>, 5> RightTexts{{
    {"Id", &RightRecord::operatorCode},
    {"cuser_id", &RightRecord::operatorName},
    {"cWhCode", &RightRecord::warehouseCode},
    {"cInvCCode", &RightRecord::classCode},
    {"cInvCode", &RightRecord::itemCode},
}};

const QString Positions = QStringLiteral("bWhPos");
const QString Quota = QStringLiteral("iWhFundQuota");

} // namespace

WarehouseRecord warehouseWithImage(WarehouseRecord record, const QJsonObject &image)
{
    for (const auto &[column, member] : WarehouseTexts)
        if (image.contains(QLatin1String(column)))
            record.*member = textOf(image.value(QLatin1String(column)));
    if (image.contains(Positions))
        record.positions = flagOf(image.value(Positions));
    if (image.contains(Quota))
        record.fundQuota = textOf(image.value(Quota));
    return record;
}

RightRecord rightWithImage(RightRecord record, const QJsonObject &image)
{
    for (const auto &[column, member] : RightTexts)
        if (image.contains(QLatin1String(column)))
            record.*member = textOf(image.value(QLatin1String(column)));
    const QString money = QStringLiteral("bDispMoney");
    if (image.contains(money))
        record.showMoney = flagOf(image.value(money));
    return record;
}

bool warehouseMatchesImage(const WarehouseRecord &stored, const QJsonObject &image)
{
    WarehouseRecord imaged = warehouseWithImage(stored, image);
    if (!warehouse_rules::sameQuota(stored.fundQuota, imaged.fundQuota))
        return false;
    imaged.fundQuota = stored.fundQuota;
    return imaged == stored;
}

} // namespace services
