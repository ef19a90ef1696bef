#pragma once

#include "RightsFilter.h"
#include "RightsStatements.h"
#include "suite/dbkit/DbDataSet.h"
#include "suite/dbkit/DbLogin.h"

#include <QString>
#include <optional>
#include <vector>

namespace services {

// An operator's or a warehouse's code and name, as a drop-down offers them.
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

// What the warehouse-rights windows read: the authority list and its filter,
// the lists of operators and warehouses, the rights of one operator or one
// warehouse, and the look-ups of a typed operator, warehouse or item. The
// data sets are the ones a grid, a tree or a reference shows; a failure of
// the database throws dbkit::DbError.
class RightsQueries {
public:
    explicit RightsQueries(dbkit::DbLogin &login) : m_login(login) {}

    // The authority list's rights (rightsql::listStatement's fields).
    dbkit::DbDataSetPtr rightsList();
    // The rights that match the codes of `filter`; every right when it is empty.
    dbkit::DbDataSetPtr filteredRights(const RightsFilter &filter);
    // Whether any warehouse exists: without one no right can be set.
    bool anyWarehouse();

    // Operators that may hold rights, warehouses and classes, code in field
    // 0 and name in field 1.
    dbkit::DbDataSetPtr operatorSet();
    dbkit::DbDataSetPtr warehouseSet();
    dbkit::DbDataSetPtr classSet();
    // The same operators and warehouses as plain pairs, in the sets' order.
    std::vector<CodeAndName> operators();
    std::vector<CodeAndName> warehouses();

    // The joined rights (rightsql::rightsStatement's fields) of one operator
    // (nodeKind 0) or one warehouse (1), in the order they were written.
    dbkit::DbDataSetPtr rightsOfNode(int nodeKind, const QString &code);
    // The joined right with this Auto_id: no row when it is gone.
    dbkit::DbDataSetPtr rightByAutoId(long long autoId);
    // The code of the warehouse (kind 0) or operator (kind 1) whose code or
    // name is `text`; the first when several match.
    std::optional<QString> otherSideCode(int kind, const QString &text);
    // The one item whose code or name is `text`; nothing when none or more
    // than one match.
    std::optional<ItemNames> typedItem(const QString &text);
    // The items the inventory reference offers: code, name and model.
    dbkit::DbDataSetPtr inventoryReference();

private:
    std::vector<CodeAndName> pairsOf(const QString &statement);
    dbkit::DbDataSetPtr open(const rightsql::BoundStatement &statement);

    dbkit::DbLogin &m_login;
};

} // namespace services
