#include "RightsService.h"

#include "RightRules.h"

#include "data/Catalogue.h"
#include "data/DataHelpers.h"
#include "data/UserErrors.h"
#include "suite/dbkit/DbError.h"
#include "suite/dbkit/DbLogin.h"
#include "suite/dbkit/SqlForms.h"
#include "suite/dbkit/StatementWatchdog.h"

#include <QVariant>

namespace text = depotbase::text;

namespace services {

using depotbase::NullToEmpty;

namespace {

const QString rightColumns =
    QStringLiteral("select Auto_id, Id, cuser_id, cWhCode, bDispMoney, cInvCCode, cInvCode "
                   "from WarehAuth where ");

QVariant textOrNull(const QString &text)
{
    return text.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(text);
}

// A text as read, compared with "=": never bound as Null.
QVariant textAsRead(const QString &text)
{
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

// Names the stored right `autoId` as it was read: a write with this condition
// touches nothing once another administrator changed the right meanwhile.
QString asReadCondition(long long autoId, const RightRecord &asRead, QVariantList &values)
{
    values << autoId << textAsRead(asRead.operatorCode) << textAsRead(asRead.warehouseCode)
           << textAsRead(asRead.classCode) << textAsRead(asRead.itemCode);
    // A right read as not showing money may hold Null there.
    const QString money = asRead.showMoney
                              ? QStringLiteral("bDispMoney <> 0")
                              : QStringLiteral("(bDispMoney IS NULL OR bDispMoney = 0)");
    return QStringLiteral("Auto_id=? and Id=? and cWhCode=? and COALESCE(cInvCCode, '')=? "
                          "and COALESCE(cInvCode, '')=? and ")
           + money;
}

QVariantList rightValues(const RightRecord &right)
{
    return {right.operatorCode, textOrNull(right.operatorName), right.warehouseCode,
            right.showMoney ? 1 : 0, textOrNull(right.classCode), textOrNull(right.itemCode)};
}

RightRecord rightAt(dbkit::DbDataSet &data)
{
    RightRecord right;
    right.autoId = data.Fields(0).toLongLong();
    right.operatorCode = NullToEmpty(data.Fields(1));
    right.operatorName = NullToEmpty(data.Fields(2));
    right.warehouseCode = NullToEmpty(data.Fields(3));
    right.showMoney = data.Fields(4).toInt() != 0;
    right.classCode = NullToEmpty(data.Fields(5));
    right.itemCode = NullToEmpty(data.Fields(6));
    return right;
}

// Narrows the stored rights read for a check to those the rules could
// refuse beside `right`, so an operator with thousands of item rights on a
// warehouse does not read them all for each one: two different items never
// cross, and an item crosses a class only when its class lies beneath it.
// The condition's values are added to `values`.
QString rivalsOnly(const RightRecord &right, QVariantList &values)
{
    if (!right.itemCode.isEmpty()) {
        values << right.itemCode;
        return QStringLiteral(" and (w.cInvCode is null or w.cInvCode=?)");
    }
    if (!right.classCode.isEmpty()) {
        QString prefix = right.classCode;
        prefix.replace('\\', QStringLiteral("\\\\"))
            .replace('%', QStringLiteral("\\%"))
            .replace('_', QStringLiteral("\\_"));
        values << prefix + QLatin1Char('%');
        return QStringLiteral(" and (w.cInvCode is null or i.cInvCCode like ? escape '\\')");
    }
    return QString();
}

// A database failure told in the user's words; a value too long for its
// column is the catalogue's own message.
ServiceResult failedWrite(const dbkit::DbError &error, const QString &what)
{
    const Refusal refusal = refusalOfError(error.number());
    if (refusal == Refusal::ValueTooLong)
        return ServiceResult::refused(refusal, depotbase::LoadResString(text::ValueTooLong));
    return ServiceResult::refused(
        refusal, depotbase::UserErrorText(what + QStringLiteral("请检查后重试。"), error));
}

ServiceResult refusedByDatabase(const dbkit::DbError &error, const RightRecord &right)
{
    // The unique key WarehAuth_Right: another administrator stored it first.
    if (error.number() == dbkit::ErrorNumber::DuplicateKey)
        return ServiceResult::refused(Refusal::Duplicate, rightrules::duplicateMessage(),
                                      rightrules::narrowingField({0, right.classCode,
                                                                  right.itemCode, {}}));
    return failedWrite(error, QStringLiteral("权限未能保存，"));
}

} // namespace

QString RightsService::changedOnSaveMessage()
{
    return QStringLiteral("该权限已被他人修改，请重新选择后再修改！");
}

QString RightsService::goneOnSaveMessage()
{
    return QStringLiteral(
        "该权限已经被他人删除！本行已作为新行，再次确认任一单元格即可重新保存。");
}

QString RightsService::changedOnDeleteMessage()
{
    return QStringLiteral("该权限已被他人修改，请重新选择后再删除！");
}

QString RightsService::goneOnDeleteMessage()
{
    return QStringLiteral("该权限已经被他人删除！");
}

void RightsService::serialise(const RightRecord &right)
{
    dbkit::SqlForms(m_login).holdTransactionLock({right.operatorCode, right.warehouseCode});
}

ServiceResult RightsService::checkStored(const RightRecord &right)
{
    NarrowedRight candidate{right.autoId, right.classCode, right.itemCode, {}};
    if (!right.itemCode.isEmpty()) {
        dbkit::DbDataSetPtr item =
            m_login.OpenDataSet(QStringLiteral("select cInvCCode from Inventory where cInvCode=?"),
                                {right.itemCode}, dbkit::OpenMode::ReadOnly);
        if (item->Eof())
            return ServiceResult::refused(Refusal::InvalidValue,
                                          QStringLiteral("存货编码输入错误!"),
                                          QStringLiteral("cInvCode"));
        candidate.itemClass = NullToEmpty(item->Fields(0));
    }
    QVariantList values{right.operatorCode, right.warehouseCode, right.autoId};
    const QString rivals = rivalsOnly(right, values);
    dbkit::DbDataSetPtr others = m_login.OpenDataSet(
        QStringLiteral("select w.Auto_id, w.cInvCCode, w.cInvCode, i.cInvCCode "
                       "from WarehAuth w left join Inventory i on i.cInvCode = w.cInvCode "
                       "where w.Id=? and w.cWhCode=? and w.Auto_id <> ?")
            + rivals,
        values, dbkit::OpenMode::ReadOnly);
    std::vector<NarrowedRight> stored;
    for (; !others->Eof(); others->MoveNext())
        stored.push_back({others->Fields(0).toLongLong(), NullToEmpty(others->Fields(1)),
                          NullToEmpty(others->Fields(2)), NullToEmpty(others->Fields(3))});
    return rightrules::check(candidate, stored);
}

ServiceResult RightsService::validate(const RightRecord &right)
{
    try {
        return checkStored(right);
    } catch (const dbkit::DbError &e) {
        return refusedByDatabase(e, right);
    }
}

template <typename Write>
ServiceResult RightsService::writeChecked(const RightRecord &right, Write write)
{
    try {
        // The write as a whole keeps the statement time limit: a server that
        // stops answering halfway is given up on within it.
        const dbkit::StatementWatch deadline(m_login);
        m_history.ensureTable();
        dbkit::TransactionGuard transaction(m_login);
        serialise(right);
        // The write comes before the check: on SQLite it takes the write lock,
        // so a second writer waits here until this one has committed.
        ServiceResult result = write();
        if (!result.done())
            return result;
        result = checkStored(right);
        if (!result.done())
            return result;   // the guard takes the write back
        transaction.commit();
        return result;
    } catch (const dbkit::DbError &e) {
        return refusedByDatabase(e, right);
    }
}

ServiceResult RightsService::insert(RightRecord &right)
{
    // The check that follows the write sees `stored`, so it leaves out the
    // record just written by the Auto_id the write reads back.
    RightRecord stored = right;
    ServiceResult result = writeChecked(stored, [&] {
        m_login.executeBound(QStringLiteral("insert into WarehAuth (Id, cuser_id, cWhCode, "
                                            "bDispMoney, cInvCCode, cInvCode) "
                                            "values (?, ?, ?, ?, ?, ?)"),
                             rightValues(stored));
        dbkit::DbDataSetPtr identity =
            m_login.OpenDataSet(QStringLiteral("SELECT @@identity"), dbkit::OpenMode::ReadOnly);
        stored.autoId = identity->Eof() ? 0 : identity->Fields(0).toLongLong();
        m_history.recordAfter(rightHistory(), std::nullopt, stored.autoId);
        return ServiceResult::ok();
    });
    if (result.done())
        right.autoId = stored.autoId;
    return result;
}

ServiceResult RightsService::update(const RightRecord &right, const RightRecord &asRead)
{
    return writeChecked(right, [&] {
        const RowImage before = m_history.image(rightHistory(), right.autoId);
        QVariantList values = rightValues(right);
        const QString asReadOnly = asReadCondition(right.autoId, asRead, values);
        const int changed = m_login.executeBound(
            QStringLiteral("update WarehAuth set Id=?, cuser_id=?, cWhCode=?, bDispMoney=?, "
                           "cInvCCode=?, cInvCode=? where ")
                + asReadOnly,
            values);
        if (changed != 0) {
            m_history.recordAfter(rightHistory(), before, right.autoId);
            return ServiceResult::ok();
        }
        if (find(right.autoId))
            return ServiceResult::refused(Refusal::ChangedMeanwhile, changedOnSaveMessage());
        return ServiceResult::refused(Refusal::DeletedMeanwhile, goneOnSaveMessage());
    });
}

ServiceResult RightsService::remove(long long autoId, const std::optional<RightRecord> &asRead)
{
    try {
        const dbkit::StatementWatch deadline(m_login);
        m_history.ensureTable();
        dbkit::TransactionGuard transaction(m_login);
        const RowImage before = m_history.image(rightHistory(), autoId);
        QVariantList values{autoId};
        QString which = QStringLiteral("Auto_id=?");
        if (asRead) {
            values.clear();
            which = asReadCondition(autoId, *asRead, values);
        }
        const int removed =
            m_login.executeBound(QStringLiteral("delete from WarehAuth where ") + which, values);
        if (removed != 0) {
            m_history.record(rightHistory(), before, std::nullopt);
            transaction.commit();
            return ServiceResult::ok();
        }
        if (asRead && find(autoId))
            return ServiceResult::refused(Refusal::ChangedMeanwhile, changedOnDeleteMessage());
        return ServiceResult::refused(Refusal::DeletedMeanwhile, goneOnDeleteMessage());
    } catch (const dbkit::DbError &e) {
        return failedWrite(e, QStringLiteral("权限未能删除，"));
    }
}

std::vector<RightRecord> RightsService::readRights(const QString &where,
                                                  const QVariantList &values)
{
    dbkit::DbDataSetPtr data =
        m_login.OpenDataSet(rightColumns + where, values, dbkit::OpenMode::ReadOnly);
    std::vector<RightRecord> rights;
    for (; !data->Eof(); data->MoveNext())
        rights.push_back(rightAt(*data));
    return rights;
}

std::optional<RightRecord> RightsService::find(long long autoId)
{
    std::vector<RightRecord> found =
        readRights(QStringLiteral("Auto_id=?"), {autoId});
    if (found.empty())
        return std::nullopt;
    return found.front();
}

std::vector<RightRecord> RightsService::rightsOfOperator(const QString &operatorCode)
{
    return readRights(QStringLiteral("Id=? order by Auto_id"), {operatorCode});
}

std::vector<RightRecord> RightsService::rightsOfWarehouse(const QString &warehouseCode)
{
    return readRights(QStringLiteral("cWhCode=? order by Auto_id"), {warehouseCode});
}

} // namespace services
