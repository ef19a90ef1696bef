#include "ServiceResult.h"

namespace services {

ServiceResult ServiceResult::refused(const QString &message, const QString &field,
                                     int errorNumber)
{
    return {Outcome::Refused, message, field, errorNumber};
}

} // namespace services
