#pragma once

#include "ChangeHistory.h"

#include <QDateTime>
#include <QHash>
#include <QVariantList>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace dbkit {
class DbLogin;
}

namespace services {

struct HistoryEntry;

// Which history rows to read. Empty fields do not narrow.
struct HistoryFilter {
    // One row's history: the table and the row's key.
    QString table;
    QString key;
    // The changes that concern one warehouse: of the warehouse and its rights.
    QString warehouse;
    // The changes of one operator's rights.
    QString rightUser;
    // Changed at or after `from` and before `to` (UTC); invalid: open.
    QDateTime from;
    QDateTime to;
    // Made by this operator (code).
    QString changedBy;
    // At most this many, the newest.
    int limit = 2000;

    // Whether a reading under this filter would show `entry` (the limit aside).
    bool selects(const HistoryEntry &entry) const;
};

// One change as the history keeps it.
struct HistoryEntry {
    long long id = 0;
    QDateTime changed;  // UTC
    QString operatorCode;
    QString operatorName;
    QString computer;
    QString table;
    QString key;
    QString action;  // add, change or delete
    QString warehouse;  // the warehouse it concerns
    QString rightUser;  // the operator a changed right belongs to
    RowImage before;
    RowImage after;

    // The columns whose value the change altered, in the order of the
    // row's columns: every column for an add or a delete.
    QStringList changedColumns() const;
};

// Reads the history newest first, each question served by an index of
// ChangeHistory, so the answer costs the same on a million rows as on a few.
// An account that has no history table yet has no history.
class HistoryReader {
public:
    explicit HistoryReader(dbkit::DbLogin &login) : m_login(login) {}

    std::vector<HistoryEntry> read(const HistoryFilter &filter);
    // The statement read() runs for `filter`; the values its "?" stand for
    // are added to `values`.
    QString statement(const HistoryFilter &filter, QVariantList &values) const;
    // The names of the departments (cDepCode) that the warehouse rows of
    // `entries` name, by code, as the department table holds them now; a
    // department deleted since has none.
    QHash<QString, QString> departmentNames(const std::vector<HistoryEntry> &entries);
    // Everyone who may sign in, by code: each code with its name.
    std::vector<std::pair<QString, QString>> operators();

private:
    dbkit::DbLogin &m_login;
};

} // namespace services
