#include "SqlDialect.h"

#include "internal/SqlQuoting.h"

#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlField>
#include <QSqlIndex>
#include <QSqlQuery>
#include <QSqlRecord>

namespace dbkit {

namespace {

using Re = QRegularExpression;
constexpr auto ci = QRegularExpression::CaseInsensitiveOption;

// The suite server addresses the system database as lxsystem..table; on our
// engines it is an attached database (SQLite) or a schema (PostgreSQL).
QString rewriteSystemPrefix(QString sql)
{
    static const Re systemPrefix(QStringLiteral("\\blxsystem\\.\\."), ci);
    return sql.replace(systemPrefix, QStringLiteral("lxsystem."));
}

bool isIdentityQuery(const QString &sql)
{
    static const Re identity(QStringLiteral("^\\s*select\\s+@@identity\\s*;?\\s*$"), ci);
    return identity.match(sql).hasMatch();
}

// Every number in a native code text ("2627", "2627;3621" ...).
QList<int> nativeNumbers(const QString &code)
{
    static const Re digits(QStringLiteral("-?\\d+"));
    QList<int> numbers;
    for (auto it = digits.globalMatch(code); it.hasNext();)
        numbers.append(it.next().captured().toInt());
    return numbers;
}

class SqliteDialect : public SqlDialect {
public:
    Engine engine() const override { return Engine::SQLite; }

    QString adapt(const QString &masked) const override
    {
        QString out = SqlDialect::adapt(masked);
        // SQLite plans "A RIGHT JOIN B" much worse than the equivalent
        // "B LEFT JOIN A"; swapping is safe when the select list names its
        // columns (a bare * would change the column order).
        static const Re rightJoin(
            QStringLiteral("\\bFROM\\s+([A-Za-z_][\\w.]*)\\s+RIGHT\\s+(?:OUTER\\s+)?JOIN\\s+"
                           "([A-Za-z_][\\w.]*)\\s+ON\\b"),
            ci);
        static const Re bareStar(QStringLiteral("^\\s*select\\s+(?:distinct\\s+)?(?:.*,\\s*)?\\*"),
                                 ci | Re::DotMatchesEverythingOption);
        const auto m = rightJoin.match(out);
        if (m.hasMatch()) {
            const QString selectList = out.left(m.capturedStart());
            if (!bareStar.match(selectList).hasMatch())
                out.replace(m.capturedStart(), m.capturedLength(),
                            QStringLiteral("FROM %1 LEFT JOIN %2 ON")
                                .arg(m.captured(2), m.captured(1)));
        }
        return out;
    }

    QString lastIdentityStatement() const override
    {
        return QStringLiteral("SELECT last_insert_rowid()");
    }

    QString utcNow() const override { return QStringLiteral("CURRENT_TIMESTAMP"); }
    QString timeAsText(const QString &column) const override
    {
        return QStringLiteral("CAST(%1 AS TEXT)").arg(column);
    }
    bool decimalsAsDouble() const override { return true; }
    bool timeFromClient() const override { return true; }
    // Any length is kept; times are ISO texts.
    QString textType(int) const override { return QStringLiteral("TEXT"); }
    QString timeType() const override { return QStringLiteral("TEXT"); }
    QString addColumn(const QString &table, const QString &column,
                      const QString &type) const override
    {
        return QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3").arg(table, column, type);
    }
    QString schemaFolder() const override { return QStringLiteral("sqlite"); }
    HolderCheck holderCheck() const override { return HolderCheck::LocalProcesses; }

