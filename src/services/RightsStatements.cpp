#include "RightsStatements.h"

namespace services::rightsql {

namespace {

QString selectableOperator()
{
    return QStringLiteral("lxsystem..qd_user.iAdmin <> 1 and (lxsystem..qd_user.nState=0 or "
                          "lxsystem..qd_user.nState is null)");
}

// The list's conditions on the codes a filter gives, joined by " And ", with
// the codes as their values; no condition when the filter gives no code.
BoundStatement filterCondition(const RightsFilter &filter)
{
    BoundStatement condition;
    if (!filter.operatorCode.isEmpty()) {
        condition.sql += QStringLiteral(" And WarehAuth.Id=?");
        condition.values << filter.operatorCode;
    }
    if (!filter.warehouseCode.isEmpty()) {
        condition.sql += QStringLiteral(" And WarehAuth.cWhCode=?");
        condition.values << filter.warehouseCode;
    }
    if (condition.sql.startsWith(QStringLiteral(" And ")))
        condition.sql.remove(0, 5);
    return condition;
}

QString rightsFields()
{
    return QStringLiteral(
               "select lxsystem..qd_user.cuser_id,lxsystem..qd_user.cuser_name,"
               "WarehAuth.cwhcode,warehouse.cwhname,warehauth.auto_id ,warehauth.bDispMoney , "
               "WarehAuth.cInvCCode, WarehAuth.cInvCode, ")
           + QStringLiteral(" InventoryClass.cInvCName, Inventory.cInvName, Inventory.cInvStd ");
}

QString rightsFrom()
{
    return QStringLiteral("from (WarehAuth inner join lxsystem..qd_user on "
                          "lxsystem..qd_user.cuser_id=warehauth.Id and "
                          "lxsystem..qd_user.iAdmin <> 1 and (nState=0 or nState is null)) ")
           + QStringLiteral(" inner join warehouse on warehouse.cwhcode=warehauth.cwhcode  "
                            "LEFT OUTER JOIN ")
           + QStringLiteral("InventoryClass ON WarehAuth.cInvCCode = InventoryClass.cInvCCode "
                            "LEFT OUTER JOIN")
           + QStringLiteral(" Inventory ON WarehAuth.cInvCode = Inventory.cInvCode");
}

} // namespace

QString operatorsStatement()
{
    return QStringLiteral("select cuser_id,cuser_name from lxsystem..qd_user where iAdmin <> 1 "
                          "and (nState=0 or nState is null)");
}

QString warehousesStatement()
{
    return QStringLiteral("select cwhcode,cwhname from warehouse");
}

QString classesStatement()
{
    return QStringLiteral("Select cInvCCode,cInvCName from InventoryClass");
}

QString listStatement()
{
    return QStringLiteral("select WarehAuth.Auto_id,WarehAuth.Id, lxsystem..qd_user.cuser_name,"
                          "WarehAuth.Id,WarehAuth.cWhCode,Warehouse.cWhName, "
                          "WarehAuth.bDispMoney ")
           + QStringLiteral(", WarehAuth.cInvCCode, WarehAuth.cInvCode, InventoryClass.cInvCName,"
                            " Inventory.cInvName, Inventory.cInvStd from (WarehAuth inner join "
                            "lxsystem..qd_user on WarehAuth.Id=lxsystem..qd_user.cuser_id ")
           + QStringLiteral(" and ") + selectableOperator() + QStringLiteral(") ")
           + QStringLiteral(" inner join Warehouse on WarehAuth.cWhCode=Warehouse.cWhCode  LEFT "
                            "OUTER JOIN InventoryClass ON WarehAuth.cInvCCode = "
                            "InventoryClass.cInvCCode LEFT OUTER JOIN")
           + QStringLiteral(" Inventory ON WarehAuth.cInvCode = Inventory.cInvCode")
           + QStringLiteral(" order by WarehAuth.Auto_Id");
}

BoundStatement filterStatement(const RightsFilter &filter)
{
    // The operator restriction always stands in the WHERE clause, so an
    // empty filter lists exactly what the unfiltered list does.
    const BoundStatement condition = filterCondition(filter);
    const QString where = condition.sql.isEmpty()
                              ? QStringLiteral(" where ") + selectableOperator() + " "
                              : QStringLiteral(" where ") + condition.sql + QStringLiteral(" ")
                                    + QStringLiteral(" and ") + selectableOperator() + " ";
    const QString sql =
        QStringLiteral("select WarehAuth.Auto_Id, WarehAuth.Id,lxsystem..qd_user.cuser_name,"
                       "WarehAuth.cWhCode,Warehouse.cWhName,WarehAuth.bDispMoney ")
        + QStringLiteral(", WarehAuth.cInvCCode, WarehAuth.cInvCode, InventoryClass.cInvCName,"
                         " Inventory.cInvName, Inventory.cInvStd ")
        + QStringLiteral(" from (((WarehAuth inner join Warehouse on "
                         "WarehAuth.cWhCode=Warehouse.cWhCode) ")
        + QStringLiteral("inner join lxsystem..qd_user on WarehAuth.Id=lxsystem..qd_user."
                         "cuser_id) LEFT OUTER JOIN InventoryClass ON WarehAuth.cInvCCode = "
                         "InventoryClass.cInvCCode) LEFT OUTER JOIN ")
        + QStringLiteral(" Inventory ON WarehAuth.cInvCode = Inventory.cInvCode") + where
        + QStringLiteral(" order by WarehAuth.Auto_Id");
    return {sql, condition.values};
}

QString rightsStatement()
{
    return rightsFields() + rightsFrom();
}

BoundStatement rightsOfNodeStatement(NodeKind node, const QString &code)
{
    const QString column = node == NodeKind::Operator ? QStringLiteral("WarehAuth.Id")
                                                      : QStringLiteral("WarehAuth.cWhCode");
    return {rightsStatement() + QStringLiteral(" where ") + column
                + QStringLiteral("=? order by WarehAuth.Auto_id"),
            {code}};
}

QString rightByAutoIdStatement(long long autoId)
{
    return rightsStatement() + QStringLiteral(" where WarehAuth.Auto_id=")
           + QString::number(autoId);
}

BoundStatement rightsByAutoIdsStatement(const std::vector<long long> &autoIds,
                                        const RightsFilter &filter)
{
    BoundStatement statement{rightsStatement() + QStringLiteral(" where WarehAuth.Auto_id in ("),
                             {}};
    for (const long long autoId : autoIds) {
        statement.sql += statement.values.isEmpty() ? QStringLiteral("?") : QStringLiteral(",?");
        statement.values << autoId;
    }
    statement.sql += QStringLiteral(")");
    const BoundStatement condition = filterCondition(filter);
    if (!condition.sql.isEmpty()) {
        statement.sql += QStringLiteral(" and ") + condition.sql;
        statement.values += condition.values;
    }
    return statement;
}

QString otherSideStatement(NodeKind node)
{
    if (node == NodeKind::Operator)
        return QStringLiteral(
            "select cwhcode,cwhname from warehouse where cwhcode=? or cwhname=?");
    return QStringLiteral(
        "select cuser_id,cuser_name from lxsystem..qd_user where cuser_id=? or cuser_name=?");
}

QString typedItemStatement()
{
    return QStringLiteral(
        "Select cInvCode,cInvName,cInvStd from inventory where cInvCode = ? or cinvName = ?");
}

QString inventoryReferenceStatement()
{
    return QStringLiteral("SELECT cInvCode,cInvName,cInvStd FROM Inventory "
                          "WHERE Not bService=1 ORDER BY cInvCode");
}

} // namespace services::rightsql
