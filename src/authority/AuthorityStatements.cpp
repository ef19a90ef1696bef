#include "AuthorityStatements.h"

#include "suite/dbkit/DbLogin.h"

namespace authority {

using dbkit::quoted;

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

QString rightByAutoIdStatement(long long autoId)
{
    return rightsStatement() + QStringLiteral(" where WarehAuth.Auto_id=")
           + QString::number(autoId);
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

QString inventoryReferenceStatement()
{
    return QStringLiteral("SELECT cInvCode,cInvName,cInvStd FROM Inventory "
                          "WHERE Not bService=1 ORDER BY cInvCode");
}

} // namespace authority
