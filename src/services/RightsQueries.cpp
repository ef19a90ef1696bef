#include "RightsQueries.h"

#include "RightsStatements.h"
#include "data/DataHelpers.h"
#include "suite/dbkit/BoundQuery.h"

#include <algorithm>

namespace services {

using depotbase::NullToEmpty;

dbkit::DbDataSetPtr RightsQueries::rightsList()
{
    return m_login.OpenDataSet(rightsql::listStatement());
}

dbkit::DbDataSetPtr RightsQueries::filteredRights(const RightsFilter &filter)
{
    return open(rightsql::filterStatement(filter));
}

bool RightsQueries::anyWarehouse()
{
    const dbkit::DbDataSetPtr all = warehouseSet();
    return !(all->BOF() && all->Eof());
}

dbkit::DbDataSetPtr RightsQueries::operatorSet()
{
    return m_login.OpenDataSet(rightsql::operatorsStatement());
}

dbkit::DbDataSetPtr RightsQueries::warehouseSet()
{
    return m_login.OpenDataSet(rightsql::warehousesStatement());
}

dbkit::DbDataSetPtr RightsQueries::classSet()
{
    return m_login.OpenDataSet(rightsql::classesStatement());
}

std::vector<CodeAndName> RightsQueries::operators()
{
    return pairsOf(rightsql::operatorsStatement());
}

std::vector<CodeAndName> RightsQueries::warehouses()
{
    return pairsOf(rightsql::warehousesStatement());
}

std::vector<CodeAndName> RightsQueries::pairsOf(const QString &statement)
{
    const dbkit::DbDataSetPtr set = m_login.OpenDataSet(statement);
    std::vector<CodeAndName> pairs;
    pairs.reserve(size_t(std::max(0L, set->RecordCount())));
    if (!(set->BOF() && set->Eof()))
        set->MoveFirst();
    for (; !set->Eof(); set->MoveNext())
        pairs.push_back({NullToEmpty(set->Fields(0)), NullToEmpty(set->Fields(1))});
    return pairs;
}

dbkit::DbDataSetPtr RightsQueries::rightsOfNode(int nodeKind, const QString &code)
{
    return open(rightsql::rightsOfNodeStatement(nodeKind, code));
}

dbkit::DbDataSetPtr RightsQueries::rightByAutoId(long long autoId)
{
    return m_login.OpenDataSet(rightsql::rightByAutoIdStatement(autoId));
}

std::optional<QString> RightsQueries::otherSideCode(int kind, const QString &text)
{
    const std::vector<QVariantList> found =
        dbkit::selectBound(m_login, rightsql::otherSideStatement(kind), {text, text});
    if (found.empty())
        return std::nullopt;
    return NullToEmpty(found.front().at(0));
}

std::optional<ItemNames> RightsQueries::typedItem(const QString &text)
{
    const std::vector<QVariantList> items =
        dbkit::selectBound(m_login, rightsql::typedItemStatement(), {text, text});
    if (items.size() != 1)
        return std::nullopt;
    const QVariantList &item = items.front();
    return ItemNames{NullToEmpty(item.at(0)), NullToEmpty(item.at(1)), NullToEmpty(item.at(2))};
}

dbkit::DbDataSetPtr RightsQueries::open(const rightsql::BoundStatement &statement)
{
    return m_login.OpenDataSet(statement.sql, statement.values);
}

dbkit::DbDataSetPtr RightsQueries::inventoryReference()
{
    return m_login.OpenDataSet(rightsql::inventoryReferenceStatement());
}

} // namespace services
