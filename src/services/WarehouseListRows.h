#pragma once

#include <QString>

namespace dbkit {
class DbDataSet;
}

// The warehouse list's data set as the list window keeps it: the window
// holds it without reaching into it, and these read it again, count it and
// move it for the window.
namespace services::warehouse_list {

// True when the list's data set was opened read-only: nothing may be written.
bool isReadOnly(const dbkit::DbDataSet &list);

// Reads the data set again; how many warehouses it holds now.
long long requery(dbkit::DbDataSet &list);

// Stands the data set on its first warehouse; how many warehouses it holds
// (0 for none).
long long moveToFirst(dbkit::DbDataSet &list);

// Where a move of the list goes: the warehouse the grid shows as current,
// the first or last warehouse, or the one before or after the grid's.
enum class Move { Current, First, Last, Previous, Next };

// Where the data set stands after a move. `found` is false when the list is
// empty, the grid's warehouse is gone, or a move runs past either end (the
// data set then stands on that end). `movedTo` is the code a move to the
// previous or next warehouse reached, for the grid to follow; empty otherwise.
struct Position {
    bool found = false;
    QString movedTo;
};

// Reads the data set again and positions it by `move`, starting from the
// warehouse of code `gridCode` (the grid's current row).
Position position(dbkit::DbDataSet &list, Move move, const QString &gridCode);

}  // namespace services::warehouse_list
