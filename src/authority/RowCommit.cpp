#include "RowCommit.h"

#include "AuthorityLookups.h"
#include "data/Catalogue.h"

#include <algorithm>
#include <utility>

namespace text = depotbase::text;

using services::Refusal;
using services::ServiceResult;

namespace {

using C = RightsColumns;

// The first and last cell a column's value fills: the code and its names.
std::pair<int, int> cellGroup(int col)
{
    switch (col) {
    case C::ColOther: return {C::ColOther, C::ColOtherName};
    case C::ColClass: return {C::ColClass, C::ColClassName};
    case C::ColInv: return {C::ColInv, C::ColInvStd};
    default: return {col, col};
    }
}

// The column of a refused field; `otherwise` for any other field.
int columnOfField(const QString &field, int otherwise)
{
    if (field == QLatin1String("cInvCCode"))
        return C::ColClass;
    if (field == QLatin1String("cInvCode"))
        return C::ColInv;
    return otherwise;
}

QString readOnlyText()
{
    return QStringLiteral("仓库权限以只读方式打开，不能增加、修改或删除！");
}

// The database failed the write (busy, lost, a value too long): the values
// typed are not what was refused, so the row keeps them for its next commit.
bool failedByDatabase(Refusal refusal)
{
    switch (refusal) {
    case Refusal::ValueTooLong:
    case Refusal::Busy:
    case Refusal::RecordLocked:
    case Refusal::InUse:
    case Refusal::ConnectionLost:
    case Refusal::Failed: return true;
    default: return false;
    }
}

} // namespace

RowCommit::RowCommit(const services::Account &account, bool readOnly, Tell tell)
    : m_queries(account.login()), m_rights(account.login()), m_readOnly(readOnly),
      m_tell(std::move(tell))
{
}

bool RowCommit::refusesWrites()
{
    if (m_readOnly)
        m_tell(readOnlyText());
    return m_readOnly;
}

services::RightRecord RowCommit::rightOf(const GridRow &row)
{
    const auto &cells = row.cells;
    services::RightRecord right;
    right.autoId = cells.at(ColAutoId).toLongLong();
    if (row.node.kind == services::NodeKind::Operator) {
        right.operatorCode = row.node.code;
        right.operatorName = row.node.name;
        right.warehouseCode = cells.at(ColOther);
    } else {
        right.operatorCode = cells.at(ColOther);
        right.operatorName = cells.at(ColOtherName);
        right.warehouseCode = row.node.code;
    }
    const QString money = cells.at(ColShowMoney);
    right.showMoney = !(money.isEmpty() || money == depotbase::LoadResString(text::No));
    right.classCode = cells.at(ColClass);
    right.itemCode = cells.at(ColInv);
    return right;
}

bool RowCommit::wholeWarehouse(const GridRow &row)
{
    return row.cells.at(ColClass).isEmpty() && row.cells.at(ColInv).isEmpty();
}

void RowCommit::rememberRead(const std::vector<GridRow> &rows)
{
    m_asRead.clear();
    for (const GridRow &row : rows) {
        const services::RightRecord right = rightOf(row);
        if (right.autoId != 0)
            m_asRead.insert(right.autoId, right);
    }
}

void RowCommit::rememberStored(const GridRow &row)
{
    const services::RightRecord right = rightOf(row);
    m_asRead.insert(right.autoId, right);
}

bool RowCommit::holdsUnstored(const GridRow &row) const
{
    const services::RightRecord shown = rightOf(row);
    if (shown.autoId == 0)
        return true;
    const auto read = m_asRead.constFind(shown.autoId);
    if (read == m_asRead.cend())
        return false;
    return shown.operatorCode != read->operatorCode || shown.warehouseCode != read->warehouseCode
           || shown.showMoney != read->showMoney || shown.classCode != read->classCode
           || shown.itemCode != read->itemCode;
}

ServiceResult RowCommit::insert(GridRow &row)
{
    if (m_readOnly)
        return ServiceResult::refused(Refusal::ReadOnly, readOnlyText());
    services::RightRecord right = rightOf(row);
    right.autoId = 0;
    ServiceResult result = m_rights.insert(right);
    if (result.done()) {
        row.cells[ColAutoId] = QString::number(right.autoId);
        // Stored without money shown: the row says so, as the table does.
        if (row.cells[ColShowMoney].isEmpty())
            row.cells[ColShowMoney] = depotbase::LoadResString(text::No);
        m_asRead.insert(right.autoId, right);
        // Rows down to this one count as written; one among them that is
        // not (its right deleted by another administrator) is known by
        // its empty Auto_id.
        row.lastSavedRow = std::max(row.lastSavedRow, row.row);
        row.insertedRow = row.row;
    }
    return result;
}

