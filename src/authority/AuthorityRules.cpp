// The checks of the editor's grid rows, and its message and cell helpers.
// The rules between rights are the rights service's; these checks look up
// what was typed and ask the service about the row.
#include "FrmAuthority.h"

#include "AuthorityLookups.h"
#include "RightsGrid.h"
#include "data/Catalogue.h"
#include "suite/controls/SuperGrid.h"
#include "suite/dbkit/DbError.h"
#include "suite/modal/ModalSeam.h"

using namespace depotbase;

// ---- messages and cells --------------------------------------------------

void FrmAuthority::stop(const QString &text)
{
    modal::message(this, text, modal::Icon::Critical, modal::Buttons::Ok, LoadResString(140));
}

bool FrmAuthority::trap(const std::function<bool()> &step)
{
    try {
        return step();
    } catch (const dbkit::DbError &e) {
        stop(e.description());
        return false;
    }
}

QString FrmAuthority::cell(int row, int col) const
{
    return m_grid->TextMatrix(row, col);
}

void FrmAuthority::setCell(int row, int col, const QString &text)
{
    m_grid->setTextMatrix(row, col, text);
}

int FrmAuthority::lastRow() const
{
    return m_grid->Rows() - 1;
}

// ---- checks --------------------------------------------------------------

bool FrmAuthority::ResolveOtherSide(int kind, QString &code)
{
    if (kind != 0 && kind != 1)
        return true;
    const std::optional<QString> found = authoritylookups::otherSide(*m_login, kind, code);
    if (found)
        code = *found;
    return found.has_value();
}

bool FrmAuthority::ResolveInventory()
{
    GridRow values = gridRow(curRow);
    const bool found = m_entry.resolveItem(values);
    showRow(values);
    return found;
}

bool FrmAuthority::CheckRowUnique(int row)
{
    return rightsgrid::rowUnique(*m_grid, row);
}

bool FrmAuthority::CheckNoOverlap(int row)
{
    return row < 1 || row > lastRow() || m_commit.fitsStored(gridRow(row));
}

bool FrmAuthority::CheckShowMoney(int row)
{
    // A row that is not there (the grid holds only its titles) has nothing
    // to check.
    return row > lastRow() || m_entry.saysShowMoney(gridRow(row));
}

bool FrmAuthority::CheckOtherSide(int row)
{
    return m_entry.keepsOtherSide(gridRow(row));
}
