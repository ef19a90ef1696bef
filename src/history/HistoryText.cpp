#include "HistoryText.h"

#include "data/Catalogue.h"

#include <QJsonValue>
#include <QLocale>
#include <array>

namespace historytext {

namespace {

struct Caption {
    const char *table;
    const char *column;
    const char *text;
};

constexpr std::array<Caption, 17> Captions{{
    {"Warehouse", "cWhCode", "仓库编码"},
    {"Warehouse", "cWhName", "仓库名称"},
    {"Warehouse", "cDepCode", "所属部门"},
    {"Warehouse", "cWhAddress", "仓库地址"},
    {"Warehouse", "cWhPhone", "电话"},
    {"Warehouse", "cWhPerson", "负责人"},
    {"Warehouse", "cWhValueStyle", "计价方式"},
    {"Warehouse", "bWhPos", "货位管理"},
    {"Warehouse", "iWhFundQuota", "资金定额"},
    {"Warehouse", "cWhMemo", "备注"},
    {"WarehAuth", "Auto_id", "序号"},
    {"WarehAuth", "Id", "操作员编码"},
    {"WarehAuth", "cuser_id", "操作员"},
    {"WarehAuth", "cWhCode", "仓库编码"},
    {"WarehAuth", "bDispMoney", "显示金额"},
    {"WarehAuth", "cInvCCode", "存货分类"},
    {"WarehAuth", "cInvCode", "存货编码"},
}};

constexpr std::array<const char *, ColumnCount> Titles{
    "修改时间", "操作员编码", "操作员", "计算机", "对象", "编码", "操作", "修改的字段",
    "修改前", "修改后",
};

bool isFlag(const QString &column)
{
    return column == QLatin1String("bWhPos") || column == QLatin1String("bDispMoney");
}

QString valueText(const QString &column, const QJsonValue &value)
{
    if (value.isNull() || value.isUndefined())
        return QString();
    if (isFlag(column))
        return depotbase::LoadResString(value.toInteger() != 0 ? 25 : 26);
    if (value.isBool())
        return depotbase::LoadResString(value.toBool() ? 25 : 26);
    if (value.isDouble()) {
        const double number = value.toDouble();
        if (number == double(value.toInteger()))
            return QString::number(value.toInteger());
        return QString::number(number, 'g', QLocale::FloatingPointShortest);
    }
    return value.toString();
}

// "仓库名称=一号库；所属部门=0201 销售部；电话=…" over the columns given.
QString fieldsText(const services::HistoryEntry &entry, const services::RowImage &row,
                   const QStringList &columns, const QHash<QString, QString> &departmentNames)
{
    if (!row)
        return QString();
    const bool warehouse = entry.table == QLatin1String("Warehouse");
    QStringList parts;
    for (const QString &column : columns) {
        QString value = valueText(column, row->value(column));
        if (warehouse && column == QLatin1String("cDepCode") && departmentNames.contains(value))
            value += u' ' + departmentNames.value(value);
        parts << columnCaption(entry.table, column) + u'='
                     + (value.isEmpty() ? QStringLiteral("（空）") : value);
    }
    return parts.join(QStringLiteral("；"));
}

// A right is named by its operator and warehouse (and what narrows it),
// which the reader knows, rather than by its number.
QString objectKey(const services::HistoryEntry &entry)
{
    if (entry.table != QLatin1String("WarehAuth"))
        return entry.key;
    const services::RowImage &row = entry.after ? entry.after : entry.before;
    if (!row)
        return entry.key;
    QStringList parts{row->value("Id").toString(), row->value("cWhCode").toString()};
    for (const char *narrowing : {"cInvCCode", "cInvCode"})
        if (const QString text = row->value(QLatin1String(narrowing)).toString(); !text.isEmpty())
            parts << text;
    return parts.join(u'/');
}

} // namespace

QString columnTitle(int column)
{
    return QString::fromUtf8(Titles.at(size_t(column)));
}

QString actionText(const QString &action)
{
    if (action == QLatin1String("add"))
        return QStringLiteral("增加");
    if (action == QLatin1String("delete"))
        return QStringLiteral("删除");
    return QStringLiteral("修改");
}

QString columnCaption(const QString &table, const QString &column)
{
    for (const Caption &c : Captions)
        if (table == QLatin1String(c.table) && column == QLatin1String(c.column))
            return QString::fromUtf8(c.text);
    return column;
}

QStringList rowCells(const services::HistoryEntry &entry,
                     const QHash<QString, QString> &departmentNames)
{
    // An add or a delete shows the row's filled fields and marks none: the
    // whole row came or went.
    const bool change = entry.before && entry.after;
    QStringList changed;
    QStringList captions;
    for (const QString &column : entry.changedColumns()) {
        const services::RowImage &row = entry.after ? entry.after : entry.before;
        if (change)
            captions << columnCaption(entry.table, column);
        if (change || !valueText(column, row->value(column)).isEmpty())
            changed << column;
    }
    const QString object = entry.table == QLatin1String("WarehAuth") ? QStringLiteral("权限")
                                                                     : QStringLiteral("仓库");
    return {entry.changed.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
            entry.operatorCode,
            entry.operatorName,
            entry.computer,
            object,
            objectKey(entry),
            actionText(entry.action),
            captions.join(QStringLiteral("、")),
            fieldsText(entry, entry.before, changed, departmentNames),
            fieldsText(entry, entry.after, changed, departmentNames)};
}

} // namespace historytext
