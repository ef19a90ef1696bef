#pragma once

#include "suite/dbkit/DbLogin.h"

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

} // namespace bench
