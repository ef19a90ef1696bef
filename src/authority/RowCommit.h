#pragma once

#include "RightsColumns.h"

#include "services/Account.h"
#include "services/NodeKind.h"
#include "services/RightRecord.h"
#include "services/RightsQueries.h"
#include "services/RightsService.h"
#include "services/ServiceResult.h"

#include <QHash>
#include <QString>
#include <functional>
#include <vector>

// The node whose rights the editor's grid lists: an operator (the grid lists
// warehouses) or a warehouse (the grid lists operators).
struct RightsNode {
    services::NodeKind kind = services::NodeKind::Operator;
    QString code;
    QString name;
};

// One grid row as the writes see it: its cells and the editing state around
// it. The writes change both; the editor then shows them.
struct GridRow {
    RightsNode node;
    int row = 0;
    std::vector<QString> cells;  // one per column
    int lastSavedRow = 0;        // last grid row known to be written
    int insertedRow = 0;         // the row stored by the editing going on in it
    bool rowMoved = false;       // the cursor moved since the row's last commit
};

// The decisions of storing the authority editor's grid rows: whether a
// commit inserts or updates, which cells a refusal empties or restores from
// what is stored, and when a whole-warehouse right is taken back. The rights
// service checks and writes; what must be said goes to `tell` at the moment
// it happens. No window of its own.
class RowCommit : public RightsColumns {
public:
    using Tell = std::function<void(const QString &text)>;

    RowCommit(const services::Account &account, bool readOnly, Tell tell);

    // True after telling, when the editor was opened read-only.
    bool refusesWrites();
    bool readOnly() const { return m_readOnly; }
    // The selected node's side from the node, the rest from the cells.
    static services::RightRecord rightOf(const GridRow &row);

    // Notes the rows as the editor shows them after reading them: an update
    // names what its row held when read, so a right another administrator
    // changed meanwhile is refused, not overwritten.
    void rememberRead(const std::vector<GridRow> &rows);
    // Notes one row as its right is stored now (shown after another seat's
    // change), or forgets a right that is gone.
    void rememberStored(const GridRow &row);
    void forget(long long autoId) { m_asRead.remove(autoId); }
    // True when the row shows values its right does not hold as read or
    // last written: typed values a failed write left, or no right at all.
    bool holdsUnstored(const GridRow &row) const;

    // Stores the row as a new right; its Auto_id goes into its cells.
    services::ServiceResult insert(GridRow &row);
    // Rewrites the row's right; a row whose record was found gone is new
    // again and is stored anew.
    services::ServiceResult update(GridRow &row);
    // Stores the row after a commit of column `col`. A refusal is told and
    // the refused cells show again what the table holds; true when they did.
    bool save(GridRow &row, int col);
    // The cells of `col` show again what the table holds; a refused
    // narrowing may take back the row's whole-warehouse right.
    void refuse(GridRow &row, int col);
    // Deletes the row's right, if it has one, as long as it is stored as
    // read; false after telling a failure. A right another administrator
    // changed meanwhile stays, and the row shows it as the table holds it.
    bool remove(GridRow &row);
    // False after telling, when the row's right crosses a stored one.
    bool fitsStored(const GridRow &row);

private:
    void restoreStored(GridRow &row, int col);
    // All cells show again what the table holds.
    void restoreAll(GridRow &row);
    static void setNew(GridRow &row);
    static bool wholeWarehouse(const GridRow &row);

    services::RightsQueries m_queries;
    services::RightsService m_rights;
    bool m_readOnly = false;
    Tell m_tell;
    // The rights as read or last written, by Auto_id.
    QHash<long long, services::RightRecord> m_asRead;
};
