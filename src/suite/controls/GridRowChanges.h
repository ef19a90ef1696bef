#pragma once

#include <QString>
#include <vector>

namespace controls {

// Rows a grid removes and inserts in one step (a batch of other seats'
// changes in a long list), and where a row that was there before stands
// afterwards. Rows are grid rows as they stand before the step.
struct GridRowChanges {
    struct Added {
        int before = 0;  // the row it goes before; the row count for the end
        std::vector<QString> cells;
    };
    // Data rows to remove, ascending and distinct.
    std::vector<int> removed;
    // Rows to insert, ascending by `before`; rows of one place in their order.
    std::vector<Added> added;

    bool empty() const { return removed.empty() && added.empty(); }
    // Where `row` stands after the step; for a removed row, where the row
    // after it stands.
    int movedRow(int row) const;
};

}  // namespace controls
