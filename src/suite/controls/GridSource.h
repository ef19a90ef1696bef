#pragma once

#include <QString>
#include <cstddef>

namespace controls {

// Rows a grid shows without copying them: the grid keeps the source and
// reads a cell's text from it whenever the cell is shown, sorted, searched
// or written out. A cell the windows write afterwards is kept by the grid
// itself; the source is never changed.
class GridSource {
public:
    virtual ~GridSource() = default;
    virtual size_t rowCount() const = 0;
    // The text of grid column `col` of source row `row`.
    virtual QString text(size_t row, int col) const = 0;
};

} // namespace controls
