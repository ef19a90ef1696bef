#include "SuperGrid.h"

#include "GridColors.h"
#include "Twips.h"
#include "GridDelegate.h"
#include "GridModel.h"
#include "GridView.h"

#include <QHeaderView>
#include <QVBoxLayout>
#include <cmath>

using controls::GridModel;
using controls::twipsPerPixel;

SuperGrid::SuperGrid(QWidget *parent)
    : QWidget(parent),
      m_model(new GridModel(this)),
      m_view(new controls::GridView(this)),
      m_delegate(new controls::GridDelegate(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    m_view->setModel(m_model);
    m_view->setItemDelegate(m_delegate);
    setFocusProxy(m_view);
    m_view->horizontalHeader()->viewport()->installEventFilter(this);

    connect(m_view->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int col, int, int size) {
                if (!m_settingWidth && size > 0 && validCol(col))
                    m_model->column(col).widthTwips = size * twipsPerPixel;
            });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        for (int c = 0; c < Cols(); ++c)
            applyColumnWidth(c);
        syncCurrent();
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
    rowsResized();
}

int SuperGrid::Cols() const
{
    return m_model->gridCols();
}

void SuperGrid::setCols(int cols)
{
    m_model->setGridCols(cols);
    if (m_col >= Cols())
        m_col = Cols() - 1;
}

void SuperGrid::RemoveItem(int row)
{
    if (row < 1 || row >= Rows())
        return;
    m_view->finishEdit();
    m_model->removeGridRow(row);
    rowsResized();
}

void SuperGrid::Clear()
{
    m_view->finishEdit();
    m_model->clearCells();
    showSortIndicator(-1, false);
}

// ---- current cell and selection ---------------------------------------

bool SuperGrid::validCol(int col) const
{
    return col >= 0 && col < Cols();
}

int SuperGrid::clampRow(int row) const
{
    return Rows() <= 1 ? 0 : std::clamp(row, 1, Rows() - 1);
}

void SuperGrid::setRow(int row)
{
    moveTo(row, m_col, row);
}

void SuperGrid::setCol(int col)
{
    moveTo(m_row, col, m_rowSel);
}

void SuperGrid::setRowSel(int row)
{
    moveTo(m_row, m_col, row);
}

void SuperGrid::moveTo(int row, int col, int rowSel)
{
    row = clampRow(row);
    rowSel = clampRow(rowSel);
    col = std::clamp(col, 0, Cols() - 1);
    const bool cellChanged = row != m_row || col != m_col;
    const bool selChanged = cellChanged || rowSel != m_rowSel;
    if (!selChanged)
        return;
    if (cellChanged && !m_committing)
        m_view->finishEdit();
    if (cellChanged)
        emit LeaveCell();
    const bool rowChanged = row != m_row;
    const bool rowSelChanged = rowSel != m_rowSel;
    const int previousRow = m_row;
    m_row = row;
    m_col = col;
    m_rowSel = rowSel;
    applySelection();
    syncCurrent();
    if (rowSelChanged && !rowChanged)
        scrollToRow(m_rowSel);
    const int fromRow = rowChanged ? previousRow : m_row;
    if (cellChanged) {
        emit EnterCell();
        emit RowColChange(rowChanged);
    }
    emit SelChange();
    // Handlers above may have moved the cell again; only a row still current
    // and still empty is announced.
    if (rowChanged && m_row == row && rowIsEmpty(row))
        emit EnterNewRow(row, m_col, fromRow);
}

bool SuperGrid::rowIsEmpty(int row) const
{
    if (row < 1 || row >= Rows())
        return false;
    for (int c = 0; c < Cols(); ++c)
        if (!m_model->text(row, c).isEmpty())
            return false;
    return true;
}

void SuperGrid::rowsResized()
{
    // Keep Row and RowSel on existing rows; the first data row becomes
    // current when the list gets rows. No notifications: the caller changed
    // the rows, not the user the cell.
    if (Rows() <= 1) {
        m_row = m_rowSel = 0;
    } else {
        if (m_row == 0)
            m_row = m_rowSel = 1;
        m_row = clampRow(m_row);
        m_rowSel = clampRow(m_rowSel);
    }
    applySelection();
    syncCurrent();
}

void SuperGrid::applySelection()
{
    m_model->setSelection(std::min(m_row, m_rowSel), std::max(m_row, m_rowSel));
}

void SuperGrid::syncCurrent()
{
    if (!m_redraw || !m_view->selectionModel())
        return;
    const QModelIndex idx = m_row >= 1 ? m_model->index(m_row - 1, m_col) : QModelIndex();
    m_view->selectionModel()->setCurrentIndex(idx, QItemSelectionModel::NoUpdate);
    if (idx.isValid())
        m_view->scrollTo(idx);
}

