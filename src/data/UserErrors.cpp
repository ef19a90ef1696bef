#include "UserErrors.h"

#include "suite/dbkit/DbError.h"

namespace depotbase {

QString UserErrorText(const QString &whatFailed, const dbkit::DbError &error)
{
    return UserErrorText(whatFailed, error.number(), error.description());
}

QString UserErrorText(const QString &whatFailed, int errorNumber, const QString &description)
{
    switch (errorNumber) {
    case dbkit::ErrorNumber::ConnectionFailed:
    case dbkit::ErrorNumber::TimedOut:
    case dbkit::ErrorNumber::DatabaseBusy:
    case dbkit::ErrorNumber::TableExclusive:
        return description;
    default:
        return whatFailed + QLatin1Char('\n') + description;
    }
}

} // namespace depotbase
