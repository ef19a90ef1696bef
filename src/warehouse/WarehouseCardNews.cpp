#include "WarehouseCardNews.h"

#include "services/ChangeHistory.h"

namespace cardnews {

namespace {

bool concerns(const services::HistoryEntry &change, const QString &code)
{
    const services::HistoryTable &warehouses = services::warehouseHistory();
    if (change.table != warehouses.name)
        return false;
    return change.key == code
           || (change.before && change.before->value(warehouses.keyColumn).toString() == code);
}

QString toldAs(const services::HistoryEntry &change, const QString &action)
{
    const QString who = change.operatorName.isEmpty() ? change.operatorCode : change.operatorName;
    return QStringLiteral("该仓库已被 %1 于 %2 %3")
        .arg(who, change.changed.toLocalTime().toString(QStringLiteral("HH:mm")), action);
}

}  // namespace

std::optional<services::HistoryEntry> newestOf(const std::vector<services::HistoryEntry> &changes,
                                               const QString &code)
{
    // The batch is in id order: the last one that concerns the code is the newest.
    for (auto change = changes.rbegin(); change != changes.rend(); ++change)
        if (concerns(*change, code))
            return *change;
    return std::nullopt;
}

QString changedText(const services::HistoryEntry &change)
{
    return toldAs(change, QStringLiteral("修改"));
}

QString deletedText(const services::HistoryEntry &change)
{
    return toldAs(change, QStringLiteral("删除"));
}

}  // namespace cardnews
