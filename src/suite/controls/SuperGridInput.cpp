// SuperGrid's keyboard and mouse handling: moving Row/Col/RowSel, starting
// edits, and the click, double-click and mouse-down notifications.
#include "SuperGrid.h"

#include "GridView.h"
#include "Twips.h"

#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>

using controls::twipsPerPixel;

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

// ---- keyboard and mouse ------------------------------------------------

bool SuperGrid::handleKey(QKeyEvent *event)
{
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const int from = shift ? m_rowSel : m_row;
    int target = -1;
    switch (event->key()) {
    case Qt::Key_Up: target = from - 1; break;
    case Qt::Key_Down:
        if (event->modifiers() & Qt::AltModifier)
            return openDropDown() || m_editable;
        target = from + 1;
        break;
    case Qt::Key_PageUp: target = from - m_view->pageRows(); break;
    case Qt::Key_PageDown: target = from + m_view->pageRows(); break;
    case Qt::Key_Home: target = 1; break;
    case Qt::Key_End: target = Rows() - 1; break;
    case Qt::Key_Left:
        moveTo(m_row, nextVisibleCol(m_col, -1), m_row);
        return true;
    case Qt::Key_Right:
        moveTo(m_row, nextVisibleCol(m_col, 1), m_row);
        return true;
    case Qt::Key_F2:
        return startEdit(nullptr) || m_editable;
    case Qt::Key_F4:
        return openDropDown() || m_editable;
    case Qt::Key_R:
        if ((event->modifiers() & ~Qt::KeypadModifier) != Qt::ControlModifier)
            return false;
        return pressReference() || m_editable;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return m_editable && startEdit(nullptr);
    default: {
        const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        if (m_editable && plain && !event->text().isEmpty() && event->text().at(0).isPrint())
            return startEdit(event);
        return false;
    }
    }
    if (Rows() > 1) {
        const int before = m_row;
        if (shift)
            moveTo(m_row, m_col, target);
        else
            moveTo(target, m_col, target);
        // Choosing another row with the keys counts as a click, as it does
        // for a list box.
        if (m_row != before)
            emit Click();
    }
    return true;
}

bool SuperGrid::openDropDown()
{
    if (ColEditStyle(m_col) != EditDropDown || !startEdit(nullptr))
        return false;
    if (auto *combo = qobject_cast<QComboBox *>(editor()))
        combo->showPopup();
    return true;
}

bool SuperGrid::pressReference()
{
    if (!m_redraw || ColEditStyle(m_col) != EditButton || !cellEditable(m_row, m_col))
        return false;
    bool cancel = false;
    emit BeforeEdit(m_row, m_col, cancel);
    if (cancel)
        return false;
    buttonPressed(m_row, m_col);
    return true;
}

void SuperGrid::handleMousePress(QMouseEvent *event, bool onHeader)
{
    const QPoint pos = event->position().toPoint();
    const bool left = event->button() == Qt::LeftButton;
    m_pressed = false;
    if (onHeader) {
        m_mouseRow = 0;
        m_mouseCol = m_view->horizontalHeader()->logicalIndexAt(pos.x());
        if (left && m_mouseCol >= 0)
            moveTo(m_row, m_mouseCol, m_rowSel);
        emitMouseDown(event, m_view->horizontalHeader()->viewport());
        return;
    }
    const int viewRow = m_view->rowAt(pos.y());
    m_mouseRow = viewRow < 0 ? -1 : viewRow + 1;
    m_mouseCol = m_view->columnAt(pos.x());
    if (left && m_mouseRow >= 1) {
        const int col = m_mouseCol >= 0 ? m_mouseCol : m_col;
        if (event->modifiers() & Qt::ShiftModifier)
            moveTo(m_row, col, m_mouseRow);
        else
            moveTo(m_mouseRow, col, m_mouseRow);
        m_pressed = true;
    }
    emitMouseDown(event, m_view->viewport());
}

void SuperGrid::handleMouseRelease(QMouseEvent *)
{
    if (m_pressed) {
        m_pressed = false;
        emit Click();
    }
}

void SuperGrid::handleDoubleClick(QMouseEvent *event)
{
    const int viewRow = m_view->rowAt(event->position().toPoint().y());
    m_mouseRow = viewRow < 0 ? -1 : viewRow + 1;
    m_mouseCol = m_view->columnAt(event->position().toPoint().x());
    if (m_mouseRow < 1 || event->button() != Qt::LeftButton)
        return;
    if (!(event->modifiers() & Qt::ShiftModifier))
        moveTo(m_mouseRow, m_mouseCol >= 0 ? m_mouseCol : m_col, m_mouseRow);
    emit DblClick();
    if (m_editable && m_mouseRow == m_row)
        startEdit(nullptr);
}

void SuperGrid::emitMouseDown(QMouseEvent *event, QWidget *source)
{
    const QPoint p = source->mapTo(this, event->position().toPoint());
    emit MouseDown(mouseButton(event->button()), shiftState(event->modifiers()),
                   p.x() * twipsPerPixel, p.y() * twipsPerPixel);
}

bool SuperGrid::eventFilter(QObject *watched, QEvent *event)
{
    const bool press = event->type() == QEvent::MouseButtonPress
                       || event->type() == QEvent::MouseButtonDblClick;
    if (press && watched == m_view->horizontalHeader()->viewport()) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (!onSectionGrip(m_view->horizontalHeader(), mouse->position().toPoint().x()))
            handleMousePress(mouse, true);
    }
    return QWidget::eventFilter(watched, event);
}
