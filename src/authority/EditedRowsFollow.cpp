// The editor's rows follow the rights other seats and windows change: what
// the change feed reports is read again and shown as it is stored now.
#include "EditedRows.h"

#include "RightsGrid.h"
#include "suite/controls/GridColors.h"
#include "suite/controls/SuperGrid.h"

#include <QHash>
#include <algorithm>

namespace {

// How many of `rows` stand above `row`.
int countAbove(const std::vector<int> &rows, int row)
{
    return int(std::count_if(rows.begin(), rows.end(), [row](int r) { return r < row; }));
}

} // namespace

std::vector<long long> EditedRows::rightsOnWarehouses(const QSet<QString> &warehouses) const
{
    std::vector<long long> rights;
    if (node.kind != services::NodeKind::Operator)
        return rights;  // the node's warehouse shows in the tree, not the rows
    for (int row = 1; row <= lastRow(); ++row)
        if (!rightsgrid::unstored(m_grid, row) && warehouses.contains(cell(row, ColOther)))
            rights.push_back(cell(row, ColAutoId).toLongLong());
    return rights;
}

QSet<long long> EditedRows::takeStored(const QSet<long long> &touched,
                                       const std::vector<services::JoinedRight> &stored,
                                       int editedRow)
{
    const int current = m_grid.Row();
    const int currentCol = m_grid.Col();
    const bool editingCurrent = curRow == current;
    const int top = m_grid.TopRow();

    QHash<long long, int> shown;
    for (int row = 1; row <= lastRow(); ++row)
        if (!rightsgrid::unstored(m_grid, row))
            shown.insert(cell(row, ColAutoId).toLongLong(), row);
    QHash<long long, const services::JoinedRight *> byAutoId;
    for (const services::JoinedRight &right : stored)
        byAutoId.insert(right.autoId, &right);

    QSet<long long> waiting;
    std::vector<int> gone;
    std::vector<const services::JoinedRight *> added;
    for (const long long autoId : touched) {
        const int row = shown.value(autoId, 0);
        const services::JoinedRight *right = byAutoId.value(autoId, nullptr);
        // Rows come and go only while no cell editor is open.
        const bool comesOrGoes = (row == 0) != (right == nullptr);
        if ((editedRow != 0 && comesOrGoes) || (row != 0 && row == editedRow)) {
            waiting.insert(autoId);
        } else if (row == 0) {
            if (right)
                added.push_back(right);
        } else if (m_commit.holdsUnstored(gridRow(row))) {
            continue;  // the user's values stay until they are written
        } else if (right) {
            GridRow now = gridRow(row);
            now.cells = rightsgrid::rowCells(*right, node.kind);
            rightsgrid::showCells(m_grid, row, now.cells);
            m_commit.rememberStored(now);
        } else {
            gone.push_back(row);
        }
    }
    if (gone.empty() && added.empty())
        return waiting;
    const int currentAfter = current - countAbove(gone, current);
    const int topAfter = top - countAbove(gone, top);
    removeGone(std::move(gone));
    std::sort(added.begin(), added.end(),
              [](const auto *a, const auto *b) { return a->autoId < b->autoId; });
    for (const services::JoinedRight *right : added)
        appendStored(*right);

    // The row being edited is the current one: moving the cursor back onto
    // it starts no new editing and asks for no check.
    if (const int row = std::min(currentAfter, lastRow()); row >= 1) {
        if (editingCurrent)
            curRow = row;
        m_grid.setRow(row);
        m_grid.setCol(currentCol);
    }
    rightsgrid::markStoreState(m_grid, m_grid.Row());
    if (const int row = std::min(topAfter, lastRow()); row >= 1)
        m_grid.setTopRow(row);
    return waiting;
}

void EditedRows::removeGone(std::vector<int> rows)
{
    std::sort(rows.begin(), rows.end(), std::greater<>());
    for (const int row : rows) {
        m_commit.forget(cell(row, ColAutoId).toLongLong());
        m_grid.RemoveItem(row);
        if (row <= lastSavedRow)
            --lastSavedRow;
        if (insertedRow == row)
            insertedRow = 0;
        else if (insertedRow > row)
            --insertedRow;
        if (curRow > row)
            --curRow;
    }
}

void EditedRows::appendStored(const services::JoinedRight &right)
{
    const int row = m_grid.Rows();
    m_grid.setRows(row + 1);
    GridRow added = gridRow(row);
    added.cells = rightsgrid::rowCells(right, node.kind);
    m_grid.setRowTexts(row, std::vector<QString>(added.cells));
    for (int c : NameColumns)
        m_grid.setCellBackColorAt(row, c, controls::nameCellColor);
    // Every row down to this one counts as written; one among them that is
    // not is known by its empty Auto_id.
    lastSavedRow = row;
    m_commit.rememberStored(added);
}
