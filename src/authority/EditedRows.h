#pragma once

#include "AuthorityContext.h"
#include "RightsColumns.h"
#include "RowCommit.h"
#include "RowEntry.h"

#include "services/RightsQueries.h"

#include <QSet>
#include <QString>
#include <optional>
#include <vector>

class SuperGrid;

// The rows of the authority editor's grid and the editing going on in them:
// the node whose rights they are, the row being edited, the rows known to be
// written and the row the editing going on stored. A row goes to RowEntry and
// RowCommit as a GridRow, and the grid then shows what they left of it. What
// must be said goes to `tell`. No window of its own.
class EditedRows : public RightsColumns {
public:
    EditedRows(SuperGrid &grid, const services::Account &account, bool readOnly,
               const RowCommit::Tell &tell);

    RightsNode node;        // whose rights the rows are
    int curRow = 1;         // grid row being edited
    int lastSavedRow = 0;   // last grid row known to be written
    int insertedRow = 0;    // the row stored by the editing going on in it
    bool rowMoved = false;  // the grid reported a cursor move

    // True after telling, when the editor was opened read-only.
    bool refusesWrites() { return m_commit.refusesWrites(); }
    bool readOnly() const { return m_commit.readOnly(); }

    QString cell(int row, int col) const;
    int lastRow() const;

    // Shows the rights of `shown` alone, noted as read, and starts editing
    // on the first row.
    void showNode(const RightsNode &shown, const std::vector<services::JoinedRight> &rights);
    // Makes the written row of this warehouse, class and item current, if
    // there is one.
    void makeCurrent(const RightToShow &right);

    // The checks of a row: true when it passes; a failure is told, except
    // by listedOnce, whose callers tell it.
    bool listedOnce(int row) const;
    bool fitsStored(int row);  // against the stored rights
    bool saysShowMoney(int row);
    bool keepsOtherSide(int row);  // a written row keeps its other side
    bool resolveOtherSide(services::NodeKind kind, QString &code)
    {
        return m_entry.resolveOtherSide(kind, code);
    }

    // What the text committed into (row, col) becomes, `picked` being the
    // name of the drop-down item chosen; `text` becomes what the cell shows.
    RowEntry::Answer take(int row, int col, const std::optional<QString> &picked, QString &text);
    // True after telling, when a row holds a class and an item (see RowEntry).
    bool refusesClassAndItem(int row, int col);
    // A row repeating another: told; `text` becomes what the cell shows.
    void refuseRepeated(int row, int col, QString &text);
    // Stores the committed row, which becomes the row being edited; a
    // refusal is told and `text` becomes what the refused cell shows.
    void save(int row, int col, QString &text);
    // Deletes the right of `row`, if it has one, and removes the row; false
    // after telling a failure.
    bool remove(int row);

    // Changes made elsewhere (EditedRowsFollow.cpp): the Auto_ids of the
    // rows that show a right on one of these warehouses.
    std::vector<long long> rightsOnWarehouses(const QSet<QString> &warehouses) const;
    // The rights `touched` as `stored` holds those of them that are still
    // the node's: a row shows its right as stored now, or goes when it is
    // gone; a right of the node not shown is added at the end. A row that
    // holds values not stored keeps them, and its next write is refused as
    // changed or deleted meanwhile. The current row and cell, and the top
    // row, stay on their rights.
    // While a cell of `editedRow` is being edited (0: none), that row and
    // every row to add or remove wait: their Auto_ids are handed back.
    QSet<long long> takeStored(const QSet<long long> &touched,
                               const std::vector<services::JoinedRight> &stored, int editedRow);

private:
    GridRow gridRow(int row) const;
    // Shows what RowEntry or RowCommit left of the row.
    void showRow(const GridRow &row);
    // Removes rows whose rights went, from the bottom up; the row numbers
    // kept move with their rows.
    void removeGone(std::vector<int> rows);
    void appendStored(const services::JoinedRight &right);

    SuperGrid &m_grid;
    RowCommit m_commit;
    RowEntry m_entry;
};
