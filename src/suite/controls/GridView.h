#pragma once

#include <QTableView>

class SuperGrid;

namespace controls {

class GridInput;

// The table view inside a SuperGrid. It leaves selection, the current cell
// and the start of editing to the grid, which keeps Row, Col and RowSel, and
// only hands its keyboard and mouse events over to the grid's input.
class GridView : public QTableView {
public:
    GridView(SuperGrid *grid, GridInput *input);

    // Opens the cell editor; a key press that started it is passed on to it.
    bool startEdit(const QModelIndex &index, QEvent *trigger);
    // Commits and closes an open cell editor.
    void finishEdit();
    // Rows that fit in the viewport (at least 1), for PageUp/PageDown.
    int pageRows() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    GridInput *m_input;
};

} // namespace controls
