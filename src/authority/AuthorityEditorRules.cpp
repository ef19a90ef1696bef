// The authority editor's messages, and the row checks it offers on its
// EditedRows.
#include "AuthorityEditor.h"

#include "data/Catalogue.h"
#include "data/UserErrors.h"
#include "services/DatabaseFailure.h"
#include "suite/modal/ModalSeam.h"

using namespace depotbase;

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
        [this](const services::DatabaseFailure &failure) { tellFailure(failure); });
    return passed;
}

void FrmAuthority::tellFailure(const services::DatabaseFailure &failure)
{
    stop(depotbase::UserErrorText(QStringLiteral("仓库权限未能读取或保存，请稍后重试；"
                                                 "如仍不成功，请与系统管理员联系。"),
                                  failure.number, failure.description));
}

bool FrmAuthority::ResolveOtherSide(services::NodeKind node, QString &code)
{
    return m_rows.resolveOtherSide(node, code);
}

bool FrmAuthority::CheckOtherSide(int row)
{
    return m_rows.keepsOtherSide(row);
}