    int errorNumber(const QSqlError &error, bool reading) const override
    {
        const QString text = error.databaseText();
        const QList<int> codes = nativeNumbers(error.nativeErrorCode());
        const int primary = codes.isEmpty() ? 0 : (codes.first() & 0xff);
        // SQLite locks the whole file, not a record: a write meeting another
        // connection's write finds the database busy. A read is only held off
        // by a connection that holds the file exclusively.
        if (primary == 5 || primary == 6 || text.contains(QLatin1String("is locked")))
            return reading ? ErrorNumber::TableExclusive : ErrorNumber::DatabaseBusy;
        if (text.contains(QLatin1String("UNIQUE constraint failed"))
            || text.contains(QLatin1String("PRIMARY KEY must be unique"))
            || text.contains(QLatin1String("is not unique")))
            return ErrorNumber::DuplicateKey;
        if (text.contains(QLatin1String("FOREIGN KEY constraint failed")))
            return ErrorNumber::RelatedRecords;
        // The account schema limits text lengths with CHECK(length(col)<=n).
        if (text.contains(QLatin1String("CHECK constraint failed")))
            return ErrorNumber::ValueTooLong;
        return ErrorNumber::General;
    }

    TableInfo tableInfo(QSqlDatabase &db, const QString &table) const override
    {
        TableInfo info;
        QString schema;
        QString name = table;
        if (const int dot = table.lastIndexOf('.'); dot > 0) {
            schema = table.left(dot) + '.';
            name = table.mid(dot + 1);
        }
        QSqlQuery q(db);
        q.setForwardOnly(true);
        const QString pragma = QStringLiteral("PRAGMA %1table_info(%2)").arg(schema, quoteName(name));
        if (!q.exec(pragma))
            return info;
        QStringList keyTypes;
        QList<int> keyOrder;
        while (q.next()) {
            info.exists = true;
            const QString column = q.value(1).toString();
            info.columns.append(column);
            const int pk = q.value(5).toInt();
            if (pk > 0) {
                int at = 0;
                while (at < keyOrder.size() && keyOrder[at] < pk)
                    ++at;
                keyOrder.insert(at, pk);
                info.primaryKey.insert(at, column);
                keyTypes.insert(at, q.value(2).toString());
            }
        }
        info.name = info.exists ? table : QString();
        // A single INTEGER PRIMARY KEY is the rowid: the database numbers it.
        if (info.primaryKey.size() == 1
            && keyTypes.first().compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0)
            info.identityColumn = info.primaryKey.first();
        return info;
    }
};

// The server's SQLSTATE of a failure. QPSQL reports it as the native code;
// QODBC reports psqlODBC's own number instead. The kit's ODBC loader (and
// QODBC from Qt 6.5 on) puts the SQLSTATEs after the messages: "..., 23505".
// Otherwise the state is told by the server's (English) message.
QString sqlState(const QSqlError &error)
{
    static const Re state(QStringLiteral("^[0-9A-Z]{5}$"));
    QString code = error.nativeErrorCode();
    if (state.match(code).hasMatch())
        return code;
    const QString text = error.databaseText();
    if (const qsizetype comma = text.lastIndexOf(QLatin1String(", ")); comma >= 0) {
        // The first that is the server's own: HY... are the driver's.
        for (const QString &listed : text.mid(comma + 2).split(QLatin1Char(';')))
            if (state.match(listed).hasMatch() && !listed.startsWith(QLatin1String("HY"))
                && !listed.startsWith(QLatin1String("01")))
                return listed;
    }
    static const std::pair<const char *, const char *> byMessage[] = {
        {"duplicate key value", "23505"},
        {"violates foreign key constraint", "23503"},
        {"value too long", "22001"},
        {"lock timeout", "55P03"},
        {"could not obtain lock", "55P03"},
        {"deadlock detected", "40P01"},
        {"statement timeout", "57014"},
    };
    for (const auto &[fragment, mapped] : byMessage)
        if (text.contains(QLatin1String(fragment), Qt::CaseInsensitive))
            return QLatin1String(mapped);
    return code;
}

class PostgresDialect : public SqlDialect {
public:
    Engine engine() const override { return Engine::PostgreSQL; }

    QString adapt(const QString &masked) const override
    {
        QString out = SqlDialect::adapt(masked);
        // round(x, n) exists for numeric only; a cast makes it work whatever
        // the column's number type.
        static const Re roundColumn(QStringLiteral("\\bround\\s*\\(\\s*([A-Za-z_][\\w.]*)\\s*,"), ci);
        out.replace(roundColumn, QStringLiteral("round(CAST(\\1 AS numeric),"));
        return out;
    }

