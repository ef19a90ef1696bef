#pragma once

#include <QString>

// The statements of the authority list and its locate and filter dialog.
namespace authlist {

// Every right whose operator is a selectable operator (no administrator, not
// inactive) and whose warehouse exists, in the order written.
QString listStatement();
// The same rights narrowed by a condition from the filter dialog (a WHERE
// body without the word; "" lists what listStatement lists).
QString filterStatement(const QString &condition);

// Operators that may hold rights: code and name.
QString usersStatement();
// Every warehouse: code and name.
QString warehousesStatement();

// Filter conditions on one operator code and one warehouse code, joined by
// " And "; a side left empty adds nothing. Quotes in the codes are doubled.
QString filterCondition(const QString &operatorCode, const QString &warehouseCode);

} // namespace authlist
