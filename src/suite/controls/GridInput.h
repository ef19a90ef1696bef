#pragma once

#include <QObject>

class QKeyEvent;
class QMouseEvent;
class QPoint;
class QWidget;
class SuperGrid;

namespace controls {

// The keyboard and mouse of a SuperGrid: the keys and clicks that move Row,
// Col and RowSel or start an edit, and the Click, DblClick and MouseDown
// notifications. The grid's view hands its events over; presses on the
// header reach it through an event filter on the header's viewport. It keeps
// the cell under the mouse, which the grid reports as MouseRow/MouseCol.
class GridInput : public QObject {
public:
    explicit GridInput(SuperGrid *grid);

    int mouseRow() const { return m_mouseRow; }
    int mouseCol() const { return m_mouseCol; }

    // False for a key the grid does not use, which the window then sees.
    bool handleKey(QKeyEvent *event);
    void handleMousePress(QMouseEvent *event, bool onHeader);
    void handleMouseRelease(QMouseEvent *event);
    void handleDoubleClick(QMouseEvent *event);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The data cell at pos in the view's viewport becomes the mouse cell.
    void setMouseCell(const QPoint &pos);
    bool openDropDown();
    bool pressReference();
    void emitMouseDown(QMouseEvent *event, QWidget *source);

    SuperGrid *m_grid;
    int m_mouseRow = -1;
    int m_mouseCol = -1;
    bool m_pressed = false;
};

} // namespace controls
