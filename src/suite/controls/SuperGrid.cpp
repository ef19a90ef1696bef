#include "SuperGrid.h"

#include "GridColors.h"
#include "GridColumns.h"
#include "GridDelegate.h"
#include "GridInput.h"
#include "GridModel.h"
#include "GridView.h"
#include "Twips.h"

#include <QHeaderView>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

using controls::GridModel;
using controls::twipsPerPixel;

SuperGrid::SuperGrid(QWidget *parent)
    : QWidget(parent),
      m_model(new GridModel(this)),
      m_input(new controls::GridInput(this)),
      m_view(new controls::GridView(this, m_input)),
      m_delegate(new controls::GridDelegate(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    m_view->setModel(m_model);
    m_view->setItemDelegate(m_delegate);
    setFocusProxy(m_view);
    m_view->horizontalHeader()->viewport()->installEventFilter(m_input);

    connect(m_view->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int col, int, int size) {
                if (!m_settingWidth && size > 0)
                    columns().setWidth(col, size * twipsPerPixel);
            });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        for (int c = 0; c < Cols(); ++c)
            applyColumnWidth(c);
        m_cursor.showInView();
    });
    setBackColorSel(m_backColorSel);
    for (int c = 0; c < Cols(); ++c)
        applyColumnWidth(c);
}

SuperGrid::~SuperGrid() = default;

QTableView *SuperGrid::view() const
{
    return m_view;
}

// ---- cells -------------------------------------------------------------

QString SuperGrid::TextMatrix(int row, int col) const
{
    return m_model->text(row, col);
}

void SuperGrid::setTextMatrix(int row, int col, const QString &text)
{
    m_model->setText(row, col, text);
}

void SuperGrid::showSource(int firstRow, std::shared_ptr<const controls::GridSource> source)
{
    m_model->showSource(firstRow, std::move(source));
}

void SuperGrid::setRowTexts(int row, std::vector<QString> &&cells)
{
    m_model->setRowTexts(row, std::move(cells));
}

int SuperGrid::Rows() const
{
    return m_model->gridRows();
}

void SuperGrid::setRows(int rows)
{
    // Rows filled or appended anew are in no column's order.
    if (rows != Rows())
        showSortIndicator(-1, false);
    m_model->setGridRows(rows);
    m_cursor.rowsResized();
}

int SuperGrid::Cols() const
{
    return m_model->gridCols();
}

void SuperGrid::setCols(int cols)
{
    m_model->setGridCols(cols);
    m_cursor.colsResized();
}

void SuperGrid::RemoveItem(int row)
{
    if (row < 1 || row >= Rows())
        return;
    m_view->finishEdit();
    m_model->removeGridRow(row);
    m_cursor.rowsResized();
}

void SuperGrid::changeRows(controls::GridRowChanges changes)
{
    if (changes.empty())
        return;
    m_view->finishEdit();
    const int top = TopRow();
    const int row = Row();
    const int rowSel = RowSel();
    const bool redraw = m_redraw;
    setRedraw(false);
    m_model->changeRows(changes);
    m_cursor.rowsMoved(changes.movedRow(row), changes.movedRow(rowSel));
    // Kept while Redraw is off and applied as it comes back on.
    if (top > 0)
        setTopRow(std::min(changes.movedRow(top), Rows() - 1));
    setRedraw(redraw);
}

void SuperGrid::Clear()
{
    m_view->finishEdit();
    m_model->clearCells();
    showSortIndicator(-1, false);
}

// ---- current cell and selection ---------------------------------------

void SuperGrid::setRow(int row)
{
    m_cursor.moveTo(row, Col(), row);
}

void SuperGrid::setCol(int col)
{
    m_cursor.moveTo(Row(), col, RowSel());
}

void SuperGrid::setRowSel(int row)
{
    m_cursor.moveTo(Row(), Col(), row);
}

int SuperGrid::MouseRow() const
{
    return m_input->mouseRow();
}

int SuperGrid::MouseCol() const
{
    return m_input->mouseCol();
}

int SuperGrid::TopRow() const
{
    if (Rows() <= 1)
        return 0;
    const int viewRow = m_view->rowAt(0);
    return viewRow < 0 ? 1 : viewRow + 1;
}

void SuperGrid::setTopRow(int row)
{
    if (row < 1 || row >= Rows())
        return;
    if (!m_redraw) {
        m_pendingTopRow = row;
        return;
    }
    m_view->scrollTo(m_model->index(row - 1, 0), QAbstractItemView::PositionAtTop);
}

// ---- columns -----------------------------------------------------------

controls::GridColumns &SuperGrid::columns()
{
    return m_model->columns();
}

const controls::GridColumns &SuperGrid::columns() const
{
    return m_model->columns();
}

int SuperGrid::ColWidth(int col) const { return columns().width(col); }
int SuperGrid::ColKind(int col) const { return columns().kind(col); }
int SuperGrid::ColLength(int col) const { return columns().length(col); }
int SuperGrid::ColFlag(int col) const { return columns().flag(col); }
int SuperGrid::ColEditStyle(int col) const { return columns().editStyle(col); }

void SuperGrid::setColWidth(int col, int twips)
{
    if (columns().setWidth(col, twips))
        applyColumnWidth(col);
}

void SuperGrid::setColKind(int col, int kind)
{
    if (columns().setKind(col, kind))
        repaintCells();
}

void SuperGrid::setColLength(int col, int length) { columns().setLength(col, length); }
void SuperGrid::setColFlag(int col, int flag) { columns().setFlag(col, flag); }
void SuperGrid::setColEditStyle(int col, int style) { columns().setEditStyle(col, style); }

void SuperGrid::setColBackColor(int col, uint32_t color)
{
    if (columns().setBack(col, color))
        repaintCells();
}

