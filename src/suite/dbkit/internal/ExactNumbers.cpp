#include "ExactNumbers.h"

#include <QSqlDriver>
#include <QSqlQuery>

namespace dbkit {

namespace {

constexpr int postgresNumericOid = 1700;
constexpr int odbcNumeric = 2;  // SQL_NUMERIC
constexpr int odbcDecimal = 3;  // SQL_DECIMAL

} // namespace

bool isExactNumeric(const QSqlField &field)
{
    const int type = field.typeID();
    // QPSQL gives the type's oid, QODBC the ODBC SQL type; the oid 1700 is no
    // SQL type, and the SQL types 2 and 3 are no oids QPSQL reports as doubles.
    return field.metaType().id() == QMetaType::Double
           && (type == postgresNumericOid || type == odbcNumeric || type == odbcDecimal);
}

QString decimalText(QByteArrayView stored)
{
    return QString::fromLatin1(stored.first(
        qsizetype(decimalLength(stored.data(), size_t(stored.size())))));
}

void readNumbersExactly(QSqlQuery &query)
{
    const QSqlDriver *driver = query.driver();
    const bool sqlite = driver && driver->dbmsType() == QSqlDriver::SQLite;
    query.setNumericalPrecisionPolicy(sqlite ? QSql::LowPrecisionDouble : QSql::HighPrecision);
}

QVariant exactValue(const QSqlField &field)
{
    QVariant value = field.value();
    // QODBC hands a real (single precision) column out as text too.
    const int type = field.metaType().id();
    if (value.isNull() || value.typeId() != QMetaType::QString
        || (type != QMetaType::Double && type != QMetaType::Float))
        return value;
    if (isExactNumeric(field))
        return decimalText(value.toString().toLatin1());
    return value.toDouble();
}

} // namespace dbkit
