#include "AuthorityListGrid.h"

#include "forms/DataSetGridSource.h"
#include "services/RightsList.h"
#include "services/RightsQueries.h"
#include "suite/controls/GridColors.h"
#include "suite/controls/SuperGrid.h"

#include <QHash>
#include <algorithm>
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

// A right's cells as the list shows them, one per column.
std::vector<QString> rowTexts(const services::JoinedRight &right)
{
    return {right.operatorName, right.warehouseCode,    right.warehouseName,
            showMoneyText(right.showMoney ? 1 : 0),     right.operatorCode,
            right.classCode,    right.className,        right.item.code,
            right.item.name,    right.item.model};
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
    m_autoIds.clear();
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
    const std::vector<long long> autoIds = services::rightslist::autoIds(rows);
    m_autoIds.insert(m_autoIds.end(), autoIds.begin(), autoIds.end());
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

// ---- rights changed since the list was read -------------------------------

long long AuthorityListGrid::autoIdOf(int row) const
{
    return row >= 1 && size_t(row) <= m_autoIds.size() ? m_autoIds[size_t(row - 1)] : 0;
}

int AuthorityListGrid::rowOf(long long autoId, int otherwise) const
{
    const auto found = std::find(m_autoIds.begin(), m_autoIds.end(), autoId);
    return autoId != 0 && found != m_autoIds.end() ? int(found - m_autoIds.begin()) + 1
                                                   : otherwise;
}

std::vector<long long> AuthorityListGrid::rightsOnWarehouses(const QSet<QString> &warehouses) const
{
    std::vector<long long> rights;
    for (int row = 1; row < m_grid.Rows() && !warehouses.isEmpty(); ++row)
        if (warehouses.contains(m_grid.TextMatrix(row, WarehouseCodeColumn)))
            rights.push_back(autoIdOf(row));
    return rights;
}

void AuthorityListGrid::takeStored(const QSet<long long> &touched,
                                   const std::vector<services::JoinedRight> &listed)
{
    const long long current = autoIdOf(m_grid.Row());
    const int currentCol = m_grid.Col();
    const int top = m_grid.TopRow();
    const long long topRight = autoIdOf(top);

    QHash<long long, int> shown;
    for (size_t i = 0; i < m_autoIds.size(); ++i)
        shown.insert(m_autoIds[i], int(i) + 1);
    QHash<long long, const services::JoinedRight *> stored;
    for (const services::JoinedRight &right : listed)
        stored.insert(right.autoId, &right);
    std::vector<int> gone;
    std::vector<const services::JoinedRight *> added;
    for (const long long autoId : touched) {
        const int row = shown.value(autoId, 0);
        const services::JoinedRight *right = stored.value(autoId, nullptr);
        if (row != 0 && right)
            m_grid.setRowTexts(row, rowTexts(*right));
        else if (row != 0)
            gone.push_back(row);
        else if (right)
            added.push_back(right);
    }
    const int currentRow = m_grid.Row();
    const auto goneAbove = [&gone](int row) {
        return int(std::count_if(gone.begin(), gone.end(), [row](int g) { return g < row; }));
    };
    const int nextRow = currentRow - goneAbove(currentRow);
    const int nextTop = top - goneAbove(top);
    removeRows(std::move(gone));
    appendRights(std::move(added));
    // The current right stays current; when it went, the row after it is.
    const int last = m_grid.Rows() - 1;
    if (const int row = std::min(rowOf(current, nextRow), last); row >= 1) {
        m_grid.setRow(row);
        m_grid.setCol(currentCol);
    }
    if (const int row = rowOf(topRight, std::min(nextTop, last)); row >= 1)
        m_grid.setTopRow(row);
}

void AuthorityListGrid::removeRows(std::vector<int> rows)
{
    // From the bottom up, so the rows still to go keep their numbers.
    std::sort(rows.begin(), rows.end(), std::greater<>());
    for (const int row : rows) {
        m_grid.RemoveItem(row);
        m_autoIds.erase(m_autoIds.begin() + (row - 1));
    }
}

void AuthorityListGrid::appendRights(std::vector<const services::JoinedRight *> rights)
{
    if (rights.empty())
        return;
    // In the order written, as the list reads them.
    std::sort(rights.begin(), rights.end(),
              [](const auto *a, const auto *b) { return a->autoId < b->autoId; });
    int row = m_grid.Rows();
    m_grid.setRows(row + int(rights.size()));
    for (const services::JoinedRight *right : rights) {
        m_grid.setRowTexts(row++, rowTexts(*right));
        m_autoIds.push_back(right->autoId);
    }
}
