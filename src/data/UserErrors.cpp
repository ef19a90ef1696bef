#include "UserErrors.h"

#include "suite/dbkit/DbError.h"

namespace depotbase {

QString UserErrorText(const QString &whatFailed, const dbkit::DbError &error)
{
    switch (error.number()) {
    case dbkit::ErrorNumber::ConnectionFailed:
    case dbkit::ErrorNumber::TimedOut:
    case dbkit::ErrorNumber::DatabaseBusy:
    case dbkit::ErrorNumber::TableExclusive:
        return error.description();
    default:
        return whatFailed + QLatin1Char('\n') + error.description();
    }
}

} // namespace depotbase
