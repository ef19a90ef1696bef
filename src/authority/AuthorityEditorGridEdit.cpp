// The authority editor's grid editing: what a drop-down offers, what a
// committed cell does, the inventory reference, and the guard on leaving a row.
#include "AuthorityEditor.h"

#include "InventoryReference.h"
#include "RowEntry.h"
#include "RightsGrid.h"
#include "suite/controls/SuperGrid.h"

#include <QTableView>

void FrmAuthority::connectGrid()
{
    connect(m_grid, &SuperGrid::ComboDropDown, this, &FrmAuthority::onDropDown);
    connect(m_grid, &SuperGrid::AfterEdit, this, &FrmAuthority::onCommit);
    connect(m_grid, &SuperGrid::ButtonClick, this, &FrmAuthority::onReferenceButton);
    connect(m_grid, &SuperGrid::RowColChange, this, &FrmAuthority::onRowChanged);
    connect(m_grid, &SuperGrid::EnterCell, this, &FrmAuthority::onCursorMoved);
    connect(m_grid, &SuperGrid::Click, this,
            [this] { enableCommand(QStringLiteral("delbut"), true); });
    m_grid->view()->installEventFilter(this);
    connect(m_grid, &SuperGrid::EnterNewRow, this,
            [this](int, int, int) { rightsgrid::settleShowMoney(*m_grid, m_grid->Row() - 1); });
    connect(m_grid, &SuperGrid::BeforeEdit, this, [this](int, int, bool &cancel) {
        if (m_commit.refusesWrites())
            cancel = true;
    });
}

void FrmAuthority::onDropDown(int row, int col, GridDropDown *list)
{
    if (m_entry.refusesClassAndItem(gridRow(row), col)) {
        comboNames.clear();
        return;
    }
    rightsgrid::offer(*list, col, nodeKind, m_data, comboNames);
}

void FrmAuthority::onCommit(int row, int col, QString &text)
{
    rowMoved = false;
    trap([&] {
        GridRow values = gridRow(row);
        const RowEntry::Answer answer = m_entry.take(values, col, pickedName(col));
        showRow(values);
        text = cell(row, col);
        if (answer == RowEntry::Answer::UnknownItem)
            m_grid->setRow(curRow);
        if (answer == RowEntry::Answer::Taken)
            completeRow(row, col, text);
        return true;
    });
}

std::optional<QString> FrmAuthority::pickedName(int col) const
{
    if (col != ColOther && col != ColClass)
        return std::nullopt;
    // The class drop-down starts with an empty item, which clears the class.
    const int chosen = m_grid->dropDown()->ListIndex() - (col == ColClass ? 1 : 0);
    if (chosen >= 0 && chosen < comboNames.size())
        return comboNames.at(chosen);
    return std::nullopt;
}

void FrmAuthority::completeRow(int row, int col, QString &text)
{
    if (cell(row, ColOther).isEmpty() || cell(row, ColOtherName).isEmpty())
        return;   // an incomplete row is not written
    if (!CheckRowUnique(row)) {
        GridRow values = gridRow(row);
        m_entry.refuseRepeated(values, col);
        showRow(values);
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
    if (col != ColInv || m_entry.refusesClassAndItem(gridRow(row), col))
        return;
    trap([&] {
        if (!refInv)
            refInv = std::make_unique<InventoryReference>(this);
        services::RightsQueries queries(m_account.login());
        const std::optional<services::ItemNames> picked = refInv->pick(queries);
        if (!picked)
            return true;
        m_grid->setTextMatrix(row, ColInv, picked->code);
        m_grid->setTextMatrix(row, ColInvName, picked->name);
        m_grid->setTextMatrix(row, ColInvStd, picked->model);
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
    rightsgrid::markStoreState(*m_grid, m_grid->Row());
}

void FrmAuthority::onCursorMoved()
{
    // The row being left must pass the exit button's checks.
    if (m_grid->Row() != curRow && curRow <= lastRow() && !checkRowBeforeLeaving())
        m_grid->setRow(curRow);
}