    QString lastIdentityStatement() const override { return QStringLiteral("SELECT lastval()"); }

    QString utcNow() const override
    {
        return QStringLiteral("CURRENT_TIMESTAMP AT TIME ZONE 'UTC'");
    }
    QString timeAsText(const QString &column) const override
    {
        return QStringLiteral("CAST(%1 AS varchar(40))").arg(column);
    }
    QString lockingReadSuffix() const override { return QStringLiteral(" FOR UPDATE"); }
    // An advisory lock on the keys' hashes (one key: its own; two: a pair).
    QString transactionLockStatement(int keys) const override
    {
        Q_ASSERT(keys == 1 || keys == 2);
        return keys == 1 ? QStringLiteral("SELECT pg_advisory_xact_lock(hashtext(?))")
                         : QStringLiteral("SELECT pg_advisory_xact_lock(hashtext(?), hashtext(?))");
    }
    bool decimalsCompareExactly() const override { return true; }
    QString timeType() const override { return QStringLiteral("timestamp"); }
    QString addColumn(const QString &table, const QString &column,
                      const QString &type) const override
    {
        return QStringLiteral("ALTER TABLE %1 ADD COLUMN IF NOT EXISTS %2 %3")
            .arg(table, column, type);
    }
    QString schemaFolder() const override { return QStringLiteral("postgresql"); }

    // A lock lives while its holder's session keeps its lease: a thread of
    // the holder renews the session's row in LockSessions every few
    // seconds, whatever server connection the holder has at the moment (a
    // pooler lends them out one transaction at a time). A row without a
    // session, or whose session has no row, has no lease. Times are the
    // server's at the statement, also inside a long transaction.
    HolderCheck holderCheck() const override { return HolderCheck::ServerLease; }
    QString lockHolderGone() const override
    {
        return QStringLiteral("CASE WHEN EXISTS (SELECT 1 FROM LockSessions s "
                              "WHERE s.cSession = LockRecords.cSession AND s.dExpires > ")
               + serverTimeNow() + QStringLiteral(") THEN 0 ELSE 1 END");
    }
    QString serverTimeAfter() const override
    {
        return serverTimeNow() + QStringLiteral(" + CAST(? AS integer) * interval '1 millisecond'");
    }
    QString skippingLockedSuffix() const override
    {
        return QStringLiteral(" FOR UPDATE SKIP LOCKED");
    }

    int errorNumber(const QSqlError &error, bool reading) const override
    {
        const QString state = sqlState(error);
        if (state == QLatin1String("57014"))
            return ErrorNumber::TimedOut;
        if (state == QLatin1String("23505"))
            return ErrorNumber::DuplicateKey;
        if (state == QLatin1String("23503"))
            return ErrorNumber::RelatedRecords;
        if (state == QLatin1String("22001"))
            return ErrorNumber::ValueTooLong;
        if (state == QLatin1String("55P03") || state == QLatin1String("40P01"))
            return reading ? ErrorNumber::TableExclusive : ErrorNumber::RecordLocked;
        return ErrorNumber::General;
    }

