// Writing through a data set: AddNew/Edit + Collect + Update, and Delete.
// The pending record is kept here; DataSetWriter stores it.

#include "DbDataSet.h"

#include "DbError.h"
#include "internal/DataSetWriter.h"
#include "internal/DbDataSetImpl.h"
#include "internal/TableCatalog.h"

namespace dbkit {

void DbDataSet::Impl::leaveRecord()
{
    if (editing == Editing::None)
        return;
    if (pending.empty()) {
        if (editing == Editing::Adding)
            editing = Editing::None;
        return;
    }
    // Stored as if Update had been called; a refusal is reported to the mover.
    const Editing was = editing;
    editing = Editing::None;
    try {
        was == Editing::Adding ? DataSetWriter::storeNew(*this)
                               : DataSetWriter::storeChange(*this);
    } catch (...) {
        pending.clear();
        throw;
    }
    pending.clear();
}

void DbDataSet::Collect(const QString &name, const QVariant &value)
{
    if (d->editing == Impl::Editing::None)
        throw DbError(ErrorNumber::NotEditing, QStringLiteral("Collect without AddNew or Edit"),
                      QString(), d->sql);
    const int field = d->fieldIndex(name);
    const QString plain = unprefixedName(name).trimmed();
    if (field < 0 && !DataSetWriter::hasBaseColumn(*d, plain))
        throw DbError(ErrorNumber::UnknownField,
                      QStringLiteral("no field %1 in the data set").arg(name), QString(), d->sql);
    for (Impl::Pending &p : d->pending) {
        if ((field >= 0 && p.field == field)
            || (field < 0 && p.name.compare(plain, Qt::CaseInsensitive) == 0)) {
            p.value = value;
            return;
        }
    }
    d->pending.push_back({field >= 0 ? d->names[field] : plain, field, value});
}

void DbDataSet::AddNew()
{
    d->requireWritable();
    d->pending.clear();
    d->editing = Impl::Editing::Adding;
}

void DbDataSet::Edit()
{
    d->requireWritable();
    d->pending.clear();
    d->editing = Impl::Editing::Changing;
}

void DbDataSet::Update()
{
    if (d->editing == Impl::Editing::None)
        throw DbError(ErrorNumber::NotEditing, QStringLiteral("Update without AddNew or Edit"),
                      QString(), d->sql);
    const Impl::Editing was = d->editing;
    // The pending record is spent whether or not the database takes it: the
    // caller keeps what the user typed and starts a new AddNew/Edit to retry.
    struct Finish {
        Impl &d;
        ~Finish()
        {
            d.editing = Impl::Editing::None;
            d.pending.clear();
        }
    } finish{*d};
    if (was == Impl::Editing::Adding)
        DataSetWriter::storeNew(*d);
    else
        DataSetWriter::storeChange(*d);
}

void DbDataSet::CancelUpdate()
{
    d->editing = Impl::Editing::None;
    d->pending.clear();
}

void DbDataSet::Delete(long affectRecords)
{
    Q_UNUSED(affectRecords);  // only the current record is ever deleted
    d->requireWritable();
    CancelUpdate();
    DataSetWriter::deleteCurrent(*d);
}

} // namespace dbkit
