#include "GridView.h"

#include "GridInput.h"
#include "SuperGrid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

namespace controls {

GridView::GridView(SuperGrid *grid, GridInput *input)
    : QTableView(grid), m_input(input)
{
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
}

bool GridView::startEdit(const QModelIndex &index, QEvent *trigger)
{
    const EditTrigger how = trigger && trigger->type() == QEvent::KeyPress
                                ? QAbstractItemView::AnyKeyPressed
                                : QAbstractItemView::AllEditTriggers;
    return edit(index, how, trigger);
}

void GridView::finishEdit()
{
    QWidget *editor = indexWidget(currentIndex());
    if (!editor)
        return;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

int GridView::pageRows() const
{
    const int rowHeight = std::max(verticalHeader()->defaultSectionSize(), 1);
    return std::max(viewport()->height() / rowHeight, 1);
}

void GridView::keyPressEvent(QKeyEvent *event)
{
    if (!m_input->handleKey(event))
        event->ignore();   // let the window see keys the grid does not use
}

void GridView::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    m_input->handleMousePress(event, false);
}

void GridView::mouseReleaseEvent(QMouseEvent *event)
{
    m_input->handleMouseRelease(event);
}

void GridView::mouseDoubleClickEvent(QMouseEvent *event)
{
    m_input->handleDoubleClick(event);
}

void GridView::mouseMoveEvent(QMouseEvent *event)
{
    // No drag selection: the grid selects whole rows by click and shift-click.
    event->accept();
}

} // namespace controls
