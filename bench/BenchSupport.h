#pragma once

#include "BenchClock.h"
#include "RawQuery.h"
#include "suite/dbkit/DbLogin.h"
#include "suite/dbkit/internal/LoginAccess.h"
#include "suite/dbkit/SqlDialect.h"

#include <QByteArray>
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QString>
#include <QUrl>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace bench {

// Benchmarks draw nowhere unless a platform was asked for.
inline void offscreenUnlessSet()
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
}

// One figure beside the raw time of its statement, with the ratio and, when
// given, the limit the ratio must keep.
inline void printRatio(const char *engine, const char *what, double ms, double rawMs,
                       const char *limit = nullptr)
{
    std::printf("%-10s %-42s %9.1f ms   raw %8.1f ms   ratio %5.2f", engine, what, ms, rawMs,
                rawMs > 0 ? ms / rawMs : 0.0);
    if (limit)
        std::printf("  (at most %s)", limit);
    std::printf("\n");
    std::fflush(stdout);
}

// What every benchmark takes on its command line.
struct BenchOptions {
    QString postgresServer;  // --pg URL: measure on this server as well; empty for SQLite only
    int runs = 3;            // --runs R: repetitions, the best is printed
};

// Reads --pg and --runs, and the caller's `extra` options, which it then reads
// from `parser` itself.
inline BenchOptions parseBenchOptions(QCommandLineParser &parser,
                                      const QList<QCommandLineOption> &extra = {})
{
    parser.addHelpOption();
    const QCommandLineOption pg("pg", "Also measure on this PostgreSQL server (a database of "
                                      "its own is made and dropped).", "URL");
    const QCommandLineOption runs("runs", "Repetitions; the best is printed.", "R", "3");
    parser.addOptions({pg, runs});
    parser.addOptions(extra);
    parser.process(*QCoreApplication::instance());
    return {parser.value(pg), std::max(1, parser.value(runs).toInt())};
}

// Runs `work` on a database of its own on the PostgreSQL server at
// `serverUrl`, made for the run and dropped again at the end. `work` gets the
// database's URL.
inline void withScratchPostgres(const QString &serverUrl, const QString &prefix,
                                const std::function<void(const QString &)> &work)
{
    const QString name = prefix + QString::number(QCoreApplication::applicationPid());
    auto admin = dbkit::DbLogin::open(serverUrl);
    admin->Execute("CREATE DATABASE " + name);
    QUrl url(serverUrl);
    url.setPath("/" + name);
    work(url.toString());
    admin->Execute("DROP DATABASE " + name + " WITH (FORCE)");
}

// Times a statement as the login's dialect rewrites it: the best of `runs`
// raw reads.
inline std::function<double(const QString &)> rawTimer(const dbkit::DbLoginPtr &login, int runs,
                                                      const RawQuery &raw)
{
    return [login, runs, raw](const QString &sql) {
        const QString rewritten = dbkit::LoginAccess::dialect(*login).rewrite(sql);
        return bestOf(runs, [&] { raw(rewritten); });
    };
}

} // namespace bench
