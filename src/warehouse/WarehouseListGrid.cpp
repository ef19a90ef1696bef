#include "WarehouseListGrid.h"

#include "WarehouseListColumns.h"
#include "data/Catalogue.h"
#include "data/DataHelpers.h"
#include "forms/DataSetGridSource.h"
#include "services/WarehouseListRows.h"
#include "services/WarehouseRecord.h"
#include "suite/controls/SuperGrid.h"
#include "suite/controls/Twips.h"

#include <QFontMetrics>
#include <algorithm>
#include <array>
#include <memory>
#include <vector>

using namespace depotbase;

namespace listgrid {

namespace {

// A code of its full length stays whole in the grid's font, even one made of
// its widest letters and digits.
void widenCodeColumn(SuperGrid &grid)
{
    const QFontMetrics metrics(grid.font());
    int widest = 0;
    for (const QChar c : QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"))
        widest = std::max(widest, metrics.horizontalAdvance(c));
    // The cell's text margins and grid line on both sides.
    constexpr int CellPadding = 10;
    const ListColumn &code = ListColumns[0];
    const int needed = (widest * code.length + CellPadding) * controls::twipsPerPixel;
    grid.setColWidth(0, std::max(code.width, needed));
}

// Field positions of the list columns in a data set, looked up once per fill.
std::array<int, ListColumnCount> columnFields(const dbkit::DbDataSet &data)
{
    std::array<int, ListColumnCount> fields{};
    for (int col = 0; col < ListColumnCount; ++col)
        fields[col] = RequiredField(data, ListColumns[col].field, QStringLiteral("the list"));
    return fields;
}

// The position flag as the list shows it: "是", "否", or nothing for Null.
QString positionText(const QVariant &value)
{
    if (value.isNull())
        return QString();
    return LoadResString(value.toInt() != 0 ? 25 : 26);
}

// The list's columns read straight from the data set's rows.
std::shared_ptr<DataSetGridSource> sourceOf(const dbkit::DbDataSet &data)
{
    const auto fields = columnFields(data);
    std::vector<DataSetGridSource::Column> columns(ListColumnCount);
    for (int col = 0; col < ListColumnCount; ++col)
        columns[size_t(col)] = {fields[size_t(col)], col == PositionColumn ? &positionText : nullptr};
    return std::make_shared<DataSetGridSource>(data, std::move(columns));
}

} // namespace

void setup(SuperGrid &grid, bool basicVersion)
{
    grid.setCols(ListColumnCount);
    for (int col = 0; col < ListColumnCount; ++col) {
        const ListColumn &c = ListColumns[col];
        grid.setColKind(col, c.kind);
        grid.setColWidth(col, c.width);
        if (c.length > 0)
            grid.setColLength(col, c.length);
    }
    for (int col = 0; col < ListColumnCount; ++col)
        grid.setTextMatrix(0, col, LoadResString(ListColumns[col].titleId));
    for (int col = 0; col < ListColumnCount; ++col)
        grid.setColFlag(col, 1);
    if (basicVersion)
        grid.setColWidth(PositionColumn, 0);
    widenCodeColumn(grid);
    grid.setSort(1);
    grid.setFinishSetup(true);
}

void showSelection(SuperGrid &grid, bool visible)
{
    if (visible) {
        // An emptied list switched highlight and focus rectangle off; rows
        // shown again get them back with the colours.
        grid.setHighLight(1);
        grid.setFocusRect(1);
        grid.setBackColorSel(SysHighlight);
        grid.setForeColorSel(SysHighlightText);
        return;
    }
    grid.setHighLight(0);
    grid.setFocusRect(0);
    grid.setBackColorSel(SysInactiveBorder);
    grid.setForeColorSel(SysButtonText);
}

void fill(SuperGrid &grid, dbkit::DbDataSet &data)
{
    const long long records = services::warehouse_list::moveToFirst(data);
    if (records == 0) {
        showSelection(grid, false);
        return;
    }
    showSelection(grid, true);
    // One row per record, appended after the rows the grid already has and
    // read from the data set's rows without a copy.
    const int first = grid.Rows();
    grid.setRows(first + int(records));
    grid.showSource(first, sourceOf(data));
}

std::vector<std::vector<QString>> rowTexts(dbkit::DbDataSet &data)
{
    const std::shared_ptr<DataSetGridSource> source = sourceOf(data);
    std::vector<std::vector<QString>> rows(source->rowCount());
    for (size_t row = 0; row < rows.size(); ++row) {
        rows[row].reserve(ListColumnCount);
        for (int col = 0; col < ListColumnCount; ++col)
            rows[row].push_back(source->text(row, col));
    }
    return rows;
}

void showWarehouse(SuperGrid &grid, const services::WarehouseRecord &stored, bool added)
{
    int row = grid.Row();
    if (added) {
        grid.setBackColorSel(SysHighlight);
        grid.setForeColorSel(SysHighlightText);
        grid.setRows(grid.Rows() + 1);
        row = grid.Rows() - 1;
        grid.setTopRow(row);
    }
    grid.setRowTexts(row, {stored.code, stored.name, stored.depName, stored.address,
                           stored.phone, stored.person, stored.valueStyle,
                           LoadResString(stored.positions ? 25 : 26), stored.fundQuota,
                           stored.memo});
    if (added)
        grid.setRow(row);
}

void showDepartmentStyle(SuperGrid &grid, const QString &depName, const QString &style)
{
    for (int row = 1; row < grid.Rows(); ++row)
        if (grid.TextMatrix(row, 2) == depName)
            grid.setTextMatrix(row, 6, style);
}

void removeCurrentRow(SuperGrid &grid)
{
    const int row = grid.Row();
    if (row < 1 || row >= grid.Rows())
        return;
    grid.RemoveItem(row);
    showSelection(grid, grid.Rows() > 1);
}

bool selectCode(SuperGrid &grid, const QString &code, bool scroll)
{
    for (int row = 1; row < grid.Rows(); ++row) {
        if (grid.TextMatrix(row, 0) != code)
            continue;
        grid.setRow(row);
        grid.setRowSel(row);
        if (scroll)
            grid.setTopRow(row);
        return true;
    }
    return false;
}

void sortByTitleClick(SuperGrid &grid)
{
    if (grid.Rows() < 3 || grid.MouseRow() != 0)
        return;
    // A title click takes the whole column, so the sort covers every row;
    // afterwards only the warehouse that was current is selected again, so
    // that no later command acts on every row.
    const QString current = grid.TextMatrix(grid.Row(), 0);
    grid.setRow(1);
    grid.setRowSel(grid.Rows() - 1);
    const int col = grid.Col();
    if (col >= 0 && col <= ListColumnCount - 1)
        grid.setSort(1);
    if (!selectCode(grid, current, false)) {
        grid.setRow(1);
        grid.setRowSel(1);
    }
}

} // namespace listgrid
