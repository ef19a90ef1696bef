#include "DataSetGridSource.h"

#include "data/DataHelpers.h"
#include "suite/dbkit/DbRows.h"

#include <utility>

namespace depotbase {

DataSetGridSource::DataSetGridSource(const dbkit::DbDataSet &data, std::vector<Column> columns)
    : m_rows(std::make_unique<const dbkit::DbRows>(dbkit::rowsOf(data))),
      m_columns(std::move(columns))
{
}

DataSetGridSource::~DataSetGridSource() = default;

size_t DataSetGridSource::rowCount() const
{
    return m_rows->rowCount();
}

QString DataSetGridSource::text(size_t row, int col) const
{
    if (col < 0 || size_t(col) >= m_columns.size())
        return QString();
    const Column &column = m_columns[size_t(col)];
    if (column.format)
        return column.format(m_rows->value(row, column.field));
    if (const QAnyStringView stored = m_rows->text(row, column.field); !stored.isNull())
        return stored.toString();
    return NullToEmpty(m_rows->value(row, column.field));
}

QAnyStringView DataSetGridSource::storedText(size_t row, int col) const
{
    if (col < 0 || size_t(col) >= m_columns.size() || m_columns[size_t(col)].format)
        return QAnyStringView();
    return m_rows->text(row, m_columns[size_t(col)].field);
}

} // namespace depotbase
