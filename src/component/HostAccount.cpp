#include "component/HostAccount.h"

#include "data/AccountSetup.h"
#include "data/Catalogue.h"
#include "suite/dbkit/DbDataSet.h"
#include "suite/dbkit/DbError.h"
#include "suite/modal/ModalSeam.h"

#include <QFileInfo>

namespace depotbase {

namespace {

QString sqlitePath(const QString &databaseUrl)
{
    return databaseUrl.startsWith(QLatin1String("sqlite:"), Qt::CaseInsensitive)
               ? databaseUrl.mid(7)
               : QString();
}

QString unusableText(const QString &url, const QString &reason)
{
    return QStringLiteral("无法打开账套数据库：%1\n"
                          "它可能已损坏、不是账套数据库，或当前用户无权读取。\n%2")
        .arg(dbkit::DbLogin::databaseUrl(url), reason);
}

QString tell(const QString &text)
{
    modal::message(nullptr, text, modal::Icon::Critical, modal::Buttons::Ok,
                   LoadResString(text::MessageCaption));
    return text;
}

} // namespace

dbkit::DbLoginPtr OpenHostAccount(const QString &url, bool createDemo)
{
    const QString database = dbkit::DbLogin::databaseUrl(url);
    const QString path = sqlitePath(database);
    dbkit::DbLoginPtr login;
    if (!path.isEmpty() && createDemo) {
        login = OpenOrCreateSqliteAccount(path, true);
        // The identity items of the URL belong to the login that is kept.
        if (database != url) {
            login.reset();
            login = dbkit::DbLogin::open(url);
        }
    } else {
        if (!path.isEmpty() && !QFileInfo::exists(path))
            throw dbkit::DbError(dbkit::ErrorNumber::ConnectionFailed,
                                 QStringLiteral("no account database at %1 (use --demo to "
                                                "create one)").arg(path));
        login = dbkit::DbLogin::open(url);
    }
    // An engine may open a damaged file and fail only at its first read: read
    // now, so that such an account is refused here, with the engine's reason.
    login->OpenDataSet(QStringLiteral("select cWhCode from Warehouse where 1 = 0"),
                       dbkit::OpenMode::ReadOnly);
    return login;
}

QString OpenAccountForWindows(LXWareHouse &component, const HostAccount &account)
{
    dbkit::DbLoginPtr login;
    try {
        login = OpenHostAccount(account.url, account.createDemo);
    } catch (const dbkit::DbError &e) {
        return tell(unusableText(account.url, e.description()));
    }
    if (!account.openList) {
        component.mdbObject = login;
        component.blnReadOnly = account.readOnly;
        return QString();
    }
    if (!component.Init(login, account.readOnly))
        return tell(unusableText(account.url, QStringLiteral("仓库档案读不出来。")));
    return QString();
}

} // namespace depotbase
