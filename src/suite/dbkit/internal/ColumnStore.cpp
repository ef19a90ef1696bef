#include "ColumnStore.h"

#include "TextCache.h"

#include <algorithm>

namespace dbkit {

Column::Kind Column::kindOf(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QString:
        return Kind::Text;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Bool:
        return Kind::Integer;
    case QMetaType::Double:
    case QMetaType::Float:
        return Kind::Real;
    default:
        return Kind::Other;
    }
}

void Column::reserve(size_t rows)
{
    m_reserved = rows;
    m_null.reserve(rows);
    // The typed buffers grow in blocks and need no reservation.
    if (m_kind == Kind::Other)
        m_other.reserve(rows);
}

// Switches the column to another kind, converting what it holds. Integers met
// beside reals become reals (a numeric column of SQLite holds both); any
// other mix keeps plain QVariants.
void Column::become(Kind kind, int metaType)
{
    if (m_kind == Kind::Unset) {
        m_kind = kind;
        m_intType = metaType;
        switch (kind) {
        case Kind::Text: m_starts.assign(m_rows, TextStart(0)); break;
        case Kind::Integer: m_int.assign(m_rows, 0); break;
        case Kind::Real: m_real.assign(m_rows, 0.0); break;
        default: m_other.assign(m_rows, QVariant()); m_other.reserve(m_reserved); break;
        }
        return;
    }
    if (m_kind == Kind::Integer && kind == Kind::Real) {
        for (size_t row = 0; row < m_int.size(); ++row)
            m_real.push_back(double(m_int[row]));
        m_int.clear();
        m_kind = Kind::Real;
        return;
    }
    std::vector<QVariant> others;
    others.reserve(std::max(m_reserved, m_rows));
    for (size_t row = 0; row < m_rows; ++row)
        others.push_back(value(row));
    m_texts = ColumnTexts();
    m_starts.clear();
    m_int.clear();
    m_real.clear();
    m_other = std::move(others);
    m_kind = Kind::Other;
}

void Column::append(const QVariant &value)
{
    store(m_rows, value, true);
    ++m_rows;
}

void Column::pushText(TextStart start)
{
    m_null.push_back(false);
    m_starts.push_back(start);
    ++m_rows;
}

void Column::appendText(QStringView text)
{
    if (m_kind != Kind::Text) {
        append(QVariant(text.toString()));
        return;
    }
    pushText(m_texts.add(text));
}

void Column::appendUtf8(const char *utf8, int bytes, TextCache &cache)
{
    if (m_kind != Kind::Text) {
        append(QVariant(QString::fromUtf8(utf8, bytes)));
        return;
    }
    if (const TextStart *known = cache.find(utf8, bytes)) {
        pushText(*known);
        return;
    }
    const TextStart start = m_texts.addUtf8(utf8, size_t(bytes));
    cache.remember(utf8, bytes, start);
    pushText(start);
}

void Column::appendUtf16(const char16_t *text, size_t length, TextCache &cache)
{
    const QStringView view(text, qsizetype(length));
    if (m_kind != Kind::Text) {
        append(QVariant(view.toString()));
        return;
    }
    const auto *key = reinterpret_cast<const char *>(text);
    // A text too long to share keeps a key length the cache turns away.
    const int bytes = int(std::min(length, size_t(1) << 24) * sizeof(char16_t));
    if (const TextStart *known = cache.find(key, bytes)) {
        pushText(*known);
        return;
    }
    const TextStart start = m_texts.add(view);
    cache.remember(key, bytes, start);
    pushText(start);
}

void Column::appendInteger(qint64 value)
{
    if (m_kind == Kind::Integer && m_intType == QMetaType::LongLong) {
        m_null.push_back(false);
        m_int.push_back(value);
        ++m_rows;
    } else if (m_kind == Kind::Real) {
        m_null.push_back(false);
        m_real.push_back(double(value));
        ++m_rows;
    } else {
        append(QVariant(qlonglong(value)));
    }
}

