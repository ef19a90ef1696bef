#pragma once

#include "suite/report/ReportSource.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace reporttest {

// A grid held in memory: row 0 the column titles.
class MemorySource : public report::ReportSource {
public:
    MemorySource(std::vector<QStringList> rows, std::vector<int> widthsTwips)
        : m_rows(std::move(rows)), m_widths(std::move(widthsTwips))
    {
    }
    int Rows() const override { return int(m_rows.size()); }
    int Cols() const override { return int(m_widths.size()); }
    int ColWidth(int col) const override { return m_widths[size_t(col)]; }
    QString TextMatrix(int row, int col) const override { return m_rows[size_t(row)][col]; }

private:
    std::vector<QStringList> m_rows;
    std::vector<int> m_widths;
};

// The warehouse list's shape: code, name, a hidden id, quantity, amount, date.
// Data rows are numbered 1..rows.
MemorySource warehouseSource(int rows);

// Writes a print-work database file with one layout table holding the six
// items the list procedures write (title "仓库档案", window width 9000).
void writeLayoutTable(const QString &databasePath, const QString &table);

// One entry of a zip file, through the unzip program.
QByteArray unzipEntry(const QString &zipPath, const QString &entry);

// Number of page objects in a PDF file.
int pdfPageCount(const QString &pdfPath);

} // namespace reporttest
