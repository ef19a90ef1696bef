// The authority editor's grid editing: what a drop-down offers, what a
// committed cell does, the inventory reference, and the guard on leaving a row.
#include "FrmAuthority.h"

#include "InventoryReference.h"
#include "RightsGrid.h"
#include "data/Catalogue.h"
#include "suite/controls/SuperGrid.h"

#include <QAction>

using namespace depotbase;

namespace {

const QString oneOfMessage =
    QStringLiteral("只能输入存货分类编码和存货编码其中之一，不能同时输入！");

} // namespace

void FrmAuthority::connectGrid()
{
    connect(m_grid, &SuperGrid::ComboDropDown, this, &FrmAuthority::onDropDown);
    connect(m_grid, &SuperGrid::AfterEdit, this, &FrmAuthority::onCommit);
    connect(m_grid, &SuperGrid::ButtonClick, this, &FrmAuthority::onReferenceButton);
    connect(m_grid, &SuperGrid::RowColChange, this, &FrmAuthority::onRowChanged);
    connect(m_grid, &SuperGrid::EnterCell, this, &FrmAuthority::onCursorMoved);
    connect(m_grid, &SuperGrid::Click, this, [this] {
        if (QAction *del = toolbarButton(QStringLiteral("delbut")))
            del->setEnabled(true);
    });
    // Entering a new row gives the row above it "否" when it has no show money.
    connect(m_grid, &SuperGrid::EnterNewRow, this, [this](int, int, int) {
        const int previous = m_grid->Row() - 1;
        if (previous >= 1 && cell(previous, ColShowMoney).isEmpty())
            setCell(previous, ColShowMoney, LoadResString(26));
    });
    connect(m_grid, &SuperGrid::BeforeEdit, this, [this](int, int, bool &cancel) {
        if (refuseWhenReadOnly())
            cancel = true;
    });
}

void FrmAuthority::onDropDown(int row, int col, GridDropDown *list)
{
    if (col == ColShowMoney) {
        list->AddItem(LoadResString(25));
        list->AddItem(LoadResString(26));
        return;
    }
    comboNames.clear();
    if (col == ColClass) {
        if (!cell(row, ColInv).isEmpty()) {
            stop(oneOfMessage);
            return;
        }
        list->AddItem(QString());
        rightsgrid::fillDropDown(*list, m_data.classes(), comboNames);
        return;
    }
    rightsgrid::fillDropDown(*list, nodeKind == 0 ? m_data.warehouses() : m_data.operators(), comboNames);
}

void FrmAuthority::onCommit(int row, int col, QString &text)
{
    rowMoved = false;
    trap([&] {
        bool goOn = true;
        if (col == ColOther)
            goOn = commitOtherSide(row, text);
        else if (col == ColClass)
            goOn = commitClass(row);
        else if (col == ColInv)
            goOn = commitInventory(row, text);
        if (goOn)
            completeRow(row, col, text);
        return true;
    });
}

bool FrmAuthority::commitOtherSide(int row, QString &text)
{
    if (!ResolveOtherSide(nodeKind == 0 ? 0 : 1, text)) {
        if (nodeKind == 1)
            stop(QStringLiteral("操作员输入不合法!请重试"));
        else if (!cell(row, ColOther).isEmpty())
            stop(QStringLiteral("仓库输入不合法!请重试"));
        return false;
    }
    setCell(row, ColOther, text);
    const int chosen = m_grid->dropDown()->ListIndex();
    if (chosen >= 0 && chosen < comboNames.size())
        setCell(row, ColOtherName, comboNames.at(chosen));
    return true;
}

bool FrmAuthority::commitClass(int row)
{
    // The empty first item clears the class. Whether the class may stand
    // beside the other rights is the write's to tell.
    const int chosen = m_grid->dropDown()->ListIndex();
    setCell(row, ColClassName,
            chosen > 0 && chosen - 1 < comboNames.size() ? comboNames.at(chosen - 1) : QString());
    return true;
}

bool FrmAuthority::commitInventory(int row, QString &text)
{
    if (!cell(row, ColClass).isEmpty()) {
        stop(oneOfMessage);
        text.clear();
        return false;
    }
    if (!ResolveInventory()) {
        stop(QStringLiteral("存货编码输入错误!"));
        refuseCells(row, ColInv);
        text = cell(row, ColInv);
        m_grid->setRow(curRow);
        return false;
    }
    text = cell(row, ColInv);
    return true;
}

void FrmAuthority::completeRow(int row, int col, QString &text)
{
    if (cell(row, ColOther).isEmpty() || cell(row, ColOtherName).isEmpty())
        return;   // an incomplete row is not written
    if (!CheckRowUnique(row)) {
        stop(QStringLiteral("权限设置重复!请重试"));
        if (col == ColOther)
            clearCells(row, ColOther, ColOtherName);
        else
            refuseCells(row, col);
        text = cell(row, col);
        m_grid->setRow(row);
        m_grid->setCol(col);
        return;
    }
    m_grid->setRow(row);
    saveRow(row, col, text);
}

void FrmAuthority::onReferenceButton(int row, int col)
{
    if (col != ColInv)
        return;
    if (!cell(row, ColClass).isEmpty()) {
        stop(oneOfMessage);
        return;
    }
    trap([&] {
        if (!refInv)
            refInv = std::make_unique<InventoryReference>(this);
        const auto picked = refInv->pick(*m_login);
        if (!picked)
            return true;
        for (int c = ColInv; c <= ColInvStd; ++c)
            setCell(row, c, picked->at(size_t(c - ColInv)));
        // A picked item is stored like a typed one, so what the grid shows
        // is what the table holds.
        QString text = cell(row, ColInv);
        rowMoved = false;
        completeRow(row, ColInv, text);
        return true;
    });
}

void FrmAuthority::onRowChanged(bool rowChanged)
{
    if (rowChanged && m_grid->Row() != curRow) {
        curRow = m_grid->Row();
        m_insertedRow = 0;   // a new editing begins
    }
    rowMoved = true;
}

void FrmAuthority::onCursorMoved()
{
    // The row being left must pass the exit button's checks.
    if (m_grid->Row() != curRow && curRow <= lastRow() && !checkRowBeforeLeaving())
        m_grid->setRow(curRow);
}

