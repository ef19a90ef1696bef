#include "DbError.h"

namespace dbkit {

DbError::DbError(int number, const QString &description, const QString &nativeCode,
                 const QString &statement)
    : std::runtime_error(QStringLiteral("%1: %2").arg(number).arg(description).toStdString()),
      m_number(number), m_description(description), m_nativeCode(nativeCode),
      m_statement(statement)
{
}

} // namespace dbkit
