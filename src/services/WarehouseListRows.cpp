#include "WarehouseListRows.h"

#include "WarehouseQueries.h"
#include "data/DataHelpers.h"
#include "suite/dbkit/DbDataSet.h"

namespace services::warehouse_list {

bool isReadOnly(const dbkit::DbDataSet &list)
{
    return list.openMode() == dbkit::OpenMode::ReadOnly;
}

long long requery(dbkit::DbDataSet &list)
{
    list.Requery(-1);
    return list.RecordCount();
}

long long moveToFirst(dbkit::DbDataSet &list)
{
    if (list.BOF() && list.Eof())
        return 0;
    list.MoveFirst();
    return list.RecordCount();
}

Position position(dbkit::DbDataSet &list, Move move, const QString &gridCode)
{
    list.Requery(-1);
    auto findGridRow = [&] { return WarehouseQueries::findCode(list, gridCode); };
    if (list.Eof() || list.BOF()) {
        if (list.RecordCount() == 0)
            return {};
        return {findGridRow(), QString()};
    }
    switch (move) {
    case Move::Previous:
    case Move::Next: {
        // From the warehouse of the grid's current row, not from the first record.
        if (!findGridRow())
            return {};
        const bool back = move == Move::Previous;
        back ? list.MovePrevious() : list.MoveNext();
        if (back ? list.BOF() : list.Eof()) {
            back ? list.MoveFirst() : list.MoveLast();
            return {};
        }
        return {true, depotbase::NullToEmpty(list.Fields(QStringLiteral("cWhCode")))};
    }
    case Move::Current: return {findGridRow(), QString()};
    case Move::First: list.MoveFirst(); return {true, QString()};
    case Move::Last: list.MoveLast(); return {true, QString()};
    }
    return {true, QString()};
}

}  // namespace services::warehouse_list
