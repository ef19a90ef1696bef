#pragma once

#include <QString>
#include <QAnyStringView>
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
    // The same text without a copy where the source keeps it as shown
    // (Latin-1 or UTF-16); a null view where the text is made when asked
    // for (a formatted number). Views of one stored text share their
    // characters.
    virtual QAnyStringView storedText(size_t /*row*/, int /*col*/) const { return {}; }
};

} // namespace controls
