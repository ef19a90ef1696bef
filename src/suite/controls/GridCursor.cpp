#include "GridCursor.h"

#include "GridModel.h"
#include "GridView.h"
#include "SuperGrid.h"

#include <algorithm>

namespace controls {

int GridCursor::firstSelected() const
{
    return std::min(m_row, m_rowSel);
}

int GridCursor::lastSelected() const
{
    return std::max(m_row, m_rowSel);
}

int GridCursor::clampRow(int row) const
{
    const int rows = m_grid->Rows();
    return rows <= 1 ? 0 : std::clamp(row, 1, rows - 1);
}

void GridCursor::moveTo(int row, int col, int rowSel)
{
    SuperGrid &grid = *m_grid;
    row = clampRow(row);
    rowSel = clampRow(rowSel);
    col = std::clamp(col, 0, grid.Cols() - 1);
    const bool cellChanged = row != m_row || col != m_col;
    const bool selChanged = cellChanged || rowSel != m_rowSel;
    if (!selChanged)
        return;
    if (cellChanged && !grid.m_committing)
        grid.m_view->finishEdit();
    if (cellChanged)
        emit grid.LeaveCell();
    const bool rowChanged = row != m_row;
    const bool rowSelChanged = rowSel != m_rowSel;
    const int previousRow = m_row;
    m_row = row;
    m_col = col;
    m_rowSel = rowSel;
    applySelection();
    showInView();
    if (rowSelChanged && !rowChanged)
        scrollToRow(m_rowSel);
    const int fromRow = rowChanged ? previousRow : m_row;
    if (cellChanged) {
        emit grid.EnterCell();
        emit grid.RowColChange(rowChanged);
    }
    emit grid.SelChange();
    // Handlers above may have moved the cell again; only a row still current
    // and still empty is announced.
    if (rowChanged && m_row == row && rowIsEmpty(row))
        emit grid.EnterNewRow(row, m_col, fromRow);
}

bool GridCursor::rowIsEmpty(int row) const
{
    if (row < 1 || row >= m_grid->Rows())
        return false;
    for (int c = 0; c < m_grid->Cols(); ++c)
        if (!m_grid->TextMatrix(row, c).isEmpty())
            return false;
    return true;
}

void GridCursor::rowsResized()
{
    if (m_grid->Rows() <= 1) {
        m_row = m_rowSel = 0;
    } else {
        if (m_row == 0)
            m_row = m_rowSel = 1;
        m_row = clampRow(m_row);
        m_rowSel = clampRow(m_rowSel);
    }
    applySelection();
    showInView();
}

void GridCursor::rowsMoved(int row, int rowSel)
{
    m_row = row;
    m_rowSel = rowSel;
    rowsResized();
}

void GridCursor::colsResized()
{
    if (m_col >= m_grid->Cols())
        m_col = m_grid->Cols() - 1;
}

void GridCursor::applySelection()
{
    m_grid->m_model->setSelection(firstSelected(), lastSelected());
}

void GridCursor::showInView()
{
    GridView *view = m_grid->m_view;
    if (!m_grid->Redraw() || !view->selectionModel())
        return;
    const QModelIndex idx = m_row >= 1 ? m_grid->m_model->index(m_row - 1, m_col) : QModelIndex();
    view->selectionModel()->setCurrentIndex(idx, QItemSelectionModel::NoUpdate);
    if (idx.isValid())
        view->scrollTo(idx);
}

void GridCursor::scrollToRow(int row)
{
    if (m_grid->Redraw() && row >= 1 && row < m_grid->Rows())
        m_grid->m_view->scrollTo(m_grid->m_model->index(row - 1, m_col));
}

} // namespace controls
