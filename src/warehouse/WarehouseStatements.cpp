#include "WarehouseStatements.h"

#include "suite/dbkit/DbLogin.h"

namespace warehouse {

QString listStatement()
{
    return QStringLiteral("SELECT Department.cDepName, Warehouse.* ")
           + QStringLiteral("FROM Department RIGHT JOIN Warehouse ON ")
           + QStringLiteral("Department.cDepCode = Warehouse.cDepCode ")
           + QStringLiteral("Order By Warehouse.cWhCode");
}

QString filteredListStatement(const QString &condition)
{
    const QString where = condition.isEmpty() ? QString()
                                              : QStringLiteral(" where ") + condition + " ";
    return QStringLiteral("SELECT Department.cDepName, Warehouse.* ")
           + QStringLiteral("FROM Department RIGHT JOIN Warehouse ON ")
           + QStringLiteral("Department.cDepCode = Warehouse.cDepCode  ") + where
           + QStringLiteral("Order By Warehouse.cWhCode");
}

QString codeCriterion(const QString &code)
{
    return QStringLiteral("cWhCode='") + dbkit::quoted(code) + QStringLiteral("'");
}

QString deleteStatement(const QString &code)
{
    return QStringLiteral("delete  from Warehouse ") + QStringLiteral("where cwhcode='")
           + dbkit::quoted(code) + QStringLiteral("'");
}

QString trialDeleteStatement(const QString &code)
{
    return QStringLiteral("delete from Warehouse where cWhCode='") + dbkit::quoted(code)
           + QStringLiteral("'");
}

QString positionCountStatement(const QString &code)
{
    return QStringLiteral("Select Count(*) From Position Where cWHcode = '")
           + dbkit::quoted(code) + QStringLiteral("'");
}

QString positionsStatement(const QString &code)
{
    return QStringLiteral("Select * from Position where cWhcode='") + dbkit::quoted(code)
           + QStringLiteral("'");
}

QString leafDepartmentsStatement()
{
    return QStringLiteral("Select cDepCode,cDepName,cDepPerson From Department ")
           + QStringLiteral("Where bDepEnd=1 Order By cDepCode");
}

QString accountOptionsStatement()
{
    return QStringLiteral("Select * From AccInformation");
}

QString departmentStylesStatement(const QString &depCode)
{
    return QStringLiteral("SELECT cWhCode, cWhValueStyle FROM WareHouse WHERE cDepCode='")
           + dbkit::quoted(depCode) + QStringLiteral("' ORDER BY cWhCode");
}

QString setDepartmentStyleStatement(const QString &depCode, const QString &style)
{
    return QStringLiteral("Update WareHouse Set cWHValueStyle='") + dbkit::quoted(style)
           + QStringLiteral("' ") + QStringLiteral("Where cDepCode='") + dbkit::quoted(depCode)
           + QStringLiteral("'");
}

} // namespace warehouse
