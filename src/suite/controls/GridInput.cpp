#include "GridInput.h"

#include "GridColumns.h"
#include "GridView.h"
#include "SuperGrid.h"
#include "Twips.h"

#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>

namespace controls {

namespace {

int mouseButton(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

int shiftState(Qt::KeyboardModifiers mods)
{
    return (mods & Qt::ShiftModifier ? 1 : 0) | (mods & Qt::ControlModifier ? 2 : 0)
           | (mods & Qt::AltModifier ? 4 : 0);
}

// True when x lies on the grip between two header sections, where a press
// starts a resize rather than a click.
bool onSectionGrip(const QHeaderView *header, int x)
{
    const int margin = header->style()->pixelMetric(QStyle::PM_HeaderGripMargin, nullptr,
                                                    header);
    const int section = header->logicalIndexAt(x);
    if (section < 0)
        return false;
    const int left = header->sectionViewportPosition(section);
    const int right = left + header->sectionSize(section);
    return right - x <= margin || (x - left <= margin && header->visualIndex(section) > 0);
}

} // namespace

GridInput::GridInput(SuperGrid *grid)
    : QObject(grid), m_grid(grid)
{
}

bool GridInput::handleKey(QKeyEvent *event)
{
    SuperGrid &grid = *m_grid;
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool editable = grid.Editable();
    const int row = grid.Row();
    const int from = shift ? grid.RowSel() : row;
    int target = -1;
    switch (event->key()) {
    case Qt::Key_Up: target = from - 1; break;
    case Qt::Key_Down:
        if (event->modifiers() & Qt::AltModifier)
            return openDropDown() || editable;
        target = from + 1;
        break;
    case Qt::Key_PageUp: target = from - grid.m_view->pageRows(); break;
    case Qt::Key_PageDown: target = from + grid.m_view->pageRows(); break;
    case Qt::Key_Home: target = 1; break;
    case Qt::Key_End: target = grid.Rows() - 1; break;
    case Qt::Key_Left:
        grid.m_cursor.moveTo(row, grid.columns().nextVisible(grid.Col(), -1), row);
        return true;
    case Qt::Key_Right:
        grid.m_cursor.moveTo(row, grid.columns().nextVisible(grid.Col(), 1), row);
        return true;
    case Qt::Key_F2:
        return grid.startEdit(nullptr) || editable;
    case Qt::Key_F4:
        return openDropDown() || editable;
    case Qt::Key_R:
        if ((event->modifiers() & ~Qt::KeypadModifier) != Qt::ControlModifier)
            return false;
        return pressReference() || editable;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return editable && grid.startEdit(nullptr);
    default: {
        const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        if (editable && plain && !event->text().isEmpty() && event->text().at(0).isPrint())
            return grid.startEdit(event);
        return false;
    }
    }
    if (grid.Rows() > 1) {
        if (shift)
            grid.m_cursor.moveTo(row, grid.Col(), target);
        else
            grid.m_cursor.moveTo(target, grid.Col(), target);
        // Choosing another row with the keys counts as a click, as it does
        // for a list box.
        if (grid.Row() != row)
            emit grid.Click();
    }
    return true;
}

bool GridInput::openDropDown()
{
    if (m_grid->ColEditStyle(m_grid->Col()) != SuperGrid::EditDropDown
        || !m_grid->startEdit(nullptr))
        return false;
    if (auto *combo = qobject_cast<QComboBox *>(m_grid->editor()))
        combo->showPopup();
    return true;
}

bool GridInput::pressReference()
{
    SuperGrid &grid = *m_grid;
    const int row = grid.Row();
    const int col = grid.Col();
    if (!grid.Redraw() || grid.ColEditStyle(col) != SuperGrid::EditButton
        || !grid.cellEditable(row, col))
        return false;
    bool cancel = false;
    emit grid.BeforeEdit(row, col, cancel);
    if (cancel)
        return false;
    emit grid.ButtonClick(row, col);
    return true;
}

void GridInput::setMouseCell(const QPoint &pos)
{
    const int viewRow = m_grid->m_view->rowAt(pos.y());
    m_mouseRow = viewRow < 0 ? -1 : viewRow + 1;
    m_mouseCol = m_grid->m_view->columnAt(pos.x());
}

void GridInput::handleMousePress(QMouseEvent *event, bool onHeader)
{
    SuperGrid &grid = *m_grid;
    QHeaderView *header = grid.m_view->horizontalHeader();
    const QPoint pos = event->position().toPoint();
    const bool left = event->button() == Qt::LeftButton;
    m_pressed = false;
    if (onHeader) {
        m_mouseRow = 0;
        m_mouseCol = header->logicalIndexAt(pos.x());
        if (left && m_mouseCol >= 0)
            grid.m_cursor.moveTo(grid.Row(), m_mouseCol, grid.RowSel());
        emitMouseDown(event, header->viewport());
        return;
    }
    setMouseCell(pos);
    if (left && m_mouseRow >= 1) {
        const int col = m_mouseCol >= 0 ? m_mouseCol : grid.Col();
        if (event->modifiers() & Qt::ShiftModifier)
            grid.m_cursor.moveTo(grid.Row(), col, m_mouseRow);
        else
            grid.m_cursor.moveTo(m_mouseRow, col, m_mouseRow);
        m_pressed = true;
    }
    emitMouseDown(event, grid.m_view->viewport());
}

void GridInput::handleMouseRelease(QMouseEvent *)
{
    if (m_pressed) {
        m_pressed = false;
        emit m_grid->Click();
    }
}

void GridInput::handleDoubleClick(QMouseEvent *event)
{
    SuperGrid &grid = *m_grid;
    setMouseCell(event->position().toPoint());
    if (m_mouseRow < 1 || event->button() != Qt::LeftButton)
        return;
    if (!(event->modifiers() & Qt::ShiftModifier))
        grid.m_cursor.moveTo(m_mouseRow, m_mouseCol >= 0 ? m_mouseCol : grid.Col(), m_mouseRow);
    emit grid.DblClick();
    if (grid.Editable() && m_mouseRow == grid.Row())
        grid.startEdit(nullptr);
}

void GridInput::emitMouseDown(QMouseEvent *event, QWidget *source)
{
    const QPoint p = source->mapTo(m_grid, event->position().toPoint());
    emit m_grid->MouseDown(mouseButton(event->button()), shiftState(event->modifiers()),
                           p.x() * twipsPerPixel, p.y() * twipsPerPixel);
}

bool GridInput::eventFilter(QObject *watched, QEvent *event)
{
    const bool press = event->type() == QEvent::MouseButtonPress
                       || event->type() == QEvent::MouseButtonDblClick;
    QHeaderView *header = m_grid->m_view->horizontalHeader();
    if (press && watched == header->viewport()) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (!onSectionGrip(header, mouse->position().toPoint().x()))
            handleMousePress(mouse, true);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace controls