    TableInfo tableInfo(QSqlDatabase &db, const QString &table) const override
    {
        TableInfo info;
        QSqlQuery q(db);
        q.setForwardOnly(true);
        // The name goes in as an escaped literal, not a bound value: the drivers
        // would prepare a named statement on the server for it, which clients
        // sharing a server connection through a pooler collide on.
        const QString sql = QStringLiteral(
            "SELECT a.attname, a.attidentity <> '' OR COALESCE(pg_get_expr(d.adbin, d.adrelid) "
            "LIKE 'nextval(%', false), COALESCE(k.place, 0), "
            "c.relname FROM pg_attribute a JOIN pg_class c ON c.oid = a.attrelid "
            "LEFT JOIN pg_attrdef d ON d.adrelid = a.attrelid AND d.adnum = a.attnum "
            "LEFT JOIN pg_index i ON i.indrelid = a.attrelid AND i.indisprimary "
            // indkey is an int2vector indexed from 0: number its entries from 1.
            "LEFT JOIN LATERAL unnest(i.indkey::int2[]) WITH ORDINALITY AS k(attnum, place) "
            "ON k.attnum = a.attnum "
            "WHERE a.attrelid = to_regclass('%1') AND a.attnum > 0 AND NOT a.attisdropped "
            "ORDER BY a.attnum").arg(quoted(table));
        if (!q.exec(sql))
            return info;
        QList<int> keyOrder;
        while (q.next()) {
            info.exists = true;
            info.name = q.value(3).toString();
            const QString column = q.value(0).toString();
            info.columns.append(column);
            if (const int pk = q.value(2).toInt(); pk > 0) {
                int at = 0;
                while (at < keyOrder.size() && keyOrder[at] < pk)
                    ++at;
                keyOrder.insert(at, pk);
                info.primaryKey.insert(at, column);
            }
            if (q.value(1).toBool() && info.identityColumn.isEmpty())
                info.identityColumn = column;
        }
        if (info.exists && table.contains('.'))
            info.name = table.left(table.lastIndexOf('.') + 1) + info.name;
        return info;
    }

    bool supportsReturning() const override { return true; }

private:
    static QString serverTimeNow()
    {
        return QStringLiteral("statement_timestamp() AT TIME ZONE 'UTC'");
    }
};

// A SQL Server account through unixODBC: the component's statements are in
// that server's own dialect already.
class OdbcDialect : public SqlDialect {
public:
    Engine engine() const override { return Engine::ODBC; }
    QString adapt(const QString &masked) const override { return masked; }
    QString lastIdentityStatement() const override { return QStringLiteral("SELECT @@identity"); }

    // Savepoints are saved transactions; there is no release.
    QString savepointStatement(const QString &name) const override
    {
        return QStringLiteral("SAVE TRANSACTION ") + name;
    }
    QString releaseSavepointStatement(const QString &) const override { return QString(); }
    QString rollbackToSavepointStatement(const QString &name) const override
    {
        return QStringLiteral("ROLLBACK TRANSACTION ") + name;
    }

    QString lengthFunction() const override { return QStringLiteral("len"); }
    QString substringFunction() const override { return QStringLiteral("substring"); }
    QString firstRows(const QString &select, int rows) const override
    {
        static const Re lead(QStringLiteral("^\\s*select\\s+"), ci);
        const auto m = lead.match(select);
        if (!m.hasMatch())
            return select;
        return QString(select).insert(m.capturedEnd(),
                                      QStringLiteral("TOP %1 ").arg(qMax(0, rows)));
    }
    QString utcNow() const override { return QStringLiteral("SYSUTCDATETIME()"); }
    QString timeAsText(const QString &column) const override
    {
        return QStringLiteral("CONVERT(varchar(40), %1, 121)").arg(column);
    }
    QString timeType() const override { return QStringLiteral("datetime"); }
    QString createTableIfMissing(const QString &table, const QString &columns) const override
    {
        return QStringLiteral("IF OBJECT_ID('%1', 'U') IS NULL CREATE TABLE %1 (%2)")
            .arg(table, columns);
    }
    QString addColumn(const QString &table, const QString &column,
                      const QString &type) const override
    {
        return QStringLiteral("ALTER TABLE %1 ADD %2 %3 NULL").arg(table, column, type);
    }
    QString schemaFolder() const override { return QStringLiteral("odbc"); }
    bool makesAccountSchema() const override { return false; }

    // A lock wait ends after 2 s with error 1222.
    QStringList sessionSetup(int) const override
    {
        return {QStringLiteral("SET LOCK_TIMEOUT 2000")};
    }
    QString sessionIdStatement() const override { return QStringLiteral("SELECT @@SPID"); }

    int errorNumber(const QSqlError &error, bool reading) const override
    {
        for (const int code : nativeNumbers(error.nativeErrorCode())) {
            switch (code) {
            case 2627:
            case 2601:
                return ErrorNumber::DuplicateKey;
            case 547:
                return ErrorNumber::RelatedRecords;
            case 8152:
            case 2628:
                return ErrorNumber::ValueTooLong;
            case 1222:
                return reading ? ErrorNumber::TableExclusive : ErrorNumber::RecordLocked;
            default:
                break;
            }
        }
        return ErrorNumber::General;
    }

