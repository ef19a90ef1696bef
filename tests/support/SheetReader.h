#pragma once

// Reads an .xlsx file back the way a test checks an output: the cells of its
// first sheet, unpacked with the unzip program.

#include <QMap>
#include <QProcess>
#include <QString>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace testsupport {

// One cell of a spreadsheet as the file stores it: its type attribute
// ("" for a number) and its text.
struct SheetCell {
    QString type;
    QString text;
};

// The cells of the first sheet of an .xlsx file by reference ("A1").
inline QMap<QString, SheetCell> readSheet(const QString &path)
{
    QProcess unzip;
    unzip.start("unzip", {"-p", path, "xl/worksheets/sheet1.xml"});
    unzip.waitForFinished(30000);
    QXmlStreamReader xml(unzip.readAllStandardOutput());
    QMap<QString, SheetCell> cells;
    QString ref;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("c")) {
            ref = xml.attributes().value("r").toString();
            cells[ref].type = xml.attributes().value("t").toString();
        } else if (xml.name() == QLatin1String("v") || xml.name() == QLatin1String("t")) {
            cells[ref].text = xml.readElementText();
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return cells;
}

} // namespace testsupport
