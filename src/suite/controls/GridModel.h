#pragma once

#include "GridColumns.h"
#include "GridRowChanges.h"
#include "GridRowTable.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <vector>

namespace controls {

class GridSource;

// The cells of a SuperGrid in grid coordinates: row 0 is the title row, which
// the view shows as its header; view row i is grid row i + 1.
//
// A row either reads its cells from a source (a list's data set, shown
// without a copy) or keeps its own texts, one vector per row grown on first
// write, so a row appended and filled cell by cell costs little; a write to
// a row of a source first takes the row's texts as its own. A row that only
// reads the first source costs four bytes (GridRowTable).
//
// While frozen (the grid's Redraw off) the model sends no signals at all;
// thawing sends one reset.
class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr uint32_t noColor = GridColumns::noColor;

    explicit GridModel(QObject *parent = nullptr);

    // The tool tip of an editable reference cell: it names the key (Ctrl+R)
    // that presses the reference button.
    static QString referenceToolTip();

    int gridRows() const { return int(m_rows.size()); }
    void setGridRows(int rows);
    int gridCols() const { return m_columns.count(); }
    void setGridCols(int cols);

    QString text(int row, int col) const;
    void setText(int row, int col, const QString &text);
    void setRowTexts(int row, std::vector<QString> &&cells);
    // Grid rows first.. read source rows 0.. (as many as the source has and
    // the grid has rows for) instead of texts of their own.
    void showSource(int first, std::shared_ptr<const GridSource> source);
    void removeGridRow(int row);
    // Removes and inserts rows in one pass (their texts taken from
    // `changes`), told to the view as one reset.
    void changeRows(GridRowChanges &changes);
    // For each text, the row it goes before in rows ordered by `col` as a
    // sort orders them: after the rows of an equal text, gridRows() after
    // every row. Found by halving, so the rows must be in that order.
    std::vector<int> sortedPlaces(int col, bool descending, const std::vector<QString> &texts) const;
    // For each text, the first row whose text in `col` it is; -1 where no
    // row shows it. One pass over the rows, reading kept texts without a copy.
    std::vector<int> rowsShowing(int col, const QStringList &texts) const;
    // Empties every cell (titles included) and every cell colour.
    void clearCells();

    uint32_t cellBack(int row, int col) const;
    void setCellBack(int row, int col, uint32_t color);

    GridColumns &columns() { return m_columns; }
    const GridColumns &columns() const { return m_columns; }

    // Rows lo..hi (grid rows) are painted with the selection colours.
    void setSelection(int lo, int hi);
    void setSelectionColors(const QColor &back, const QColor &fore);
    void setShowSelection(bool show);

    // Sorts grid rows lo..hi by the texts of `col`.
    void sortRows(int lo, int hi, int col, bool descending);

    bool frozen() const { return m_frozen; }
    void setFrozen(bool frozen);
    void setEditable(bool editable) { m_editable = editable; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    // More rows than this dropped at once go to the view as a reset and are
    // freed off the UI thread.
    static constexpr int LongDrop = 1000;

    bool validCell(int row, int col) const;
    // The text of a cell where it is kept (a source's stored text or the
    // row's own), without a copy; a null view where it is made when asked.
    QAnyStringView keptText(int row, int col) const;
    // Takes the source's texts of a row as the row's own, before a write.
    void ownCells(size_t row);
    void dropRowsFrom(size_t first);
    void cellChanged(int row, int col);
    void rowsChanged(int first, int last);

    GridRowTable m_rows{1};
    GridColumns m_columns{2};
    std::vector<std::shared_ptr<const GridSource>> m_sources;
    int m_selLo = 0;
    int m_selHi = -1;
    bool m_showSelection = true;
    QColor m_selBack;
    QColor m_selFore;
    bool m_frozen = false;
    bool m_editable = false;
};

} // namespace controls
