#pragma once

#include "suite/controls/GridSource.h"

#include <QString>
#include <QVariant>
#include <memory>
#include <vector>

namespace dbkit {
class DbDataSet;
class DbRows;
}

namespace depotbase {

// A list's rows shown in its grid straight from the data set they were read
// into: the grid keeps no texts of its own for them, and the rows stay as
// they were read whatever the data set does next.
class DataSetGridSource final : public controls::GridSource {
public:
    // How a column shows its field's value; nullptr shows it as NullToEmpty
    // does (a text as it is stored).
    using Format = QString (*)(const QVariant &value);
    struct Column {
        int field = -1;
        Format format = nullptr;
    };

    DataSetGridSource(const dbkit::DbDataSet &data, std::vector<Column> columns);
    ~DataSetGridSource() override;

    size_t rowCount() const override;
    QString text(size_t row, int col) const override;
    QAnyStringView storedText(size_t row, int col) const override;

private:
    std::unique_ptr<const dbkit::DbRows> m_rows;
    std::vector<Column> m_columns;
};

} // namespace depotbase
