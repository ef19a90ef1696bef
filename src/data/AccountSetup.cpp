#include "AccountSetup.h"

#include "SqlScript.h"
#include "suite/dbkit/DbLogin.h"
#include "suite/dbkit/DbError.h"
#include "suite/dbkit/SqlForms.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

// The schema scripts live in a resource of this static library; initialising
// it by name keeps the linker from dropping it.
static void initSchemaResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(schema);
        return true;
    }();
    (void)done;
}

namespace depotbase {

namespace {

// The folder of the account's scripts for the login's engine; refused where
// the server's administrators make the account's tables.
QString schemaFolder(const dbkit::SqlForms &forms)
{
    if (!forms.makesAccountSchema())
        throw dbkit::DbError(dbkit::ErrorNumber::General,
                             QStringLiteral("ODBC 账套的表须由数据库服务器一方建立。"));
    return forms.schemaFolder();
}

// The history script of the login's engine. Unlike the account's other
// tables it is also made where the server's administrators make those (a
// SQL Server account reached through ODBC): an account in use there gains
// it on first use like any other.
QString historyScript(dbkit::DbLogin &login)
{
    return dbkit::SqlForms(login).schemaFolder() + QStringLiteral("/history.sql");
}

QString readScript(const QString &name)
{
    initSchemaResources();
    QFile file(QStringLiteral(":/depotbase/schema/") + name);
    if (!file.open(QIODevice::ReadOnly))
        throw dbkit::DbError(dbkit::ErrorNumber::General,
                             QStringLiteral("缺少建账脚本 ") + name);
    return QString::fromUtf8(file.readAll());
}

void runScript(dbkit::DbLogin &login, const QString &name)
{
    const dbkit::SqlForms forms(login);
    for (const QString &statement : splitSqlScript(readScript(name)))
        forms.runScriptStatement(statement);
}

} // namespace

void CreateAccountSchema(dbkit::DbLogin &login, bool withDemoData)
{
    const QString folder = schemaFolder(dbkit::SqlForms(login)) + QLatin1Char('/');
    dbkit::TransactionGuard transaction(login);
    runScript(login, folder + QStringLiteral("system.sql"));
    runScript(login, folder + QStringLiteral("account.sql"));
    runScript(login, historyScript(login));
    if (withDemoData) {
        runScript(login, QStringLiteral("demo/system.sql"));
        runScript(login, QStringLiteral("demo/account.sql"));
    }
    transaction.commit();
}

void AddChangeHistory(dbkit::DbLogin &login)
{
    const QString table = QStringLiteral("ChangeHistory");
    const dbkit::SqlForms forms(login);
    if (forms.tableExists(table))
        return;
    // A PostgreSQL server lets two "IF NOT EXISTS" creations at once
    // collide; the one that lost finds the table the other one made.
    forms.createMissingTable(table, [&login] { runScript(login, historyScript(login)); });
}

dbkit::DbLoginPtr OpenOrCreateSqliteAccount(const QString &path, bool demo)
{
    const QString url = QStringLiteral("sqlite:") + path;
    if (QFileInfo::exists(path)) {
        dbkit::DbLoginPtr login = dbkit::DbLogin::open(url);
        // The system database is a file of its own; it may have gone missing.
        runScript(*login, QStringLiteral("sqlite/system.sql"));
        return login;
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    dbkit::DbLoginPtr login = dbkit::DbLogin::open(url);
    try {
        CreateAccountSchema(*login, demo);
    } catch (...) {
        // An account without tables would be taken for a finished one next time.
        login.reset();
        QFile::remove(path);
        throw;
    }
    return login;
}

} // namespace depotbase
