#pragma once

#include "suite/report/ReportColumns.h"

#include <QString>

namespace report {

// Writers of a report's rows to a file, one per format. Each streams the rows
// straight from the source and returns false with a reason when the file
// could not be written completely; a failed write leaves no partial file.

// Spreadsheet: column titles in bold, numbers, dates and flags as typed cells,
// the page's column widths, the title rows frozen.
bool writeXlsx(const QString &path, const ReportView &view, const QString &sheetName,
               QString *error);

// Comma-separated values: UTF-8 with a byte-order mark (so spreadsheet
// programs read Chinese text correctly), CRLF line ends, fields quoted only
// where they hold a comma, a quote or a line break.
bool writeCsv(const QString &path, const ReportView &view, QString *error);

// A single HTML page holding the title and the table.
bool writeHtml(const QString &path, const ReportView &view, const QString &title,
               QString *error);

} // namespace report
