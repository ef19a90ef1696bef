#include "ServiceResult.h"

#include "suite/dbkit/DbError.h"

namespace services {

namespace {

namespace ErrorNumber = dbkit::ErrorNumber;

// Numbers a server or driver gives a refusal by related records or a
// duplicate key, beside the kit's own.
constexpr int RelatedRecordsAlt = 3396;
constexpr int DuplicateKeyAlt = -2147220991;  // 0x80040201

} // namespace

Refusal refusalOfError(int errorNumber)
{
    switch (errorNumber) {
    case ErrorNumber::DuplicateKey:
    case DuplicateKeyAlt: return Refusal::Duplicate;
    case ErrorNumber::RelatedRecords:
    case RelatedRecordsAlt: return Refusal::InUse;
    case ErrorNumber::RecordDeleted: return Refusal::DeletedMeanwhile;
    case ErrorNumber::RecordLocked: return Refusal::RecordLocked;
    case ErrorNumber::TableExclusive:
    case ErrorNumber::DatabaseBusy: return Refusal::Busy;
    case ErrorNumber::ValueTooLong: return Refusal::ValueTooLong;
    case ErrorNumber::ConnectionFailed:
    case ErrorNumber::TimedOut: return Refusal::ConnectionLost;
    default: return Refusal::Failed;
    }
}

ServiceResult ServiceResult::refused(Refusal refusal, const QString &message,
                                     const QString &field)
{
    return {refusal, message, field};
}

} // namespace services
