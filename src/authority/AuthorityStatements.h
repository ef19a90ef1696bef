#pragma once

#include <QString>

// The statements the authority editor runs. Every value put between quotes
// has its quotes doubled, so nothing typed changes a statement's shape.
namespace authority {

// Operators that may hold rights: no administrators, no inactive operators.
QString operatorSetStatement();
QString warehouseSetStatement();
QString classSetStatement();

// The existing rights joined with operator, warehouse, class and item names.
// Fields: 0 operator code, 1 operator name, 2 warehouse code, 3 warehouse
// name, 4 auto_id, 5 bDispMoney, 6 class code, 7 item code, 8 class name,
// 9 item name, 10 item model (规格型号).
QString rightsStatement();
// The same rights of one operator (nodeKind 0) or one warehouse (1), in the
// order they were written.
QString rightsOfNodeStatement(int nodeKind, const QString &code);
// The joined right with this Auto_id (no row when it is gone or not listed).
QString rightByAutoIdStatement(long long autoId);

// A warehouse (kind 0) or operator (kind 1) by code or name.
QString otherSideStatement(int kind, const QString &text);
// Items whose code or name is the typed text (service items included).
QString typedInventoryStatement(const QString &text);
// Items offered by the inventory reference: every item but service items.
QString inventoryReferenceStatement();


} // namespace authority
