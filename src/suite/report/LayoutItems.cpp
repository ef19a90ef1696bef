#include "suite/report/LayoutItems.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>

namespace report {

namespace {

QString quotedIdentifier(QString name)
{
    return QLatin1Char('"') + name.replace(QLatin1Char('"'), QLatin1String("\"\""))
        + QLatin1Char('"');
}

// Frames and empty items are stored with a single space for "none".
QString noneIsEmpty(const QVariant &value)
{
    const QString text = value.toString();
    return text.trimmed().isEmpty() ? QString() : text;
}

bool readFrom(QSqlDatabase &db, const QString &table, LayoutItems &items, QString *error)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    const QString sql = QStringLiteral("SELECT iType, iX, iY, iW, iH, cFontName, iFontSize, "
                                       "cText, iSection, iAlignment, cFontAttr FROM ")
        + quotedIdentifier(table) + QStringLiteral(" ORDER BY rowid");
    if (!query.exec(sql)) {
        if (error)
            *error = query.lastError().text();
        return false;
    }
    while (query.next()) {
        LayoutItem item;
        item.kind = query.value(0).toInt();
        item.x = query.value(1).toInt();
        item.y = query.value(2).toInt();
        item.width = query.value(3).toInt();
        item.height = query.value(4).toInt();
        item.fontName = noneIsEmpty(query.value(5));
        item.fontSize = query.value(6).toInt();
        item.text = noneIsEmpty(query.value(7));
        item.section = query.value(8).toInt();
        item.alignment = query.value(9).toInt();
        item.fontAttr = noneIsEmpty(query.value(10));
        items.push_back(item);
    }
    return true;
}

} // namespace

bool readLayoutItems(const QString &databasePath, const QString &table, LayoutItems &items,
                     QString *error)
{
    items.clear();
    if (!QFileInfo(databasePath).isFile()) {
        if (error)
            *error = QStringLiteral("print-work database not found: %1").arg(databasePath);
        return false;
    }
    const QString connection = QStringLiteral("report-layout-")
        + QUuid::createUuid().toString(QUuid::WithoutBraces);
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(databasePath);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=2000"));
        if (!db.open()) {
            if (error)
                *error = db.lastError().text();
        } else {
            ok = readFrom(db, table, items, error);
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connection);
    return ok;
}

QString layoutTitle(const LayoutItems &items)
{
    const LayoutItem *best = nullptr;
    for (const LayoutItem &item : items) {
        if (item.kind != LayoutItem::Text || item.section != 0 || item.text.isEmpty())
            continue;
        if (!best || item.fontSize > best->fontSize)
            best = &item;
    }
    return best ? best->text.trimmed() : QString();
}

} // namespace report
