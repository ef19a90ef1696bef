#include "FieldTypeCode.h"

#include "DirectLoad.h"
#include "ExactNumbers.h"

namespace dbkit {

// From the field's declared type; the PostgreSQL driver's type ids tell more
// than the Qt type it maps them to.
int fieldTypeCode(const QSqlField &field, bool postgresDriver)
{
    if (isExactNumeric(field))
        return 131;
    if (postgresDriver) {
        if (const int code = postgresTypeCode(unsigned(field.typeID())); code >= 0)
            return code;
    }
    switch (field.metaType().id()) {
    case QMetaType::Bool: return 11;
    case QMetaType::Short:
    case QMetaType::UShort: return 2;
    case QMetaType::Int:
    case QMetaType::UInt: return 3;
    case QMetaType::LongLong:
    case QMetaType::ULongLong: return 20;
    case QMetaType::Float: return 4;
    case QMetaType::Double: return 5;
    case QMetaType::QDate: return 7;
    case QMetaType::QTime: return 134;
    case QMetaType::QDateTime: return 135;
    case QMetaType::QString: return 202;
    case QMetaType::QByteArray: return 205;
    default: return 12;
    }
}

} // namespace dbkit
