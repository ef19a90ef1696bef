#include "RowEntry.h"

#include "RightsGrid.h"

#include <utility>

RowEntry::RowEntry(const services::Account &account, RowCommit &commit, RowCommit::Tell tell)
    : m_queries(account.login()), m_commit(commit), m_tell(std::move(tell))
{
}

bool RowEntry::refusesClassAndItem(const GridRow &row, int col)
{
    const int other = col == ColClass ? ColInv : col == ColInv ? ColClass : -1;
    if (other < 0 || row.cells.at(size_t(other)).isEmpty())
        return false;
    m_tell(QStringLiteral("只能输入存货分类编码和存货编码其中之一，不能同时输入！"));
    return true;
}

RowEntry::Answer RowEntry::take(GridRow &row, int col, const std::optional<QString> &picked)
{
    switch (col) {
    case ColOther:
        return takeOtherSide(row, picked);
    case ColClass:
        // The empty first item clears the class. Whether the class may stand
        // beside the other rights is the write's to tell.
        row.cells[ColClassName] = picked.value_or(QString());
        return Answer::Taken;
    case ColInv:
        return takeItem(row);
    default:
        return Answer::Taken;
    }
}

bool RowEntry::resolveOtherSide(services::NodeKind node, QString &code)
{
    const std::optional<QString> found = m_queries.otherSideCode(node, code);
    if (found)
        code = *found;
    return found.has_value();
}

RowEntry::Answer RowEntry::takeOtherSide(GridRow &row, const std::optional<QString> &picked)
{
    if (!resolveOtherSide(row.node.kind, row.cells[ColOther])) {
        if (row.node.kind == services::NodeKind::Warehouse)
            m_tell(QStringLiteral("操作员输入不合法!请重试"));
        else if (!row.cells.at(ColOther).isEmpty())
            m_tell(QStringLiteral("仓库输入不合法!请重试"));
        return Answer::Refused;
    }
    if (picked)
        row.cells[ColOtherName] = *picked;
    return Answer::Taken;
}

RowEntry::Answer RowEntry::takeItem(GridRow &row)
{
    if (refusesClassAndItem(row, ColInv)) {
        row.cells[ColInv].clear();
        return Answer::Refused;
    }
    if (!resolveItem(row)) {
        m_tell(QStringLiteral("存货编码输入错误!"));
        m_commit.refuse(row, ColInv);
        return Answer::UnknownItem;
    }
    return Answer::Taken;
}

bool RowEntry::resolveItem(GridRow &row)
{
    const std::optional<services::ItemNames> item = m_queries.typedItem(row.cells.at(ColInv));
    rightsgrid::setItemCells(row.cells, item);
    return item.has_value();
}

void RowEntry::refuseRepeated(GridRow &row, int col)
{
    m_tell(QStringLiteral("权限设置重复!请重试"));
    if (col == ColOther) {
        row.cells[ColOther].clear();
        row.cells[ColOtherName].clear();
    } else {
        m_commit.refuse(row, col);
    }
}

bool RowEntry::keepsOtherSide(const GridRow &row)
{
    if (row.cells.at(ColAutoId).isEmpty() || !row.cells.at(ColOtherName).isEmpty())
        return true;
    m_tell(row.node.kind == services::NodeKind::Operator ? QStringLiteral("请选择仓库！")
                                                         : QStringLiteral("请选择操作员！"));
    return false;
}

bool RowEntry::saysShowMoney(const GridRow &row)
{
    if (!row.cells.at(ColShowMoney).isEmpty())
        return true;
    m_tell(QStringLiteral("请设置是否显示金额!"));
    return false;
}
