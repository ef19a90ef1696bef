#include "WarehouseListChangedRows.h"

#include "WarehouseListFollowing.h"
#include "WarehouseListGrid.h"
#include "suite/controls/GridSorter.h"
#include "suite/controls/SuperGrid.h"

#include <QHash>

#include <algorithm>

namespace listgrid {

namespace {

using Texts = std::vector<QString>;
constexpr int CodeColumn = 0;

// The grid row showing each of `codes` that the grid shows.
QHash<QString, int> rowsShowing(const SuperGrid &grid, const QStringList &codes)
{
    const std::vector<int> found = grid.rowsShowing(CodeColumn, codes);
    QHash<QString, int> rows;
    rows.reserve(codes.size());
    for (qsizetype i = 0; i < codes.size(); ++i)
        if (found[size_t(i)] > 0)
            rows.insert(codes[i], found[size_t(i)]);
    return rows;
}

// The added rows at their places: in the order of the column every row was
// sorted by, else in code order, after equal texts. Rows of one place stand
// in that order among themselves too.
std::vector<controls::GridRowChanges::Added> placed(const SuperGrid &grid,
                                                    std::vector<Texts> &&added)
{
    int col = grid.sortedColumn();
    const bool descending = col >= 0 && grid.sortedDescending();
    if (col < 0)
        col = CodeColumn;
    std::vector<QAnyStringView> keys;
    keys.reserve(added.size());
    for (const Texts &texts : added)
        keys.emplace_back(texts[size_t(col)]);
    const std::vector<int> order =
        controls::sortOrder(keys, grid.ColKind(col) == SuperGrid::KindNumeric, descending);
    std::vector<QString> ordered;
    ordered.reserve(order.size());
    for (const int i : order)
        ordered.push_back(added[size_t(i)][size_t(col)]);
    const std::vector<int> places = grid.sortedPlaces(col, descending, ordered);
    std::vector<controls::GridRowChanges::Added> rows;
    rows.reserve(order.size());
    for (size_t k = 0; k < order.size(); ++k)
        rows.push_back({places[k], std::move(added[size_t(order[k])])});
    std::stable_sort(rows.begin(), rows.end(),
                     [](const auto &a, const auto &b) { return a.before < b.before; });
    return rows;
}

}  // namespace

void showChanged(SuperGrid &grid, const ChangedWarehouses &changed,
                 const std::vector<std::shared_ptr<dbkit::DbDataSet>> &rows)
{
    QHash<QString, Texts> now;
    for (const std::shared_ptr<dbkit::DbDataSet> &data : rows)
        for (Texts &texts : rowTexts(*data)) {
            QString code = texts[CodeColumn];
            now.emplace(std::move(code), std::move(texts));
        }
    QHash<QString, int> shown = rowsShowing(grid, changed.codes);
    // A warehouse whose code changed stays in the row of its old code.
    for (const auto &[old, renamed] : changed.renames)
        if (shown.contains(old) && !shown.contains(renamed))
            shown.insert(renamed, shown.take(old));

    controls::GridRowChanges changes;
    std::vector<Texts> added;
    for (const QString &code : changed.codes) {
        const auto row = shown.constFind(code);
        const auto texts = now.find(code);
        if (row != shown.cend() && texts != now.end())
            grid.setRowTexts(*row, std::move(*texts));
        else if (row != shown.cend())
            changes.removed.push_back(*row);
        else if (texts != now.end())
            added.push_back(std::move(*texts));
    }
    std::sort(changes.removed.begin(), changes.removed.end());
    changes.removed.erase(std::unique(changes.removed.begin(), changes.removed.end()),
                          changes.removed.end());
    changes.added = placed(grid, std::move(added));

    const bool wasEmpty = grid.Rows() <= 1;
    grid.changeRows(std::move(changes));
    if (wasEmpty != (grid.Rows() <= 1))
        showSelection(grid, grid.Rows() > 1);
}

}  // namespace listgrid
