#pragma once

// Internal: exact numerics (numeric / decimal columns) are read as decimal
// text on the engines that store them exactly, so a value such as
// 9999999999999.999 never passes through a double.

#include <QByteArrayView>
#include <QSqlField>
#include <QString>
#include <QVariant>
#include <cstddef>

class QSqlQuery;

namespace dbkit {

// A stored decimal as the kit hands it out: trailing zeros of the fraction
// (the column's scale) dropped, and the point when nothing follows it:
// "12.4500" -> "12.45", "0.0000" -> "0". Other texts are kept as they are.
QString decimalText(QByteArrayView stored);
// How many of a stored decimal's characters decimalText() keeps, for a loader
// that writes them straight into a column.
template <class Char>
size_t decimalLength(const Char *stored, size_t length)
{
    bool point = false;
    for (size_t i = 0; i < length; ++i) {
        if (stored[i] == Char('e') || stored[i] == Char('E'))
            return length;
        point = point || stored[i] == Char('.');
    }
    if (!point)
        return length;
    while (length > 0 && stored[length - 1] == Char('0'))
        --length;
    if (length > 0 && stored[length - 1] == Char('.'))
        --length;
    return length;
}

// Whether a field read through a Qt driver is a numeric / decimal column.
bool isExactNumeric(const QSqlField &field);

// Makes the query hand out exact numerics as text (PostgreSQL, ODBC); a
// SQLite database stores them as doubles and keeps reading doubles.
void readNumbersExactly(QSqlQuery &query);

// The value of a field read by such a query: an exact numeric as decimal
// text, any other number the driver handed out as text as a double.
QVariant exactValue(const QSqlField &field);

} // namespace dbkit
