#pragma once

#include <QString>

namespace services {

// Why a service refused a request. Callers decide by this, never by the text.
enum class Refusal {
    None,                 // done
    ReadOnly,             // the window was opened read-only
    Required,             // a required field is empty
    InvalidValue,         // a typed value names nothing stored, or is no valid value
    Duplicate,            // the same key or right is stored already
    Overlap,              // a right crosses another right of the same operator and warehouse
    WholeBesideNarrowed,  // a whole-warehouse right beside narrowed rights of the same pair
    ChangedMeanwhile,     // another operator changed the record since it was read
    DeletedMeanwhile,     // the record is no longer stored
    InUse,                // other tables refer to the record
    HasPositions,         // the warehouse still has storage positions
    Locked,               // another operator holds the record lock
    LockLost,             // the edit lock is no longer this operator's
    RecordLocked,         // the database holds the row for another connection
    Busy,                 // the database is busy with another connection's work
    ValueTooLong,         // a value is too long for its column
    ConnectionLost,       // the connection broke or the server did not answer in time:
                          // whether the change was stored is not known
    Failed,               // any other database failure: nothing was changed
};

// The refusal a database failure of the kit's number `errorNumber` amounts to;
// numbers some servers give for the same refusals count as the kit's own.
Refusal refusalOfError(int errorNumber);

// What a service did with a request: done, or refused with the reason, the
// text the window shows and the field the refusal concerns (so the window
// can put the focus there). A service never shows a window itself.
struct ServiceResult {
    Refusal refusal = Refusal::None;
    QString message;  // the catalogue's text, as the window shows it
    QString field;    // the column the refusal concerns; "" for none

    bool done() const { return refusal == Refusal::None; }
    static ServiceResult ok() { return {}; }
    static ServiceResult refused(Refusal refusal, const QString &message,
                                 const QString &field = QString());
};

} // namespace services
