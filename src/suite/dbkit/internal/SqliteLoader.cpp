#include "DirectLoad.h"

#include "ColumnStore.h"
#include "ReadProgress.h"
#include "RowPipeline.h"

#include <QSqlDriver>
#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QVariant>

#ifdef DBKIT_HAVE_SQLITE3
#include <sqlite3.h>
#endif

namespace dbkit {

#ifdef DBKIT_HAVE_SQLITE3

namespace {

// Recordset data-type code from a declared column type, by SQLite's own
// affinity rules; -1 when the column has no declared type (an expression).
int declaredTypeCode(const char *declared)
{
    if (!declared)
        return -1;
    const QByteArray t = QByteArray(declared).toUpper();
    if (t.contains("BOOL"))
        return 11;
    if (t.contains("INT"))
        return t.contains("BIG") ? 20 : (t.contains("SMALL") || t.contains("TINY") ? 2 : 3);
    if (t.contains("CHAR") || t.contains("CLOB") || t.contains("TEXT"))
        return 202;
    if (t.contains("BLOB"))
        return 205;
    if (t.contains("REAL") || t.contains("FLOA") || t.contains("DOUB"))
        return 5;
    if (t.startsWith("DATETIME") || t.startsWith("TIMESTAMP"))
        return 135;
    if (t.startsWith("DATE"))
        return 7;
    return 131;  // NUMERIC, DECIMAL(p,s) and the like
}

int typeCodeOfKind(Column::Kind kind)
{
    switch (kind) {
    case Column::Kind::Integer: return 3;
    case Column::Kind::Real: return 5;
    case Column::Kind::Text: return 202;
    default: return 12;
    }
}

struct Statement {
    sqlite3_stmt *handle = nullptr;
    ~Statement() { sqlite3_finalize(handle); }
};

QSqlError engineError(sqlite3 *db, int code)
{
    return QSqlError(QStringLiteral("Unable to fetch row"),
                     QString::fromUtf8(sqlite3_errmsg(db)), QSqlError::StatementError,
                     QString::number(code));
}

} // namespace

DirectLoad loadSqliteDirect(QSqlDatabase &db, const QString &statement, ColumnStore &rows,
                            LoadedShape &shape, QSqlError *error)
{
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return DirectLoad::Unavailable;
    sqlite3 *connection = *static_cast<sqlite3 *const *>(handle.constData());
    if (!connection)
        return DirectLoad::Unavailable;

    Statement st;
    const QByteArray sql = statement.toUtf8();
    int rc = sqlite3_prepare_v2(connection, sql.constData(), int(sql.size()), &st.handle, nullptr);
    if (rc != SQLITE_OK) {
        *error = engineError(connection, rc);
        return DirectLoad::Failed;
    }
    const int columns = st.handle ? sqlite3_column_count(st.handle) : 0;
    shape = LoadedShape();
    std::vector<int> declared;
    for (int c = 0; c < columns; ++c) {
        shape.names.append(QString::fromUtf8(sqlite3_column_name(st.handle, c)));
        shape.tables.append(QString::fromUtf8(sqlite3_column_table_name(st.handle, c)));
        declared.push_back(declaredTypeCode(sqlite3_column_decltype(st.handle, c)));
    }
    rows.reset(columns);
    if (!st.handle)  // an empty statement
        return DirectLoad::Done;
    // A read on a background thread tells its rows every so many and stops
    // when its owner cancelled.
    constexpr long long RowsPerProgress = 4096;
    ReadProgress *progress = ReadProgress::ofThisThread();
    long long count = 0;
    bool cancelled = false;
    RowPipeline pipeline(rows);
    while ((rc = sqlite3_step(st.handle)) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c) {
            switch (sqlite3_column_type(st.handle, c)) {
            case SQLITE_INTEGER:
                pipeline.addInteger(sqlite3_column_int64(st.handle, c));
                break;
            case SQLITE_FLOAT:
                pipeline.addReal(sqlite3_column_double(st.handle, c));
                break;
            case SQLITE_TEXT: {
                const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(st.handle, c));
                pipeline.addText(text, sqlite3_column_bytes(st.handle, c));
                break;
            }
            case SQLITE_BLOB: {
                const auto *data = static_cast<const char *>(sqlite3_column_blob(st.handle, c));
                pipeline.addBlob(data, sqlite3_column_bytes(st.handle, c));
                break;
            }
            default:
                pipeline.addNull();
                break;
            }
        }
        pipeline.endRow();
        if (progress && ++count % RowsPerProgress == 0) {
            progress->setRows(count);
            if ((cancelled = progress->cancelled()))
                break;
        }
    }
    pipeline.finish();
    if (cancelled) {
        *error = ReadProgress::cancelledError();
        return DirectLoad::Failed;
    }
    if (progress)
        progress->setRows(qsizetype(rows.rowCount()));
    if (rc != SQLITE_DONE) {
        *error = engineError(connection, rc);
        return DirectLoad::Failed;
    }
    for (int c = 0; c < columns; ++c)
        shape.types.push_back(declared[size_t(c)] >= 0 ? declared[size_t(c)]
                                                       : typeCodeOfKind(rows.column(c).kind()));
    return DirectLoad::Done;
}

#else

DirectLoad loadSqliteDirect(QSqlDatabase &, const QString &, ColumnStore &, LoadedShape &,
                            QSqlError *)
{
    return DirectLoad::Unavailable;
}

#endif

} // namespace dbkit