void Column::appendReal(double value)
{
    if (m_kind != Kind::Real) {
        append(QVariant(value));
        return;
    }
    m_null.push_back(false);
    m_real.push_back(value);
    ++m_rows;
}

void Column::appendNull()
{
    append(QVariant());
}

void Column::set(size_t row, const QVariant &value)
{
    store(row, value, false);
}

void Column::store(size_t row, const QVariant &value, bool appending)
{
    const bool null = value.isNull();
    if (!null) {
        const Kind kind = kindOf(value);
        if (m_kind == Kind::Unset || (kind != m_kind && m_kind != Kind::Other
                                      && !(m_kind == Kind::Real && kind == Kind::Integer)))
            become(kind, value.typeId());
        else if (m_kind == Kind::Integer && value.typeId() != m_intType)
            m_intType = QMetaType::LongLong;
    }
    if (appending)
        m_null.push_back(null);
    else
        m_null[row] = null;
    auto put = [&](auto &vec, auto v) {
        if (appending)
            vec.push_back(v);
        else
            vec.set(row, v);
    };
    switch (m_kind) {
    case Kind::Text: {
        // A changed text goes at the end of the buffer; the old text stays.
        const QString text = null ? QString() : value.toString();
        put(m_starts, m_texts.add(text));
        break;
    }
    case Kind::Integer: put(m_int, null ? qint64(0) : value.toLongLong()); break;
    case Kind::Real: put(m_real, null ? 0.0 : value.toDouble()); break;
    case Kind::Other:
        if (appending)
            m_other.push_back(null ? QVariant() : value);
        else
            m_other[row] = null ? QVariant() : value;
        break;
    case Kind::Unset: break;
    }
}

void Column::remove(size_t row)
{
    m_null.erase(m_null.begin() + std::ptrdiff_t(row));
    switch (m_kind) {
    case Kind::Text: m_starts.erase(row); break;
    case Kind::Integer: m_int.erase(row); break;
    case Kind::Real: m_real.erase(row); break;
    case Kind::Other: m_other.erase(m_other.begin() + std::ptrdiff_t(row)); break;
    case Kind::Unset: break;
    }
    --m_rows;
}

void Column::clear()
{
    *this = Column();
}

QAnyStringView Column::storedText(size_t row) const
{
    if (m_kind != Kind::Text || m_null[row])
        return QAnyStringView();
    return textView(row);   // an empty text is an empty view that is not null
}

QVariant Column::value(size_t row) const
{
    if (m_null[row])
        return QVariant();
    switch (m_kind) {
    case Kind::Text:
        return QVariant(text(row));
    case Kind::Integer:
        if (m_intType == QMetaType::Int)
            return QVariant(int(m_int[row]));
        if (m_intType == QMetaType::Bool)
            return QVariant(m_int[row] != 0);
        return QVariant(qlonglong(m_int[row]));
    case Kind::Real:
        return QVariant(m_real[row]);
    case Kind::Other:
        return m_other[row];
    case Kind::Unset:
        break;
    }
    return QVariant();
}

void ColumnStore::reset(int columnCount)
{
    m_columns.assign(size_t(columnCount), Column());
    m_rows = 0;
}

void ColumnStore::reserve(size_t rows)
{
    for (Column &c : m_columns)
        c.reserve(rows);
}

void ColumnStore::set(size_t row, int column, const QVariant &value)
{
    m_columns[size_t(column)].set(row, value);
}

void ColumnStore::appendRow(const QVariantList &values)
{
    for (size_t c = 0; c < m_columns.size(); ++c)
        m_columns[c].append(c < size_t(values.size()) ? values[qsizetype(c)] : QVariant());
    ++m_rows;
}

void ColumnStore::removeRow(size_t row)
{
    for (Column &c : m_columns)
        c.remove(row);
    --m_rows;
}

} // namespace dbkit
