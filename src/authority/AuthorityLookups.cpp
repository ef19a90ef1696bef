#include "AuthorityLookups.h"

#include "AuthorityStatements.h"
#include "RightsGrid.h"
#include "data/DataHelpers.h"

namespace authoritylookups {

using depotbase::NullToEmpty;

std::optional<QString> otherSide(dbkit::DbLogin &login, int kind, const QString &text)
{
    dbkit::DbDataSetPtr found = login.OpenDataSet(authority::otherSideStatement(kind, text));
    if (found->BOF() || found->Eof())
        return std::nullopt;
    return NullToEmpty(found->Fields(0));
}

std::optional<std::array<QString, 3>> item(dbkit::DbLogin &login, const QString &text)
{
    dbkit::DbDataSetPtr items = login.OpenDataSet(authority::typedInventoryStatement(text));
    if (items->RecordCount() != 1)
        return std::nullopt;
    items->MoveFirst();
    return std::array<QString, 3>{NullToEmpty(items->Fields(QStringLiteral("cInvCode"))),
                                  NullToEmpty(items->Fields(QStringLiteral("cInvName"))),
                                  NullToEmpty(items->Fields(QStringLiteral("cInvStd")))};
}

std::optional<std::vector<QString>> storedCells(dbkit::DbLogin &login, long long autoId,
                                                int nodeKind)
{
    dbkit::DbDataSetPtr stored = login.OpenDataSet(authority::rightByAutoIdStatement(autoId));
    if (stored->Eof())
        return std::nullopt;
    return rightsgrid::rowCells(*stored, nodeKind);
}

} // namespace authoritylookups
