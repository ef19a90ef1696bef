#pragma once

class SuperGrid;

namespace controls {

// A SuperGrid's current cell (Row, Col) and its selection, the whole rows
// from Row to RowSel. It keeps them on existing cells, shows them in the
// view and sends the grid's cell notifications when they move.
class GridCursor {
public:
    explicit GridCursor(SuperGrid *grid) : m_grid(grid) {}

    int row() const { return m_row; }
    int col() const { return m_col; }
    int rowSel() const { return m_rowSel; }
    // The selected rows, first to last.
    int firstSelected() const;
    int lastSelected() const;

    // Moves the current cell and selection, sending the cell notifications;
    // an open cell editor is committed first when the cell changes.
    void moveTo(int row, int col, int rowSel);
    // After the caller changed the rows or columns: keeps the cell and
    // selection on existing ones, the first data row current when the list
    // gets rows. No notifications: the caller changed the rows, not the user
    // the cell.
    void rowsResized();
    void colsResized();
    // After the caller removed and inserted rows: the current row and the
    // selection's end are now `row` and `rowSel`. No notifications.
    void rowsMoved(int row, int rowSel);
    // Makes the view's current index the current cell and scrolls it into
    // view (unless Redraw is off).
    void showInView();

private:
    int clampRow(int row) const;
    bool rowIsEmpty(int row) const;
    void applySelection();
    void scrollToRow(int row);

    SuperGrid *m_grid;
    int m_row = 0;
    int m_col = 0;
    int m_rowSel = 0;
};

} // namespace controls
