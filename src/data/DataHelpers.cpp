#include "DataHelpers.h"

#include "suite/dbkit/DbDataSet.h"
#include "suite/dbkit/DbError.h"

#include <QDate>
#include <QDateTime>
#include <QMetaType>
#include <charconv>
#include <cmath>

namespace depotbase {

namespace {

// A number as a user writes it: shortest text that reads back as the same
// value, never in exponent form (1e20 is "100000000000000000000").
QString plainNumber(double value)
{
    if (!std::isfinite(value))
        return QString::number(value);
    if (value == 0.0)
        return QStringLiteral("0");  // also turns -0 into 0
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::fixed);
    if (result.ec != std::errc())
        return QString::number(value, 'f');
    return QString::fromLatin1(buffer, int(result.ptr - buffer));
}

} // namespace

QString NullToEmpty(const QVariant &value)
{
    // Texts are nearly every cell of a list: take them without a conversion.
    if (value.typeId() == QMetaType::QString)
        return *static_cast<const QString *>(value.constData());
    if (!value.isValid() || value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::Double:
        return plainNumber(value.toDouble());
    case QMetaType::Float:
        return plainNumber(double(value.toFloat()));
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::QDateTime: {
        const QDateTime when = value.toDateTime();
        if (when.time() == QTime(0, 0))
            return when.date().toString(QStringLiteral("yyyy-MM-dd"));
        return when.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    }
    default:
        return value.toString();
    }
}

int RequiredField(const dbkit::DbDataSet &data, const char *field, const QString &what)
{
    const QString name = QString::fromLatin1(field);
    const int index = data.FieldIndex(name);
    if (index < 0)
        throw dbkit::DbError(dbkit::ErrorNumber::UnknownField,
                             QStringLiteral("no field %1 in %2").arg(name, what));
    return index;
}

QString CellText(const dbkit::DbDataSet &data, int field)
{
    if (const QAnyStringView text = data.FieldText(field); !text.isNull())
        return text.toString();
    return NullToEmpty(data.Fields(field));
}

QVariant EmptyToNull(const QString &boxText)
{
    if (boxText.isEmpty())
        return QVariant();
    return boxText;
}

} // namespace depotbase
