#pragma once

// Internal: the rows of a data set, kept column by column.
//
// A list of 100,000 warehouses must load fast and stay small, so each column
// keeps its values in one typed vector with a null mask, instead of one
// QVariant per cell: integers and reals unboxed, and texts as UTF-16 in one
// buffer per column, each row naming its span of it. Rows that hold the same
// value (a department, a style, an operator) may name the same span. A text
// becomes a QString only when it is read. The buffers grow in blocks that
// never move (ColumnBuffers.h), so a load touches each page once.

#include "ColumnBuffers.h"

#include <QMetaType>
#include <QString>
#include <QStringView>
#include <QVariant>
#include <QVariantList>
#include <vector>

namespace dbkit {

class TextCache;

// Where a text stands in its column's buffer.
struct TextSpan {
    uint32_t start = 0;
    uint32_t length = 0;
};

class Column {
public:
    enum class Kind : unsigned char { Unset, Text, Integer, Real, Other };

    void reserve(size_t rows);
    void append(const QVariant &value);
    // Typed appends for the loaders' fast paths.
    void appendText(QStringView text);
    // A text as the engine hands it, decoded straight into the column's
    // buffer; a text the cache has seen in this column takes its span.
    void appendUtf8(const char *utf8, int bytes, TextCache &cache);
    void appendInteger(qint64 value);
    void appendReal(double value);
    void appendNull();
    void set(size_t row, const QVariant &value);
    void remove(size_t row);
    void clear();
    QVariant value(size_t row) const;
    bool isNull(size_t row) const { return m_null[row]; }
    Kind kind() const { return m_kind; }
    // Direct reads for the criteria evaluator (valid for the matching kind).
    // A text's view is valid until the column changes.
    QStringView textView(size_t row) const
    {
        const TextSpan span = m_spans[row];
        if (span.length == 0)
            return QStringView(u"");
        return QStringView(m_chars.at(span.start), qsizetype(span.length));
    }
    QString text(size_t row) const { return textView(row).toString(); }
    // The text of a row of any kind of column, without a copy: a null view
    // for Null or a value that is not a text, and for an empty text an empty
    // view that is not null.
    QStringView storedText(size_t row) const;
    qint64 integer(size_t row) const { return m_int[row]; }
    double real(size_t row) const { return m_real[row]; }

private:
    static Kind kindOf(const QVariant &value);
    void become(Kind kind, int metaType);
    void store(size_t row, const QVariant &value, bool appending);
    // Room for a text of `length` characters at the end of the buffer;
    // throws when the buffer would outgrow its spans.
    char16_t *reserveChars(size_t length, size_t &start);
    TextSpan addChars(QStringView text);
    TextSpan addUtf8(const char *utf8, int bytes);
    void pushText(TextSpan span);

    Kind m_kind = Kind::Unset;
    int m_intType = QMetaType::LongLong;  // how integers read back (int, bool, qlonglong)
    size_t m_rows = 0;
    size_t m_reserved = 0;
    std::vector<bool> m_null;
    TextBuffer m_chars;                  // the texts of Text rows, one after another
    BlockArray<TextSpan, 14> m_spans;    // each Text row's span of m_chars
    BlockArray<qint64, 14> m_int;
    BlockArray<double, 14> m_real;
    std::vector<QVariant> m_other;
};

class ColumnStore {
public:
    void reset(int columnCount);
    void reserve(size_t rows);
    int columnCount() const { return int(m_columns.size()); }
    size_t rowCount() const { return m_rows; }
    Column &column(int index) { return m_columns[size_t(index)]; }
    const Column &column(int index) const { return m_columns[size_t(index)]; }
    QVariant value(size_t row, int column) const { return m_columns[size_t(column)].value(row); }
    void set(size_t row, int column, const QVariant &value);
    // Counts one more row after every column had a value appended.
    void endRow() { ++m_rows; }
    // Counts `count` more rows after every column had them appended.
    void endRows(size_t count) { m_rows += count; }
    void appendRow(const QVariantList &values);
    void removeRow(size_t row);

private:
    std::vector<Column> m_columns;
    size_t m_rows = 0;
};

} // namespace dbkit
