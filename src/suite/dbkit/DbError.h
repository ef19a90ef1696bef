#pragma once

#include "export/DepotbaseExport.h"

#include <QString>
#include <stdexcept>

namespace dbkit {

// Error numbers the component tells apart. Each engine's native codes are
// mapped onto these in the engine's SqlDialect.
namespace ErrorNumber {
constexpr int DuplicateKey = 3022;
constexpr int ValueTooLong = 3163;
constexpr int RecordDeleted = 3167;      // the record was deleted by another operator
constexpr int RelatedRecords = 3200;     // other tables hold records that refer to this one
constexpr int RecordLocked = 3260;       // another operator holds a lock on the record
constexpr int TableExclusive = 3261;     // another operator holds the table exclusively
constexpr int DatabaseBusy = 3262;       // the database file is busy with another
                                         // connection's write (SQLite); retry later
constexpr int ReadOnlyDataSet = 3027;    // write on a data set opened read-only (mode 4)
constexpr int BadCriteria = 3077;        // FindFirst criterion cannot be parsed / unknown column
constexpr int NoCurrentRecord = 3021;    // field access at BOF/EOF
constexpr int UnknownField = 3265;       // no field of that name
constexpr int NotEditing = 3020;         // Update without AddNew/Edit
constexpr int ConnectionFailed = 3151;   // the account database cannot be opened, or the
                                         // connection was lost (reopened by the next command)
constexpr int TimedOut = 3234;           // a statement ran over its time limit (PostgreSQL
                                         // statement_timeout, SQLSTATE 57014)
constexpr int NoPrimaryKey = 3251;       // data-set write on a table without a primary key
constexpr int Cancelled = 3059;          // a background read its owner cancelled
constexpr int General = 3146;            // any other engine failure
}

// Raised by every failing operation of the kit.
class DEPOTBASE_EXPORT DbError : public std::runtime_error {
public:
    DbError(int number, const QString &description, const QString &nativeCode = QString(),
            const QString &statement = QString());

    int number() const { return m_number; }
    // The engine's (or the kit's) description of the failure, shown to users
    // where a procedure reports "the error's own description".
    QString description() const { return m_description; }
    QString nativeCode() const { return m_nativeCode; }
    QString statement() const { return m_statement; }

private:
    int m_number;
    QString m_description;
    QString m_nativeCode;
    QString m_statement;
};

} // namespace dbkit
