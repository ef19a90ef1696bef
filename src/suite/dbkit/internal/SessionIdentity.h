#pragma once

// Internal: who a login is (operator, computer, session token) and the URL it
// was opened with, read from the URL's identity items.

#include <QString>

namespace dbkit {

struct SessionIdentity {
    // The identity a login opened with `url` carries: the URL's ?operator=
    // and ?computer= items, else the system's user and host name, and a
    // fresh session token.
    static SessionIdentity fromUrl(const QString &url);

    // The URL without its identity items: the database it names.
    static QString databaseUrl(const QString &url);
    // The URL with its operator item set to `name`, added or replacing one.
    static QString withOperator(const QString &url, const QString &name);
    // What every backend of a login on a PostgreSQL server carries in its
    // application_name.
    static QString applicationName(const QString &token);

    QString url;
    QString operatorName;
    QString computerName;
    QString sessionToken;  // made at open, kept across reconnects
};

} // namespace dbkit
