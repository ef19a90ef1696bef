#pragma once

#include "GridCursor.h"
#include "GridDropDown.h"
#include "GridRowChanges.h"

#include <QString>
#include <QStringList>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <vector>

class QEvent;
class QTableView;

namespace controls {
class GridColumns;
class GridInput;
class GridModel;
class GridSource;
class GridView;
class GridDelegate;
}

// The suite's grid: rows and columns numbered from 0, row 0 the title row
// (shown as the header), data rows from 1. Rows are selected whole, from Row
// to RowSel. Widths are in twips (15 per pixel); colours are 0x00BBGGRR or
// 0x80000000 plus a system colour index (see GridColors.h).
//
// Read-only unless setEditable(true). In an editable grid a cell editor opens
// on F2, Enter, a typed character or a double click, by the column's edit
// style, and the editing notifications below are sent. Enter commits an
// editor, Esc cancels it; F4 or Alt+Down opens a drop-down cell's list, and
// Ctrl+R presses a reference cell's button (named in the cell's tool tip).
class SuperGrid : public QWidget {
    Q_OBJECT
public:
    enum EditStyle { EditText = 0, EditButton = 1, EditDropDown = 4 };
    enum ColumnKind { KindText = 1, KindNumeric = 4 };

    explicit SuperGrid(QWidget *parent = nullptr);
    ~SuperGrid() override;

    // Cells. Writing row 0 sets a column title.
    QString TextMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString &text);
    // Row count including the title row: 1 empties the list; one more
    // appends an empty row.
    int Rows() const;
    void setRows(int rows);
    int Cols() const;
    void setCols(int cols);
    // Deletes one data row; the rows below move up.
    void RemoveItem(int row);
    // Removes and inserts many rows in one step, told to the view once: a
    // row removed in the middle of a long list costs no move of every row
    // below it. The current row, the selection and the top row stay on the
    // rows they showed (a removed one passes to the row after it), and so
    // does the sort arrow: the caller puts added rows in their order.
    void changeRows(controls::GridRowChanges changes);
    // Writes a whole data row at once (cells beyond the columns are dropped):
    // the same as TextMatrix per cell, for fills of many rows.
    void setRowTexts(int row, std::vector<QString> &&cells);
    // Rows firstRow.. show the source's rows, read from it without a copy
    // (see controls::GridSource); the grid must have the rows already.
    void showSource(int firstRow, std::shared_ptr<const controls::GridSource> source);
    // Empties every cell (titles too) and every cell colour; keeps the size.
    void Clear();

    // Current cell and row selection. Setting Row collapses the selection
    // to that row (RowSel = Row); setting RowSel extends it.
    int Row() const { return m_cursor.row(); }
    void setRow(int row);
    int Col() const { return m_cursor.col(); }
    void setCol(int col);
    int RowSel() const { return m_cursor.rowSel(); }
    void setRowSel(int row);
    // Row and column under the mouse at the last mouse event: 0 for the
    // header, -1 below the last row.
    int MouseRow() const;
    int MouseCol() const;
    int TopRow() const;
    void setTopRow(int row);

    // Columns. A width of 0 hides the column; it keeps its cells.
    int ColWidth(int col) const;
    void setColWidth(int col, int twips);
    int ColKind(int col) const;
    void setColKind(int col, int kind);
    int ColLength(int col) const;
    void setColLength(int col, int length);
    int ColFlag(int col) const;
    void setColFlag(int col, int flag);
    int ColEditStyle(int col) const;
    void setColEditStyle(int col, int style);

    // 1 sorts rows Row..RowSel ascending by the current column, 2 descending.
    // A sort of every row shows the column's arrow in the header until rows
    // are added, refilled or cleared.
    void setSort(int order);
    // The column every row was last sorted by (-1 when the rows are in no
    // column's order), and whether descending.
    int sortedColumn() const;
    bool sortedDescending() const;
    // For each text, the row it goes before in rows ordered by `col` as a
    // sort orders them (after equal texts; Rows() at the end).
    std::vector<int> sortedPlaces(int col, bool descending, const std::vector<QString> &texts) const;
    // For each text, the first data row whose text in `col` it is (-1 where
    // none is): one pass over the rows, without copying their texts.
    std::vector<int> rowsShowing(int col, const QStringList &texts) const;
    bool Redraw() const { return m_redraw; }
    // Off while many cells are written: no signals, no painting; switching it
    // on again shows everything at once.
    void setRedraw(bool redraw);

    uint32_t BackColorSel() const { return m_backColorSel; }
    void setBackColorSel(uint32_t color);
    uint32_t ForeColorSel() const { return m_foreColorSel; }
    void setForeColorSel(uint32_t color);
    // 0 shows no selection.
    int HighLight() const { return m_highLight; }
    void setHighLight(int mode);
    // 0 shows no focus rectangle.
    int FocusRect() const { return m_focusRect; }
    void setFocusRect(int mode);
    // Marks the end of the grid's set-up; it has no visible effect.
    bool FinishSetup() const { return m_finishSetup; }
    void setFinishSetup(bool done) { m_finishSetup = done; }

    // Background of the current cell (Row, Col), or of any cell.
    uint32_t CellBackColor() const;
    void setCellBackColor(uint32_t color);
    uint32_t cellBackColorAt(int row, int col) const;
    void setCellBackColorAt(int row, int col, uint32_t color);
    // Background of every cell of a column below the titles that has no
    // colour of its own; 0xFFFFFFFF: none.
    void setColBackColor(int col, uint32_t color);
    // Cells painted in this colour are read-only in an editable grid (the
    // name cells a row fills itself). 0xFFFFFFFF: none.
    uint32_t LockBackColor() const { return m_lockBackColor; }
    void setLockBackColor(uint32_t color) { m_lockBackColor = color; }

    bool Editable() const { return m_editable; }
    void setEditable(bool editable);
    // Opens the editor on the current cell, as F2 does; false when the cell
    // cannot be edited or BeforeEdit cancelled.
    bool EditCell();
    // Commits and closes an open cell editor (as moving to another cell
    // does), so that a command sees what was typed.
    void EndEdit();
    // The open cell editor, if any.
    QWidget *editor() const;
    // The item list the drop-down cells use (kept between edits).
    GridDropDown *dropDown() { return &m_dropDown; }

    QTableView *view() const;

