#include "WarehouseMessages.h"

#include "data/Catalogue.h"
#include "data/UserErrors.h"
#include "services/WarehouseRules.h"
#include "suite/dbkit/DbError.h"
#include "suite/modal/ModalSeam.h"

using depotbase::LoadResString;

namespace whmessages {

void critical(QWidget *window, const QString &text)
{
    modal::message(window, text, modal::Icon::Critical, modal::Buttons::Ok, LoadResString(17));
}

void failure(QWidget *window, const dbkit::DbError &error)
{
    critical(window, depotbase::UserErrorText(
                         QStringLiteral("数据库操作未能完成，请稍后重试；如仍不成功，"
                                        "请与系统管理员联系。"),
                         error));
}

void refusal(QWidget *window, const QString &message)
{
    if (message == services::warehouse_rules::lockedText())
        modal::message(window, message, modal::Icon::Information, modal::Buttons::Ok,
                       LoadResString(17));
    else
        critical(window, message);
}

bool refuseWhenReadOnly(QWidget *window, bool readOnly)
{
    if (readOnly)
        critical(window, QStringLiteral("仓库档案以只读方式打开，不能增加、修改或删除！"));
    return readOnly;
}

} // namespace whmessages
