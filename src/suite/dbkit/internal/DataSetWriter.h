#pragma once

// Internal: the writes of a data set. Every write is one parameterised
// statement on the statement's base table, addressed by that table's primary
// key.

#include "DbDataSetImpl.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

namespace dbkit {

class SqlDialect;
struct TableInfo;

// A row as stored: its column names and values, as the data set keeps them.
struct StoredRow {
    QStringList names;
    QVariantList values;
};

class DataSetWriter {
public:
    // Stores the pending record as a change of the current one, as a new
    // record (which becomes the current one), or deletes the current one.
    static void storeChange(DbDataSet::Impl &d);
    static void storeNew(DbDataSet::Impl &d);
    static void deleteCurrent(DbDataSet::Impl &d);
    // Whether the base table has the column (which the data set may not show).
    static bool hasBaseColumn(const DbDataSet::Impl &d, const QString &column);

private:
    struct WriteResult {
        int affected = 0;
        bool haveRow = false;
        StoredRow row;  // the stored row, when the engine returns it
    };

    explicit DataSetWriter(DbDataSet::Impl &d);
    static const TableInfo &baseTable(const DbDataSet::Impl &d);

    QString table() const;
    QString name(const QString &column) const;
    QString baseColumn(const QString &name) const;
    int fieldFor(const QString &column) const;
    void written(QStringList *columns, QVariantList *values) const;
    QStringList keyColumns() const;
    QString whereCurrent(QVariantList *values) const;
    WriteResult run(const QString &sql, const QVariantList &values, bool returning) const;
    bool runOnPostgres(const QString &sql, const QVariantList &values, bool returning,
                       WriteResult &result) const;
    bool reread(const QStringList &keys, const QVariantList &keyValues, StoredRow *out) const;
    QVariant lastIdentity() const;
    void apply(size_t row, const StoredRow &stored) const;

    DbDataSet::Impl &m_d;
    const SqlDialect &m_dialect;
    const TableInfo &m_info;
};

} // namespace dbkit
