#include "AuthorityListGrid.h"

#include "forms/DataSetGridSource.h"
#include "services/RightsList.h"
#include "suite/controls/GridColors.h"
#include "suite/controls/SuperGrid.h"

#include <array>

using depotbase::DataSetGridSource;

namespace {

constexpr int OperatorNameColumn = 0;
constexpr int WarehouseCodeColumn = 1;
constexpr int NameColumn = 2;
constexpr int ShowMoneyColumn = 3;
constexpr int OperatorCodeColumn = 4;
constexpr int ClassCodeColumn = 5;
constexpr int ItemCodeColumn = 7;
constexpr int ColumnCount = 10;
// Pure blue (0x00BBGGRR): the selection of a row found by operator code.
constexpr uint32_t LocatedByOperatorColour = 0x00FF0000;

// Grid columns: title and the data set's field, in column order.
struct AuthColumn {
    const char *title;
    const char *field;
};

constexpr std::array<AuthColumn, ColumnCount> Columns{{
    {"操作员", "cuser_name"},
    {"仓库编码", "cWhCode"},
    {"仓库名称", "cWhName"},
    {"显示金额", "bDispMoney"},
    {"", "Id"},
    {"存货分类编码", "cInvCCode"},
    {"存货分类名称", "cInvCName"},
    {"存货编码", "cInvCode"},
    {"存货名称", "cInvName"},
    {"规格型号", "cInvStd"},
}};

// The show-money flag as the list shows it: Null says "否" like false.
QString showMoneyText(const QVariant &flag)
{
    return !flag.isNull() && flag.toInt() != 0 ? QStringLiteral("是") : QStringLiteral("否");
}

} // namespace

void AuthorityListGrid::setup(int widthTwips)
{
    m_grid.setCols(ColumnCount);
    // Shares of the width by what a column holds, so all nine columns show
    // at once; the operator code (column 4) stays hidden.
    constexpr std::array<int, ColumnCount> shares{10, 8, 14, 7, 0, 10, 13, 11, 16, 10};
    for (int col = 0; col < ColumnCount; ++col)
        m_grid.setColWidth(col, widthTwips * shares[size_t(col)] / 100);
    for (int col : {1, 2}) {
        m_grid.setColKind(col, SuperGrid::KindText);
        m_grid.setColFlag(col, 1);
        m_grid.setColEditStyle(col, SuperGrid::EditButton);
        m_grid.setColLength(col, 10);
    }
    for (int col = 0; col < ColumnCount; ++col)
        m_grid.setTextMatrix(0, col, QString::fromUtf8(Columns[size_t(col)].title));
}

void AuthorityListGrid::show(const dbkit::DbDataSet &rows)
{
    m_grid.setRedraw(false);
    m_grid.setRows(1);
    fill(rows);
    m_grid.setRedraw(true);
}

void AuthorityListGrid::fill(const dbkit::DbDataSet &rows)
{
    const int count = services::rightslist::count(rows);
    if (count == 0)
        return;
    std::vector<const char *> names;
    names.reserve(std::size(Columns));
    for (const AuthColumn &column : Columns)
        names.push_back(column.field);
    const std::vector<int> fields = services::rightslist::fieldPositions(rows, names);
    std::vector<DataSetGridSource::Column> columns(ColumnCount);
    for (int col = 0; col < ColumnCount; ++col)
        columns[size_t(col)] = {fields[size_t(col)],
                                col == ShowMoneyColumn ? &showMoneyText : nullptr};
    // The rows are read from the rows set's rows without a copy.
    colourNameColumn();
    const int first = m_grid.Rows();
    m_grid.setRows(first + count);
    m_grid.showSource(first, std::make_shared<DataSetGridSource>(rows, std::move(columns)));
    // The first right is the current one, with the view at the left edge.
    if (m_grid.Rows() > 1) {
        m_grid.setCol(0);
        m_grid.setRow(1);
    }
}

void AuthorityListGrid::colourNameColumn()
{
    m_grid.setColBackColor(NameColumn, controls::nameCellColor);
}

std::optional<RightToShow> AuthorityListGrid::rightOfRow(int row) const
{
    if (row < 1 || row >= m_grid.Rows())
        return std::nullopt;
    return RightToShow{m_grid.TextMatrix(row, OperatorCodeColumn),
                       m_grid.TextMatrix(row, WarehouseCodeColumn),
                       m_grid.TextMatrix(row, ClassCodeColumn),
                       m_grid.TextMatrix(row, ItemCodeColumn)};
}

QString AuthorityListGrid::operatorName(int row) const
{
    return m_grid.TextMatrix(row, OperatorNameColumn);
}

bool AuthorityListGrid::locate(const services::RightsFilter &wanted)
{
    const bool byOperator = wanted.locatesByOperator();
    const bool byWarehouse = wanted.locatesByWarehouse();
    int found = -1;
    for (int row = 1; row < m_grid.Rows() && found < 0; ++row) {
        if ((byOperator || byWarehouse)
            && (!byOperator || m_grid.TextMatrix(row, OperatorCodeColumn) == wanted.operatorCode)
            && (!byWarehouse
                || m_grid.TextMatrix(row, WarehouseCodeColumn) == wanted.warehouseCode))
            found = row;
    }
    if (found < 0)
        return false;
    m_grid.setTopRow(found);
    m_grid.setCol(0);
    m_grid.setRow(found);
    m_grid.setRowSel(found);
    if (wanted.lastBox == services::RightsFilterBox::OperatorCode)
        m_grid.setBackColorSel(LocatedByOperatorColour);
    return true;
}
