#include "LoadAccount.h"

#include "data/AccountSetup.h"
#include "services/WarehouseRules.h"

#include <QCoreApplication>
#include <QUrl>

namespace load {

namespace seed {

QString counterCode(int i)
{
    return QStringLiteral("C%1").arg(i + 1, 2, 10, QLatin1Char('0'));
}

QStringList rightsOperators()
{
    return {QStringLiteral("R1"), QStringLiteral("R2"), QStringLiteral("R3")};
}

namespace {
struct Item {
    const char *code;
    const char *classCode;
};
// Class 01 holds 0101 and 0102; 02 stands beside it.
const char *const classes[] = {"01", "0101", "0102", "02"};
const Item items[] = {{"I01", "01"}, {"I0101A", "0101"}, {"I0101B", "0101"},
                      {"I0102A", "0102"}, {"I02A", "02"}};
} // namespace

std::vector<Narrowing> narrowings()
{
    std::vector<Narrowing> all{{}};
    for (const char *cls : classes)
        all.push_back({QLatin1String(cls), {}});
    for (const Item &item : items)
        all.push_back({{}, QLatin1String(item.code)});
    return all;
}

QString valueStyle()
{
    return services::warehouse_rules::offeredStyles(false, true).front();
}

} // namespace seed

namespace {

QString databaseName(const QString &databaseUrl)
{
    return QUrl(databaseUrl).path().mid(1);
}

} // namespace

QString createPostgresDatabase(const QString &serverUrl)
{
    const QString name =
        QStringLiteral("depotbase_load_%1").arg(QCoreApplication::applicationPid());
    auto admin = dbkit::DbLogin::open(serverUrl);
    admin->Execute(
        QStringLiteral("CREATE DATABASE %1 ENCODING 'UTF8' TEMPLATE template0").arg(name));
    QUrl url(serverUrl);
    url.setPath(QLatin1Char('/') + name);
    return url.toString();
}

void dropPostgresDatabase(const QString &serverUrl, const QString &databaseUrl)
{
    // A fresh login: the server may have been restarted since the run began.
    auto admin = dbkit::DbLogin::open(serverUrl);
    admin->Execute(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)")
                       .arg(databaseName(databaseUrl)));
}

QString sameDatabaseThrough(const QString &poolerUrl, const QString &databaseUrl)
{
    QUrl url(poolerUrl);
    url.setPath(QLatin1Char('/') + databaseName(databaseUrl));
    return url.toString();
}

void seedAccount(dbkit::DbLogin &login)
{
    // The feeds of a run that writes nothing must find the table to ask.
    depotbase::AddChangeHistory(login);
    dbkit::TransactionGuard transaction(login);
    for (int i = 0; i < seed::counterWarehouses; ++i)
        login.executeBound(QStringLiteral("INSERT INTO Warehouse (cWhCode, cWhName, "
                                          "cWhValueStyle, cWhMemo) VALUES (?, ?, ?, '0')"),
                           {seed::counterCode(i), QStringLiteral("计数仓库%1").arg(i + 1),
                            seed::valueStyle()});
    for (const QString &op : seed::rightsOperators())
        login.executeBound(QStringLiteral("INSERT INTO lxsystem..qd_user (cuser_id, cuser_name, "
                                          "iAdmin, nState) VALUES (?, ?, 0, 0)"),
                           {op, QStringLiteral("库管员") + op});
    for (const char *cls : seed::classes)
        login.executeBound(QStringLiteral("INSERT INTO InventoryClass (cInvCCode, cInvCName, "
                                          "iInvCGrade) VALUES (?, ?, ?)"),
                           {QLatin1String(cls), QStringLiteral("分类") + QLatin1String(cls),
                            int(qstrlen(cls) / 2)});
    for (const seed::Item &item : seed::items)
        login.executeBound(QStringLiteral("INSERT INTO Inventory (cInvCode, cInvName, "
                                          "cInvCCode) VALUES (?, ?, ?)"),
                           {QLatin1String(item.code),
                            QStringLiteral("存货") + QLatin1String(item.code),
                            QLatin1String(item.classCode)});
    transaction.commit();
}

} // namespace load
