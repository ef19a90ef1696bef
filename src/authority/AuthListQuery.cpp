#include "AuthListQuery.h"

#include "suite/dbkit/DbLogin.h"


namespace authlist {

namespace {

QString selectableOperator()
{
    return QStringLiteral("lxsystem..qd_user.iAdmin <> 1 and (lxsystem..qd_user.nState=0 or "
                          "lxsystem..qd_user.nState is null)");
}

} // namespace

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

QString filterStatement(const QString &condition)
{
    // The operator restriction always stands in the WHERE clause, so an
    // empty condition lists exactly what the unfiltered list does.
    const QString where = condition.isEmpty()
                              ? QStringLiteral(" where ") + selectableOperator() + " "
                              : QStringLiteral(" where ") + condition + QStringLiteral(" ")
                                    + QStringLiteral(" and ") + selectableOperator() + " ";
    return QStringLiteral("select WarehAuth.Auto_Id, WarehAuth.Id,lxsystem..qd_user.cuser_name,"
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
}

QString usersStatement()
{
    return QStringLiteral("select cuser_id,cuser_name from lxsystem..qd_user where iAdmin <> 1 "
                          "and (nState=0 or nState is null)");
}

QString warehousesStatement()
{
    return QStringLiteral("select cwhcode,cwhname from warehouse");
}

QString filterCondition(const QString &operatorCode, const QString &warehouseCode)
{
    QString condition;
    if (!operatorCode.isEmpty())
        condition += QStringLiteral(" And WarehAuth.Id='") + dbkit::quoted(operatorCode) + "'";
    if (!warehouseCode.isEmpty())
        condition += QStringLiteral(" And WarehAuth.cWhCode='") + dbkit::quoted(warehouseCode)
                     + "'";
    if (condition.startsWith(QStringLiteral(" And ")))
        condition.remove(0, 5);
    return condition;
}

} // namespace authlist
