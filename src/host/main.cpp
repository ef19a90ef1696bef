// depotbase-host: opens an account database, hands the login to the
// warehouse component and shows its list until the user closes it; or,
// without a window, answers whether an operator may use a warehouse.
#include "component/HostAccount.h"
#include "component/LXWareHouse.h"
#include "component/OperatorRights.h"
#include "data/AccountSetup.h"
#include "suite/dbkit/DbError.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QStandardPaths>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <memory>

using namespace depotbase;

namespace {

int fail(const QString &text, int status = 1)
{
    std::fprintf(stderr, "depotbase-host: %s\n", qPrintable(text));
    return status;
}

// --check-right OPERATOR [WAREHOUSE [ITEM]]: one line a script can read and
// an exit status of 0 allowed, 1 denied (2 is left to errors). Without a
// warehouse it lists the warehouses the operator may use, one per line of
// three tab-separated fields (a tab or line break in a code is escaped).
int checkRight(dbkit::DbLogin &login, const QString &operatorCode, const QStringList &rest)
{
    services::RightsCheck rights(login);
    if (!rest.isEmpty()) {
        const services::RightAnswer answer =
            rights.check(operatorCode, rest.at(0), rest.value(1));
        std::printf("%s\n", qPrintable(services::RightsCheck::answerLine(answer)));
        return answer.allowed() ? DEPOTBASE_RIGHT_ALLOWED : DEPOTBASE_RIGHT_DENIED;
    }
    const services::UsableWarehouses usable = rights.usableWarehouses(operatorCode);
    if (usable.warehouses.empty()) {
        std::printf("denied %s\n", services::RightsCheck::verdictWord(usable.verdict));
        return DEPOTBASE_RIGHT_DENIED;
    }
    for (const services::UsableWarehouse &w : usable.warehouses)
        std::printf("%s\n", qPrintable(services::RightsCheck::listingLine(w)));
    return DEPOTBASE_RIGHT_ALLOWED;
}

QString demoAccountPath()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                           + QStringLiteral("/demo");
    QDir().mkpath(folder);
    return folder + QStringLiteral("/account.db");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication::setApplicationName(QStringLiteral("depotbase"));
    // --version prints the library's version and description.
    QCoreApplication::setApplicationVersion(QString::fromUtf8(depotbase_version()) + u' '
                                            + QString::fromUtf8(depotbase_description()));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Warehouse master data and warehouse rights of an account.\n"
                       "Without options it opens the demo account in the user's data folder,\n"
                       "creating it on first use."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption account(
        "account", "Open the account at URL: sqlite:PATH, postgresql://user@host:port/db, "
                   "odbc:CONNECTION-STRING.", "URL");
    const QCommandLineOption demo("demo", "With --account sqlite:PATH: create the schema and "
                                          "demo data there when the file does not exist yet.");
    const QCommandLineOption init("init", "Create an empty account schema at URL and exit.",
                                  "URL");
    const QCommandLineOption basic("basic", "Run as the basic version.");
    const QCommandLineOption readOnly("read-only", "Open the account read-only.");
    const QCommandLineOption systemFolder("system-folder",
                                          "Folder for the print-work files.", "DIR");
    const QCommandLineOption authorityEditor(
        "authority-editor", "Open the warehouse-rights editor on the account instead of the "
                            "warehouse list.");
    const QCommandLineOption checkRightOption(
        "check-right",
        "Without a window: may operator OPERATOR (its code) use warehouse WAREHOUSE, for item "
        "ITEM when given? Prints \"allowed amounts-shown\", \"allowed amounts-hidden\" or "
        "\"denied REASON\" and exits with 0 (allowed), 1 (denied) or 2 (error). Without "
        "WAREHOUSE it lists the warehouses the operator may use, one per line: code, "
        "amounts-shown or amounts-hidden, and what grants it, tab-separated.",
        "OPERATOR");
    const QCommandLineOption operatorOption(
        "operator", "Work as operator NAME (a code of the system database's operator table): "
                    "the change history and the record locks carry it. Replaces an "
                    "?operator=NAME item of the URL. Default: that item, else the login name "
                    "of the user ($USER).", "NAME");
    parser.addOptions({account, demo, init, basic, readOnly, systemFolder, authorityEditor,
                       checkRightOption, operatorOption});
    parser.addPositionalArgument("WAREHOUSE", "With --check-right: the warehouse code.",
                                 "[WAREHOUSE");
    parser.addPositionalArgument("ITEM", "With --check-right: the item code.", "[ITEM]]");

