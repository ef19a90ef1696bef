#include "EditedRows.h"

#include "RightsGrid.h"
#include "services/RightRules.h"
#include "suite/controls/SuperGrid.h"

EditedRows::EditedRows(SuperGrid &grid, const services::Account &account, bool readOnly,
                       const RowCommit::Tell &tell)
    : m_grid(grid), m_commit(account, readOnly, tell), m_entry(account, m_commit, tell)
{
}

QString EditedRows::cell(int row, int col) const
{
    return m_grid.TextMatrix(row, col);
}

int EditedRows::lastRow() const
{
    return m_grid.Rows() - 1;
}

GridRow EditedRows::gridRow(int row) const
{
    return {node, row, rightsgrid::cellsOf(m_grid, row), lastSavedRow, insertedRow, rowMoved};
}

void EditedRows::showRow(const GridRow &row)
{
    rightsgrid::showCells(m_grid, row.row, row.cells);
    rightsgrid::markStoreState(m_grid, row.row);
    lastSavedRow = row.lastSavedRow;
    insertedRow = row.insertedRow;
}

void EditedRows::showNode(const RightsNode &shown,
                          const std::vector<services::JoinedRight> &rights)
{
    insertedRow = 0;
    node = shown;
    // The grid always shows the new node's rights alone, even when no right
    // is stored at all: a row left over from the previous node would be
    // stored under this one.
    curRow = 1;
    lastSavedRow = rightsgrid::show(m_grid, rights, node.kind);
    std::vector<GridRow> read;
    read.reserve(size_t(lastSavedRow));
    for (int row = 1; row <= lastSavedRow; ++row)
        read.push_back(gridRow(row));
    m_commit.rememberRead(read);
    // Editing starts on the first row of the new node.
    if (m_grid.Rows() > 1)
        m_grid.setRow(1);
    rightsgrid::markStoreState(m_grid, m_grid.Row());
}

void EditedRows::makeCurrent(const RightToShow &right)
{
    for (int row = 1; row <= lastSavedRow; ++row) {
        if (cell(row, ColOther) == right.warehouseCode && cell(row, ColClass) == right.classCode
            && cell(row, ColInv) == right.itemCode) {
            m_grid.setRow(row);
            curRow = row;
            return;
        }
    }
}

// ---- checks --------------------------------------------------------------

bool EditedRows::listedOnce(int row) const
{
    // Row 1 is the first right listed; the titles are none.
    return row < 1
           || services::rightrules::listedOnce(rightsgrid::listedRights(m_grid), size_t(row - 1));
}

bool EditedRows::fitsStored(int row)
{
    return row < 1 || row > lastRow() || m_commit.fitsStored(gridRow(row));
}

bool EditedRows::saysShowMoney(int row)
{
    // A row that is not there (the grid holds only its titles) has nothing
    // to check.
    return row > lastRow() || m_entry.saysShowMoney(gridRow(row));
}

bool EditedRows::keepsOtherSide(int row)
{
    return m_entry.keepsOtherSide(gridRow(row));
}

// ---- edits ---------------------------------------------------------------

RowEntry::Answer EditedRows::take(int row, int col, const std::optional<QString> &picked,
                                  QString &text)
{
    GridRow values = gridRow(row);
    const RowEntry::Answer answer = m_entry.take(values, col, picked);
    showRow(values);
    text = cell(row, col);
    return answer;
}

bool EditedRows::refusesClassAndItem(int row, int col)
{
    return m_entry.refusesClassAndItem(gridRow(row), col);
}

void EditedRows::refuseRepeated(int row, int col, QString &text)
{
    GridRow values = gridRow(row);
    m_entry.refuseRepeated(values, col);
    showRow(values);
    text = cell(row, col);
}

void EditedRows::save(int row, int col, QString &text)
{
    // The writes act on curRow: it is the committed row.
    curRow = row;
    GridRow values = gridRow(row);
    const bool refused = m_commit.save(values, col);
    showRow(values);
    if (refused)
        text = cell(row, col);
}

bool EditedRows::remove(int row)
{
    GridRow values = gridRow(row);
    if (!m_commit.remove(values)) {
        showRow(values);  // a right changed meanwhile shows as it is stored
        return false;
    }
    m_grid.RemoveItem(row);
    rightsgrid::markStoreState(m_grid, m_grid.Row());
    // Only a written row counts among the written ones: removing a new row
    // must not turn the last written row into a new one.
    if (row <= lastSavedRow)
        --lastSavedRow;
    insertedRow = 0;
    return true;
}