ServiceResult RowCommit::update(GridRow &row)
{
    if (m_readOnly)
        return ServiceResult::refused(Refusal::ReadOnly, readOnlyText());
    if (row.cells.at(ColAutoId).isEmpty())
        return insert(row);
    const services::RightRecord right = rightOf(row);
    // A row not noted as read is taken as it is stored now.
    const std::optional<services::RightRecord> asRead =
        m_asRead.contains(right.autoId) ? m_asRead.value(right.autoId)
                                        : m_rights.find(right.autoId);
    if (!asRead)
        return ServiceResult::refused(Refusal::DeletedMeanwhile,
                                      services::RightsService::goneOnSaveMessage());
    ServiceResult result = m_rights.update(right, *asRead);
    if (result.done())
        m_asRead.insert(right.autoId, right);
    return result;
}

bool RowCommit::save(GridRow &row, int col)
{
    // A row below the written ones is new, and so is a row whose right
    // another administrator deleted. The last written row is rewritten only
    // while the cursor stays on it; a row above it always is.
    const bool isNew = row.row > row.lastSavedRow || row.cells.at(ColAutoId).isEmpty();
    ServiceResult result;
    if (isNew)
        result = insert(row);
    else if (row.row == row.lastSavedRow ? !row.rowMoved : row.row >= 1)
        result = update(row);
    if (result.done())
        return false;
    if (result.refusal == Refusal::DeletedMeanwhile) {
        m_tell(result.message);
        setNew(row);
        return false;
    }
    if (result.refusal == Refusal::ChangedMeanwhile) {
        m_tell(result.message);
        restoreAll(row);
        return true;
    }
    // A new row of a warehouse (or operator) the pair already has rights on
    // is only a step towards a narrowed right: nothing is stored or said
    // yet, and leaving the row tells the overlap.
    if (isNew && wholeWarehouse(row) && result.refusal == Refusal::WholeBesideNarrowed)
        return false;
    m_tell(result.message);
    // A busy or lost database refused nothing: the row stays as typed, to
    // be stored by its next commit.
    if (failedByDatabase(result.refusal))
        return false;
    refuse(row, columnOfField(result.field, col));
    return true;
}

void RowCommit::setNew(GridRow &row)
{
    row.cells[ColAutoId].clear();
    // Only the last written row moves the bound: the written rows below a
    // row made new stay written.
    if (row.row == row.lastSavedRow)
        --row.lastSavedRow;
}

void RowCommit::refuse(GridRow &row, int col)
{
    restoreStored(row, col);
    // A narrowing refused in the same editing that stored the row as a
    // whole-warehouse right takes that right back: the user never confirmed it.
    if (row.row == row.insertedRow && wholeWarehouse(row) && (col == ColClass || col == ColInv)
        && remove(row)) {
        setNew(row);
        row.insertedRow = 0;
    }
}

void RowCommit::restoreStored(GridRow &row, int col)
{
    const auto [first, last] = cellGroup(col);
    const QString autoId = row.cells.at(ColAutoId);
    // A new row keeps the code the user typed, so it can be corrected.
    if (autoId.isEmpty() && col == ColOther)
        return;
    const auto stored =
        autoId.isEmpty()
            ? std::nullopt
            : authoritylookups::storedCells(m_queries, autoId.toLongLong(), row.node.kind);
    for (int c = first; c <= last; ++c)
        row.cells[size_t(c)] = stored ? stored->at(size_t(c)) : QString();
}

void RowCommit::restoreAll(GridRow &row)
{
    const long long autoId = row.cells.at(ColAutoId).toLongLong();
    const auto stored = authoritylookups::storedCells(m_queries, autoId, row.node.kind);
    if (!stored) {
        setNew(row);
        return;
    }
    row.cells = *stored;
    m_asRead.insert(autoId, rightOf(row));
}

bool RowCommit::remove(GridRow &row)
{
    const QString autoId = row.cells.at(ColAutoId);
    if (autoId.isEmpty())
        return true;
    const std::optional<services::RightRecord> asRead =
        m_asRead.contains(autoId.toLongLong())
            ? std::optional<services::RightRecord>(m_asRead.value(autoId.toLongLong()))
            : std::nullopt;
    const ServiceResult result = m_rights.remove(autoId.toLongLong(), asRead);
    // Deleted by another administrator meanwhile: gone either way.
    if (!result.done() && result.refusal != Refusal::DeletedMeanwhile) {
        m_tell(result.message);
        if (result.refusal == Refusal::ChangedMeanwhile)
            restoreAll(row);
        return false;
    }
    m_asRead.remove(autoId.toLongLong());
    return true;
}

bool RowCommit::fitsStored(const GridRow &row)
{
    // A row without its other side is no right yet.
    if (row.cells.at(ColOther).isEmpty() || row.cells.at(ColOtherName).isEmpty())
        return true;
    const ServiceResult result = m_rights.validate(rightOf(row));
    if (!result.done())
        m_tell(result.message);
    return result.done();
}
