// Writing rights: the rights service checks each whole right against the
// stored ones and writes it; the editor shows its answer and keeps the grid
// to what the table holds.
#include "FrmAuthority.h"

#include "AuthorityLookups.h"
#include "RightsGrid.h"
#include "data/Catalogue.h"
#include "services/RightRules.h"
#include "suite/controls/SuperGrid.h"
#include "suite/dbkit/DbError.h"
#include "suite/modal/ModalSeam.h"

using namespace depotbase;
using services::ServiceResult;

services::RightRecord FrmAuthority::rightOfRow(int row) const
{
    return rightsgrid::rightOfRow(*m_grid, row, nodeKind, nodeCode, nodeName);
}

ServiceResult FrmAuthority::InsertRight()
{
    if (m_readOnly)
        return ServiceResult::refused(readOnlyText());
    const int row = curRow;
    services::RightRecord right = rightOfRow(row);
    right.autoId = 0;
    const ServiceResult result = m_rights.insert(right);
    if (result.done()) {
        setCell(row, ColAutoId, QString::number(right.autoId));
        ++lastSavedRow;
        m_insertedRow = row;
    }
    return result;
}

ServiceResult FrmAuthority::UpdateRight()
{
    if (m_readOnly)
        return ServiceResult::refused(readOnlyText());
    // A row whose record was found gone is new again: it is stored anew.
    if (cell(curRow, ColAutoId).isEmpty())
        return InsertRight();
    return m_rights.update(rightOfRow(curRow));
}

void FrmAuthority::saveRow(int row, int col, QString &text)
{
    // The writes act on curRow: it is the committed row.
    curRow = row;
    const bool isNew = row > lastSavedRow;
    ServiceResult result;
    if (isNew)
        result = InsertRight();
    else if (row == lastSavedRow ? !rowMoved : row >= 1)
        result = UpdateRight();
    if (result.done())
        return;
    if (result.errorNumber == dbkit::ErrorNumber::RecordDeleted) {
        treatAsUnwritten(row, result.message);
        return;
    }
    // A new row of a warehouse (or operator) the pair already has rights on
    // is only a step towards a narrowed right: nothing is stored or said
    // yet, and leaving the row tells the overlap.
    if (isNew && cell(row, ColClass).isEmpty() && cell(row, ColInv).isEmpty()
        && result.message == services::rightrules::overlapMessage())
        return;
    stop(result.message);
    // A busy or lost database refused nothing: the row stays as typed, to
    // be stored by its next commit.
    const int number = result.errorNumber;
    if (number != 0 && number != dbkit::ErrorNumber::DuplicateKey)
        return;
    refuseCells(row, rightsgrid::columnOfField(result.field, col));
    text = cell(row, col);
}

void FrmAuthority::treatAsUnwritten(int row, const QString &message)
{
    stop(message);
    setRowNew(row);
}

void FrmAuthority::setRowNew(int row)
{
    setCell(row, ColAutoId, QString());
    --lastSavedRow;
}

void FrmAuthority::refuseCells(int row, int col)
{
    restoreStored(row, col);
    // A narrowing refused in the same editing that stored the row as a
    // whole-warehouse right takes that right back: the user never confirmed it.
    if (row == m_insertedRow && cell(row, ColClass).isEmpty() && cell(row, ColInv).isEmpty()
        && (col == ColClass || col == ColInv) && removeStored(row)) {
        setRowNew(row);
        m_insertedRow = 0;
    }
}

void FrmAuthority::restoreStored(int row, int col)
{
    const auto [first, last] = rightsgrid::cellGroup(col);
    const QString autoId = cell(row, ColAutoId);
    // A new row keeps the code the user typed, so it can be corrected.
    if (autoId.isEmpty() && col == ColOther)
        return;
    const auto stored = autoId.isEmpty() ? std::nullopt
                                         : authoritylookups::storedCells(
                                               *m_login, autoId.toLongLong(), nodeKind);
    for (int c = first; c <= last; ++c)
        setCell(row, c, stored ? stored->at(size_t(c)) : QString());
}

bool FrmAuthority::removeStored(int row)
{
    if (cell(row, ColAutoId).isEmpty())
        return true;
    const ServiceResult result = m_rights.remove(cell(row, ColAutoId).toLongLong());
    // Deleted by another administrator meanwhile: gone either way.
    if (!result.done() && result.errorNumber != dbkit::ErrorNumber::RecordDeleted) {
        stop(result.message);
        return false;
    }
    return true;
}

bool FrmAuthority::DeleteRight()
{
    if (refuseWhenReadOnly())
        return false;
    const int row = m_grid->Row();
    if (row < 1 || row > lastRow()) {
        modal::message(this, QStringLiteral("请选择一行删除!"), modal::Icon::Critical,
                       modal::Buttons::Ok, LoadResString(17));
        return false;
    }
    if (!removeStored(row))
        return false;
    m_grid->RemoveItem(row);
    // Only a written row counts among the written ones: removing a new row
    // must not turn the last written row into a new one.
    if (row <= lastSavedRow)
        --lastSavedRow;
    m_insertedRow = 0;
    return true;
}
