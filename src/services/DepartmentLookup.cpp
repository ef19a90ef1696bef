#include "DepartmentLookup.h"

#include "data/DataHelpers.h"
#include "suite/dbkit/DbLogin.h"

namespace services {

DepartmentLookup::DepartmentLookup(dbkit::DbLogin &login)
    : m_rows(login.OpenDataSet(statement(), dbkit::OpenMode::Default))
{
}

QString DepartmentLookup::statement()
{
    return QStringLiteral("Select cDepCode,cDepName,cDepPerson From Department ")
           + QStringLiteral("Where bDepEnd=1 Order By cDepCode");
}

std::optional<Department> DepartmentLookup::find(const QString &text)
{
    m_rows->Requery(-1);
    if (m_rows->RecordCount() <= 0)
        return std::nullopt;
    if (auto byCode = firstWhere(QStringLiteral("cDepCode"), text))
        return byCode;
    return firstWhere(QStringLiteral("cDepName"), text);
}

std::optional<Department> DepartmentLookup::firstWhere(const QString &column,
                                                       const QString &text)
{
    // A Null column matches no text, not even an empty one.
    for (m_rows->MoveFirst(); !m_rows->Eof(); m_rows->MoveNext()) {
        const QVariant value = m_rows->Fields(column);
        if (!value.isNull() && value.toString() == text)
            return current();
    }
    return std::nullopt;
}

dbkit::DbDataSetPtr DepartmentLookup::rows()
{
    m_rows->Requery(-1);
    return m_rows;
}

Department DepartmentLookup::current() const
{
    return {depotbase::NullToEmpty(m_rows->Fields(0)), depotbase::NullToEmpty(m_rows->Fields(1))};
}

} // namespace services
