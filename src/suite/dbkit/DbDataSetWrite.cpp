// Writing through a data set: AddNew/Edit + Collect + Update, and Delete.
// Every write is one parameterised statement on the statement's base table,
// addressed by that table's primary key.

#include "DbDataSet.h"

#include "SqlDialect.h"
#include "StatementWatchdog.h"
#include "internal/DbDataSetImpl.h"
#include "internal/ExactNumbers.h"
#include "internal/LoginAccess.h"
#include "internal/SendableText.h"
#include "internal/StatementRunner.h"
#include "internal/TableCatalog.h"

#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

namespace dbkit {

namespace {

QString unprefixed(const QString &name)
{
    const qsizetype dot = name.lastIndexOf('.');
    return dot < 0 ? name : name.mid(dot + 1);
}

// Flags are integer 0/1 columns on every engine.
QVariant forBinding(const QVariant &value)
{
    if (value.typeId() == QMetaType::Bool)
        return QVariant(value.toBool() ? 1 : 0);
    return value;
}

struct WriteResult {
    int affected = 0;
    bool haveRow = false;
    QSqlRecord row;  // the stored row, when the engine returns it
};

} // namespace

// Builds and runs the write statements of one data set.
class DataSetWriter {
public:
    explicit DataSetWriter(DbDataSet::Impl &d)
        : m_d(d), m_dialect(LoginAccess::dialect(d.login)), m_info(d.baseTable())
    {
        if (m_info.primaryKey.isEmpty())
            throw DbError(ErrorNumber::NoPrimaryKey,
                          QStringLiteral("该数据表没有主键，不能修改。(%1)").arg(m_info.name),
                          QString(), d.sql);
    }

    QString table() const
    {
        QStringList parts = m_info.name.split('.');
        for (QString &p : parts)
            p = m_dialect.quoteName(p);
        return parts.join('.');
    }
    QString name(const QString &column) const { return m_dialect.quoteName(column); }

    // The catalogue spelling of a base-table column, or empty.
    QString baseColumn(const QString &name) const
    {
        const QString plain = unprefixed(name);
        for (const QString &c : m_info.columns)
            if (c.compare(plain, Qt::CaseInsensitive) == 0)
                return c;
        return QString();
    }

    // The data-set field that shows a base-table column, or -1.
    int fieldFor(const QString &column) const
    {
        const auto it = m_d.byName.constFind(column.toLower());
        if (it == m_d.byName.cend())
            return -1;
        const QString base = unprefixed(m_info.name);
        for (int index : *it) {
            const QString &t = m_d.tables[index];
            if (t.isEmpty() || t.compare(base, Qt::CaseInsensitive) == 0)
                return index;
        }
        return -1;
    }

    // Columns of the pending record that belong to the base table.
    void written(QStringList *columns, QVariantList *values) const
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
    QStringList keyColumns() const { return m_info.primaryKey; }

    // "k1 = ? AND k2 IS NULL" for the current record's stored key.
    QString whereCurrent(QVariantList *values) const
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

    WriteResult run(const QString &sql, const QVariantList &values, bool returning) const
    {
        refuseUnsendableValues(values, sql);
        WriteResult r;
        QSqlQuery q(LoginAccess::database(m_d.login));
        q.setForwardOnly(true);
        readNumbersExactly(q);
        execBound(LoginAccess::errors(m_d.login), q, sql, sql, values, false);
        if (returning) {
            while (q.next()) {
                if (!r.haveRow)
                    r.row = q.record();
                r.haveRow = true;
                ++r.affected;
            }
        } else {
            r.affected = q.numRowsAffected();
        }
        q.finish();
        return r;
    }

    // Reads the stored row back by key (defaults, identity, the engine's types).
    bool reread(const QStringList &keys, const QVariantList &keyValues, QSqlRecord *out) const
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
        QSqlQuery q(LoginAccess::database(m_d.login));
        q.setForwardOnly(true);
        readNumbersExactly(q);
        q.prepare(sql);
        for (const QVariant &v : bound)
            q.addBindValue(v);
        const bool found = q.exec() && q.next();
        if (found)
            *out = q.record();
        q.finish();
        return found;
    }

