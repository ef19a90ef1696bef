#pragma once

#include <QString>
#include <QAnyStringView>
#include <QVariant>
#include <cstddef>
#include <memory>

namespace dbkit {

class ColumnStore;
class DbDataSet;

// The rows of a data set as they were read, for a reader that shows them
// for a while (a grid): they stay exactly as they are for as long as the
// view is kept, whatever the data set does next (a requery reads into rows
// of its own, a write copies them first). Reading a cell copies nothing.
class DbRows {
public:
    DbRows() = default;
    explicit DbRows(std::shared_ptr<const ColumnStore> rows);

    size_t rowCount() const;
    int columnCount() const;
    // A cell as Fields reads it; an invalid QVariant outside the rows.
    QVariant value(size_t row, int field) const;
    // The stored text of a text cell, without a copy (valid while the view
    // is kept): Latin-1 or UTF-16 as the column keeps it; a null view for
    // Null, a value that is not a text, or a cell outside the rows.
    QAnyStringView text(size_t row, int field) const;

private:
    std::shared_ptr<const ColumnStore> m_rows;
};

// The rows of a data set as they are now, kept as they are for as long as
// the result is kept.
DbRows rowsOf(const DbDataSet &data);

} // namespace dbkit
