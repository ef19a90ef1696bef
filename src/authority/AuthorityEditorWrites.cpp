// Writing rights: RowCommit decides what a commit stores or refuses; the
// editor hands it the grid row and shows what it leaves of the row.
#include "AuthorityEditor.h"

#include "RightsGrid.h"
#include "data/Catalogue.h"
#include "suite/controls/SuperGrid.h"
#include "suite/modal/ModalSeam.h"

using namespace depotbase;
using services::ServiceResult;

GridRow FrmAuthority::gridRow(int row) const
{
    return {{nodeKind, nodeCode, nodeName}, row, rightsgrid::cellsOf(*m_grid, row),
            lastSavedRow, m_insertedRow, rowMoved};
}

void FrmAuthority::showRow(const GridRow &row)
{
    rightsgrid::showCells(*m_grid, row.row, row.cells);
    rightsgrid::markStoreState(*m_grid, row.row);
    lastSavedRow = row.lastSavedRow;
    m_insertedRow = row.insertedRow;
}

ServiceResult FrmAuthority::InsertRight()
{
    GridRow row = gridRow(curRow);
    const ServiceResult result = m_commit.insert(row);
    showRow(row);
    return result;
}

ServiceResult FrmAuthority::UpdateRight()
{
    GridRow row = gridRow(curRow);
    const ServiceResult result = m_commit.update(row);
    showRow(row);
    return result;
}

void FrmAuthority::saveRow(int row, int col, QString &text)
{
    // The writes act on curRow: it is the committed row.
    curRow = row;
    GridRow values = gridRow(row);
    const bool refused = m_commit.save(values, col);
    showRow(values);
    if (refused)
        text = cell(row, col);
}

void FrmAuthority::refuseCells(int row, int col)
{
    GridRow values = gridRow(row);
    m_commit.refuse(values, col);
    showRow(values);
}

bool FrmAuthority::DeleteRight()
{
    if (m_commit.refusesWrites())
        return false;
    const int row = m_grid->Row();
    if (row < 1 || row > lastRow()) {
        modal::message(this, QStringLiteral("请选择一行删除!"), modal::Icon::Critical,
                       modal::Buttons::Ok, LoadResString(text::MessageCaption));
        return false;
    }
    GridRow values = gridRow(row);
    if (!m_commit.remove(values)) {
        showRow(values);  // a right changed meanwhile shows as it is stored
        return false;
    }
    m_grid->RemoveItem(row);
    rightsgrid::markStoreState(*m_grid, m_grid->Row());
    // Only a written row counts among the written ones: removing a new row
    // must not turn the last written row into a new one.
    if (row <= lastSavedRow)
        --lastSavedRow;
    m_insertedRow = 0;
    return true;
}
