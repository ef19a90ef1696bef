#include "DbRows.h"

#include "internal/ColumnStore.h"

#include <utility>

namespace dbkit {

DbRows::DbRows(std::shared_ptr<const ColumnStore> rows) : m_rows(std::move(rows)) {}

size_t DbRows::rowCount() const
{
    return m_rows ? m_rows->rowCount() : 0;
}

int DbRows::columnCount() const
{
    return m_rows ? m_rows->columnCount() : 0;
}

QVariant DbRows::value(size_t row, int field) const
{
    if (row >= rowCount() || field < 0 || field >= columnCount())
        return QVariant();
    return m_rows->value(row, field);
}

QAnyStringView DbRows::text(size_t row, int field) const
{
    if (row >= rowCount() || field < 0 || field >= columnCount())
        return QAnyStringView();
    return m_rows->column(field).storedText(row);
}

} // namespace dbkit
