#pragma once

#include "BenchClock.h"
#include "RawQuery.h"
#include "suite/dbkit/DbLogin.h"
#include "suite/dbkit/SqlDialect.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QUrl>
#include <functional>

namespace bench {

// Benchmarks draw nowhere unless a platform was asked for.
inline void offscreenUnlessSet()
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
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
        const QString rewritten = login->dialect().rewrite(sql);
        return bestOf(runs, [&] { raw(rewritten); });
    };
}

} // namespace bench
