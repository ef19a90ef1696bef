#pragma once

#include "services/RightRecord.h"

#include <QString>

#include <optional>

namespace load {

// One write an operator asked of a service that was told done, or whose
// answer was lost (stored or not, no one can tell). Refused writes are not
// kept: they must have left nothing behind.
struct Write {
    enum class Table { Warehouse, Right };
    enum class Action { Add, Change, Delete };
    Table table = Table::Warehouse;
    Action action = Action::Change;
    // The warehouse code or the right's Auto_id; empty for a right added
    // whose answer was lost, as its Auto_id never came back.
    QString key;
    bool done = false;     // else its answer was lost
    bool changes = true;   // done and the stored row changed: one history row
    long long startNs = 0;
    long long endNs = 0;
    // A right as an add or a change leaves it stored.
    std::optional<services::RightRecord> right;
};

} // namespace load
