#include "print/LayoutTable.h"

#include "print/PrintWorkDb.h"
#include "suite/dbkit/DbError.h"

#include <QDate>
#include <QRandomGenerator>
#include <QTime>
#include <QWidget>

namespace depotbase {

QString layoutTableName;

namespace {

constexpr int FirstNumber = 100;
constexpr int Numbers = 100;

// The eleven fields of a layout table, in order. SQLite keeps any length, so
// the text sizes are checked as the fields declare them.
QString layoutTableDefinition(const QString &name)
{
    return QStringLiteral("CREATE TABLE ") + name + QStringLiteral(
        " (iType integer, iX integer, iY integer, iW integer, iH integer,"
        " cFontName varchar(50) CHECK (length(cFontName) <= 50),"
        " iFontSize integer,"
        " cText varchar(255) CHECK (length(cText) <= 255),"
        " iSection tinyint CHECK (iSection BETWEEN 0 AND 255),"
        " iAlignment integer,"
        " cFontAttr varchar(4) CHECK (length(cFontAttr) <= 4))");
}

QString number(int value)
{
    return QString::number(value);
}

} // namespace

int innerWidthTwips(const QWidget &window)
{
    return window.width() * TwipsPerPixel;
}

QString CreateLayoutTable(PrintWorkDb *db)
{
    if (!db || !db->isOpen())
        return QString();
    const QString time = QTime::currentTime().toString(QStringLiteral("HHmmss"));
    const int start = int(QRandomGenerator::global()->bounded(Numbers));
    for (int step = 0; step < Numbers; ++step) {
        QString name = QStringLiteral("TempPrint_")
            + number(FirstNumber + (start + step) % Numbers) + time;
        if (db->hasTable(name))
            continue;
        try {
            db->execute(layoutTableDefinition(name));
            layoutTableName = name;
            return name;
        } catch (const dbkit::DbError &) {
            // Another process may have made the same table just now.
            if (!db->hasTable(name))
                return QString();
        }
    }
    return QString();
}

void WriteLayoutRows(PrintWorkDb &db, const QString &table, const QString &title,
                     const LayoutPlace &place)
{
    const auto width = [&place] { return place.window ? innerWidthTwips(*place.window) : 0; };
    const QDate today = QDate::currentDate();
    const QString year = today.toString(QStringLiteral("yyyy"));
    const QString date = today.toString(QStringLiteral("yyyy.MM.dd"));
    const QString insert = QStringLiteral(" INSERT INTO ") + table;

    // Frame of the title block, then of the page band.
    db.execute(insert + " VALUES(2,0,0," + number(width()) + ",2252,' ',10,' ',0,0,' ')");
    db.execute(insert + " VALUES(2,0,100," + number(width()) + ",500,' ',0,' ',1,0,' ')");
    // Title and year line of the title block.
    db.execute(insert + " VALUES(0," + number(place.titleX) + ",1550,3000,300,'宋体',15,?,0,0,'BU')",
               {title});
    db.execute(insert + " VALUES(0," + number(place.yearX) + ",2050,3000,200,'宋体',10,'"
               + year + QStringLiteral("年度") + "',0,0,' ')");
    // Print date 2000 twips from the right edge of the band; a window
    // narrower than that gives a negative left edge, kept as it is.
    db.execute(insert + " VALUES(0," + number(width() - 2000) + ",50,2252,300,'宋体',10,'"
               + QStringLiteral("打印日期：") + date + "',1,0,' ')");
    // Maker line at the left of the band, for the signature on paper.
    db.execute(insert + " VALUES(0,100,50,2252,300,'宋体',10,'"
               + QStringLiteral("制表人：") + "',1,0,' ')");
}

} // namespace depotbase
