#include "GenerateWarehouses.h"

#include "suite/dbkit/DbError.h"
#include "suite/dbkit/DbLogin.h"
#include "suite/dbkit/SqlDialect.h"
#include "suite/dbkit/internal/LoginAccess.h"

#include <QSqlQuery>
#include <QStringList>
#include <algorithm>

namespace {

constexpr int columnCount = 10;
// Rows per INSERT: well below every engine's limit on bound values.
constexpr int rowsPerStatement = 50;

const char *const kinds[] = {"原料", "成品", "半成品", "辅料", "备件", "包装物", "五金", "劳保"};
const char *const cities[] = {"苏州市工业园区星湖街", "上海市闵行区七莘路", "杭州市滨江区江南大道",
                              "南京市江宁区天元路", "无锡市新吴区长江路"};
const char *const persons[] = {"王强", "杨帆", "刘洋", "赵磊", "李娜", "黄敏", "吴婷", "陈静"};
const char *const styles[] = {"全月平均法", "移动平均法", "先进先出法"};
const double quotas[] = {0, 12, 3.5, 50000, 1234.5678, 20000.5};

template <typename T, size_t N>
const T &cycle(const T (&values)[N], qint64 n)
{
    return values[size_t(n) % N];
}

QStringList leafDepartments(dbkit::DbLogin &login)
{
    QStringList codes;
    QSqlQuery query(dbkit::LoginAccess::database(login));
    const QString sql = QStringLiteral(
        "SELECT cDepCode FROM Department WHERE bDepEnd=1 ORDER BY cDepCode");
    if (!query.exec(sql))
        throw dbkit::LoginAccess::dialect(login).toError(query.lastError(), sql, true);
    while (query.next())
        codes << query.value(0).toString();
    return codes;
}

QString insertStatement(int rows)
{
    QString sql = QStringLiteral(
        "INSERT INTO Warehouse (cWhCode, cWhName, cDepCode, cWhAddress, cWhPhone, cWhPerson, "
        "cWhValueStyle, bWhPos, iWhFundQuota, cWhMemo) VALUES ");
    const QString row = QStringLiteral("(?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    for (int i = 0; i < rows; ++i)
        sql += (i ? QStringLiteral(", ") : QString()) + row;
    return sql;
}

// Binds warehouse number n as row `row` of the statement.
void bindWarehouse(QSqlQuery &query, int row, qint64 n, int width,
                   const QStringList &departments)
{
    int index = row * columnCount;
    auto bind = [&](const QVariant &value) { query.bindValue(index++, value); };
    const QVariant nullText{QMetaType::fromType<QString>()};
    const QString number = QString::number(n);
    bind(number.rightJustified(width, QLatin1Char('0')));
    bind(QString::fromUtf8(cycle(kinds, n)) + QStringLiteral("仓") + number);
    if (departments.isEmpty() || n % 9 == 0)
        bind(nullText);
    else
        bind(departments.at(n % departments.size()));
    bind(QString::fromUtf8(cycle(cities, n)) + QString::number(n % 500 + 1)
         + QStringLiteral("号"));
    bind(QStringLiteral("0512-%1").arg(60000000 + n % 10000000));
    bind(QString::fromUtf8(cycle(persons, n)));
    bind(QString::fromUtf8(cycle(styles, n)));
    bind(n % 10 == 0 ? 1 : 0);
    bind(cycle(quotas, n));
    bind(n % 10 == 0 ? QVariant(QStringLiteral("批量生成")) : nullText);
}

void runBatch(dbkit::DbLogin &login, QSqlQuery &query)
{
    if (!query.exec())
        throw dbkit::LoginAccess::dialect(login).toError(query.lastError(), query.lastQuery(),
                                                         false);
}

} // namespace

void GenerateWarehouses(dbkit::DbLogin &login, int count, int firstNumber)
{
    if (count <= 0)
        return;
    const qint64 last = qint64(firstNumber) + count - 1;
    const int width = std::max(6, int(QString::number(last).size()));
    if (firstNumber < 0 || width > 10)
        throw dbkit::DbError(dbkit::ErrorNumber::General,
                             QStringLiteral("仓库编码超出10位，不能生成。"));
    const QStringList departments = leafDepartments(login);

    // The statements go before the transaction, so a failed batch is rolled
    // back before they are released.
    QSqlQuery full(dbkit::LoginAccess::database(login));
    QSqlQuery tail(dbkit::LoginAccess::database(login));
    dbkit::TransactionGuard transaction(login);
    full.prepare(insertStatement(rowsPerStatement));
    qint64 n = firstNumber;
    for (; last - n + 1 >= rowsPerStatement; n += rowsPerStatement) {
        for (int i = 0; i < rowsPerStatement; ++i)
            bindWarehouse(full, i, n + i, width, departments);
        runBatch(login, full);
    }
    if (n <= last) {
        tail.prepare(insertStatement(int(last - n + 1)));
        for (int i = 0; n <= last; ++i, ++n)
            bindWarehouse(tail, i, n, width, departments);
        runBatch(login, tail);
    }
    transaction.commit();
}
