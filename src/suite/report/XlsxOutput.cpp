#include "suite/report/ReportOutput.h"

#include <QFile>
#include <QRegularExpression>

#include <xlsxwriter.h>

#include <algorithm>
#include <cstdio>

namespace report {

namespace {

constexpr int maxCellChars = 32767;
constexpr int maxSheetRows = 1048576;
constexpr int maxSheetCols = 16384;

// Sheet names are at most 31 characters and may not hold []:*?/\.
QString sheetNameFor(const QString &title)
{
    static const QRegularExpression refused(QStringLiteral("[\\[\\]:*?/\\\\]"));
    QString name = title;
    name.remove(refused);
    name = name.left(31).trimmed();
    while (name.startsWith(QLatin1Char('\'')))
        name.remove(0, 1);
    while (name.endsWith(QLatin1Char('\'')))
        name.chop(1);
    return name;
}

// Spreadsheet column widths count characters of the default font, about 7
// pixels each at 96 dpi plus 5 pixels of padding; a pixel is 15 twips.
double sheetColumnWidth(int twips)
{
    return std::max(1.0, (twips / 15.0 - 5.0) / 7.0);
}

class XlsxWriter {
public:
    XlsxWriter(const QString &path, const ReportView &view) : m_path(path), m_view(view) {}
    ~XlsxWriter()
    {
        if (m_book)
            workbook_close(m_book);
    }

    bool write(const QString &sheetName, QString *error);

private:
    bool open(const QString &sheetName);
    void setColumns();
    lxw_error writeCell(lxw_row_t row, lxw_col_t col, const QString &text, ColumnKind kind);
    lxw_error writeString(lxw_row_t row, lxw_col_t col, const QString &text,
                          lxw_format *format = nullptr);
    bool fail(QString *error, const QString &why);

    QString m_path;
    const ReportView &m_view;
    QByteArray m_fileName;
    lxw_workbook *m_book = nullptr;
    lxw_worksheet *m_sheet = nullptr;
    lxw_format *m_title = nullptr;
    lxw_format *m_currency = nullptr;
    lxw_format *m_date = nullptr;
    lxw_format *m_dateTime = nullptr;
};

bool XlsxWriter::open(const QString &sheetName)
{
    // Written beside the target and moved over it only when complete, so a
    // failure neither leaves a partial file nor destroys an older one.
    m_fileName = QFile::encodeName(m_path + QStringLiteral(".part"));
    lxw_workbook_options options = {};
    // Each row goes to a temporary file as soon as the next one starts, so the
    // memory used does not grow with the number of rows.
    options.constant_memory = LXW_TRUE;
    m_book = workbook_new_opt(m_fileName.constData(), &options);
    if (!m_book)
        return false;
    const QByteArray name = sheetNameFor(sheetName).toUtf8();
    const bool validName = !name.isEmpty()
        && workbook_validate_sheet_name(m_book, name.constData()) == LXW_NO_ERROR;
    m_sheet = workbook_add_worksheet(m_book, validName ? name.constData() : nullptr);
    if (!m_sheet)
        return false;
    m_title = workbook_add_format(m_book);
    format_set_bold(m_title);
    format_set_bottom(m_title, LXW_BORDER_THIN);
    m_currency = workbook_add_format(m_book);
    format_set_num_format(m_currency, "#,##0.00");
    m_date = workbook_add_format(m_book);
    format_set_num_format(m_date, "yyyy-mm-dd");
    m_dateTime = workbook_add_format(m_book);
    format_set_num_format(m_dateTime, "yyyy-mm-dd hh:mm:ss");
    return true;
}

void XlsxWriter::setColumns()
{
    for (size_t i = 0; i < m_view.columns.size(); ++i) {
        const auto col = lxw_col_t(i);
        worksheet_set_column(m_sheet, col, col, sheetColumnWidth(m_view.columns[i].widthTwips),
                             nullptr);
    }
    if (m_view.titleRows > 0)
        worksheet_freeze_panes(m_sheet, lxw_row_t(m_view.titleRows), 0);
}

lxw_error XlsxWriter::writeString(lxw_row_t row, lxw_col_t col, const QString &text,
                                  lxw_format *format)
{
    const QByteArray utf8 = text.left(maxCellChars).toUtf8();
    return worksheet_write_string(m_sheet, row, col, utf8.constData(), format);
}

lxw_error XlsxWriter::writeCell(lxw_row_t row, lxw_col_t col, const QString &text,
                                ColumnKind kind)
{
    const CellValue cell = classifyCell(text, kind);
    switch (cell.type) {
    case CellValue::Empty:
        return LXW_NO_ERROR;
    case CellValue::Number:
        return worksheet_write_number(m_sheet, row, col, cell.number,
                                      kind == ColumnKind::Currency ? m_currency : nullptr);
    case CellValue::Boolean:
        return worksheet_write_boolean(m_sheet, row, col, cell.flag ? 1 : 0, nullptr);
    case CellValue::Date:
    case CellValue::DateTime: {
        const QDate d = cell.dateTime.date();
        const QTime t = cell.dateTime.time();
        lxw_datetime value = {d.year(), d.month(), d.day(), t.hour(), t.minute(),
                              double(t.second())};
        return worksheet_write_datetime(m_sheet, row, col, &value,
                                        cell.type == CellValue::Date ? m_date : m_dateTime);
    }
    case CellValue::Text:
        break;
    }
    return writeString(row, col, text);
}

bool XlsxWriter::fail(QString *error, const QString &why)
{
    if (error)
        *error = why;
    if (m_book) {
        workbook_close(m_book);
        m_book = nullptr;
    }
    QFile::remove(QFile::decodeName(m_fileName));
    return false;
}

bool XlsxWriter::write(const QString &sheetName, QString *error)
{
    const int rows = m_view.rows();
    const int cols = int(m_view.columns.size());
    if (rows > maxSheetRows || cols > maxSheetCols)
        return fail(error, QStringLiteral("too many rows or columns for a spreadsheet"));
    if (!open(sheetName))
        return fail(error, QStringLiteral("cannot create the spreadsheet"));
    setColumns();
    for (int r = 0; r < rows; ++r) {
        const bool title = r < m_view.titleRows;
        for (int c = 0; c < cols; ++c) {
            const QString text = m_view.text(r, c);
            const lxw_error result = title
                ? writeString(lxw_row_t(r), lxw_col_t(c), text, m_title)
                : writeCell(lxw_row_t(r), lxw_col_t(c), text, m_view.columns[size_t(c)].kind);
            if (result != LXW_NO_ERROR)
                return fail(error, QString::fromUtf8(lxw_strerror(result)));
        }
    }
    const lxw_error closed = workbook_close(m_book);
    m_book = nullptr;
    if (closed != LXW_NO_ERROR)
        return fail(error, QString::fromUtf8(lxw_strerror(closed)));
    if (std::rename(m_fileName.constData(), QFile::encodeName(m_path).constData()) != 0)
        return fail(error, QStringLiteral("cannot replace %1").arg(m_path));
    return true;
}

} // namespace

bool writeXlsx(const QString &path, const ReportView &view, const QString &sheetName,
               QString *error)
{
    XlsxWriter writer(path, view);
    return writer.write(sheetName, error);
}

} // namespace report
