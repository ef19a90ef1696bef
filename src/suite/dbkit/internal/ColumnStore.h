#pragma once

// Internal: the rows of a data set, kept column by column.
//
// A list of 100,000 warehouses must load fast and stay small, so each column
// keeps its values in one typed vector with a null mask, instead of one
// QVariant per cell: integers and reals unboxed, and texts as UTF-16 in one
// buffer per column, each row naming where its text starts. Rows that hold the
// same value (a department, a style, an operator) may name the same text. A text
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

// Where a text stands in its column's buffer: the place of its first
// character. Its length is kept in the one or two units just before it, so a
// row names its text in four bytes. 0 is the empty text.
using TextStart = uint32_t;

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
    // A text's view is valid until the column changes.
    QStringView textView(size_t row) const
    {
        const TextStart start = m_starts[row];
        if (start == 0)
            return QStringView(u"");
        const char16_t *text = m_chars.at(start);
        size_t length = text[-1];
        if (length & LongLength)
            length = ((length & ~LongLength) << 16) | text[-2];
        return QStringView(text, qsizetype(length));
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
    // A length of 2^15 units or more takes two units, this bit set in the
    // one next to the text.
    static constexpr size_t LongLength = 0x8000;
    // Room at the end of the buffer for a text of at most `most` characters
    // and its length: where the text goes. Throws when the buffer would
    // outgrow what a TextStart can name.
    char16_t *reserveText(size_t most, TextStart &start);
    // Writes the length of a text reserved for at most `most` characters.
    void endText(char16_t *text, TextStart start, size_t most, size_t length);
    TextStart addChars(QStringView text);
    TextStart addUtf8(const char *utf8, int bytes);
    void pushText(TextStart start);

    Kind m_kind = Kind::Unset;
    int m_intType = QMetaType::LongLong;  // how integers read back (int, bool, qlonglong)
    size_t m_rows = 0;
    size_t m_reserved = 0;
    std::vector<bool> m_null;
    TextBuffer m_chars;                  // the texts of Text rows, one after another
    BlockArray<TextStart, 14> m_starts;  // each Text row's text in m_chars
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