    // The options are read before any window system is needed: help, the
    // version, a wrong option and --init work on a server without a display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const bool understood = parser.parse(arguments);
    const bool headless = !understood || parser.isSet(help) || parser.isSet(version)
                          || parser.isSet(QStringLiteral("help-all")) || parser.isSet(init)
                          || parser.isSet(checkRightOption);
    std::unique_ptr<QCoreApplication> app;
    if (headless)
        app = std::make_unique<QCoreApplication>(argc, argv);
    else
        app = std::make_unique<QApplication>(argc, argv);
    // A script tells an error from a denial by the status: errors of a check,
    // a wrong option among them, exit with 2.
    const bool checking =
        std::any_of(arguments.cbegin(), arguments.cend(), [](const QString &argument) {
            return argument.startsWith(QStringLiteral("--check-right"));
        });
    const int failed = checking ? DEPOTBASE_RIGHT_ERROR : 1;
    if (checking && !understood)
        return fail(parser.errorText(), failed);
    parser.process(*app);
    if (checking && parser.positionalArguments().size() > 2)
        return fail(QStringLiteral("--check-right takes OPERATOR [WAREHOUSE [ITEM]]"), failed);

    try {
        if (parser.isSet(init)) {
            auto login = dbkit::DbLogin::open(parser.value(init));
            CreateAccountSchema(*login, false);
            std::printf("Created an empty account schema at %s\n",
                        qPrintable(parser.value(init)));
            return 0;
        }

        // Without --account the demo account, created on first use.
        const bool demoAccount = !parser.isSet(account);
        QString url = demoAccount ? QStringLiteral("sqlite:") + demoAccountPath()
                                  : parser.value(account);
        if (parser.isSet(operatorOption))
            url = dbkit::DbLogin::withOperator(url, parser.value(operatorOption));
        const bool createDemo = demoAccount || parser.isSet(demo);
        if (createDemo
            && !dbkit::DbLogin::databaseUrl(url).startsWith(QStringLiteral("sqlite:"),
                                                            Qt::CaseInsensitive))
            return fail(QStringLiteral("--demo works with sqlite: accounts only"), failed);

        if (checking) {
            try {
                dbkit::DbLoginPtr login = OpenHostAccount(url, createDemo);
                return checkRight(*login, parser.value(checkRightOption),
                                  parser.positionalArguments());
            } catch (const dbkit::DbError &e) {
                return fail(QStringLiteral("the rights cannot be checked: %1")
                                .arg(e.description()),
                            failed);
            }
        }

        LXWareHouse component;
        if (parser.isSet(systemFolder))
            LXWareHouse::setSystemFolder(parser.value(systemFolder));
        if (parser.isSet(basic))
            component.SetBasicVersion(true);
        // An account that cannot be opened or read is told in a message box
        // and on standard error, and ends the program with 2.
        const QString failure = OpenAccountForWindows(
            component, {url, createDemo, parser.isSet(readOnly),
                        !parser.isSet(authorityEditor)});
        if (!failure.isEmpty())
            return fail(failure, DEPOTBASE_RIGHT_ERROR);
        if (parser.isSet(authorityEditor))
            component.ShowAuthorityEditor();
        else
            component.Show();
        return 0;
    } catch (const dbkit::DbError &e) {
        return fail(QStringLiteral("cannot open the account: %1").arg(e.description()), failed);
    } catch (const std::exception &e) {
        return fail(QString::fromLocal8Bit(e.what()), failed);
    }
}
