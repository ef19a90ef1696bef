#include "DataSetWriter.h"

#include "../SqlDialect.h"
#include "../StatementWatchdog.h"
#include "ColumnStore.h"
#include "Connection.h"
#include "DirectLoad.h"
#include "ErrorMapping.h"
#include "ExactNumbers.h"
#include "LoginAccess.h"
#include "SendableText.h"
#include "StatementRunner.h"
#include "TableCatalog.h"

#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

namespace dbkit {

namespace {

// Flags are integer 0/1 columns on every engine.
QVariant forBinding(const QVariant &value)
{
    if (value.typeId() == QMetaType::Bool)
        return QVariant(value.toBool() ? 1 : 0);
    return value;
}

// A row a Qt driver read, its values as the data set keeps them.
StoredRow rowOf(const QSqlRecord &record)
{
    StoredRow row;
    for (int i = 0; i < record.count(); ++i) {
        row.names.append(record.fieldName(i));
        row.values.append(exactValue(record.field(i)));
    }
    return row;
}

DbError recordGone(const QString &statement)
{
    return DbError(ErrorNumber::RecordDeleted,
                   QStringLiteral("the record was deleted by another operator"), QString(),
                   statement);
}

} // namespace

DataSetWriter::DataSetWriter(DbDataSet::Impl &d)
    : m_d(d), m_dialect(LoginAccess::dialect(d.login)), m_info(baseTable(d))
{
    if (m_info.primaryKey.isEmpty())
        throw DbError(ErrorNumber::NoPrimaryKey,
                      QStringLiteral("该数据表没有主键，不能修改。(%1)").arg(m_info.name),
                      QString(), d.sql);
}

const TableInfo &DataSetWriter::baseTable(const DbDataSet::Impl &d)
{
    const QString table = baseTableOf(d.statement);
    if (table.isEmpty())
        throw DbError(ErrorNumber::General,
                      QStringLiteral("the data set has no single table to write to"), QString(),
                      d.sql);
    const TableInfo &info = LoginAccess::tableInfo(d.login, table);
    if (!info.exists)
        throw DbError(ErrorNumber::General, QStringLiteral("table %1 not found").arg(table),
                      QString(), d.sql);
    return info;
}

bool DataSetWriter::hasBaseColumn(const DbDataSet::Impl &d, const QString &column)
{
    for (const QString &c : baseTable(d).columns)
        if (c.compare(column, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QString DataSetWriter::table() const
{
    QStringList parts = m_info.name.split('.');
    for (QString &p : parts)
        p = m_dialect.quoteName(p);
    return parts.join('.');
}

QString DataSetWriter::name(const QString &column) const
{
    return m_dialect.quoteName(column);
}

// The catalogue spelling of a base-table column, or empty.
QString DataSetWriter::baseColumn(const QString &name) const
{
    const QString plain = unprefixedName(name);
    for (const QString &c : m_info.columns)
        if (c.compare(plain, Qt::CaseInsensitive) == 0)
            return c;
    return QString();
}

// The data-set field that shows a base-table column, or -1.
int DataSetWriter::fieldFor(const QString &column) const
{
    const auto it = m_d.byName.constFind(column.toLower());
    if (it == m_d.byName.cend())
        return -1;
    const QString base = unprefixedName(m_info.name);
    for (int index : *it) {
        const QString &t = m_d.tables[index];
        if (t.isEmpty() || t.compare(base, Qt::CaseInsensitive) == 0)
            return index;
    }
    return -1;
}

// Columns of the pending record that belong to the base table.
void DataSetWriter::written(QStringList *columns, QVariantList *values) const
{
    for (const auto &p : m_d.pending) {
        const QString column = baseColumn(p.name);
        if (column.isEmpty() || (p.field >= 0 && fieldFor(column) != p.field))
            continue;  // a joined table's column: not written
        columns->append(column);
        values->append(forBinding(p.value));
    }
}

// A record is only ever addressed by its table's primary key: matching
// every column could hit another record, or miss this one when a value
// does not survive the round trip.
QStringList DataSetWriter::keyColumns() const
{
    return m_info.primaryKey;
}

// "k1 = ? AND k2 IS NULL" for the current record's stored key.
QString DataSetWriter::whereCurrent(QVariantList *values) const
{
    QStringList parts;
    for (const QString &k : keyColumns()) {
        const int field = fieldFor(k);
        if (field < 0)
            throw DbError(ErrorNumber::General,
                          QStringLiteral("the key column %1 of %2 is not in the data set")
                              .arg(k, m_info.name),
                          QString(), m_d.sql);
        const QVariant v = m_d.rows->value(size_t(m_d.pos), field);
        if (v.isNull()) {
            parts.append(name(k) + QStringLiteral(" IS NULL"));
        } else {
            parts.append(name(k) + QStringLiteral(" = ?"));
            values->append(v);
        }
    }
    return parts.join(QStringLiteral(" AND "));
}

DataSetWriter::WriteResult DataSetWriter::run(const QString &sql, const QVariantList &values,
                                              bool returning) const
{
    refuseUnsendableValues(values, sql);
    WriteResult r;
    if (runOnPostgres(sql, values, returning, r))
        return r;
    QSqlQuery q(LoginAccess::database(m_d.login));
    q.setForwardOnly(true);
    readNumbersExactly(q);
    execBound(LoginAccess::errors(m_d.login), q, sql, sql, values, false);
    if (returning) {
        while (q.next()) {
            if (!r.haveRow)
                r.row = rowOf(q.record());
            r.haveRow = true;
            ++r.affected;
        }
    } else {
        r.affected = q.numRowsAffected();
    }
    q.finish();
    return r;
}

// On a PostgreSQL connection the write runs as one unnamed libpq statement:
// Qt's driver would prepare a named one, which clients sharing a server
// connection through a pooler collide on. False when the connection is not
// libpq's.
bool DataSetWriter::runOnPostgres(const QString &sql, const QVariantList &values, bool returning,
                                  WriteResult &result) const
{
    if (m_d.login.engine() != Engine::PostgreSQL || m_d.login.throughOdbc())
        return false;
    Connection &connection = LoginAccess::connection(m_d.login);
    QSqlDatabase &db = connection.databaseForCall();
    QSqlError error;
    ColumnStore rows;
    LoadedShape shape;
    const PostgresCall call{sql, values, connection.prelude(sql)};
    const DirectLoad done = returning
                                ? loadPostgresDirect(db, call, rows, shape, &error, false)
                                : execPostgresBound(db, call, &result.affected, &error);
    if (done == DirectLoad::Unavailable)
        return false;
    if (done == DirectLoad::Failed)
        throw LoginAccess::errors(m_d.login).failure(error, sql, false);
    if (returning) {
        result.affected = int(rows.rowCount());
        result.haveRow = rows.rowCount() > 0;
        if (result.haveRow) {
            result.row.names = shape.names;
            for (int c = 0; c < rows.columnCount(); ++c)
                result.row.values.append(rows.value(0, c));
        }
    }
    return true;
}

// Reads the stored row back by key (defaults, identity, the engine's types).
bool DataSetWriter::reread(const QStringList &keys, const QVariantList &keyValues,
                           StoredRow *out) const
{
    QStringList parts;
    QVariantList bound;
    for (qsizetype i = 0; i < keys.size(); ++i) {
        if (keyValues[i].isNull())
            return false;
        parts.append(name(keys[i]) + QStringLiteral(" = ?"));
        bound.append(forBinding(keyValues[i]));
    }
    if (parts.isEmpty())
        return false;
    const QString sql = QStringLiteral("SELECT * FROM %1 WHERE %2")
                            .arg(table(), parts.join(QStringLiteral(" AND ")));
    WriteResult r;
    if (runOnPostgres(sql, bound, true, r)) {
        *out = r.row;
        return r.haveRow;
    }
    QSqlQuery q(LoginAccess::database(m_d.login));
    q.setForwardOnly(true);
    readNumbersExactly(q);
    q.prepare(sql);
    for (const QVariant &v : bound)
        q.addBindValue(v);
    const bool found = q.exec() && q.next();
    if (found)
        *out = rowOf(q.record());
    q.finish();
    return found;
}

// The identity the engine gave the row just inserted; null when it cannot tell.
QVariant DataSetWriter::lastIdentity() const
{
    QSqlQuery q(LoginAccess::database(m_d.login));
    q.setForwardOnly(true);
    const bool ok = q.exec(m_dialect.lastIdentityStatement()) && q.next();
    QVariant value = ok ? q.value(0) : QVariant();
    q.finish();
    return value;
}

// Puts a stored row's values into the snapshot row.
void DataSetWriter::apply(size_t row, const StoredRow &stored) const
{
    for (qsizetype i = 0; i < stored.names.size(); ++i) {
        const int field = fieldFor(stored.names[i]);
        if (field >= 0)
            m_d.ownRows().set(row, field, stored.values[i]);
    }
}

void DataSetWriter::storeChange(DbDataSet::Impl &d)
{
    d.requireRecord();
    const StatementWatch watch(d.login);
    DataSetWriter w(d);
    QStringList columns;
    QVariantList bound;
    w.written(&columns, &bound);
    if (columns.isEmpty())
        return;
    QStringList sets;
    for (const QString &c : columns)
        sets.append(w.name(c) + QStringLiteral(" = ?"));
    const QString where = w.whereCurrent(&bound);
    const bool returning = w.m_dialect.supportsReturning();
    const QString update = QStringLiteral("UPDATE %1 SET %2 WHERE %3%4")
                               .arg(w.table(), sets.join(QStringLiteral(", ")), where,
                                    returning ? QStringLiteral(" RETURNING *") : QString());
    // The key the record has after the change, for reading it back.
    const QStringList keys = w.keyColumns();
    QVariantList newKey;
    for (const QString &k : keys) {
        const qsizetype at = columns.indexOf(k);
        newKey.append(at >= 0 ? bound[at] : d.rows->value(size_t(d.pos), w.fieldFor(k)));
    }
    const WriteResult r = w.run(update, bound, returning);
    if (r.affected == 0)
        throw recordGone(update);
    StoredRow stored = r.row;
    if (r.haveRow || w.reread(keys, newKey, &stored)) {
        w.apply(size_t(d.pos), stored);
    } else {
        for (const DbDataSet::Impl::Pending &p : d.pending)
            if (p.field >= 0)
                d.ownRows().set(size_t(d.pos), p.field, p.value);
    }
}

void DataSetWriter::storeNew(DbDataSet::Impl &d)
{
    const StatementWatch watch(d.login);
    DataSetWriter w(d);
    QStringList columns;
    QVariantList bound;
    w.written(&columns, &bound);
    const bool returning = w.m_dialect.supportsReturning();
    QString insert;
    if (columns.isEmpty()) {
        insert = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(w.table());
    } else {
        QStringList quotedNames;
        for (const QString &c : columns)
            quotedNames.append(w.name(c));
        insert =
            QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(w.table(), quotedNames.join(QStringLiteral(", ")),
                     QStringList(columns.size(), QStringLiteral("?")).join(QStringLiteral(", ")));
    }
    if (returning)
        insert += QStringLiteral(" RETURNING *");
    const WriteResult r = w.run(insert, bound, returning);

    StoredRow stored = r.row;
    bool haveStored = r.haveRow;
    if (!haveStored) {
        const QStringList keys = w.keyColumns();
        QVariantList keyValues;
        for (const QString &k : keys) {
            const qsizetype at = columns.indexOf(k);
            if (at >= 0)
                keyValues.append(bound[at]);
            else
                keyValues.append(k == w.m_info.identityColumn ? w.lastIdentity() : QVariant());
        }
        haveStored = w.reread(keys, keyValues, &stored);
    }
    QVariantList row(d.names.size());
    for (const DbDataSet::Impl::Pending &p : d.pending)
        if (p.field >= 0)
            row[p.field] = p.value;
    d.ownRows().appendRow(row);
    d.pos = d.count() - 1;
    if (haveStored)
        w.apply(size_t(d.pos), stored);
}

void DataSetWriter::deleteCurrent(DbDataSet::Impl &d)
{
    d.requireRecord();
    const StatementWatch watch(d.login);
    DataSetWriter w(d);
    QVariantList bound;
    const QString remove =
        QStringLiteral("DELETE FROM %1 WHERE %2").arg(w.table(), w.whereCurrent(&bound));
    if (w.run(remove, bound, false).affected == 0)
        throw recordGone(remove);
    d.ownRows().removeRow(size_t(d.pos));
}

} // namespace dbkit
