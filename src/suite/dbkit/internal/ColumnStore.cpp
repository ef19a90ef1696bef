#include "ColumnStore.h"

#include "TextCache.h"

#include <QStringDecoder>
#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>

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
    m_chars = TextBuffer();
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

char16_t *Column::reserveText(size_t most, TextStart &start)
{
    const size_t prefix = most < LongLength ? 1 : 2;
    // A text may start a new block, hence the block's worth of room.
    if (m_chars.end() + prefix + most + TextBuffer::SlotSize
        > std::numeric_limits<TextStart>::max())
        throw std::length_error("a column holds more than 4 G characters of text");
    size_t at = 0;
    char16_t *out = m_chars.reserve(prefix + most, at) + prefix;
    start = TextStart(at + prefix);
    return out;
}

void Column::endText(char16_t *text, TextStart start, size_t most, size_t length)
{
    if (most < LongLength) {
        text[-1] = char16_t(length);
    } else {
        text[-1] = char16_t(LongLength | (length >> 16));
        text[-2] = char16_t(length & 0xffff);
    }
    m_chars.setEnd(start + length);
}

TextStart Column::addChars(QStringView text)
{
    const auto length = size_t(text.size());
    if (length == 0)
        return 0;
    TextStart start = 0;
    char16_t *out = reserveText(length, start);
    std::memcpy(out, text.utf16(), length * sizeof(char16_t));
    endText(out, start, length, length);
    return start;
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
    pushText(addChars(text));
}

TextStart Column::addUtf8(const char *utf8, int bytes)
{
    // Codes, phone numbers and the like are plain ASCII: widened in place.
    const auto *in = reinterpret_cast<const unsigned char *>(utf8);
    bool ascii = true;
    for (int i = 0; i < bytes && ascii; ++i)
        ascii = in[i] < 0x80;
    if (bytes == 0)
        return 0;
    TextStart start = 0;
    char16_t *out = reserveText(size_t(bytes), start);
    if (ascii) {
        std::copy(in, in + bytes, out);
        endText(out, start, size_t(bytes), size_t(bytes));
        return start;
    }
    // Never more UTF-16 units than UTF-8 bytes: decoded in place, then
    // trimmed. One decoder per thread (the loaders decode on a worker thread
    // too); stateless, so no text carries anything over to the next.
    thread_local QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    auto *begin = reinterpret_cast<QChar *>(out);
    const QChar *end = decoder.appendToBuffer(begin, QByteArrayView(utf8, bytes));
    endText(out, start, size_t(bytes), size_t(end - begin));
    return start;
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
    const TextStart start = addUtf8(utf8, bytes);
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
    const TextStart start = addChars(view);
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
            vec[row] = v;
    };
    switch (m_kind) {
    case Kind::Text: {
        // A changed text goes at the end of the buffer; the old text stays.
        const QString text = null ? QString() : value.toString();
        put(m_starts, addChars(text));
        break;
    }
    case Kind::Integer: put(m_int, null ? qint64(0) : value.toLongLong()); break;
    case Kind::Real: put(m_real, null ? 0.0 : value.toDouble()); break;
    case Kind::Other: put(m_other, null ? QVariant() : value); break;
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

QStringView Column::storedText(size_t row) const
{
    if (m_kind != Kind::Text || m_null[row])
        return QStringView();
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
