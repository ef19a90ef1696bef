#include "suite/report/ReportOutput.h"

#include <QSaveFile>

#include <functional>

namespace report {

namespace {

constexpr qsizetype flushSize = qsizetype(256) * 1024;

// Streams text into a file through a buffer; the file only replaces its
// target when everything was written.
class TextFile {
public:
    explicit TextFile(const QString &path) : m_file(path) {}

    bool open() { return m_file.open(QIODevice::WriteOnly); }
    QByteArray &buffer() { return m_buffer; }
    bool flushIfFull() { return m_buffer.size() < flushSize || flush(); }
    bool flush()
    {
        const bool ok = m_file.write(m_buffer) == m_buffer.size();
        m_buffer.clear();
        return ok;
    }
    bool commit() { return flush() && m_file.commit(); }
    QString errorString() const { return m_file.errorString(); }

private:
    QSaveFile m_file;
    QByteArray m_buffer;
};

using RowWriter = std::function<void(QByteArray &out, int row)>;

bool writeText(const QString &path, const QByteArray &head, int rows, const RowWriter &writeRow,
               const QByteArray &tail, QString *error)
{
    TextFile file(path);
    bool ok = file.open();
    if (ok) {
        file.buffer() += head;
        for (int r = 0; ok && r < rows; ++r) {
            writeRow(file.buffer(), r);
            ok = file.flushIfFull();
        }
        file.buffer() += tail;
        ok = ok && file.commit();
    }
    if (!ok && error)
        *error = file.errorString();
    return ok;
}

void appendCsvField(QByteArray &out, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    if (!utf8.contains(',') && !utf8.contains('"') && !utf8.contains('\n')
        && !utf8.contains('\r')) {
        out += utf8;
        return;
    }
    out += '"';
    for (const char c : utf8) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

QByteArray htmlEscaped(const QString &text)
{
    return text.toHtmlEscaped().toUtf8();
}

} // namespace

bool writeCsv(const QString &path, const ReportView &view, QString *error)
{
    const int cols = int(view.columns.size());
    const auto row = [&](QByteArray &out, int r) {
        for (int c = 0; c < cols; ++c) {
            if (c > 0)
                out += ',';
            appendCsvField(out, view.text(r, c));
        }
        out += "\r\n";
    };
    return writeText(path, QByteArray("\xEF\xBB\xBF"), view.rows(), row, QByteArray(), error);
}

bool writeHtml(const QString &path, const ReportView &view, const QString &title,
               QString *error)
{
    const int cols = int(view.columns.size());
    QByteArray head = "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>"
        + htmlEscaped(title) + "</title>\n<style>\n"
        "table { border-collapse: collapse; table-layout: fixed; }\n"
        "th, td { border: 1px solid #808080; padding: 2px 4px; overflow: hidden; }\n"
        "th { background: #e8e8e8; }\n td.n { text-align: right; }\n"
        "</style>\n</head>\n<body>\n<h1>" + htmlEscaped(title) + "</h1>\n<table>\n";
    for (const ReportColumn &column : view.columns)
        head += "<col style=\"width:" + QByteArray::number(column.widthTwips / 15) + "px\">\n";
    const auto row = [&](QByteArray &out, int r) {
        const bool titleRow = r < view.titleRows;
        out += "<tr>";
        for (int c = 0; c < cols; ++c) {
            if (titleRow)
                out += "<th>";
            else if (isNumericKind(view.columns[size_t(c)].kind))
                out += "<td class=\"n\">";
            else
                out += "<td>";
            out += htmlEscaped(view.text(r, c));
            out += titleRow ? "</th>" : "</td>";
        }
        out += "</tr>\n";
    };
    return writeText(path, head, view.rows(), row, "</table>\n</body>\n</html>\n", error);
}

} // namespace report
