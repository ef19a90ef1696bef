#pragma once

#include <QString>
#include <QVariant>

namespace dbkit {
class DbDataSet;
}

namespace depotbase {

// "" for Null, else the value as text (0 gives "0").
QString NullToEmpty(const QVariant &value);

// Null when the box's text is "", else the text, so that assigning the
// result to a field stores the box's value.
QVariant EmptyToNull(const QString &boxText);

// The position of a field a list cannot do without; throws DbError
// UnknownField naming it when the data set has none, telling what it is for.
int RequiredField(const dbkit::DbDataSet &data, const char *field, const QString &what);

// A field of the current record as a grid cell shows it: a text as it is
// stored, without a conversion; anything else goes through NullToEmpty.
QString CellText(const dbkit::DbDataSet &data, int field);

} // namespace depotbase
