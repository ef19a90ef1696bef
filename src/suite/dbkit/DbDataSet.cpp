#include "DbDataSet.h"

#include "DbRows.h"
#include "SqlDialect.h"
#include "StatementWatchdog.h"
#include "internal/Connection.h"
#include "internal/Criteria.h"
#include "internal/DbDataSetImpl.h"
#include "internal/DirectLoad.h"
#include "internal/ErrorMapping.h"
#include "internal/ExactNumbers.h"
#include "internal/FieldTypeCode.h"
#include "internal/LoginAccess.h"
#include "internal/SendableText.h"
#include "internal/StatementRunner.h"
#include "internal/TableCatalog.h"

#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

namespace dbkit {

DirectLoad DbDataSet::Impl::loadPostgres(LoadedShape &shape, QSqlError &error)
{
    Connection &connection = LoginAccess::connection(login);
    const PostgresCall call{statement, values, connection.prelude(statement)};
    return loadPostgresDirect(connection.databaseForCall(), call, *rows, shape, &error,
                              mode != OpenMode::ReadOnly);
}

void DbDataSet::Impl::load()
{
    LoginAccess::connection(login).ready(sql);
    const StatementWatch watch(login);
    const SqlDialect &dialect = LoginAccess::dialect(login);
    statement = dialect.rewrite(sql);
    const bool reading = isReadingStatement(statement);
    pos = 0;
    noMatch = false;
    rows = std::make_shared<ColumnStore>();

    // Bound values go through the PostgreSQL loader only, and on libpq
    // always, even when Qt's driver is chosen for reading: it would prepare a
    // named statement on the server, which clients sharing a pooled server
    // connection collide on. The other loaders take none, and Qt's driver
    // runs them there.
    const bool postgres = !login.throughOdbc() && login.engine() == Engine::PostgreSQL;
    const bool boundOnPostgres = postgres && !values.isEmpty();
    if (boundOnPostgres || (DbLogin::directLoading() && values.isEmpty())) {
        LoadedShape shape;
        QSqlError error;
        const DirectLoad loaded =
            login.throughOdbc()
                ? loadOdbcDirect(LoginAccess::database(login), statement, *rows, shape, &error)
            : login.engine() == Engine::SQLite
                ? loadSqliteDirect(LoginAccess::database(login), statement, *rows, shape, &error)
                : loadPostgres(shape, error);
        switch (loaded) {
        case DirectLoad::Done:
            setShape(shape);
            return;
        case DirectLoad::Failed:
            rows->reset(0);
            setShape(LoadedShape());
            throw LoginAccess::errors(login).failure(error, sql, reading);
        case DirectLoad::Unavailable:
            break;
        }
    }

    QSqlQuery q(LoginAccess::database(login));
    q.setForwardOnly(true);
    readNumbersExactly(q);
    if (!values.isEmpty()) {
        execBound(LoginAccess::errors(login), q, statement, sql, values, reading);
    } else if (!q.exec(statement)) {
        throw LoginAccess::errors(login).failure(q.lastError(), sql, reading);
    }

    const QSqlRecord record = q.record();
    const int columns = record.count();
    LoadedShape shape;
    for (int i = 0; i < columns; ++i) {
        const QSqlField field = record.field(i);
        shape.names.append(field.name());
        // QODBC hands the table name out with the terminating NUL of its buffer.
        QString table = field.tableName();
        if (const qsizetype nul = table.indexOf(QChar(0)); nul >= 0)
            table.truncate(nul);
        shape.tables.append(table);
        shape.types.push_back(fieldTypeCode(
            field, LoginAccess::database(login).driverName() == QLatin1String("QPSQL")));
    }
    setShape(shape);
    rows->reset(columns);
    if (q.size() > 0)
        rows->reserve(size_t(q.size()));
    while (q.next()) {
        const QSqlRecord row = q.record();
        for (int c = 0; c < columns; ++c)
            rows->column(c).append(exactValue(row.field(c)));
        rows->endRow();
    }
    if (q.lastError().isValid())
        throw LoginAccess::errors(login).failure(q.lastError(), sql, reading);
    // Release the statement at once: an open statement may hold a read lock.
    q.finish();
}

ColumnStore &DbDataSet::Impl::ownRows()
{
    if (rows.use_count() > 1)
        rows = std::make_shared<ColumnStore>(*rows);
    return *rows;
}

void DbDataSet::Impl::setShape(const LoadedShape &shape)
{
    names = shape.names;
    tables = shape.tables;
    types = shape.types;
    byName.clear();
    for (int i = 0; i < names.size(); ++i)
        byName[names[i].toLower()].append(i);
}

void DbDataSet::Impl::requireRecord() const
{
    if (!atRecord())
        throw DbError(ErrorNumber::NoCurrentRecord, QStringLiteral("no current record"),
                      QString(), sql);
}

void DbDataSet::Impl::requireWritable() const
{
    if (mode == OpenMode::ReadOnly)
        throw DbError(ErrorNumber::ReadOnlyDataSet, QStringLiteral("the data set is read-only"),
                      QString(), sql);
}

int DbDataSet::Impl::fieldIndex(const QString &name) const
{
    const QString plain = unprefixedName(name).trimmed();
    const auto it = byName.constFind(plain.toLower());
    if (it == byName.cend() || it->isEmpty())
        return -1;
    if (it->size() > 1 && plain.size() != name.size()) {
        // Several fields share the name: the table prefix decides.
        const QString table = unprefixedName(name.left(name.lastIndexOf('.')));
        for (int index : *it)
            if (tables[index].compare(table, Qt::CaseInsensitive) == 0)
                return index;
    }
    return it->first();
}

const DbDataSet::Impl::Pending *DbDataSet::Impl::pendingFor(int field) const
{
    for (const Pending &p : pending)
        if (p.field == field)
            return &p;
    return nullptr;
}

DbDataSet::DbDataSet(std::unique_ptr<Impl> impl) : d(std::move(impl)) {}
DbDataSet::~DbDataSet() = default;

bool DbDataSet::BOF() const { return d->count() == 0 || d->pos < 0; }
bool DbDataSet::Eof() const { return d->count() == 0 || d->pos >= d->count(); }
long DbDataSet::RecordCount() const { return long(d->count()); }
bool DbDataSet::NoMatch() const { return d->noMatch; }
int DbDataSet::openMode() const { return d->mode; }
QString DbDataSet::statement() const { return d->sql; }
bool DbDataSet::isEditing() const { return d->editing != Impl::Editing::None; }
DbLogin &DbDataSet::login() const { return d->login; }

void DbDataSet::MoveFirst()
{
    d->leaveRecord();
    d->pos = 0;
}

void DbDataSet::MoveLast()
{
    d->leaveRecord();
    d->pos = d->count() - 1;
    if (d->pos < 0)
        d->pos = 0;
}

// Moving past either end stops there (EOF / BOF) instead of raising.
void DbDataSet::MoveNext()
{
    d->leaveRecord();
    if (d->pos < d->count())
        ++d->pos;
}

void DbDataSet::MovePrevious()
{
    d->leaveRecord();
    if (d->pos >= 0)
        --d->pos;
}

void DbDataSet::FindFirst(const QString &criteria)
{
    refuseUnsendable(criteria, ErrorNumber::BadCriteria);
    const Criteria compiled = Criteria::compile(criteria, [this](const QString &name) {
        return d->fieldIndex(name);
    });
    d->leaveRecord();
    const size_t rows = d->rows->rowCount();
    for (size_t row = 0; row < rows; ++row) {
        if (compiled.matches(*d->rows, row)) {
            d->pos = qsizetype(row);
            d->noMatch = false;
            return;
        }
    }
    d->noMatch = true;
}

void DbDataSet::Requery(long options)
{
    Q_UNUSED(options);
    d->editing = Impl::Editing::None;
    d->pending.clear();
    d->load();
}

int DbDataSet::FieldCount() const { return int(d->names.size()); }

QString DbDataSet::FieldName(int index) const
{
    return index >= 0 && index < d->names.size() ? d->names[index] : QString();
}

int DbDataSet::FieldIndex(const QString &name) const { return d->fieldIndex(name); }

QVariant DbDataSet::Fields(int index) const
{
    if (index < 0 || index >= d->names.size())
        throw DbError(ErrorNumber::UnknownField,
                      QStringLiteral("no field %1 in the data set").arg(index), QString(), d->sql);
    if (const Impl::Pending *p = d->pendingFor(index))
        return p->value;
    if (d->editing == Impl::Editing::Adding)
        return QVariant();
    d->requireRecord();
    return d->rows->value(size_t(d->pos), index);
}

DbRows rowsOf(const DbDataSet &data)
{
    return DbRows(data.d->rows);
}

QAnyStringView DbDataSet::FieldText(int index) const
{
    if (index < 0 || index >= d->names.size() || d->editing != Impl::Editing::None)
        return QAnyStringView();
    d->requireRecord();
    return d->rows->column(index).storedText(size_t(d->pos));
}

QVariant DbDataSet::Fields(const QString &name) const
{
    const int index = d->fieldIndex(name);
    if (index < 0) {
        // A base-table column written during AddNew/Edit but not selected.
        for (const Impl::Pending &p : d->pending)
            if (p.name.compare(unprefixedName(name), Qt::CaseInsensitive) == 0)
                return p.value;
        throw DbError(ErrorNumber::UnknownField,
                      QStringLiteral("no field %1 in the data set").arg(name), QString(), d->sql);
    }
    return Fields(index);
}

int DbDataSet::FieldType(int index) const
{
    return index >= 0 && index < int(d->types.size()) ? d->types[size_t(index)] : 12;
}

} // namespace dbkit
