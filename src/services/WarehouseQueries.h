#pragma once

#include "WarehouseFilter.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

namespace dbkit {
class DbLogin;
class DbDataSet;
}

namespace services {

// A read that may fail: what it read, or the text the window tells instead
// (a sentence of ours over the engine's own text).
template <typename Rows>
struct ReadOutcome {
    Rows rows{};
    QString failure;

    bool failed() const { return !failure.isEmpty(); }
};

// The reads of the warehouse list and its filter dialog: the list itself,
// the list narrowed by a filter, the values a filter box may offer, and the
// criteria a find hands to the list's data set. Statements keep the
// department name beside each warehouse (a warehouse without a department
// is listed too).
class WarehouseQueries {
public:
    explicit WarehouseQueries(dbkit::DbLogin &login) : m_login(login) {}

    // Every warehouse with its department's name, by code.
    static QString listStatement();
    // The same narrowed by a filter's condition (every warehouse for an
    // empty filter), the condition's texts bound: their values are added to
    // `values`.
    static QString filteredListStatement(const WarehouseFilter &filter, QVariantList &values);
    // The same narrowed to the warehouses of `codes` as well; the codes and
    // then the condition's texts are added to `values`.
    static QString listedCodesStatement(const WarehouseFilter &filter, const QStringList &codes,
                                        QVariantList &values);
    // The statement that lists the values of one filter box's column.
    static QString valueListStatement(FilterField field);
    // The criterion that finds the warehouse of a code in the list's data set.
    static QString codeCriterion(const QString &code);

    // Positions the list's data set on the first warehouse a find asks for
    // and returns its code; nullopt (the data set's position then undefined)
    // when none matches. A find that compares nothing is never run.
    static std::optional<QString> findFirst(dbkit::DbDataSet &list,
                                            const WarehouseFilter &filter);
    // Positions the list's data set on the warehouse of `code`; false when
    // the data set holds none.
    static bool findCode(dbkit::DbDataSet &list, const QString &code);

    // The warehouses a filter lets through, in a data set of their own. A
    // condition the database cannot run (a quota such as "1.2.3") comes back
    // as a failure.
    ReadOutcome<std::shared_ptr<dbkit::DbDataSet>> filteredList(const WarehouseFilter &filter);
    // The warehouses of `codes` as the list shows them under `filter` (every
    // warehouse for an empty one), read again by key: one data set per
    // `codesPerRead` codes. A warehouse gone or not let through has no row.
    // A failure throws the kit's error (run it through services::guarded).
    static constexpr int codesPerRead = 500;
    std::vector<std::shared_ptr<dbkit::DbDataSet>> listedRows(const WarehouseFilter &filter,
                                                              const QStringList &codes);
    // The values the column of a filter box holds, each once and none empty,
    // in the order the statement reads them.
    ReadOutcome<QStringList> filterValues(FilterField field);

private:
    dbkit::DbLogin &m_login;
};

} // namespace services
