#pragma once

#include "NodeKind.h"
#include "RightsFilter.h"
#include "RightsStatements.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace dbkit {
class DbLogin;
class DbDataSet;
}

namespace services {

// An operator's, a warehouse's or a class's code and name, as a drop-down
// or the editor's tree offers them.
struct CodeAndName {
    QString code;
    QString name;
};

// An item as the authority editor shows it: code, name and model (规格型号).
struct ItemNames {
    QString code;
    QString name;
    QString model;
};

// A stored right with the names the editor shows beside its codes
// (rightsql::rightsStatement's fields).
struct JoinedRight {
    QString operatorCode;
    QString operatorName;
    QString warehouseCode;
    QString warehouseName;
    long long autoId = 0;
    bool showMoney = false;
    QString classCode;
    QString itemCode;
    QString className;
    ItemNames item;  // "" throughout for a right without item
};

// What the warehouse-rights windows read: the authority list and its filter,
// the lists of operators, warehouses and classes, the rights of one operator
// or one warehouse, and the look-ups of a typed operator, warehouse or item.
// The list's rows and the inventory reference's come as the data sets a grid
// or the reference window shows, which the windows hand on without reading
// them; everything else comes as values. A failure of the database throws
// dbkit::DbError.
class RightsQueries {
public:
    explicit RightsQueries(dbkit::DbLogin &login) : m_login(login) {}

    // The authority list's rights (rightsql::listStatement's fields).
    std::shared_ptr<dbkit::DbDataSet> rightsList();
    // The rights that match the codes of `filter`; every right when it is empty.
    std::shared_ptr<dbkit::DbDataSet> filteredRights(const RightsFilter &filter);
    // Whether any warehouse exists: without one no right can be set.
    bool anyWarehouse();

    // Operators that may hold rights, every warehouse and every class, each
    // in the order of its statement.
    std::vector<CodeAndName> operators();
    std::vector<CodeAndName> warehouses();
    std::vector<CodeAndName> classes();

    // The rights of one operator or one warehouse, in the order they were
    // written. `wanted`, when given, is asked before each right is taken
    // from the rows read; once it says no, the rest are left and what was
    // taken so far is returned (a reader whose result is no longer wanted).
    std::vector<JoinedRight> rightsOfNode(NodeKind node, const QString &code,
                                          const std::function<bool()> &wanted = {});
    // The right with this Auto_id; nothing when it is gone.
    std::optional<JoinedRight> rightByAutoId(long long autoId);
    // The rights with these Auto_ids that still exist, are listed and match
    // the codes of `filter`, read a few hundred to a statement.
    std::vector<JoinedRight> rightsByAutoIds(const std::vector<long long> &autoIds,
                                             const RightsFilter &filter);
    // The code of the other side a right of a node of this kind names (a
    // warehouse for an operator, an operator for a warehouse) whose code or
    // name is `text`; the first when several match.
    std::optional<QString> otherSideCode(NodeKind node, const QString &text);
    // The one item whose code or name is `text`; nothing when none or more
    // than one match.
    std::optional<ItemNames> typedItem(const QString &text);
    // The items the inventory reference offers: code, name and model.
    std::shared_ptr<dbkit::DbDataSet> inventoryReference();
    // The item the inventory reference's rows stand on, once one is chosen.
    static ItemNames referenceItem(const dbkit::DbDataSet &reference);

private:
    std::vector<CodeAndName> pairsOf(const QString &statement);
    // Appends the rights the statement reads to `rights`.
    void readRights(const rightsql::BoundStatement &statement, std::vector<JoinedRight> &rights,
                    const std::function<bool()> &wanted = {});
    std::shared_ptr<dbkit::DbDataSet> open(const rightsql::BoundStatement &statement);

    dbkit::DbLogin &m_login;
};

} // namespace services
