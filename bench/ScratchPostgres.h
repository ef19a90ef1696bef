#pragma once

#include "suite/dbkit/DbLogin.h"

#include <QCoreApplication>
#include <QString>
#include <QUrl>
#include <functional>

namespace bench {

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