void SuperGrid::applyColumnWidth(int col)
{
    if (!m_redraw || col >= m_model->columnCount())
        return;
    m_settingWidth = true;
    const int twips = columns().width(col);
    m_view->setColumnHidden(col, twips == 0);
    if (twips > 0)
        m_view->setColumnWidth(col, std::max(1, int(std::lround(twips / double(twipsPerPixel)))));
    m_settingWidth = false;
}

void SuperGrid::repaintCells()
{
    if (m_redraw)
        m_view->viewport()->update();
}

// ---- sort, redraw, colours ---------------------------------------------

void SuperGrid::setSort(int order)
{
    if (order != 1 && order != 2)
        return;
    m_view->finishEdit();
    const int lo = m_cursor.firstSelected();
    const int hi = m_cursor.lastSelected();
    m_model->sortRows(lo, hi, Col(), order == 2);
    // The header's arrow marks the column every row is ordered by; a sort of
    // some of the rows leaves the list in no column's order.
    const bool wholeList = lo <= 1 && hi >= Rows() - 1 && Rows() > 2;
    showSortIndicator(wholeList ? Col() : -1, order == 2);
}

int SuperGrid::sortedColumn() const
{
    const QHeaderView *header = m_view->horizontalHeader();
    return header->isSortIndicatorShown() ? header->sortIndicatorSection() : -1;
}

bool SuperGrid::sortedDescending() const
{
    return m_view->horizontalHeader()->sortIndicatorOrder() == Qt::DescendingOrder;
}

std::vector<int> SuperGrid::sortedPlaces(int col, bool descending,
                                         const std::vector<QString> &texts) const
{
    return m_model->sortedPlaces(col, descending, texts);
}

std::vector<int> SuperGrid::rowsShowing(int col, const QStringList &texts) const
{
    return m_model->rowsShowing(col, texts);
}

void SuperGrid::showSortIndicator(int col, bool descending)
{
    QHeaderView *header = m_view->horizontalHeader();
    header->setSortIndicatorShown(col >= 0);
    header->setSortIndicator(col, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void SuperGrid::setRedraw(bool redraw)
{
    if (redraw == m_redraw)
        return;
    if (!redraw) {
        m_view->finishEdit();
        m_redraw = false;
        m_view->setUpdatesEnabled(false);
        m_model->setFrozen(true);
        return;
    }
    m_redraw = true;
    m_model->setFrozen(false);   // one reset: widths and current cell follow
    m_view->setUpdatesEnabled(true);
    if (m_pendingTopRow > 0) {
        setTopRow(m_pendingTopRow);
        m_pendingTopRow = 0;
    }
}

void SuperGrid::setBackColorSel(uint32_t color)
{
    m_backColorSel = color;
    m_model->setSelectionColors(controls::toQColor(m_backColorSel),
                                controls::toQColor(m_foreColorSel));
}

void SuperGrid::setForeColorSel(uint32_t color)
{
    m_foreColorSel = color;
    setBackColorSel(m_backColorSel);
}

void SuperGrid::setHighLight(int mode)
{
    m_highLight = mode;
    m_model->setShowSelection(mode != 0);
    repaintCells();
}

void SuperGrid::setFocusRect(int mode)
{
    m_focusRect = mode;
    repaintCells();
}

uint32_t SuperGrid::CellBackColor() const
{
    return cellBackColorAt(Row(), Col());
}

void SuperGrid::setCellBackColor(uint32_t color)
{
    setCellBackColorAt(Row(), Col(), color);
}

uint32_t SuperGrid::cellBackColorAt(int row, int col) const
{
    const uint32_t color = m_model->cellBack(row, col);
    return color == GridModel::noColor ? 0x80000005u : color;   // window background
}

void SuperGrid::setCellBackColorAt(int row, int col, uint32_t color)
{
    m_model->setCellBack(row, col, color);
}

// ---- editing -----------------------------------------------------------

void SuperGrid::setEditable(bool editable)
{
    m_editable = editable;
    m_model->setEditable(editable);
    m_view->setEditTriggers(editable ? QAbstractItemView::AnyKeyPressed
                                     : QAbstractItemView::NoEditTriggers);
}

bool SuperGrid::cellEditable(int row, int col) const
{
    if (!m_editable || row < 1 || row >= Rows() || ColWidth(col) == 0)
        return false;
    return m_lockBackColor == GridModel::noColor || m_model->cellBack(row, col) != m_lockBackColor;
}

bool SuperGrid::EditCell()
{
    return startEdit(nullptr);
}

bool SuperGrid::startEdit(QEvent *trigger)
{
    if (!m_redraw || !cellEditable(Row(), Col()))
        return false;
    bool cancel = false;
    emit BeforeEdit(Row(), Col(), cancel);
    if (cancel)
        return false;
    return m_view->startEdit(m_model->index(Row() - 1, Col()), trigger);
}

void SuperGrid::EndEdit()
{
    if (!m_committing)
        m_view->finishEdit();
}

QWidget *SuperGrid::editor() const
{
    if (Row() < 1)
        return nullptr;
    return m_view->indexWidget(m_model->index(Row() - 1, Col()));
}

void SuperGrid::commitEdit(int row, int col, const QString &text)
{
    // A message box shown by the handler takes the focus from the editor,
    // which would commit it a second time.
    if (m_committing)
        return;
    m_committing = true;
    m_model->setText(row, col, text);
    QString committed = text;
    emit AfterEdit(row, col, committed);
    if (committed != text)
        m_model->setText(row, col, committed);
    m_committing = false;
}

void SuperGrid::buttonPressed(int row, int col)
{
    emit ButtonClick(row, col);
}
