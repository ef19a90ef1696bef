#include "AuthorityStatements.h"

#include "suite/dbkit/DbLogin.h"

namespace authority {

using dbkit::quoted;

QString authTableStatement()
{
    return QStringLiteral(
        "select Auto_id,cuser_id,cwhcode,id,bDispMoney,cInvCCode,cInvCode from warehauth");
}

QString operatorSetStatement()
{
    return QStringLiteral("select cuser_id,cuser_name from lxsystem..qd_user "
                          "where iAdmin <> 1 and (nState=0 or nState is null)");
}

QString warehouseSetStatement()
{
    return QStringLiteral("select cwhcode,cwhname from warehouse");
}

QString classSetStatement()
{
    return QStringLiteral("Select cInvCCode,cInvCName from InventoryClass");
}

namespace {

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

QString rightsStatement()
{
    return rightsFields() + rightsFrom();
}

QString rightsOfNodeStatement(int nodeKind, const QString &code)
{
    const QString column = nodeKind == 0 ? QStringLiteral("WarehAuth.Id")
                                         : QStringLiteral("WarehAuth.cWhCode");
    return rightsStatement() + QStringLiteral(" where ") + column + QStringLiteral("='")
           + quoted(code) + QStringLiteral("' order by WarehAuth.Auto_id");
}

QString anyRightStatement()
{
    // Stops at the first joined row, however large the table.
    return QStringLiteral("select case when exists (select warehauth.auto_id ") + rightsFrom()
           + QStringLiteral(") then 1 else 0 end");
}

QString otherSideStatement(int kind, const QString &text)
{
    const QString value = quoted(text);
    if (kind == 0)
        return QStringLiteral("select cwhcode,cwhname from warehouse where cwhcode='") + value
               + QStringLiteral("' or cwhname='") + value + QStringLiteral("'");
    return QStringLiteral("select cuser_id,cuser_name from lxsystem..qd_user where cuser_id='")
           + value + QStringLiteral("' or cuser_name='") + value + QStringLiteral("'");
}

QString typedInventoryStatement(const QString &text)
{
    const QString value = quoted(text);
    return QStringLiteral("Select * from inventory where cInvCode = '") + value
           + QStringLiteral("' or cinvName = '") + value + QStringLiteral("'");
}

QString inventoryReferenceStatement(const QString &codePrefix, const QString &namePrefix)
{
    return QStringLiteral("SELECT cInvCode,cInvName,cInvStd FROM Inventory ")
           + QStringLiteral("WHERE (cInvCode Like '") + quoted(codePrefix)
           + QStringLiteral("%' Or cInvName Like '") + quoted(namePrefix)
           + QStringLiteral("%') And Not bService=1") + QStringLiteral(" ORDER BY cInvCode");
}

QString itemInClassStatement(const QString &inv, const QString &cls)
{
    return QStringLiteral("Select cinvcode from inventory where cinvCCode like '") + quoted(cls)
           + QStringLiteral("%' and cInvCode='") + quoted(inv) + QStringLiteral("'");
}

QString operatorWarehouseStatement(const QString &warehouse, const QString &operatorName,
                                   bool warehouseFirst)
{
    if (warehouseFirst)
        return QStringLiteral("Select * from warehauth where cWhCode='") + quoted(warehouse)
               + QStringLiteral("' and cUser_ID='") + quoted(operatorName)
               + QStringLiteral("'");
    return QStringLiteral("Select * from warehauth where cUser_ID='") + quoted(operatorName)
           + QStringLiteral("' and cWhCode='") + quoted(warehouse) + QStringLiteral("'");
}

QString countByAutoIdStatement(long long autoId)
{
    return QStringLiteral("Select count(*) from warehauth where auto_ID=")
           + QString::number(autoId);
}

} // namespace authority
