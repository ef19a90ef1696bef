#include "RightsGrid.h"

#include "AuthorityData.h"
#include "RightsColumns.h"
#include "data/Catalogue.h"
#include "suite/controls/GridColors.h"
#include "suite/controls/GridDropDown.h"
#include "suite/controls/SuperGrid.h"

#include <QStringList>

namespace text = depotbase::text;

namespace rightsgrid {

using C = RightsColumns;
using depotbase::LoadResString;

std::vector<QString> rowCells(const services::JoinedRight &right, services::NodeKind node)
{
    const bool operatorView = node == services::NodeKind::Operator;
    return {operatorView ? right.warehouseCode : right.operatorCode,
            operatorView ? right.warehouseName : right.operatorName,
            QString::number(right.autoId),
            LoadResString(right.showMoney ? 25 : 26),
            right.classCode,
            right.className,
            right.item.code,
            right.item.name,
            right.item.model};
}

void setItemCells(std::vector<QString> &cells, const std::optional<services::ItemNames> &item)
{
    const services::ItemNames shown = item.value_or(services::ItemNames{});
    cells[C::ColInv] = shown.code;
    cells[C::ColInvName] = shown.name;
    cells[C::ColInvStd] = shown.model;
}

int show(SuperGrid &grid, const std::vector<services::JoinedRight> &rights,
         services::NodeKind node)
{
    grid.Clear();
    const int count = int(rights.size());
    grid.setRows(count + 1);
    writeTitles(grid, node);
    grid.setRedraw(false);
    int row = 1;
    for (const services::JoinedRight &right : rights) {
        grid.setRowTexts(row, rowCells(right, node));
        for (int c : C::NameColumns)
            grid.setCellBackColorAt(row, c, controls::nameCellColor);
        ++row;
    }
    grid.setRedraw(true);
    return count;
}

void writeTitles(SuperGrid &grid, services::NodeKind node)
{
    const bool operatorView = node == services::NodeKind::Operator;
    const QStringList titles{
        operatorView ? QStringLiteral("仓库代码") : QStringLiteral("操作员代码"),
        operatorView ? QStringLiteral("仓库名称") : QStringLiteral("操作员名称"),
        QString(),
        QStringLiteral("显示金额"),
        QStringLiteral("存货分类编码"),
        QStringLiteral("存货分类名称"),
        QStringLiteral("存货编码"),
        QStringLiteral("存货名称"),
        QStringLiteral("规格型号")};
    for (int c = 0; c < C::ColumnCount; ++c)
        grid.setTextMatrix(0, c, titles.at(c));
}

void prepare(SuperGrid &grid, services::NodeKind node, int widthTwips)
{
    grid.setCols(C::ColumnCount);
    grid.setRows(1);
    writeTitles(grid, node);
    setupColumns(grid, widthTwips);
}

void setupColumns(SuperGrid &grid, int widthTwips)
{
    for (int c : {C::ColOther, C::ColOtherName, C::ColShowMoney})
        grid.setColWidth(c, widthTwips / 4);
    for (int c = C::ColClass; c <= C::ColInvStd; ++c)
        grid.setColWidth(c, grid.ColWidth(C::ColShowMoney));
    grid.setColWidth(C::ColAutoId, 0);
    for (int c : {C::ColShowMoney, C::ColOther, C::ColClass})
        grid.setColEditStyle(c, SuperGrid::EditDropDown);
    grid.setColEditStyle(C::ColInv, SuperGrid::EditButton);
    grid.setColLength(C::ColClass, 12);
    grid.setColLength(C::ColInv, 20);
    grid.setColLength(C::ColOther, 20);
    // The name cells a row fills itself are painted in this colour and
    // cannot be typed into.
    grid.setLockBackColor(controls::nameCellColor);
    for (int c : {0, 1, 4, 5, 6, 7, 8})
        grid.setColFlag(c, 1);
    grid.setEditable(true);
}

void settleShowMoney(SuperGrid &grid, int row)
{
    if (row >= 1 && grid.TextMatrix(row, C::ColShowMoney).isEmpty())
        grid.setTextMatrix(row, C::ColShowMoney, LoadResString(text::No));
}

void appendRow(SuperGrid &grid)
{
    grid.setRows(grid.Rows() + 1);
    const int added = grid.Rows() - 1;
    grid.setTopRow(added);
    grid.setCol(C::ColOtherName);
    grid.setRow(added);
    for (int c : C::NameColumns) {
        grid.setCol(c);
        grid.setCellBackColor(controls::nameCellColor);
    }
    grid.setCol(C::ColOther);
}

namespace {

// Pale red: the first cell of a row whose right is not stored.
constexpr uint32_t unstoredCellColor = controls::rgbValue(255, 200, 200);
// Dark red: the selection over an unstored current row.
constexpr uint32_t unstoredSelectionColor = controls::rgbValue(176, 32, 32);
// The grid's own selection colour: the system's highlight.
constexpr uint32_t storedSelectionColor = controls::systemColorFlag | 13u;
// A cell without a colour of its own.
constexpr uint32_t noOwnColor = 0xFFFFFFFFu;

} // namespace

bool unstored(const SuperGrid &grid, int row)
{
    return row >= 1 && row < grid.Rows() && grid.TextMatrix(row, C::ColAutoId).isEmpty();
}

std::vector<int> unstoredRowsWithCode(const SuperGrid &grid)
{
    std::vector<int> rows;
    for (int row = 1; row < grid.Rows(); ++row)
        if (unstored(grid, row) && !grid.TextMatrix(row, C::ColOther).isEmpty())
            rows.push_back(row);
    return rows;
}

void markStoreState(SuperGrid &grid, int row)
{
    const bool marked = grid.cellBackColorAt(row, C::ColOther) == unstoredCellColor;
    if (row >= 1 && row < grid.Rows() && marked != unstored(grid, row))
        grid.setCellBackColorAt(row, C::ColOther, marked ? noOwnColor : unstoredCellColor);
    const uint32_t selection =
        unstored(grid, grid.Row()) ? unstoredSelectionColor : storedSelectionColor;
    if (grid.BackColorSel() != selection)
        grid.setBackColorSel(selection);
}

std::vector<QString> cellsOf(const SuperGrid &grid, int row)
{
    std::vector<QString> cells;
    cells.reserve(C::ColumnCount);
    for (int c = 0; c < C::ColumnCount; ++c)
        cells.push_back(grid.TextMatrix(row, c));
    return cells;
}

void showCells(SuperGrid &grid, int row, const std::vector<QString> &cells)
{
    for (int c = 0; c < C::ColumnCount; ++c) {
        if (grid.TextMatrix(row, c) != cells.at(size_t(c)))
            grid.setTextMatrix(row, c, cells.at(size_t(c)));
    }
}

std::vector<services::ListedRight> listedRights(const SuperGrid &grid)
{
    std::vector<services::ListedRight> rights;
    for (int row = 1; row < grid.Rows(); ++row)
        rights.push_back({grid.TextMatrix(row, C::ColOther), grid.TextMatrix(row, C::ColClass),
                          grid.TextMatrix(row, C::ColInv)});
    return rights;
}

namespace {

// Offers the codes, each shown with its name, and keeps the names in `names`.
void offerCodes(GridDropDown &list, const std::vector<services::CodeAndName> &pairs,
                QStringList &names)
{
    names.reserve(names.size() + qsizetype(pairs.size()));
    for (const services::CodeAndName &pair : pairs) {
        list.AddItem(pair.code, pair.name);
        names.push_back(pair.name);
    }
}

} // namespace

void offer(GridDropDown &list, int col, services::NodeKind node, const AuthorityData &data,
           QStringList &names)
{
    if (col == C::ColShowMoney) {
        list.AddItem(LoadResString(text::Yes));
        list.AddItem(LoadResString(text::No));
        return;
    }
    names.clear();
    if (col == C::ColClass) {
        list.AddItem(QString());
        offerCodes(list, data.classes(), names);
        return;
    }
    offerCodes(list, node == services::NodeKind::Operator ? data.warehouses() : data.operators(),
               names);
}

} // namespace rightsgrid
