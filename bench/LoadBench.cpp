// depotbase-bench-load: N operators at once, each a thread with its own login,
// work through the warehouse and rights services for a set time, on a
// database of their own, optionally through faults of the PostgreSQL server.
// It prints operations a second, call times and failures, then checks what
// must hold whatever happened, and exits 1 when anything does not.
//
//   depotbase-bench-load (--pg URL | --pg-from-env | --sqlite PATH) [--pooler URL]
//       [--operators N] [--seconds S] [--faults kill,pause,restart] [--pg-data DIR]
//       [--statement-timeout MS] [--follow [--idle]] [--pooler-pid PID]
//
// With --pooler the database is made on the server and the operators reach it
// through the pooler (a PostgreSQL transaction pooler: its host and port, the
// same database name); the fault steps and the checks use the server itself.
//
// With --follow every operator's seat also follows the change feed, a feed of
// its own as a seat in its own process has, and must be told of every change
// the others made; --idle leaves the writing out, so the run shows what the
// polling alone costs. On PostgreSQL the run prints the server CPU its
// database's backends used (and the pooler's, given its process id).
#include "LoadAccount.h"
#include "LoadFaults.h"
#include "LoadFollowChecks.h"
#include "LoadFollowers.h"
#include "LoadInvariants.h"
#include "LoadOperator.h"
#include "LoadReport.h"
#include "LoadServerCpu.h"

#include "data/AccountSetup.h"
#include "suite/dbkit/DbError.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <atomic>
#include <cstdio>
#include <memory>
#include <thread>

using namespace load;

namespace {

struct Options {
    RunConfig run;
    FaultPlan faults;
    QString serverUrl;  // the PostgreSQL server, when the run is on one
    QString poolerUrl;  // the pooler the operators go through, when they do
    long long poolerPid = 0;  // its process, for its CPU time
};

constexpr int mostOperators = 250;

[[noreturn]] void usage(const QString &why)
{
    std::fprintf(stderr, "depotbase-bench-load: %s (see --help)\n", qPrintable(why));
    std::exit(2);
}

Options parseOptions(const QCoreApplication &app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "N operators at once through the warehouse and rights services.");
    parser.addHelpOption();
    const QCommandLineOption pg("pg", "Run on a database of its own on this server.", "URL");
    const QCommandLineOption pgFromEnv("pg-from-env", "Run on the server of DEPOTBASE_PG_URL.");
    const QCommandLineOption sqlite("sqlite", "Run on a new SQLite account at PATH.", "PATH");
    const QCommandLineOption operators("operators", "Operators at once.", "N", "10");
    const QCommandLineOption seconds("seconds", "How long they work.", "S", "20");
    const QCommandLineOption faults("faults", "Any of kill,pause,restart (PostgreSQL).", "LIST");
    const QCommandLineOption pgData("pg-data", "The server's data directory (restart).", "DIR");
    const QCommandLineOption timeout("statement-timeout", "Statement time limit.", "MS", "1000");
    const QCommandLineOption pooler("pooler", "The operators go through this pooler.", "URL");
    const QCommandLineOption poolerPid("pooler-pid", "The pooler's process, for its CPU.", "PID");
    const QCommandLineOption follow("follow", "Every operator also follows the change feed.");
    const QCommandLineOption idle("idle", "With --follow: the operators only follow.");
    parser.addOptions({pg, pgFromEnv, sqlite, pooler, poolerPid, operators, seconds, faults,
                       pgData, timeout, follow, idle});
    parser.process(app);

    Options o;
    o.serverUrl = parser.isSet(pgFromEnv) ? qEnvironmentVariable("DEPOTBASE_PG_URL")
                                          : parser.value(pg);
    if (parser.isSet(pgFromEnv) && o.serverUrl.isEmpty())
        usage("DEPOTBASE_PG_URL is not set");
    o.run.postgres = !o.serverUrl.isEmpty();
    if (o.run.postgres == parser.isSet(sqlite))
        usage("give either a PostgreSQL server or a SQLite path");
    if (!o.run.postgres) {
        // The operators live in the system database beside the account file.
        const QFileInfo account(parser.value(sqlite));
        if (account.exists() || QFileInfo::exists(account.dir().filePath("lxsystem.db")))
            usage("the SQLite account and the lxsystem.db beside it must not exist yet");
        o.run.url = QStringLiteral("sqlite:") + parser.value(sqlite);
    }
    o.poolerUrl = parser.value(pooler);
    o.run.pooled = !o.poolerUrl.isEmpty();
    if (o.run.pooled && !o.run.postgres)
        usage("a pooler needs a PostgreSQL server");
    o.poolerPid = parser.value(poolerPid).toLongLong();
    o.run.follow = parser.isSet(follow);
    o.run.idle = parser.isSet(idle);
    if (o.run.idle && !o.run.follow)
        usage("--idle needs --follow");
    o.run.operators = parser.value(operators).toInt();
    o.run.seconds = parser.value(seconds).toInt();
    o.run.statementTimeoutMs = parser.value(timeout).toInt();
    if (o.run.operators < 1 || o.run.operators > mostOperators || o.run.seconds < 1)
        usage(QStringLiteral("1 to %1 operators and at least 1 second").arg(mostOperators));
    for (const QString &fault : parser.value(faults).split(',', Qt::SkipEmptyParts)) {
        if (fault == QLatin1String("kill"))
            o.faults.kill = true;
        else if (fault == QLatin1String("pause"))
            o.faults.pause = true;
        else if (fault == QLatin1String("restart"))
            o.faults.restart = true;
        else if (fault != QLatin1String("none"))
            usage("unknown fault " + fault);
    }
    o.faults.dataDir = parser.value(pgData);
    if (o.faults.any() && !o.run.postgres)
        usage("faults need a PostgreSQL server");
    if (o.faults.any() && o.run.idle)
        usage("faults need operators at work");
    if (o.faults.restart && o.faults.dataDir.isEmpty())
        usage("the restart needs --pg-data DIR");
    return o;
}

