#include "SessionIdentity.h"

#include <QSysInfo>
#include <QUrl>
#include <QUrlQuery>
#include <QUuid>

namespace dbkit {

namespace {

QString osUserName()
{
    QString name = qEnvironmentVariable("USER");
    if (name.isEmpty())
        name = qEnvironmentVariable("LOGNAME");
    return name.isEmpty() ? QStringLiteral("operator") : name;
}

bool isIdentityQuery(const QString &query)
{
    const QUrlQuery items(query);
    if (query.isEmpty() || items.isEmpty())
        return false;
    for (const auto &item : items.queryItems()) {
        if (item.first != QLatin1String("operator") && item.first != QLatin1String("computer"))
            return false;
    }
    return true;
}

// A URL split into the database it names and its identity items. Only a
// last "?" followed by such items starts them, so a file name holding "?" or
// "#" is taken whole.
struct SplitUrl {
    QString base;
    QUrlQuery items;
};

SplitUrl splitUrl(const QString &url)
{
    if (const int q = url.lastIndexOf('?'); q >= 0 && isIdentityQuery(url.mid(q + 1)))
        return {url.left(q), QUrlQuery(url.mid(q + 1))};
    return {url, QUrlQuery()};
}

QString itemOr(const QUrlQuery &items, const QString &name, const QString &fallback)
{
    return items.hasQueryItem(name) ? items.queryItemValue(name, QUrl::FullyDecoded) : fallback;
}

} // namespace

SessionIdentity SessionIdentity::fromUrl(const QString &url)
{
    const QUrlQuery items = splitUrl(url).items;
    SessionIdentity identity;
    identity.url = url;
    identity.operatorName = itemOr(items, QStringLiteral("operator"), osUserName());
    identity.computerName = itemOr(items, QStringLiteral("computer"),
                                   QSysInfo::machineHostName());
    identity.sessionToken = QUuid::createUuid().toString(QUuid::WithoutBraces);
    return identity;
}

QString SessionIdentity::databaseUrl(const QString &url)
{
    return splitUrl(url).base;
}

QString SessionIdentity::withOperator(const QString &url, const QString &name)
{
    auto [base, items] = splitUrl(url);
    items.removeAllQueryItems(QStringLiteral("operator"));
    // Encoded by hand: QUrlQuery would leave "&" and "=" in a name as they are.
    const QString item = QStringLiteral("operator=")
                         + QString::fromLatin1(QUrl::toPercentEncoding(name));
    const QString others = items.toString(QUrl::FullyEncoded);
    return base + u'?' + item + (others.isEmpty() ? QString() : u'&' + others);
}

QString SessionIdentity::applicationName(const QString &token)
{
    return QStringLiteral("depotbase ") + token;
}

} // namespace dbkit
