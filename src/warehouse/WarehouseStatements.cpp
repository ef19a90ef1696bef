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

QString leafDepartmentsStatement()
{
    return QStringLiteral("Select cDepCode,cDepName,cDepPerson From Department ")
           + QStringLiteral("Where bDepEnd=1 Order By cDepCode");
}

} // namespace warehouse