void createAccount(Options &o)
{
    if (o.run.postgres) {
        o.run.url = createPostgresDatabase(o.serverUrl);
        o.run.operatorUrl = o.run.pooled ? sameDatabaseThrough(o.poolerUrl, o.run.url)
                                         : o.run.url;
        auto login = dbkit::DbLogin::open(o.run.url);
        depotbase::CreateAccountSchema(*login, false);
        seedAccount(*login);
    } else {
        o.run.operatorUrl = o.run.url;
        seedAccount(*depotbase::OpenOrCreateSqliteAccount(o.run.url.mid(7), false));
    }
}

// The feeds ask first a second after they start, opening their connections:
// the CPU window begins after that.
constexpr int followersSettleMs = 2000;

// Runs the operators and the fault steps, each in a thread, until the time is
// up, handling the feeds' news meanwhile; the CPU window is the run's.
int runAndCheck(const Options &o)
{
    std::unique_ptr<Followers> followers;
    if (o.run.follow) {
        followers = std::make_unique<Followers>(o.run);
        handleEventsUntil([] { return false; }, followersSettleMs);
    }
    std::unique_ptr<ServerCpuMeter> cpu;
    if (o.run.postgres)
        cpu = std::make_unique<ServerCpuMeter>(o.run.url, o.poolerPid);
    SharedState shared(o.run);
    const long long runStartMs =
        QDateTime::currentMSecsSinceEpoch() - shared.clock.now() / nsPerMs;
    const int working = o.run.idle ? 0 : o.run.operators;
    std::vector<std::unique_ptr<LoadOperator>> operators;
    operators.reserve(size_t(working));
    for (int i = 0; i < working; ++i)
        operators.push_back(std::make_unique<LoadOperator>(i, o.run, shared));
    FaultRunner faults(o.faults, o.run, shared);
    std::atomic<size_t> ended{0};
    std::vector<std::thread> threads;
    threads.reserve(operators.size() + 1);
    for (auto &op : operators)
        threads.emplace_back([&op, &ended] {
            op->run();
            ++ended;
        });
    if (o.faults.any())
        threads.emplace_back([&faults, &ended] {
            faults.run();
            ++ended;
        });
    handleEventsUntil([&] { return shared.over() && ended == threads.size(); });
    for (std::thread &thread : threads)
        thread.join();
    const CpuUse used = cpu ? cpu->stop() : CpuUse{};

    std::vector<OperatorReport> reports;
    OperatorReport total;
    for (const auto &op : operators) {
        reports.push_back(op->report());
        total.merge(op->report());
    }
    printReport(o.run, reports, total, faults.log());
    if (cpu)
        printCpu(used, o.run.pooled);
    auto login = dbkit::DbLogin::open(o.run.url);
    QStringList violations = checkInvariants(*login, o.run, total, faults.log());
    if (followers)
        violations += checkFollowers(*login, *followers, o.run.postgres, faults.log().windows,
                                     runStartMs);
    for (const QString &failure : faults.log().failures)
        violations << QStringLiteral("fault step not made: ") + failure;
    std::printf("\ninvariant violations: %lld\n", static_cast<long long>(violations.size()));
    for (const QString &violation : violations)
        std::printf("  %s\n", qPrintable(violation));
    std::fflush(stdout);
    return violations.isEmpty() ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Options options = parseOptions(app);
    int status = 2;
    try {
        createAccount(options);
        status = runAndCheck(options);
        if (options.run.postgres)
            dropPostgresDatabase(options.serverUrl, options.run.url);
    } catch (const dbkit::DbError &error) {
        std::fprintf(stderr, "depotbase-bench-load: %s\n", qPrintable(error.description()));
        return 2;
    }
    return status;
}
