#pragma once

// Internal: the rows of a data set, kept column by column.
//
// A list of 100,000 warehouses must load fast and stay small, so each column
// keeps its values in one typed array with a null mask, instead of one
// QVariant per cell: integers unboxed in as few bytes as they need, reals,
// and texts in one buffer per column (ColumnTexts.h), one byte a character
// while they are Latin-1, each row naming where its text starts. Rows that
// hold the same value (a department, a style, an operator) may name the same
// text, and a column of few texts names them in one or two bytes a row. A
// text becomes a QString only when it is read. The buffers grow in blocks
// that never move (ColumnBuffers.h), so a load touches each page once.

#include "ColumnTexts.h"
#include "NarrowArray.h"

#include <QAnyStringView>
#include <QMetaType>
#include <QString>
#include <QStringView>
#include <QVariant>
#include <QVariantList>
#include <vector>

namespace dbkit {

class TextCache;

class Column {
public:
    enum class Kind : unsigned char { Unset, Text, Integer, Real, Other };

    void reserve(size_t rows);
    void append(const QVariant &value);
    // Typed appends for the loaders' fast paths.
    void appendText(QStringView text);
    // A text as the engine hands it, decoded straight into the column's
    // buffer; a text the cache has seen in this column is named again.
    void appendUtf8(const char *utf8, int bytes, TextCache &cache);
    // The same for a text the engine hands out as UTF-16; the cache is keyed
    // by its bytes, so a column is filled by one of the two only.
    void appendUtf16(const char16_t *text, size_t length, TextCache &cache);
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
    // A text's view (Latin-1 or UTF-16) is valid until the column changes.
    QAnyStringView textView(size_t row) const { return m_texts.at(m_starts[row]); }
    QString text(size_t row) const { return textView(row).toString(); }
    // The text of a row of any kind of column, without a copy: a null view
    // for Null or a value that is not a text, and for an empty text an empty
    // view that is not null.
    QAnyStringView storedText(size_t row) const;
    qint64 integer(size_t row) const { return m_int[row]; }
    double real(size_t row) const { return m_real[row]; }

private:
    static Kind kindOf(const QVariant &value);
    void become(Kind kind, int metaType);
    void store(size_t row, const QVariant &value, bool appending);
    void pushText(TextStart start);

    Kind m_kind = Kind::Unset;
    int m_intType = QMetaType::LongLong;  // how integers read back (int, bool, qlonglong)
    size_t m_rows = 0;
    size_t m_reserved = 0;
    std::vector<bool> m_null;
    ColumnTexts m_texts;               // the texts of Text rows
    NarrowArray<TextStart> m_starts;   // each Text row's text in m_texts
    NarrowArray<qint64> m_int;
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
