#include "WarehouseMessages.h"

#include "data/Catalogue.h"
#include "data/UserErrors.h"
#include "suite/modal/ModalSeam.h"

namespace text = depotbase::text;

using depotbase::LoadResString;

namespace whmessages {

void critical(QWidget *window, const QString &text)
{
    modal::message(window, text, modal::Icon::Critical, modal::Buttons::Ok,
                   LoadResString(text::MessageCaption));
}

void failure(QWidget *window, const services::DatabaseFailure &error)
{
    critical(window, depotbase::UserErrorText(
                         QStringLiteral("数据库操作未能完成，请稍后重试；如仍不成功，"
                                        "请与系统管理员联系。"),
                         error.number, error.description));
}

bool guarded(QWidget *window, const std::function<void()> &work)
{
    return services::guarded(
        work, [window](const services::DatabaseFailure &error) { failure(window, error); });
}

void notice(QWidget *window, const QString &text)
{
    modal::message(window, text, modal::Icon::Information, modal::Buttons::Ok,
                   LoadResString(text::MessageCaption));
}

bool refuseWhenReadOnly(QWidget *window, bool readOnly)
{
    if (readOnly)
        critical(window, QStringLiteral("仓库档案以只读方式打开，不能增加、修改或删除！"));
    return readOnly;
}

QString readOnlyMark()
{
    return QStringLiteral("［只读］");
}

QString readOnlyTip(const QString &command)
{
    return QStringLiteral("%1：仓库档案以只读方式打开，不能%1").arg(command);
}

QString viewOnlyTip()
{
    return QStringLiteral("查看 (Ctrl+E)：仓库档案以只读方式打开，卡片只能查看");
}

QString lockHolderLine(const QString &operatorName, const QString &computer)
{
    return QStringLiteral("锁定者：操作员 %1，计算机 %2").arg(operatorName, computer);
}

QString deleteStoppedInUseText(int deleted, const QString &code)
{
    return QStringLiteral("已删除 %1 个；%2 在其它数据表中使用，未删除").arg(deleted).arg(code);
}

} // namespace whmessages
