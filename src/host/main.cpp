// depotbase-host: opens an account database, hands the login to the
// warehouse component and shows its list until the user closes it.
#include "component/LXWareHouse.h"
#include "data/AccountSetup.h"
#include "suite/dbkit/DbError.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>
#include <cstdio>
#include <memory>

using namespace depotbase;

namespace {

int fail(const QString &text)
{
    std::fprintf(stderr, "depotbase-host: %s\n", qPrintable(text));
    return 1;
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
    parser.addOptions({account, demo, init, basic, readOnly, systemFolder, authorityEditor});

    // The options are read before any window system is needed: help, the
    // version, a wrong option and --init work on a server without a display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const bool understood = parser.parse(arguments);
    const bool headless = !understood || parser.isSet(help) || parser.isSet(version)
                          || parser.isSet(QStringLiteral("help-all")) || parser.isSet(init);
    std::unique_ptr<QCoreApplication> app;
    if (headless)
        app = std::make_unique<QCoreApplication>(argc, argv);
    else
        app = std::make_unique<QApplication>(argc, argv);
    parser.process(*app);

    try {
        if (parser.isSet(init)) {
            auto login = dbkit::DbLogin::open(parser.value(init));
            CreateAccountSchema(*login, false);
            std::printf("Created an empty account schema at %s\n",
                        qPrintable(parser.value(init)));
            return 0;
        }

        dbkit::DbLoginPtr login;
        if (!parser.isSet(account)) {
            login = OpenOrCreateSqliteAccount(demoAccountPath(), true);
        } else {
            const QString url = parser.value(account);
            if (parser.isSet(demo)) {
                if (!url.startsWith(QStringLiteral("sqlite:")))
                    return fail(QStringLiteral("--demo works with sqlite: accounts only"));
                login = OpenOrCreateSqliteAccount(url.mid(7), true);
            } else {
                if (url.startsWith(QStringLiteral("sqlite:"))
                    && !QFileInfo::exists(url.mid(7)))
                    return fail(QStringLiteral("no account database at %1 (use --demo to "
                                               "create one)").arg(url.mid(7)));
                login = dbkit::DbLogin::open(url);
            }
        }

        LXWareHouse component;
        if (parser.isSet(systemFolder))
            LXWareHouse::setSystemFolder(parser.value(systemFolder));
        if (parser.isSet(basic))
            component.SetBasicVersion(true);
        if (parser.isSet(authorityEditor)) {
            component.mdbObject = login;
            component.blnReadOnly = parser.isSet(readOnly);
            component.ShowAuthorityEditor();
            return 0;
        }
        if (!component.Init(login, parser.isSet(readOnly)))
            return fail(QStringLiteral("the warehouse list of the account cannot be opened"));
        component.Show();
        return 0;
    } catch (const dbkit::DbError &e) {
        return fail(QStringLiteral("cannot open the account: %1").arg(e.description()));
    } catch (const std::exception &e) {
        return fail(QString::fromLocal8Bit(e.what()));
    }
}
