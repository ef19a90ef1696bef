#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

namespace dbkit {
class DbLogin;
}

namespace services {

// A table whose changes are kept in ChangeHistory: its name there, its key,
// its columns in their own order and spelling, and the columns that tell
// which warehouse and which operator's right a change concerns.
struct HistoryTable {
    QString name;
    QString keyColumn;
    QStringList columns;
    QString warehouseColumn;
    QString rightUserColumn;  // empty: the table holds no rights
};
const HistoryTable &warehouseHistory();
const HistoryTable &rightHistory();

// A row as stored: every column by its name, null for Null. Integers stay
// integers, doubles keep every digit, an exact decimal is its decimal text.
using RowImage = std::optional<QJsonObject>;

// Writes the history of the changes a service makes, in the change's own
// transaction, so a change and its history row are stored together or not
// at all. Who made it is the login's operator and computer; when is the
// server's clock.
class ChangeHistory {
public:
    explicit ChangeHistory(dbkit::DbLogin &login) : m_login(login) {}

    // Gives the account the history table when it has none yet; done once
    // per account and process. Called before a write's transaction begins.
    void ensureTable();

    // The row of `table` keyed `key` as it is stored now, or nullopt. Read
    // inside the change's transaction before the change; on PostgreSQL the
    // row stays locked until it ends, so what is kept as "before" is what
    // the change replaced.
    RowImage image(const HistoryTable &table, const QVariant &key);

    // Writes the history row of one change of `table`: added when there was
    // no row before, deleted when there is none after, else changed; a row
    // that is as it was leaves no history row. The key is that of the row
    // after the change (before it, for a delete).
    void record(const HistoryTable &table, const RowImage &before, const RowImage &after);

    // The row of `table` keyed `key` is read as it stands after a change
    // and its history row written with `before`.
    void recordAfter(const HistoryTable &table, const RowImage &before, const QVariant &key);

    // The text a row image is stored as, and read back from.
    static QString encode(const RowImage &row);
    static RowImage decode(const QString &text);

private:
    dbkit::DbLogin &m_login;
};

} // namespace services
