#include "ReportTestSupport.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <gtest/gtest.h>

namespace reporttest {

MemorySource warehouseSource(int rows)
{
    std::vector<QStringList> cells;
    cells.push_back({"仓库编码", "仓库名称", "ID", "数量", "金额", "建档日期"});
    for (int i = 1; i <= rows; ++i) {
        cells.push_back({QStringLiteral("%1").arg(i, 3, 10, QLatin1Char('0')),
                         QStringLiteral("第%1仓库").arg(i), QStringLiteral("SECRET%1").arg(i),
                         QString::number(i * 10), QStringLiteral("%1.50").arg(i),
                         QStringLiteral("2024-03-%1").arg(1 + i % 28, 2, 10, QLatin1Char('0'))});
    }
    return MemorySource(std::move(cells), {850, 2000, 0, 900, 1200, 1300});
}

void writeLayoutTable(const QString &databasePath, const QString &table)
{
    const QString connection = QStringLiteral("report-test-layout");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(databasePath);
        ASSERT_TRUE(db.open()) << db.lastError().text().toStdString();
        QSqlQuery query(db);
        const QString name = QStringLiteral("\"%1\"").arg(QString(table).replace("\"", "\"\""));
        ASSERT_TRUE(query.exec("CREATE TABLE " + name
                               + " (iType INTEGER, iX INTEGER, iY INTEGER, iW INTEGER, "
                                 "iH INTEGER, cFontName TEXT(50), iFontSize INTEGER, "
                                 "cText TEXT(255), iSection INTEGER, iAlignment INTEGER, "
                                 "cFontAttr TEXT(4))"))
            << query.lastError().text().toStdString();
        const QStringList rows = {
            "2,0,0,9000,2252,' ',10,' ',0,0,' '",
            "2,0,100,9000,500,' ',0,' ',1,0,' '",
            "0,3000,1550,3000,300,'宋体',15,'仓库档案',0,0,'BU'",
            "0,3000,2050,3000,200,'宋体',10,'2024年度',0,0,' '",
            "0,7000,50,2252,300,'宋体',10,'打印日期：2024.03.05',1,0,' '",
        };
        for (const QString &row : rows)
            ASSERT_TRUE(query.exec(" INSERT INTO " + name + " VALUES(" + row + ")"))
                << query.lastError().text().toStdString();
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
}

QByteArray unzipEntry(const QString &zipPath, const QString &entry)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), zipPath, entry});
    if (!unzip.waitForFinished(30000))
        return QByteArray();
    return unzip.readAllStandardOutput();
}

int pdfPageCount(const QString &pdfPath)
{
    QFile file(pdfPath);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray pdf = file.readAll();
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![s\\w])"));
    int pages = 0;
    for (auto it = page.globalMatch(QString::fromLatin1(pdf)); it.hasNext(); it.next())
        ++pages;
    return pages;
}

} // namespace reporttest
