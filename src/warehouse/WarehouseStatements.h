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

// Deletes the warehouse of a code.
QString deleteStatement(const QString &code);
// The delete of the in-use test, always rolled back.
QString trialDeleteStatement(const QString &code);
// Number of storage positions of a warehouse.
QString positionCountStatement(const QString &code);
// The storage positions of a warehouse.
QString positionsStatement(const QString &code);

// Leaf departments (code, name, person) the card offers, by code.
QString leafDepartmentsStatement();
// The account's options.
QString accountOptionsStatement();
// Valuation styles of the warehouses of a department, first warehouse by code first.
QString departmentStylesStatement(const QString &depCode);
// Gives every warehouse of a department a valuation style.
QString setDepartmentStyleStatement(const QString &depCode, const QString &style);

} // namespace warehouse
