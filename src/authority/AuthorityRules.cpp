// The rules a right must obey, checked on the editor's grid rows, and the
// editor's message helpers.
#include "FrmAuthority.h"

#include "AuthorityStatements.h"
#include "data/Catalogue.h"
#include "data/DataHelpers.h"
#include "suite/controls/SuperGrid.h"
#include "suite/dbkit/DbError.h"
#include "suite/modal/ModalSeam.h"

using namespace depotbase;

namespace {

QString overlapMessage()
{
    const QChar cr(13);
    return QStringLiteral("权限设置重复，请重试！") + cr
           + QStringLiteral("库管员+仓库+存货分类|存货必须唯一，而且库管员+仓库+存货不能包含在") + cr
           + QStringLiteral("库管员+仓库+存货分类中，即对一个库管员同一个仓库，存货和存货分类") + cr
           + QStringLiteral("不能有交叉。");
}

bool holdsNoRecord(const dbkit::DbDataSet &data)
{
    return data.BOF() || data.Eof();
}

} // namespace

// ---- messages and cells --------------------------------------------------

void FrmAuthority::stop(const QString &text)
{
    modal::message(this, text, modal::Icon::Critical, modal::Buttons::Ok, LoadResString(140));
}

void FrmAuthority::showDbError(const dbkit::DbError &error)
{
    stop(error.description());
}

bool FrmAuthority::trap(const std::function<bool()> &step)
{
    try {
        return step();
    } catch (const dbkit::DbError &e) {
        showDbError(e);
        return false;
    }
}

bool FrmAuthority::refuseWhenReadOnly()
{
    if (!m_readOnly)
        return false;
    stop(QStringLiteral("仓库权限以只读方式打开，不能增加、修改或删除！"));
    return true;
}

QString FrmAuthority::cell(int row, int col) const
{
    return m_grid->TextMatrix(row, col);
}

void FrmAuthority::setCell(int row, int col, const QString &text)
{
    m_grid->setTextMatrix(row, col, text);
}

void FrmAuthority::clearCells(int row, int firstCol, int lastCol)
{
    for (int c = firstCol; c <= lastCol; ++c)
        setCell(row, c, QString());
}

int FrmAuthority::lastRow() const
{
    return m_grid->Rows() - 1;
}

// ---- rules ---------------------------------------------------------------

bool FrmAuthority::ResolveOtherSide(int kind, QString &code)
{
    if (kind != 0 && kind != 1)
        return true;
    dbkit::DbDataSetPtr found = m_login->OpenDataSet(authority::otherSideStatement(kind, code));
    if (holdsNoRecord(*found))
        return false;
    code = NullToEmpty(found->Fields(0));
    return true;
}

bool FrmAuthority::ResolveInventory()
{
    const int row = curRow;
    dbkit::DbDataSetPtr items =
        m_login->OpenDataSet(authority::typedInventoryStatement(cell(row, ColInv)));
    if (items->RecordCount() != 1) {
        clearCells(row, ColInv, ColInvStd);
        return false;
    }
    items->MoveFirst();
    setCell(row, ColInv, NullToEmpty(items->Fields(QStringLiteral("cInvCode"))));
    setCell(row, ColInvName, NullToEmpty(items->Fields(QStringLiteral("cInvName"))));
    setCell(row, ColInvStd, NullToEmpty(items->Fields(QStringLiteral("cInvStd"))));
    return true;
}

bool FrmAuthority::CheckRowUnique(int row)
{
    const auto keyOf = [this](int r) {
        if (r > lastRow())
            return QString();
        return cell(r, ColOther) + '\'' + cell(r, ColClass) + '\'' + cell(r, ColInv);
    };
    const QString key = keyOf(row);
    for (int i = 1; i <= lastRow(); ++i) {
        if (i != row && keyOf(i) == key)
            return false;
    }
    return true;
}

bool FrmAuthority::CheckPair(const QString &inv, const QString &cls, const QString &otherCls)
{
    // Class codes nest by prefix: 0101 lies beneath 01.
    if (!otherCls.isEmpty() && !cls.isEmpty() && cls.size() >= otherCls.size()
        && cls.startsWith(otherCls))
        return false;
    QString sql;
    if (!inv.isEmpty() || !cls.isEmpty()) {
        sql = authority::itemInClassStatement(inv, cls);
    } else if (nodeKind == 0) {
        sql = authority::operatorWarehouseStatement(cell(curRow, ColOther), nodeName, true);
    } else {
        sql = authority::operatorWarehouseStatement(nodeCode, cell(curRow, ColOtherName), false);
    }
    return holdsNoRecord(*m_login->OpenDataSet(sql));
}

bool FrmAuthority::CheckNoOverlap(int row)
{
    if (row > lastRow() || row < 1)
        return true;
    const QString other = cell(row, ColOther);
    const QString inv = cell(row, ColInv);
    const QString cls = cell(row, ColClass);
    bool passed = true;
    for (int i = 1; i <= lastRow() && passed; ++i) {
        if (i == row || cell(i, ColOther) != other)
            continue;
        const QString otherCls = cell(i, ColClass);
        const QString otherInv = cell(i, ColInv);
        // Is the item inside the other row's class?
        if (!inv.isEmpty() && !otherCls.isEmpty())
            passed = CheckPair(inv, otherCls, QString());
        // Is the other row's item inside this class?
        if (passed && !otherInv.isEmpty() && !cls.isEmpty())
            passed = CheckPair(otherInv, cls, QString());
        // Does one class lie beneath the other? Both ways: a broader class
        // beside a narrower one crosses just as the reverse does.
        if (passed && !otherCls.isEmpty() && !cls.isEmpty())
            passed = CheckPair(QString(), cls, otherCls) && CheckPair(QString(), otherCls, cls);
        // A whole-warehouse row: does the table already hold this pair?
        if (passed && inv.isEmpty() && cls.isEmpty())
            passed = CheckPair(QString(), QString(), QString());
    }
    if (!passed)
        stop(overlapMessage());
    return passed;
}

bool FrmAuthority::CheckShowMoney(int row)
{
    // A row that is not there (the grid holds only its titles) has nothing
    // to check.
    if (row > lastRow())
        return true;
    if (!cell(row, ColShowMoney).isEmpty())
        return true;
    stop(QStringLiteral("请设置是否显示金额!"));
    return false;
}

bool FrmAuthority::CheckOtherSide(int row)
{
    if (cell(row, ColAutoId).isEmpty())
        return true;
    if (!cell(row, ColOtherName).isEmpty())
        return true;
    stop(nodeKind == 0 ? QStringLiteral("请选择仓库！") : QStringLiteral("请选择操作员！"));
    return false;
}
