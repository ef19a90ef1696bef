// The checks of the editor's grid rows, and its message and cell helpers.
// The checks hand the row's values to RowEntry and RowCommit, which look up
// what was typed and ask the rights service.
#include "AuthorityEditor.h"

#include "RightsGrid.h"
#include "data/Catalogue.h"
#include "data/UserErrors.h"
#include "services/DatabaseFailure.h"
#include "services/RightRules.h"
#include "suite/controls/SuperGrid.h"
#include "suite/modal/ModalSeam.h"

using namespace depotbase;

// ---- messages and cells --------------------------------------------------

void FrmAuthority::stop(const QString &text)
{
    modal::message(this, text, modal::Icon::Critical, modal::Buttons::Ok,
                   LoadResString(text::WarehouseRights));
}

bool FrmAuthority::trap(const std::function<bool()> &step)
{
    bool passed = false;
    services::guarded(
        [&] { passed = step(); },
        [this](const services::DatabaseFailure &failure) {
            stop(depotbase::UserErrorText(QStringLiteral("仓库权限未能读取或保存，请稍后重试；"
                                                         "如仍不成功，请与系统管理员联系。"),
                                          failure.number, failure.description));
        });
    return passed;
}

QString FrmAuthority::cell(int row, int col) const
{
    return m_grid->TextMatrix(row, col);
}

int FrmAuthority::lastRow() const
{
    return m_grid->Rows() - 1;
}

// ---- checks --------------------------------------------------------------

bool FrmAuthority::ResolveOtherSide(services::NodeKind node, QString &code)
{
    return m_entry.resolveOtherSide(node, code);
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
    // Row 1 is the first right listed; the titles are none.
    return row < 1
           || services::rightrules::listedOnce(rightsgrid::listedRights(*m_grid),
                                               size_t(row - 1));
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
