#pragma once

#include <QString>

// The statements on warehouses that the list and the card run. Every value
// put between quotes has its quotes doubled, so nothing typed changes a
// statement's shape.
namespace warehouse {

// Every warehouse with its department's name, by code.
QString listStatement();
// The same narrowed by a condition from the filter dialog (a WHERE body
// without the word; "" lists every warehouse).
QString filteredListStatement(const QString &condition);
// The criterion that finds the warehouse of a code in the list's data set.
QString codeCriterion(const QString &code);

// Leaf departments (code, name, person) the card offers, by code.
QString leafDepartmentsStatement();

} // namespace warehouse
