#include "RightsQueries.h"

#include "RightsStatements.h"
#include "data/DataHelpers.h"
#include "suite/dbkit/BoundQuery.h"
#include "suite/dbkit/DbDataSet.h"
#include "suite/dbkit/DbLogin.h"

#include <algorithm>

namespace services {

using depotbase::NullToEmpty;

namespace {

// The first record of a data set, when it has one, is its current record.
void toFirst(dbkit::DbDataSet &set)
{
    if (!(set.BOF() && set.Eof()))
        set.MoveFirst();
}

size_t sizeOf(const dbkit::DbDataSet &set)
{
    return size_t(std::max(0L, set.RecordCount()));
}

// The current record of a set of rightsql::rightsStatement's fields.
JoinedRight joinedRight(const dbkit::DbDataSet &set)
{
    const auto text = [&set](int field) { return NullToEmpty(set.Fields(field)); };
    JoinedRight right;
    right.operatorCode = text(0);
    right.operatorName = text(1);
    right.warehouseCode = text(2);
    right.warehouseName = text(3);
    right.autoId = set.Fields(4).toLongLong();
    right.showMoney = set.Fields(5).toInt() != 0;
    right.classCode = text(6);
    right.itemCode = text(7);
    right.className = text(8);
    right.item = {right.itemCode, text(9), text(10)};
    return right;
}

} // namespace

std::shared_ptr<dbkit::DbDataSet> RightsQueries::rightsList()
{
    return m_login.OpenDataSet(rightsql::listStatement());
}

std::shared_ptr<dbkit::DbDataSet> RightsQueries::filteredRights(const RightsFilter &filter)
{
    return open(rightsql::filterStatement(filter));
}

bool RightsQueries::anyWarehouse()
{
    const dbkit::DbDataSetPtr all = m_login.OpenDataSet(rightsql::warehousesStatement());
    return !(all->BOF() && all->Eof());
}

std::vector<CodeAndName> RightsQueries::operators()
{
    return pairsOf(rightsql::operatorsStatement());
}

std::vector<CodeAndName> RightsQueries::warehouses()
{
    return pairsOf(rightsql::warehousesStatement());
}

std::vector<CodeAndName> RightsQueries::classes()
{
    return pairsOf(rightsql::classesStatement());
}

std::vector<CodeAndName> RightsQueries::pairsOf(const QString &statement)
{
    const dbkit::DbDataSetPtr set = m_login.OpenDataSet(statement);
    std::vector<CodeAndName> pairs;
    pairs.reserve(sizeOf(*set));
    for (toFirst(*set); !set->Eof(); set->MoveNext())
        pairs.push_back({NullToEmpty(set->Fields(0)), NullToEmpty(set->Fields(1))});
    return pairs;
}

std::vector<JoinedRight> RightsQueries::rightsOfNode(NodeKind node, const QString &code,
                                                     const std::function<bool()> &wanted)
{
    std::vector<JoinedRight> rights;
    readRights(rightsql::rightsOfNodeStatement(node, code), rights, wanted);
    return rights;
}

std::vector<JoinedRight> RightsQueries::rightsByAutoIds(const std::vector<long long> &autoIds,
                                                        const RightsFilter &filter)
{
    // Few enough values a statement for every engine's limit on bound values.
    constexpr size_t chunk = 500;
    std::vector<JoinedRight> rights;
    for (size_t first = 0; first < autoIds.size(); first += chunk) {
        const auto begin = autoIds.begin() + std::ptrdiff_t(first);
        const std::vector<long long> some(
            begin, begin + std::ptrdiff_t(std::min(chunk, autoIds.size() - first)));
        readRights(rightsql::rightsByAutoIdsStatement(some, filter), rights);
    }
    return rights;
}

void RightsQueries::readRights(const rightsql::BoundStatement &statement,
                               std::vector<JoinedRight> &rights,
                               const std::function<bool()> &wanted)
{
    const dbkit::DbDataSetPtr set = open(statement);
    rights.reserve(rights.size() + sizeOf(*set));
    for (toFirst(*set); !set->Eof() && (!wanted || wanted()); set->MoveNext())
        rights.push_back(joinedRight(*set));
}

std::optional<JoinedRight> RightsQueries::rightByAutoId(long long autoId)
{
    const dbkit::DbDataSetPtr set = m_login.OpenDataSet(rightsql::rightByAutoIdStatement(autoId));
    if (set->Eof())
        return std::nullopt;
    return joinedRight(*set);
}

std::optional<QString> RightsQueries::otherSideCode(NodeKind node, const QString &text)
{
    const std::vector<QVariantList> found =
        dbkit::selectBound(m_login, rightsql::otherSideStatement(node), {text, text});
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

std::shared_ptr<dbkit::DbDataSet> RightsQueries::open(const rightsql::BoundStatement &statement)
{
    return m_login.OpenDataSet(statement.sql, statement.values);
}

std::shared_ptr<dbkit::DbDataSet> RightsQueries::inventoryReference()
{
    return m_login.OpenDataSet(rightsql::inventoryReferenceStatement());
}

ItemNames RightsQueries::referenceItem(const dbkit::DbDataSet &reference)
{
    return {NullToEmpty(reference.Fields(0)), NullToEmpty(reference.Fields(1)),
            NullToEmpty(reference.Fields(2))};
}

} // namespace services