signals:
    // A left click on a data cell, or the current row moved by the keys.
    void Click();
    void DblClick();
    // button: 1 left, 2 right, 4 middle; shift: 1 Shift, 2 Ctrl, 4 Alt;
    // x, y in twips from the grid's top-left corner. MouseRow/MouseCol and,
    // for a left click, Row/Col are already set.
    void MouseDown(int button, int shift, int x, int y);
    // The current cell is about to change / has changed.
    void LeaveCell();
    void EnterCell();
    void RowColChange(bool rowChanged);
    void SelChange();
    // Editing: before an editor opens (set cancel to keep it closed); before
    // a drop-down shows (add the items to `list`); after a commit, with the
    // cell already holding `text` (the handler may change it; the cell then
    // takes the changed text); a reference button pressed; a key typed into
    // an editor (set key to 0 to refuse it).
    void BeforeEdit(int row, int col, bool &cancel);
    // The current cell moved onto a data row whose cells are all empty (a row
    // just added): the caller may default cells of the rows around it.
    void EnterNewRow(int row, int col, int fromRow);
    void ComboDropDown(int row, int col, GridDropDown *list);
    void AfterEdit(int row, int col, QString &text);
    void ButtonClick(int row, int col);
    void KeyPressEdit(int row, int col, int &key);

private:
    // The grid's parts: the model keeps the cells and the columns, the cursor
    // the current cell and selection, the input the keys and clicks, the
    // delegate the painting and the cell editors. They work on the grid
    // through the members below.
    friend class controls::GridCursor;
    friend class controls::GridDelegate;
    friend class controls::GridInput;

    void commitEdit(int row, int col, const QString &text);
    void buttonPressed(int row, int col);
    controls::GridColumns &columns();
    const controls::GridColumns &columns() const;
    // The header's sort arrow on a column; -1 shows none.
    void showSortIndicator(int col, bool descending);
    void applyColumnWidth(int col);
    // Repaints the cells, unless Redraw is off.
    void repaintCells();
    bool cellEditable(int row, int col) const;
    bool startEdit(QEvent *trigger);

    controls::GridModel *m_model = nullptr;
    controls::GridInput *m_input = nullptr;
    controls::GridView *m_view = nullptr;
    controls::GridDelegate *m_delegate = nullptr;
    controls::GridCursor m_cursor{this};
    GridDropDown m_dropDown;
    bool m_redraw = true;
    bool m_editable = false;
    bool m_finishSetup = false;
    bool m_settingWidth = false;
    bool m_committing = false;
    int m_pendingTopRow = 0;
    int m_highLight = 1;
    int m_focusRect = 1;
    uint32_t m_backColorSel = 0x8000000Du;
    uint32_t m_foreColorSel = 0x8000000Eu;
    uint32_t m_lockBackColor = 0xFFFFFFFFu;
};
