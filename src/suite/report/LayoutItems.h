#pragma once

#include <QString>
#include <vector>

namespace report {

// One fixed item of a report page, as the print procedures write it into a
// layout table of the print-work database. Positions and sizes are twips.
struct LayoutItem {
    enum Kind { Text = 0, Frame = 2 };
    int kind = Text;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    QString fontName;
    int fontSize = 0;   // points
    QString text;
    int section = 0;    // 0 the title block, 1 the page band
    int alignment = 0;  // 0 left, 1 right, 2 centred
    QString fontAttr;   // "B" bold, "U" underline

    bool bold() const { return fontAttr.contains(QLatin1Char('B'), Qt::CaseInsensitive); }
    bool underline() const
    {
        return fontAttr.contains(QLatin1Char('U'), Qt::CaseInsensitive);
    }
};

using LayoutItems = std::vector<LayoutItem>;

// Reads the items of one layout table from a print-work database file. The
// file is opened read-only through its own SQLite connection and closed
// again. Returns false with a reason in `error` when the file or the table
// cannot be read; a missing file is never created.
bool readLayoutItems(const QString &databasePath, const QString &table, LayoutItems &items,
                     QString *error = nullptr);

// The report's title: the section-0 text with the largest font, or "".
QString layoutTitle(const LayoutItems &items);

} // namespace report
