#pragma once

#include "RightsColumns.h"
#include "RowCommit.h"

#include "services/RightsQueries.h"

#include <QString>
#include <optional>

// What a committed cell of the authority editor's grid becomes before the
// row is stored: the code of the warehouse, operator or item the typed code
// or name stands for, the names shown beside it, and the refusals of a class
// beside an item and of a row repeating another. What must be said goes to
// the RowCommit's `tell`. No window of its own.
class RowEntry : public RightsColumns {
public:
    enum class Answer {
        Taken,        // the row goes on to be stored
        Refused,      // told; the row is not stored
        UnknownItem,  // told; the item cells show what the table holds
    };

    RowEntry(const services::Account &account, RowCommit &commit, RowCommit::Tell tell);

    // Takes the text committed into column `col`; `picked` is the name of
    // the drop-down item chosen for it, if any.
    Answer take(GridRow &row, int col, const std::optional<QString> &picked);
    // The other side a right of a node of this kind names (a warehouse for
    // an operator, an operator for a warehouse), by code or name: `code`
    // becomes its code; false when there is none.
    bool resolveOtherSide(services::NodeKind node, QString &code);
    // The item cells of the one item whose code or name the item cell
    // holds; all empty and false when none or several match.
    bool resolveItem(GridRow &row);
    // A row repeating another row: told, and the committed column's cells
    // are emptied (a new row's other side) or show what the table holds.
    void refuseRepeated(GridRow &row, int col);

    // True after telling, when column `col` is the class cell of a row with
    // an item or the item cell of a row with a class: a row holds one or
    // the other.
    bool refusesClassAndItem(const GridRow &row, int col);
    // The checks a row must pass before it is left; false after telling.
    // A written row keeps its other side.
    bool keepsOtherSide(const GridRow &row);
    bool saysShowMoney(const GridRow &row);

private:
    Answer takeOtherSide(GridRow &row, const std::optional<QString> &picked);
    Answer takeItem(GridRow &row);

    services::RightsQueries m_queries;
    RowCommit &m_commit;
    RowCommit::Tell m_tell;
};