    // Puts a stored row's values into the snapshot row.
    void apply(size_t row, const QSqlRecord &stored) const
    {
        for (int i = 0; i < stored.count(); ++i) {
            const int field = fieldFor(stored.fieldName(i));
            if (field >= 0)
                m_d.ownRows().set(row, field, exactValue(stored.field(i)));
        }
    }

    const TableInfo &info() const { return m_info; }
    const SqlDialect &dialect() const { return m_dialect; }

private:
    DbDataSet::Impl &m_d;
    const SqlDialect &m_dialect;
    const TableInfo &m_info;
};

const TableInfo &DbDataSet::Impl::baseTable() const
{
    const QString table = baseTableOf(statement);
    if (table.isEmpty())
        throw DbError(ErrorNumber::General,
                      QStringLiteral("the data set has no single table to write to"), QString(),
                      sql);
    const TableInfo &info = LoginAccess::tableInfo(login, table);
    if (!info.exists)
        throw DbError(ErrorNumber::General, QStringLiteral("table %1 not found").arg(table),
                      QString(), sql);
    return info;
}

void DbDataSet::Impl::storeChange()
{
    requireRecord();
    const StatementWatch watch(login);
    DataSetWriter w(*this);
    QStringList columns;
    QVariantList bound;
    w.written(&columns, &bound);
    if (columns.isEmpty())
        return;
    QStringList sets;
    for (const QString &c : columns)
        sets.append(w.name(c) + QStringLiteral(" = ?"));
    const QString where = w.whereCurrent(&bound);
    const bool returning = w.dialect().supportsReturning();
    const QString update = QStringLiteral("UPDATE %1 SET %2 WHERE %3%4")
                            .arg(w.table(), sets.join(QStringLiteral(", ")), where,
                                 returning ? QStringLiteral(" RETURNING *") : QString());
    // The key the record has after the change, for reading it back.
    QStringList keys = w.keyColumns();
    QVariantList newKey;
    for (const QString &k : keys) {
        const qsizetype at = columns.indexOf(k);
        newKey.append(at >= 0 ? bound[at] : rows->value(size_t(pos), w.fieldFor(k)));
    }
    const WriteResult r = w.run(update, bound, returning);
    if (r.affected == 0)
        throw DbError(ErrorNumber::RecordDeleted,
                      QStringLiteral("the record was deleted by another operator"), QString(),
                      update);
    QSqlRecord stored = r.row;
    if (r.haveRow || w.reread(keys, newKey, &stored)) {
        w.apply(size_t(pos), stored);
    } else {
        for (const Pending &p : pending)
            if (p.field >= 0)
                ownRows().set(size_t(pos), p.field, p.value);
    }
}

void DbDataSet::Impl::storeNew()
{
    const StatementWatch watch(login);
    DataSetWriter w(*this);
    QStringList columns;
    QVariantList bound;
    w.written(&columns, &bound);
    const bool returning = w.dialect().supportsReturning();
    QString insert;
    if (columns.isEmpty()) {
        insert = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(w.table());
    } else {
        QStringList quotedNames;
        for (const QString &c : columns)
            quotedNames.append(w.name(c));
        insert = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                     .arg(w.table(), quotedNames.join(QStringLiteral(", ")),
                          QStringList(columns.size(), QStringLiteral("?"))
                              .join(QStringLiteral(", ")));
    }
    if (returning)
        insert += QStringLiteral(" RETURNING *");
    const WriteResult r = w.run(insert, bound, returning);

    QSqlRecord stored = r.row;
    bool haveStored = r.haveRow;
    if (!haveStored) {
        const QStringList keys = w.keyColumns();
        QVariantList keyValues;
        const QString identity = w.info().identityColumn;
        for (const QString &k : keys) {
            const qsizetype at = columns.indexOf(k);
            if (at >= 0) {
                keyValues.append(bound[at]);
            } else if (k == identity) {
                QSqlQuery q(LoginAccess::database(login));
                q.setForwardOnly(true);
                const bool ok = q.exec(w.dialect().lastIdentityStatement()) && q.next();
                keyValues.append(ok ? q.value(0) : QVariant());
                q.finish();
            } else {
                keyValues.append(QVariant());
            }
        }
        haveStored = w.reread(keys, keyValues, &stored);
    }
    QVariantList row(names.size());
    for (const Pending &p : pending)
        if (p.field >= 0)
            row[p.field] = p.value;
    ownRows().appendRow(row);
    pos = count() - 1;
    if (haveStored)
        w.apply(size_t(pos), stored);
}

