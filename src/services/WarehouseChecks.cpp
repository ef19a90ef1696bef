#include "WarehouseChecks.h"

#include "WarehouseRules.h"
#include "data/Catalogue.h"
#include "data/DataHelpers.h"
#include "suite/dbkit/DbError.h"
#include "suite/dbkit/DbLogin.h"
#include "suite/dbkit/SqlForms.h"

namespace text = depotbase::text;

using depotbase::NullToEmpty;

namespace services {

namespace rules = warehouse_rules;

WarehouseChecks::WarehouseChecks(dbkit::DbLogin &login) : m_login(login) {}

ServiceResult WarehouseChecks::checkQuota(const QString &quota)
{
    return rules::checkQuota(quota, dbkit::SqlForms(m_login).decimalsAsDouble());
}

AccountOptions WarehouseChecks::accountOptions()
{
    AccountOptions options;
    dbkit::DbDataSetPtr rows = m_login.OpenDataSet(QStringLiteral("Select * From AccInformation"),
                                                   dbkit::OpenMode::ReadOnly);
    if (rows->RecordCount() <= 0)
        return options;
    rows->FindFirst(QStringLiteral("cSysID='AA' And cName='cSysVersion'"));
    if (!rows->NoMatch()) {
        QString version = NullToEmpty(rows->Fields(QStringLiteral("cValue")));
        if (version.isEmpty())
            version = NullToEmpty(rows->Fields(QStringLiteral("cDefault")));
        options.industrial = version == depotbase::LoadResString(text::Industry);
    }
    rows->FindFirst(QStringLiteral("cSysID='IA' And cName='cValueStyle'"));
    if (!rows->NoMatch())
        options.byDepartment =
            NullToEmpty(rows->Fields(QStringLiteral("cValue"))) == QStringLiteral("按部门核算");
    return options;
}

bool WarehouseChecks::inUse(const QString &code)
{
    try {
        dbkit::TransactionGuard trial(m_login);
        m_login.executeBound(QStringLiteral("DELETE FROM Warehouse WHERE cWhCode=?"), {code});
        trial.rollback();
        return false;
    } catch (const dbkit::DbError &error) {
        if (rules::isRelatedRecords(error.number()))
            return true;
        throw;
    }
}

long long WarehouseChecks::positionCount(const QString &code)
{
    dbkit::DbDataSetPtr count =
        m_login.OpenDataSet(QStringLiteral("Select Count(*) From Position Where cWHcode = ?"),
                            {code}, dbkit::OpenMode::ReadOnly);
    return count->Fields(0).toLongLong();
}

ServiceResult WarehouseChecks::checkPositionsOff(const WarehouseRecord &stored)
{
    if (!stored.positions || positionCount(stored.code) == 0)
        return ServiceResult::ok();
    return ServiceResult::refused(Refusal::HasPositions, rules::positionsKeptText(),
                                  QStringLiteral("bWhPos"));
}

DepartmentStyle WarehouseChecks::departmentStyle(const QString &depCode, const QString &ownCode)
{
    DepartmentStyle rule;
    dbkit::DbDataSetPtr styles = m_login.OpenDataSet(
        QStringLiteral("SELECT cWhCode, cWhValueStyle FROM WareHouse WHERE cDepCode=? "
                       "ORDER BY cWhCode"),
        {depCode}, dbkit::OpenMode::ReadOnly);
    if (styles->Eof())
        return rule;
    rule.style = NullToEmpty(styles->Fields(QStringLiteral("cWhValueStyle")));
    for (; !styles->Eof(); styles->MoveNext())
        if (NullToEmpty(styles->Fields(QStringLiteral("cWhCode"))) != ownCode)
            ++rule.others;
    return rule;
}

} // namespace services
