#include "GridEditing.h"

#include "EditedRows.h"
#include "InventoryReference.h"
#include "RightsGrid.h"
#include "suite/controls/GridDropDown.h"
#include "suite/controls/SuperGrid.h"

#include <utility>

GridEditing::GridEditing(SuperGrid &grid, EditedRows &rows, const AuthorityData &data,
                         const services::Account &account, Window window)
    : m_grid(grid), m_rows(rows), m_data(data), m_account(account), m_window(std::move(window))
{
    connect(&m_grid, &SuperGrid::ComboDropDown, this, &GridEditing::onDropDown);
    connect(&m_grid, &SuperGrid::AfterEdit, this, &GridEditing::onCommit);
    connect(&m_grid, &SuperGrid::ButtonClick, this, &GridEditing::onReferenceButton);
    connect(&m_grid, &SuperGrid::RowColChange, this, &GridEditing::onRowChanged);
    connect(&m_grid, &SuperGrid::EnterCell, this, &GridEditing::onCursorMoved);
    connect(&m_grid, &SuperGrid::EnterNewRow, this,
            [this](int, int, int) { rightsgrid::settleShowMoney(m_grid, m_grid.Row() - 1); });
    connect(&m_grid, &SuperGrid::BeforeEdit, this, [this](int, int, bool &cancel) {
        if (m_rows.refusesWrites())
            cancel = true;
    });
}

GridEditing::~GridEditing() = default;

void GridEditing::unload()
{
    m_reference.reset();
}

void GridEditing::onDropDown(int row, int col, GridDropDown *list)
{
    if (m_rows.refusesClassAndItem(row, col)) {
        m_comboNames.clear();
        return;
    }
    rightsgrid::offer(*list, col, m_rows.node.kind, m_data, m_comboNames);
}

void GridEditing::onCommit(int row, int col, QString &text)
{
    m_rows.rowMoved = false;
    m_window.trap([&] {
        const RowEntry::Answer answer = m_rows.take(row, col, pickedName(col), text);
        if (answer == RowEntry::Answer::UnknownItem)
            m_grid.setRow(m_rows.curRow);
        if (answer == RowEntry::Answer::Taken)
            completeRow(row, col, text);
        return true;
    });
}

std::optional<QString> GridEditing::pickedName(int col) const
{
    if (col != ColOther && col != ColClass)
        return std::nullopt;
    // The class drop-down starts with an empty item, which clears the class.
    const int chosen = m_grid.dropDown()->ListIndex() - (col == ColClass ? 1 : 0);
    if (chosen >= 0 && chosen < m_comboNames.size())
        return m_comboNames.at(chosen);
    return std::nullopt;
}

void GridEditing::completeRow(int row, int col, QString &text)
{
    if (m_rows.cell(row, ColOther).isEmpty() || m_rows.cell(row, ColOtherName).isEmpty())
        return;  // an incomplete row is not written
    if (!m_rows.listedOnce(row)) {
        m_rows.refuseRepeated(row, col, text);
        m_grid.setRow(row);
        m_grid.setCol(col);
        return;
    }
    m_grid.setRow(row);
    m_rows.save(row, col, text);
}

void GridEditing::onReferenceButton(int row, int col)
{
    if (col != ColInv || m_rows.refusesClassAndItem(row, col))
        return;
    m_window.trap([&] {
        if (!m_reference)
            m_reference = std::make_unique<InventoryReference>(m_window.parent);
        services::RightsQueries queries(m_account.login());
        const std::optional<services::ItemNames> picked = m_reference->pick(queries);
        if (!picked)
            return true;
        m_grid.setTextMatrix(row, ColInv, picked->code);
        m_grid.setTextMatrix(row, ColInvName, picked->name);
        m_grid.setTextMatrix(row, ColInvStd, picked->model);
        // A picked item is stored like a typed one, so what the grid shows
        // is what the table holds.
        QString text = m_rows.cell(row, ColInv);
        m_rows.rowMoved = false;
        completeRow(row, ColInv, text);
        return true;
    });
}

void GridEditing::onRowChanged(bool rowChanged)
{
    if (rowChanged && m_grid.Row() != m_rows.curRow) {
        m_rows.curRow = m_grid.Row();
        m_rows.insertedRow = 0;  // a new editing begins
    }
    m_rows.rowMoved = true;
    rightsgrid::markStoreState(m_grid, m_grid.Row());
}

void GridEditing::onCursorMoved()
{
    // The row being left must pass the exit button's checks.
    if (m_grid.Row() != m_rows.curRow && m_rows.curRow <= m_rows.lastRow()
        && !m_window.mayLeaveRow())
        m_grid.setRow(m_rows.curRow);
}
