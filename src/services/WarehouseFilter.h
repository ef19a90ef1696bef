#pragma once

#include <QString>
#include <QVariantList>
#include <array>

namespace services {

// What the position check box of the filter dialog asks for: any warehouse
// (no position part), only managed ones, or only those not managed (a Null
// flag counts as not managed, as the list and the card show it).
enum class FilterPositions { Any, Managed, NotManaged };

// The warehouse columns a filter compares, top to bottom as the filter
// dialog shows them.
enum class FilterField {
    Code,
    Name,
    Department,
    Person,
    Phone,
    FundQuota,
    ValueStyle,
    Address,
    Memo,
};

// What the user asked of the warehouse list in the filter dialog: the text
// of each column's box (empty: that column is not compared), the position
// check box, and whether it locates a warehouse or narrows the list.
struct WarehouseFilter {
    static constexpr int FieldCount = 9;

    std::array<QString, FieldCount> texts;
    FilterPositions positions = FilterPositions::Any;
    bool find = false;

    const QString &text(FilterField field) const { return texts.at(size_t(field)); }
    QString &text(FilterField field) { return texts.at(size_t(field)); }
};

// The condition of a filter as a find hands it to the data set (the kit's
// criteria, never sent to a server): "cWHCode='01' And ... And bWHPos=1".
// Empty boxes add nothing; texts are compared as typed, their quotes doubled
// so that no text changes the condition's shape. The fund quota is compared
// rounded to the decimals typed.
QString filterCondition(const WarehouseFilter &filter);
// The same condition for a statement sent to the database: each text stands
// as a "?" whose value is added to `values` (a quota that is a number is
// written in as it is).
QString filterCondition(const WarehouseFilter &filter, QVariantList &values);

// Decimals the fund quota is rounded to before comparing: the digits after
// the first "."; a text without "." counts all of its characters.
int quotaDecimals(const QString &text);

// True when a fund quota text is a number the condition can compare:
// digits with at most one "." between digits, an optional leading "-".
bool isQuotaNumber(const QString &text);

} // namespace services
