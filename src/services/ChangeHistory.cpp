#include "ChangeHistory.h"

#include "data/AccountSetup.h"
#include "suite/dbkit/DbDataSet.h"
#include "suite/dbkit/DbLogin.h"
#include "suite/dbkit/SqlForms.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QJsonDocument>
#include <QJsonValue>
#include <QMutex>
#include <QMutexLocker>
#include <QSet>

namespace services {

namespace {

// The widths of the history's who-columns: a long host name or operator
// must not make the change itself fail.
constexpr int OperatorWidth = 64;
constexpr int ComputerWidth = 64;

QMutex readyMutex;
QSet<QString> readyAccounts;

QJsonValue jsonOf(const QVariant &value)
{
    if (value.isNull() || !value.isValid())
        return QJsonValue(QJsonValue::Null);
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool();
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return QJsonValue(value.toLongLong());
    case QMetaType::Float:
    case QMetaType::Double:
        // Written in the shortest form that reads back as the same double.
        return value.toDouble();
    case QMetaType::QDate:
        return value.toDate().toString(Qt::ISODate);
    case QMetaType::QDateTime:
        return value.toDateTime().toString(Qt::ISODateWithMs);
    case QMetaType::QByteArray:
        return QString::fromLatin1(value.toByteArray().toBase64());
    default:
        return value.toString();
    }
}

QString columnName(const HistoryTable &table, const QString &engineName)
{
    // PostgreSQL hands names back in lower case: the table's own spelling
    // is kept, so every engine's history reads alike.
    for (const QString &column : table.columns)
        if (column.compare(engineName, Qt::CaseInsensitive) == 0)
            return column;
    return engineName;
}

QString textOf(const QJsonValue &value)
{
    if (value.isDouble())
        return QString::number(value.toInteger(), 10);
    return value.toString();
}

QVariant textOrNull(const QString &text)
{
    return text.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(text);
}

} // namespace

const HistoryTable &warehouseHistory()
{
    static const HistoryTable table{
        QStringLiteral("Warehouse"), QStringLiteral("cWhCode"),
        {QStringLiteral("cWhCode"), QStringLiteral("cWhName"), QStringLiteral("cDepCode"),
         QStringLiteral("cWhAddress"), QStringLiteral("cWhPhone"), QStringLiteral("cWhPerson"),
         QStringLiteral("cWhValueStyle"), QStringLiteral("bWhPos"),
         QStringLiteral("iWhFundQuota"), QStringLiteral("cWhMemo")},
        QStringLiteral("cWhCode"), QString()};
    return table;
}

const HistoryTable &rightHistory()
{
    static const HistoryTable table{
        QStringLiteral("WarehAuth"), QStringLiteral("Auto_id"),
        {QStringLiteral("Auto_id"), QStringLiteral("Id"), QStringLiteral("cuser_id"),
         QStringLiteral("cWhCode"), QStringLiteral("bDispMoney"), QStringLiteral("cInvCCode"),
         QStringLiteral("cInvCode")},
        QStringLiteral("cWhCode"), QStringLiteral("Id")};
    return table;
}

void ChangeHistory::ensureTable()
{
    const QString account = m_login.url();
    {
        QMutexLocker lock(&readyMutex);
        if (readyAccounts.contains(account))
            return;
    }
    depotbase::AddChangeHistory(m_login);
    QMutexLocker lock(&readyMutex);
    readyAccounts.insert(account);
}

RowImage ChangeHistory::image(const HistoryTable &table, const QVariant &key)
{
    const QVariant keyValue =
        key.typeId() == QMetaType::QString ? key : QVariant(key.toLongLong());
    // The row stays as read until the change is recorded, where the engine
    // lets other writers in meanwhile.
    const QString sql = QStringLiteral("SELECT * FROM ") + table.name + QStringLiteral(" WHERE ")
                        + table.keyColumn + QStringLiteral("=?")
                        + dbkit::SqlForms(m_login).lockingReadSuffix();
    const dbkit::DbDataSetPtr row =
        m_login.OpenDataSet(sql, {keyValue}, dbkit::OpenMode::ReadOnly);
    if (row->Eof())
        return std::nullopt;
    QJsonObject image;
    for (int i = 0; i < row->FieldCount(); ++i)
        image.insert(columnName(table, row->FieldName(i)), jsonOf(row->Fields(i)));
    return image;
}

void ChangeHistory::record(const HistoryTable &table, const RowImage &before,
                           const RowImage &after)
{
    // Nothing was there and nothing is, or the row is as it was: no change.
    if ((!before && !after) || (before && after && *before == *after))
        return;
    const QJsonObject &row = after ? *after : *before;
    const QString action = !before ? QStringLiteral("add")
                           : !after ? QStringLiteral("delete")
                                    : QStringLiteral("change");
    const QString rightUser =
        table.rightUserColumn.isEmpty() ? QString() : textOf(row.value(table.rightUserColumn));
    m_login.executeBound(
        QStringLiteral("INSERT INTO ChangeHistory (dChanged, cOperCode, cOperName, cComputer, "
                       "cTable, cKey, cAction, cWhCode, cRightUser, cBefore, cAfter) VALUES (")
            + dbkit::SqlForms(m_login).utcNow()
            + QStringLiteral(", ?, (SELECT MAX(cuser_name) FROM lxsystem..qd_user "
                             "WHERE cuser_id = ?), ?, ?, ?, ?, ?, ?, ?, ?)"),
        {m_login.operatorName().left(OperatorWidth), m_login.operatorName(),
         textOrNull(m_login.computerName().left(ComputerWidth)), table.name,
         textOf(row.value(table.keyColumn)), action,
         textOrNull(textOf(row.value(table.warehouseColumn))), textOrNull(rightUser),
         textOrNull(encode(before)), textOrNull(encode(after))});
}

void ChangeHistory::recordAfter(const HistoryTable &table, const RowImage &before,
                                const QVariant &key)
{
    record(table, before, image(table, key));
}

QString ChangeHistory::encode(const RowImage &row)
{
    if (!row)
        return QString();
    return QString::fromUtf8(QJsonDocument(*row).toJson(QJsonDocument::Compact));
}

RowImage ChangeHistory::decode(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8());
    if (!document.isObject())
        return std::nullopt;
    return document.object();
}

} // namespace services
