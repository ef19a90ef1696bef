#include "WarehouseQueries.h"

#include "data/DataHelpers.h"
#include "data/UserErrors.h"
#include "suite/dbkit/DbLogin.h"
#include "suite/dbkit/SqlForms.h"

#include <array>

namespace services {

namespace {

// What a filter box's value list reads: the column selected, the column the
// statement orders by, and the field whose values the box offers.
struct ValueColumn {
    const char *select;
    const char *order;
    const char *field;
};

// In the order of FilterField. The department's box offers names, read
// beside the codes the statement selects.
constexpr std::array<ValueColumn, WarehouseFilter::FieldCount> ValueColumns{{
    {"cWHCode", "cWhCode", "cWhCode"},
    {"cWHName", "cWhName", "cWhName"},
    {"cDepCode", "cDepCode", "cDepName"},
    {"cWHPerson", "cWhPerson", "cWHPerson"},
    {"cWHPhone", "cWhPhone", "cWHPhone"},
    {"iWHFundQuota", "iWHFundQuota", "iWHFundQuota"},
    {"cWHValueStyle", "cWHValueStyle", "cWHValueStyle"},
    {"cWHAddress", "cWHAddress", "cWHAddress"},
    {"cWHMemo", "cWHMemo", "cWHMemo"},
}};

QString joinedWithDepartment()
{
    return QStringLiteral("FROM Department RIGHT JOIN Warehouse ON ")
           + QStringLiteral("Department.cDepCode = Warehouse.cDepCode ");
}

} // namespace

QString WarehouseQueries::listStatement()
{
    return QStringLiteral("SELECT Department.cDepName, Warehouse.* ") + joinedWithDepartment()
           + QStringLiteral("Order By Warehouse.cWhCode");
}

QString WarehouseQueries::filteredListStatement(const WarehouseFilter &filter,
                                                QVariantList &values)
{
    const QString condition = filterCondition(filter, values);
    const QString where = condition.isEmpty() ? QString()
                                              : QStringLiteral(" where ") + condition + " ";
    // The join ends in two blanks here, as the filtered list always read.
    return QStringLiteral("SELECT Department.cDepName, Warehouse.* ") + joinedWithDepartment()
           + QStringLiteral(" ") + where + QStringLiteral("Order By Warehouse.cWhCode");
}

QString WarehouseQueries::listedCodesStatement(const WarehouseFilter &filter,
                                               const QStringList &codes, QVariantList &values)
{
    QVariantList conditionValues;
    const QString condition = filterCondition(filter, conditionValues);
    for (const QString &code : codes)
        values << code;
    values += conditionValues;
    const QStringList marks(codes.size(), QStringLiteral("?"));
    QString where = QStringLiteral("where Warehouse.cWhCode IN (") + marks.join(u',') + u')';
    if (!condition.isEmpty())
        where += QStringLiteral(" And (") + condition + u')';
    return QStringLiteral("SELECT Department.cDepName, Warehouse.* ") + joinedWithDepartment()
           + where + QStringLiteral(" Order By Warehouse.cWhCode");
}

QString WarehouseQueries::valueListStatement(FilterField field)
{
    const ValueColumn &c = ValueColumns.at(size_t(field));
    // The department name stands beside every column, so a value is listed
    // once for each department name it occurs with.
    return QStringLiteral("SELECT Distinct Warehouse.%1,Department.cDepName ")
               .arg(QLatin1String(c.select))
           + joinedWithDepartment()
           + QStringLiteral("Order By Warehouse.%1").arg(QLatin1String(c.order));
}

QString WarehouseQueries::codeCriterion(const QString &code)
{
    return QStringLiteral("cWhCode=") + dbkit::SqlForms::criteriaLiteral(code);
}

std::optional<QString> WarehouseQueries::findFirst(dbkit::DbDataSet &list,
                                                   const WarehouseFilter &filter)
{
    const QString criterion = filterCondition(filter);
    if (criterion.isEmpty())
        return std::nullopt;
    list.FindFirst(criterion);
    if (list.NoMatch())
        return std::nullopt;
    return depotbase::NullToEmpty(list.Fields(QStringLiteral("cWhCode")));
}

bool WarehouseQueries::findCode(dbkit::DbDataSet &list, const QString &code)
{
    list.FindFirst(codeCriterion(code));
    return !list.NoMatch();
}

ReadOutcome<dbkit::DbDataSetPtr> WarehouseQueries::filteredList(const WarehouseFilter &filter)
{
    try {
        QVariantList values;
        const QString sql = filteredListStatement(filter, values);
        return {m_login.OpenDataSet(sql, values, dbkit::OpenMode::Default), {}};
    } catch (const dbkit::DbError &error) {
        return {nullptr, depotbase::UserErrorText(
                             QStringLiteral("过滤条件不能执行，请检查条件中的数值后重试。"),
                             error)};
    }
}

std::vector<dbkit::DbDataSetPtr> WarehouseQueries::listedRows(const WarehouseFilter &filter,
                                                               const QStringList &codes)
{
    std::vector<dbkit::DbDataSetPtr> rows;
    for (qsizetype first = 0; first < codes.size(); first += codesPerRead) {
        QVariantList values;
        const QString sql = listedCodesStatement(filter, codes.mid(first, codesPerRead), values);
        rows.push_back(m_login.OpenDataSet(sql, values, dbkit::OpenMode::ReadOnly));
    }
    return rows;
}

ReadOutcome<QStringList> WarehouseQueries::filterValues(FilterField field)
{
    dbkit::DbDataSetPtr values;
    try {
        values = m_login.OpenDataSet(valueListStatement(field), dbkit::OpenMode::Default);
    } catch (const dbkit::DbError &error) {
        return {{}, depotbase::UserErrorText(
                        QStringLiteral("可选的值未能读取，条件仍可直接输入。"), error)};
    }
    if (values->RecordCount() > 0)
        values->MoveFirst();
    const QString name = QLatin1String(ValueColumns.at(size_t(field)).field);
    QStringList items;
    while (!values->Eof()) {
        const QString value = depotbase::NullToEmpty(values->Fields(name));
        if (!value.isEmpty())
            items.push_back(value);
        values->MoveNext();
    }
    // A value stands beside several department names in the statement's
    // rows; it is offered once.
    items.removeDuplicates();
    return {items, {}};
}

} // namespace services
