#pragma once

#include "NodeKind.h"
#include "RightsFilter.h"

#include <QString>
#include <QVariantList>
#include <vector>

// The statements that read warehouse rights for the authority list, its
// locate and filter dialog and the authority editor. A code or a typed text
// is never part of a statement's text: it is bound to a "?" placeholder.
namespace services::rightsql {

// A statement and the values bound to its "?" placeholders, in order.
struct BoundStatement {
    QString sql;
    QVariantList values;
};

// Operators that may hold rights (no administrators, no inactive operators):
// code and name.
QString operatorsStatement();
// Every warehouse: code and name.
QString warehousesStatement();
// Every inventory class: code and name.
QString classesStatement();

// The authority list: every right whose operator is a selectable operator
// and whose warehouse exists, in the order written.
QString listStatement();
// The same rights narrowed to the codes of `filter`; an empty filter lists
// what listStatement lists.
BoundStatement filterStatement(const RightsFilter &filter);

// The existing rights joined with operator, warehouse, class and item names.
// Fields: 0 operator code, 1 operator name, 2 warehouse code, 3 warehouse
// name, 4 auto_id, 5 bDispMoney, 6 class code, 7 item code, 8 class name,
// 9 item name, 10 item model (规格型号).
QString rightsStatement();
// The same rights of one operator or one warehouse, in the order they were
// written.
BoundStatement rightsOfNodeStatement(NodeKind node, const QString &code);
// The joined right with this Auto_id (no row when it is gone or not listed).
QString rightByAutoIdStatement(long long autoId);
// The joined rights with these Auto_ids that also match the codes of
// `filter` (any right when it is empty); one "?" per Auto_id.
BoundStatement rightsByAutoIdsStatement(const std::vector<long long> &autoIds,
                                        const RightsFilter &filter);

// The other side a right of a node of this kind names (a warehouse for an
// operator, an operator for a warehouse) whose code or name is the one bound
// value (bound twice).
QString otherSideStatement(NodeKind node);
// Code, name and model of the items whose code or name is the one bound
// value (bound twice); service items included.
QString typedItemStatement();
// Items offered by the inventory reference: every item but service items.
QString inventoryReferenceStatement();

} // namespace services::rightsql
