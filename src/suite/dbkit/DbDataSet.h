#pragma once

#include "export/DepotbaseExport.h"

#include <QString>
#include <QStringList>
#include <QAnyStringView>
#include <QVariant>
#include <memory>
#include <vector>

namespace dbkit {

class DbLogin;
class Criteria;
class DataSetWriter;
class DbRows;

// Open modes understood by DbLogin::OpenDataSet.
namespace OpenMode {
constexpr int Default = 2;   // updatable snapshot
constexpr int ReadOnly = 4;  // snapshot that refuses every write
}

// A client-side snapshot of one statement's rows with a current record.
// Writes (AddNew/Edit + Collect + Update, Delete) go to the statement's base
// table by its primary key as parameterised statements.
//
// BOF/EOF keep their recordset meaning: BOF is true before the first record,
// EOF after the last; both are true on an empty data set. EOF is a C macro,
// so the end-of-data test is spelled Eof().
class DEPOTBASE_EXPORT DbDataSet {
public:
    ~DbDataSet();
    DbDataSet(const DbDataSet &) = delete;
    DbDataSet &operator=(const DbDataSet &) = delete;

    bool BOF() const;
    bool Eof() const;
    long RecordCount() const;
    bool NoMatch() const;
    int openMode() const;
    QString statement() const;

    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrevious();
    // Moves to the first record meeting the criterion ("cWhCode='01'",
    // "cDepCode='x' Or cDepName='x'", "round(iWHFundQuota,1) =12.5 And bWHPos=0"...).
    // Sets NoMatch; on no match the current record does not move.
    // A criterion that cannot be parsed or names an unknown column throws.
    void FindFirst(const QString &criteria);
    // Re-runs the statement; the data set is then on its first record.
    void Requery(long options = -1);

    // Field count and names as the statement returned them.
    int FieldCount() const;
    QString FieldName(int index) const;
    // Index of a field by name: case-insensitive, a "Table." prefix is optional.
    // -1 when there is none.
    int FieldIndex(const QString &name) const;
    // Value of a field of the current record (Null reads as an invalid/null QVariant).
    // During AddNew/Edit the pending value is returned.
    // Exact numerics (numeric / decimal columns such as iWhFundQuota):
    //   PostgreSQL (directly or through ODBC): a QString of the stored decimal with the
    //     scale's trailing zeros dropped ("12.45", "9999999999999.999", "0"), never a double;
    //   SQLite, whose numeric columns hold doubles: a double (exact up to 15 significant
    //     digits).
    // Writing a QString to such a column stores that decimal exactly on PostgreSQL.
    QVariant Fields(int index) const;
    QVariant Fields(const QString &name) const;
    // The stored text of a text field of the current record, without a copy
    // (valid until the data set changes), Latin-1 or UTF-16 as the column
    // keeps it; a null view when the field is
    // Null, not a text, or has a pending value. For loops over many rows
    // (filling a grid); Fields is the general read.
    QAnyStringView FieldText(int index) const;
    // The declared type of a field as a recordset data-type code: 11 boolean,
    // 2 smallint, 3 integer, 20 bigint, 4 single, 5 double, 131 numeric/decimal,
    // 7 date, 134 time, 135 timestamp, 202 text/varchar, 205 binary, 12 other.
    // A computed column (count(*)) gets the code of the values it holds.
    // Used by the report output to choose column kinds.
    int FieldType(int index) const;

    // Write a field of the pending record during AddNew or Edit.
    void Collect(const QString &name, const QVariant &value);

    void AddNew();
    void Edit();
    // Stores the pending record. After AddNew the new record becomes the
    // current one with its identity key (if any) read back from the database.
    void Update();
    void CancelUpdate();
    // Deletes the current record only.
    void Delete(long affectRecords = 1);
    bool isEditing() const;

    DbLogin &login() const;

private:
    friend class DbLogin;
    friend class DataSetWriter;
    friend class BackgroundRead;
    friend DbRows rowsOf(const DbDataSet &data);
    struct Impl;
    explicit DbDataSet(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> d;
};

using DbDataSetPtr = std::shared_ptr<DbDataSet>;

} // namespace dbkit
