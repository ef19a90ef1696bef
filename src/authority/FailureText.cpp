#include "FailureText.h"

#include "services/DatabaseFailure.h"

QString failureText(const QString &whatFailed, const services::DatabaseFailure &failure)
{
    using services::Refusal;
    if (failure.refusal == Refusal::ConnectionLost || failure.refusal == Refusal::Busy)
        return failure.description;
    return whatFailed + QLatin1Char('\n') + failure.description;
}