    TableInfo tableInfo(QSqlDatabase &db, const QString &table) const override
    {
        TableInfo info;
        const QSqlRecord record = db.record(table);
        if (record.isEmpty())
            return info;
        info.exists = true;
        info.name = table;
        for (int i = 0; i < record.count(); ++i) {
            info.columns.append(record.fieldName(i));
            if (record.field(i).isAutoValue() && info.identityColumn.isEmpty())
                info.identityColumn = record.fieldName(i);
        }
        const QSqlIndex key = db.primaryIndex(table);
        for (int i = 0; i < key.count(); ++i)
            info.primaryKey.append(key.fieldName(i));
        return info;
    }

    QString quoteName(const QString &name) const override
    {
        return '[' + QString(name).replace(']', QLatin1String("]]")) + ']';
    }
};

} // namespace

std::unique_ptr<SqlDialect> SqlDialect::create(Engine engine)
{
    switch (engine) {
    case Engine::SQLite:
        return std::make_unique<SqliteDialect>();
    case Engine::PostgreSQL:
        return std::make_unique<PostgresDialect>();
    case Engine::ODBC:
        break;
    }
    return std::make_unique<OdbcDialect>();
}

QString SqlDialect::rewrite(const QString &sql) const
{
    if (isIdentityQuery(sql))
        return lastIdentityStatement();
    return rewriteOutsideQuotes(sql, [this](const QString &masked) { return adapt(masked); });
}

QString SqlDialect::adapt(const QString &masked) const
{
    return rewriteSystemPrefix(masked);
}

QStringList SqlDialect::sessionSetup(int) const
{
    return {};
}

DbError SqlDialect::toError(const QSqlError &error, const QString &statement, bool reading) const
{
    QString text = error.databaseText();
    if (text.isEmpty())
        text = error.text();
    const int number = errorNumber(error, reading);
    // Told to users as it is, in their words, with the engine's text below.
    if (number == ErrorNumber::DatabaseBusy || number == ErrorNumber::TableExclusive)
        text = QStringLiteral("账套数据库正忙，请稍后重试。\n") + text;
    return DbError(number, text, error.nativeErrorCode(), statement);
}

QString SqlDialect::quoteName(const QString &name) const
{
    return '"' + QString(name).replace('"', QLatin1String("\"\"")) + '"';
}

QString SqlDialect::savepointStatement(const QString &name) const
{
    return QStringLiteral("SAVEPOINT ") + name;
}

QString SqlDialect::releaseSavepointStatement(const QString &name) const
{
    return QStringLiteral("RELEASE SAVEPOINT ") + name;
}

QString SqlDialect::rollbackToSavepointStatement(const QString &name) const
{
    return QStringLiteral("ROLLBACK TO SAVEPOINT ") + name;
}

QString SqlDialect::firstRows(const QString &select, int rows) const
{
    return select + QStringLiteral(" LIMIT ") + QString::number(qMax(0, rows));
}

QString SqlDialect::transactionLockStatement(int) const
{
    return QString();
}

QString SqlDialect::textType(int width) const
{
    return QStringLiteral("varchar(%1)").arg(width);
}

QString SqlDialect::createTableIfMissing(const QString &table, const QString &columns) const
{
    return QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (%2)").arg(table, columns);
}

bool isReadingStatement(const QString &sql)
{
    static const Re reading(QStringLiteral("^\\s*\\(*\\s*(select|with|values|pragma|show)\\b"), ci);
    // A read that locks its rows waits for another operator's lock on them
    // like a write does: a time-out there is that record's lock.
    static const Re locking(
        QStringLiteral("\\bfor\\s+(update|share|no\\s+key\\s+update|key\\s+share)\\b"), ci);
    return reading.match(sql).hasMatch() && !locking.match(maskQuoted(sql)).hasMatch();
}

} // namespace dbkit
