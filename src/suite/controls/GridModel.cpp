#include "GridModel.h"

#include "Utf16Text.h"

#include "GridColors.h"
#include "GridSorter.h"
#include "GridSource.h"

#include <QBrush>
#include <QThreadPool>

#include <memory>
#include <unordered_map>

namespace controls {

GridModel::GridModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void GridModel::setGridRows(int rows)
{
    rows = std::max(rows, 1);
    const int old = gridRows();
    if (rows == old)
        return;
    if (rows > old) {
        if (!m_frozen)
            beginInsertRows(QModelIndex(), old - 1, rows - 2);
        m_rows.grow(size_t(rows));
        if (!m_frozen)
            endInsertRows();
        return;
    }
    // Emptying a long list (a refresh or a filter) is told to the view as a
    // reset, which costs the same for any number of rows; removing them one
    // range at a time makes the header walk every section.
    const bool manyRows = old - rows > LongDrop;
    if (!m_frozen)
        manyRows ? beginResetModel() : beginRemoveRows(QModelIndex(), rows - 1, old - 2);
    dropRowsFrom(size_t(rows));
    if (rows == 1)
        m_sources.clear();   // no row reads them any more
    if (!m_frozen)
        manyRows ? endResetModel() : endRemoveRows();
}

void GridModel::dropRowsFrom(size_t first)
{
    const bool longDrop = m_rows.size() - first > size_t(LongDrop);
    std::vector<GridRowTable::Extra> dropped = m_rows.dropFrom(first, longDrop);
    if (dropped.size() <= size_t(LongDrop))
        return;
    // Freeing the texts of a long list takes as long as reading it back from
    // an engine's cache; the dropped rows' texts go to a worker thread
    // instead, so the window goes on at once. The texts' counts are atomic,
    // so a text still shared with a data set may be let go of on either
    // thread.
    auto texts = std::make_shared<std::vector<GridRowTable::Extra>>(std::move(dropped));
    QThreadPool::globalInstance()->start([texts] { texts->clear(); });
}

void GridModel::setGridCols(int cols)
{
    cols = std::max(cols, 1);
    const int old = gridCols();
    if (cols == old)
        return;
    if (!m_frozen)
        beginResetModel();
    m_columns.resize(cols);
    if (cols < old)
        m_rows.fitColumns(size_t(cols));
    if (!m_frozen)
        endResetModel();
}

bool GridModel::validCell(int row, int col) const
{
    return row >= 0 && row < gridRows() && col >= 0 && col < gridCols();
}

QAnyStringView GridModel::keptText(int row, int col) const
{
    const GridRowTable::Row r = m_rows.row(size_t(row));
    if (r.source != 0)
        return m_sources[r.source - 1u]->storedText(r.sourceRow, col);
    const QString *own = r.ownText(col);
    return own != nullptr ? QAnyStringView(*own) : QAnyStringView();
}

QString GridModel::text(int row, int col) const
{
    if (!validCell(row, col))
        return QString();
    const GridRowTable::Row r = m_rows.row(size_t(row));
    if (r.source != 0)
        return m_sources[r.source - 1u]->text(r.sourceRow, col);
    const QString *own = r.ownText(col);
    return own != nullptr ? *own : QString();
}

void GridModel::ownCells(size_t row)
{
    const GridRowTable::Row read = m_rows.row(row);
    if (read.source == 0)
        return;
    const GridSource &source = *m_sources[read.source - 1u];
    GridRowTable::Extra &r = m_rows.own(row);
    r.cells.resize(size_t(m_columns.count()));
    for (size_t c = 0; c < r.cells.size(); ++c)
        r.cells[c] = source.text(read.sourceRow, int(c));
    r.source = 0;
}

void GridModel::setText(int row, int col, const QString &text)
{
    if (!validCell(row, col))
        return;
    ownCells(size_t(row));
    if (m_rows.row(size_t(row)).ownText(col) == nullptr && text.isEmpty())
        return;
    GridRowTable::Extra &r = m_rows.own(size_t(row));
    if (r.cells.size() <= size_t(col))
        r.cells.resize(size_t(m_columns.count()));
    r.cells[size_t(col)] = text;
    cellChanged(row, col);
}

void GridModel::setRowTexts(int row, std::vector<QString> &&cells)
{
    if (row < 1 || row >= gridRows())
        return;
    cells.resize(size_t(m_columns.count()));
    GridRowTable::Extra &r = m_rows.own(size_t(row));
    r.cells = std::move(cells);
    r.source = 0;
    rowsChanged(row, row);
}

void GridModel::showSource(int first, std::shared_ptr<const GridSource> source)
{
    if (!source || first < 1)
        return;
    const size_t count = std::min(source->rowCount(), m_rows.size() - std::min(m_rows.size(), size_t(first)));
    if (count == 0)
        return;
    // Sources no row reads any more are let go of first.
    const std::vector<bool> read = m_rows.sourcesRead(m_sources.size());
    size_t slot = 0;
    while (slot < m_sources.size() && read[slot])
        ++slot;
    if (slot == m_sources.size())
        m_sources.push_back(std::move(source));
    else
        m_sources[slot] = std::move(source);
    const auto id = uint16_t(slot + 1);
    // Rows of the first source need no extra entry; those of a later one do.
    if (id != GridRowTable::FirstSource)
        m_rows.reserveExtras(count);
    for (size_t i = 0; i < count; ++i)
        m_rows.readSource(size_t(first) + i, id, uint32_t(i));
    rowsChanged(first, first + int(count) - 1);
}

void GridModel::removeGridRow(int row)
{
    if (row < 1 || row >= gridRows())
        return;
    if (!m_frozen)
        beginRemoveRows(QModelIndex(), row - 1, row - 1);
    m_rows.erase(size_t(row));
    if (!m_frozen)
        endRemoveRows();
}

void GridModel::changeRows(GridRowChanges &changes)
{
    std::vector<size_t> removed(changes.removed.begin(), changes.removed.end());
    std::vector<size_t> addedBefore;
    addedBefore.reserve(changes.added.size());
    for (const GridRowChanges::Added &row : changes.added)
        addedBefore.push_back(size_t(row.before));
    if (!m_frozen)
        beginResetModel();
    m_rows.reshape(removed, addedBefore);
    // An added row stands where the row it goes before stood, less the rows
    // removed above it, after the rows added before it.
    size_t removedAbove = 0;
    for (size_t i = 0; i < changes.added.size(); ++i) {
        GridRowChanges::Added &row = changes.added[i];
        while (removedAbove < removed.size() && removed[removedAbove] < size_t(row.before))
            ++removedAbove;
        GridRowTable::Extra &own = m_rows.own(size_t(row.before) - removedAbove + i);
        row.cells.resize(size_t(m_columns.count()));
        own.cells = std::move(row.cells);
    }
    if (!m_frozen)
        endResetModel();
}

std::vector<int> GridModel::sortedPlaces(int col, bool descending,
                                         const std::vector<QString> &texts) const
{
    const SortComparison compare(m_columns.numeric(col), descending);
    std::vector<int> places;
    places.reserve(texts.size());
    for (const QString &text : texts) {
        int first = 1;
        int last = gridRows();
        while (first < last) {
            const int middle = first + (last - first) / 2;
            if (compare(text, this->text(middle, col)) < 0)
                last = middle;
            else
                first = middle + 1;
        }
        places.push_back(first);
    }
    return places;
}

std::vector<int> GridModel::rowsShowing(int col, const QStringList &texts) const
{
    std::vector<int> rows(size_t(texts.size()), -1);
    if (col < 0 || col >= gridCols())
        return rows;
    struct ViewHash {
        size_t operator()(QStringView text) const { return qHash(text); }
    };
    std::unordered_map<QStringView, size_t, ViewHash> wanted;
    for (qsizetype i = 0; i < texts.size(); ++i)
        wanted.emplace(texts[i], size_t(i));
    size_t left = wanted.size();
    QString scratch;
    for (int r = 1; r < gridRows() && left > 0; ++r) {
        const QAnyStringView kept = keptText(r, col);
        const QStringView shown = kept.isNull() ? QStringView(scratch = text(r, col))
                                                : QStringView(asUtf16(kept, scratch));
        const auto found = wanted.find(shown);
        if (found != wanted.end() && rows[found->second] < 0) {
            rows[found->second] = r;
            --left;
        }
    }
    return rows;
}

void GridModel::clearCells()
{
    if (!m_frozen)
        beginResetModel();
    m_rows.clear();
    m_sources.clear();
    if (!m_frozen)
        endResetModel();
}

uint32_t GridModel::cellBack(int row, int col) const
{
    if (!validCell(row, col))
        return noColor;
    const uint32_t own = m_rows.row(size_t(row)).back(col);
    return own == noColor && row > 0 ? m_columns.back(col) : own;
}

void GridModel::setCellBack(int row, int col, uint32_t color)
{
    if (!validCell(row, col))
        return;
    GridRowTable::Extra &r = m_rows.own(size_t(row));
    if (r.backs.size() <= size_t(col))
        r.backs.resize(size_t(m_columns.count()), noColor);
    r.backs[size_t(col)] = color;
    cellChanged(row, col);
}

void GridModel::setSelection(int lo, int hi)
{
    if (lo > hi)
        std::swap(lo, hi);
    if (lo == m_selLo && hi == m_selHi)
        return;
    const int first = std::min(lo, m_selLo);
    const int last = std::max(hi, m_selHi);
    m_selLo = lo;
    m_selHi = hi;
    rowsChanged(first, last);
}

void GridModel::setSelectionColors(const QColor &back, const QColor &fore)
{
    m_selBack = back;
    m_selFore = fore;
    rowsChanged(m_selLo, m_selHi);
}

void GridModel::setShowSelection(bool show)
{
    if (show == m_showSelection)
        return;
    m_showSelection = show;
    rowsChanged(m_selLo, m_selHi);
}

void GridModel::sortRows(int lo, int hi, int col, bool descending)
{
    if (lo > hi)
        std::swap(lo, hi);
    lo = std::max(lo, 1);
    hi = std::min(hi, gridRows() - 1);
    if (col < 0 || col >= gridCols() || hi - lo < 1)
        return;
    // Sorted by views of the texts where they are kept: a source's stored
    // texts, a row's own cells, or texts made for the sort (a formatted
    // number) and kept here while it runs.
    std::vector<QAnyStringView> keys;
    keys.reserve(size_t(hi) - size_t(lo) + 1);
    std::vector<QString> made;
    for (int r = lo; r <= hi; ++r) {
        QAnyStringView key = keptText(r, col);
        if (key.isNull()) {
            made.push_back(text(r, col));
            key = made.back();   // a QString's characters stay put when it moves
        }
        keys.push_back(key);
    }
    const std::vector<int> order = sortOrder(keys, m_columns.numeric(col), descending);
    m_rows.permute(size_t(lo), order);
    rowsChanged(lo, hi);
}

void GridModel::setFrozen(bool frozen)
{
    if (frozen == m_frozen)
        return;
    // The view is told nothing while frozen; the reset on thawing makes it
    // read everything again, once.
    if (frozen)
        beginResetModel();
    m_frozen = frozen;
    if (!frozen)
        endResetModel();
}

void GridModel::cellChanged(int row, int col)
{
    if (m_frozen)
        return;
    if (row == 0) {
        emit headerDataChanged(Qt::Horizontal, col, col);
        return;
    }
    const QModelIndex idx = index(row - 1, col);
    emit dataChanged(idx, idx);
}

void GridModel::rowsChanged(int first, int last)
{
    first = std::max(first, 1);
    last = std::min(last, gridRows() - 1);
    if (m_frozen || first > last)
        return;
    emit dataChanged(index(first - 1, 0), index(last - 1, gridCols() - 1));
}

int GridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : gridRows() - 1;
}

int GridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : gridCols();
}

QString GridModel::referenceToolTip()
{
    return QStringLiteral("参照 (Ctrl+R)");
}

QVariant GridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    const int row = index.row() + 1;
    const int col = index.column();
    const bool selected = m_showSelection && row >= m_selLo && row <= m_selHi;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return text(row, col);
    case Qt::TextAlignmentRole:
        if (m_columns.numeric(col))
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::BackgroundRole: {
        if (selected && m_selBack.isValid())
            return QBrush(m_selBack);
        const uint32_t back = cellBack(row, col);
        return back == noColor ? QVariant() : QVariant(QBrush(toQColor(back)));
    }
    case Qt::ForegroundRole:
        if (selected && m_selFore.isValid())
            return QBrush(m_selFore);
        return QVariant();
    case Qt::ToolTipRole:
        if (m_editable && m_columns.editStyle(col) == GridColumns::referenceStyle)
            return referenceToolTip();
        return QVariant();
    default:
        return QVariant();
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return text(0, section);
    if (role == Qt::TextAlignmentRole)
        return QVariant(Qt::AlignCenter);
    return QVariant();
}

Qt::ItemFlags GridModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (m_editable)
        f |= Qt::ItemIsEditable;
    return f;
}

} // namespace controls