void DbDataSet::Impl::deleteCurrent()
{
    requireRecord();
    const StatementWatch watch(login);
    DataSetWriter w(*this);
    QVariantList bound;
    const QString remove =
        QStringLiteral("DELETE FROM %1 WHERE %2").arg(w.table(), w.whereCurrent(&bound));
    if (w.run(remove, bound, false).affected == 0)
        throw DbError(ErrorNumber::RecordDeleted,
                      QStringLiteral("the record was deleted by another operator"), QString(),
                      remove);
    ownRows().removeRow(size_t(pos));
}

void DbDataSet::Impl::leaveRecord()
{
    if (editing == Editing::None)
        return;
    if (pending.empty()) {
        if (editing == Editing::Adding)
            editing = Editing::None;
        return;
    }
    // Stored as if Update had been called; a refusal is reported to the mover.
    const Editing was = editing;
    editing = Editing::None;
    try {
        was == Editing::Adding ? storeNew() : storeChange();
    } catch (...) {
        pending.clear();
        throw;
    }
    pending.clear();
}

void DbDataSet::Collect(const QString &name, const QVariant &value)
{
    if (d->editing == Impl::Editing::None)
        throw DbError(ErrorNumber::NotEditing,
                      QStringLiteral("Collect without AddNew or Edit"), QString(), d->sql);
    const int field = d->fieldIndex(name);
    const QString plain = unprefixed(name).trimmed();
    if (field < 0) {
        bool inBase = false;
        for (const QString &c : d->baseTable().columns)
            inBase = inBase || c.compare(plain, Qt::CaseInsensitive) == 0;
        if (!inBase)
            throw DbError(ErrorNumber::UnknownField,
                          QStringLiteral("no field %1 in the data set").arg(name), QString(),
                          d->sql);
    }
    for (Impl::Pending &p : d->pending) {
        if ((field >= 0 && p.field == field)
            || (field < 0 && p.name.compare(plain, Qt::CaseInsensitive) == 0)) {
            p.value = value;
            return;
        }
    }
    d->pending.push_back({field >= 0 ? d->names[field] : plain, field, value});
}

void DbDataSet::AddNew()
{
    d->requireWritable();
    d->pending.clear();
    d->editing = Impl::Editing::Adding;
}

void DbDataSet::Edit()
{
    d->requireWritable();
    d->pending.clear();
    d->editing = Impl::Editing::Changing;
}

void DbDataSet::Update()
{
    if (d->editing == Impl::Editing::None)
        throw DbError(ErrorNumber::NotEditing, QStringLiteral("Update without AddNew or Edit"),
                      QString(), d->sql);
    const Impl::Editing was = d->editing;
    // The pending record is spent whether or not the database takes it: the
    // caller keeps what the user typed and starts a new AddNew/Edit to retry.
    struct Finish {
        Impl &d;
        ~Finish()
        {
            d.editing = Impl::Editing::None;
            d.pending.clear();
        }
    } finish{*d};
    if (was == Impl::Editing::Adding)
        d->storeNew();
    else
        d->storeChange();
}

void DbDataSet::CancelUpdate()
{
    d->editing = Impl::Editing::None;
    d->pending.clear();
}

void DbDataSet::Delete(long affectRecords)
{
    Q_UNUSED(affectRecords);  // only the current record is ever deleted
    d->requireWritable();
    CancelUpdate();
    d->deleteCurrent();
}

} // namespace dbkit