void SuperGrid::scrollToRow(int row)
{
    if (m_redraw && row >= 1 && row < Rows())
        m_view->scrollTo(m_model->index(row - 1, m_col));
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

int SuperGrid::ColWidth(int col) const
{
    return validCol(col) ? m_model->column(col).widthTwips : 0;
}

void SuperGrid::setColWidth(int col, int twips)
{
    if (!validCol(col))
        return;
    m_model->column(col).widthTwips = std::max(twips, 0);
    applyColumnWidth(col);
}

void SuperGrid::applyColumnWidth(int col)
{
    if (!m_redraw || col >= m_model->columnCount())
        return;
    m_settingWidth = true;
    const int twips = m_model->column(col).widthTwips;
    m_view->setColumnHidden(col, twips == 0);
    if (twips > 0)
        m_view->setColumnWidth(col, std::max(1, int(std::lround(twips / double(twipsPerPixel)))));
    m_settingWidth = false;
}

int SuperGrid::ColKind(int col) const
{
    return validCol(col) ? m_model->column(col).kind : 0;
}

void SuperGrid::setColKind(int col, int kind)
{
    if (!validCol(col))
        return;
    m_model->column(col).kind = kind;
    if (m_redraw)
        m_view->viewport()->update();
}

int SuperGrid::ColLength(int col) const
{
    return validCol(col) ? m_model->column(col).length : 0;
}

void SuperGrid::setColLength(int col, int length)
{
    if (validCol(col))
        m_model->column(col).length = std::max(length, 0);
}

int SuperGrid::ColFlag(int col) const
{
    return validCol(col) ? m_model->column(col).flag : 0;
}

void SuperGrid::setColFlag(int col, int flag)
{
    if (validCol(col))
        m_model->column(col).flag = flag;
}

int SuperGrid::ColEditStyle(int col) const
{
    return validCol(col) ? m_model->column(col).editStyle : 0;
}

void SuperGrid::setColEditStyle(int col, int style)
{
    if (validCol(col))
        m_model->column(col).editStyle = style;
}

int SuperGrid::nextVisibleCol(int col, int step) const
{
    for (int c = col + step; c >= 0 && c < Cols(); c += step) {
        if (ColWidth(c) > 0)
            return c;
    }
    return col;
}

// ---- sort, redraw, colours ---------------------------------------------

void SuperGrid::setSort(int order)
{
    if (order != 1 && order != 2)
        return;
    m_view->finishEdit();
    const int lo = std::min(m_row, m_rowSel);
    const int hi = std::max(m_row, m_rowSel);
    m_model->sortRows(lo, hi, m_col, order == 2);
    // The header's arrow marks the column every row is ordered by; a sort of
    // some of the rows leaves the list in no column's order.
    const bool wholeList = lo <= 1 && hi >= Rows() - 1 && Rows() > 2;
    showSortIndicator(wholeList ? m_col : -1, order == 2);
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
    if (m_redraw)
        m_view->viewport()->update();
}

void SuperGrid::setFocusRect(int mode)
{
    m_focusRect = mode;
    if (m_redraw)
        m_view->viewport()->update();
}

uint32_t SuperGrid::CellBackColor() const
{
    return cellBackColorAt(m_row, m_col);
}

void SuperGrid::setCellBackColor(uint32_t color)
{
    setCellBackColorAt(m_row, m_col, color);
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

void SuperGrid::setColBackColor(int col, uint32_t color)
{
    if (!validCol(col))
        return;
    m_model->column(col).back = color;
    if (m_redraw)
        m_view->viewport()->update();
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
    if (!m_editable || row < 1 || row >= Rows() || !validCol(col) || ColWidth(col) == 0)
        return false;
    return m_lockBackColor == GridModel::noColor || m_model->cellBack(row, col) != m_lockBackColor;
}

bool SuperGrid::EditCell()
{
    return startEdit(nullptr);
}

bool SuperGrid::startEdit(QEvent *trigger)
{
    if (!m_redraw || !cellEditable(m_row, m_col))
        return false;
    bool cancel = false;
    emit BeforeEdit(m_row, m_col, cancel);
    if (cancel)
        return false;
    return m_view->startEdit(m_model->index(m_row - 1, m_col), trigger);
}

void SuperGrid::EndEdit()
{
    if (!m_committing)
        m_view->finishEdit();
}

QWidget *SuperGrid::editor() const
{
    if (m_row < 1)
        return nullptr;
    return m_view->indexWidget(m_model->index(m_row - 1, m_col));
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
