// depotbase-bench-rightscheck: the rights check on 200,000 rights. Generates
// the rights account of the authority benchmarks, adds class rights (which
// make the check find the item's class), an inactive operator and an
// administrator, and prints the mean time of a question over many questions
// of mixed kinds, and of the list of an operator's warehouses.
//
//   depotbase-bench-rightscheck [--pg postgresql://user@host:port/db] [--runs R]
#include "BenchClock.h"
#include "BenchSupport.h"
#include "RightsAccount.h"
#include "data/AccountSetup.h"
#include "services/RightsCheck.h"

#include <QCoreApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>

using namespace depotbase;

namespace {

struct Question {
    QString op, warehouse, item;
};

QString code(char prefix, int number)
{
    return QLatin1Char(prefix) + QString::number(number);
}

// 1,000 class rights of the operators that hold the generated item rights,
// on the same warehouses: classes C100 ... C109, each above 100 of the
// items' classes. U100003 becomes inactive, U100004 an administrator.
void addMixedRights(dbkit::DbLogin &login)
{
    login.Execute(bench::series(
        1000, "INSERT INTO WarehAuth (Id, cuser_id, cWhCode, bDispMoney, cInvCCode)",
        "SELECT 'U' || (100002 + (i * 7) % 1999), '操作员', 'W' || (100002 + (i * 7) % 9999), "
        "i % 2, 'C10' || (i % 10)"));
    login.Execute("UPDATE lxsystem..qd_user SET nState = 1 WHERE cuser_id = 'U100003'");
    login.Execute("UPDATE lxsystem..qd_user SET iAdmin = 1 WHERE cuser_id = 'U100004'");
    login.Execute("ANALYZE");
}

// Questions of every kind, in turn: an item the operator holds a right on,
// another item on the same warehouse (class rights or none), a warehouse
// without item, an item on a whole-warehouse right, and an unknown,
// inactive or administrator operator.
std::vector<Question> mixedQuestions(int count)
{
    std::vector<Question> questions;
    questions.reserve(size_t(count));
    for (int k = 1; questions.size() < size_t(count); ++k) {
        const int i = k * 37;  // a row of the generated item rights
        const QString op = code('U', 100002 + i % 1999);
        const QString wh = code('W', 100002 + i % 9999);
        questions.push_back({op, wh, code('I', 1000001 + i % 100000)});
        questions.push_back({op, wh, code('I', 1000001 + (i * 13) % 100000)});
        questions.push_back({op, wh, {}});
        questions.push_back({"U100001", code('W', 100002 + k % 100), code('I', 1000001 + k)});
        const char *odd[] = {"NOBODY", "U100003", "U100004"};
        questions.push_back({odd[k % 3], wh, code('I', 1000001 + i % 100000)});
    }
    questions.resize(size_t(count));
    return questions;
}

void runEngine(const char *engine, dbkit::DbLogin &login, int runs)
{
    services::RightsCheck rights(login);
    const std::vector<Question> questions = mixedQuestions(20000);
    int allowed = 0;
    const double total = bench::bestOf(runs, [&] {
        allowed = 0;
        for (const Question &q : questions)
            allowed += rights.check(q.op, q.warehouse, q.item).allowed() ? 1 : 0;
    });
    std::printf("%-10s %-46s %9.3f ms   (%zu questions, %d allowed; at most %s)\n", engine,
                "check: mean time of a question", total / double(questions.size()),
                questions.size(), allowed, login.engine() == dbkit::Engine::SQLite ? "1" : "2");
    size_t listed = 0;
    const double lists = bench::bestOf(runs, [&] {
        listed = 0;
        for (int k = 0; k < 200; ++k)
            listed += rights.usableWarehouses(code('U', 100001 + k)).warehouses.size();
    });
    std::printf("%-10s %-46s %9.3f ms   (200 operators, %zu warehouses listed)\n", engine,
                "usable warehouses: mean time of a list", lists / 200, listed);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    const bench::BenchOptions options = bench::parseBenchOptions(parser);

    QTemporaryDir dir;
    const QString path = dir.filePath("account.db");
    {
        auto login = OpenOrCreateSqliteAccount(path, false);
        bench::generateRightsAccount(*login);
        addMixedRights(*login);
    }
    runEngine("SQLite", *dbkit::DbLogin::open("sqlite:" + path), options.runs);
    if (!options.postgresServer.isEmpty()) {
        bench::withScratchPostgres(options.postgresServer, "depotbase_rightscheck_",
                                   [&](const QString &url) {
            auto login = dbkit::DbLogin::open(url);
            CreateAccountSchema(*login, false);
            bench::generateRightsAccount(*login);
            addMixedRights(*login);
            runEngine("PostgreSQL", *login, options.runs);
        });
    }
    return 0;
}
