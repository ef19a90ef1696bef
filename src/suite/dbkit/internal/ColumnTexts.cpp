#include "ColumnTexts.h"

#include <QByteArrayView>
#include <QStringDecoder>
#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace dbkit {

namespace {

// Units before a text of at most `most` characters for its length.
size_t prefixUnits(size_t most)
{
    size_t units = 1;
    while (most >>= 7)
        ++units;
    return units;
}

// Room at the end of the buffer for a text of at most `most` characters and
// its length: where the text goes. Throws when the buffer would outgrow what
// a TextStart can name.
template <class Unit>
Unit *reserveText(TextBuffer<Unit> &buffer, size_t most, TextStart &start)
{
    const size_t prefix = prefixUnits(most);
    // A text may start a new block, hence the block's worth of room.
    if (buffer.end() + prefix + most + TextBuffer<Unit>::SlotSize
        > std::numeric_limits<TextStart>::max())
        throw std::length_error("a column holds more than 4 G characters of text");
    size_t at = 0;
    Unit *out = buffer.reserve(prefix + most, at) + prefix;
    start = TextStart(at + prefix);
    return out;
}

// Writes the length of a text reserved for at most `most` characters, in as
// many units as were reserved for it.
template <class Unit>
void endText(TextBuffer<Unit> &buffer, Unit *text, TextStart start, size_t most, size_t length)
{
    const size_t units = prefixUnits(most);
    size_t rest = length;
    for (size_t before = 1; before <= units; ++before, rest >>= 7)
        text[-std::ptrdiff_t(before)] = Unit((rest & 0x7f) | (before < units ? 0x80 : 0));
    buffer.setEnd(start + length);
}

// Copies `length` characters, each converted to the buffer's unit.
template <class Unit, class Char>
TextStart addCopy(TextBuffer<Unit> &buffer, const Char *chars, size_t length)
{
    TextStart start = 0;
    Unit *out = reserveText(buffer, length, start);
    std::copy(chars, chars + length, out);
    endText(buffer, out, start, length, length);
    return start;
}

bool isLatin1(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x100; });
}

} // namespace

void ColumnTexts::widen()
{
    if (m_wide)
        return;
    m_utf16 = TextBuffer<char16_t>::widened(m_latin1);
    m_latin1 = TextBuffer<unsigned char>();
    m_wide = true;
}

TextStart ColumnTexts::add(QStringView text)
{
    const auto length = size_t(text.size());
    if (length == 0)
        return 0;
    if (!m_wide && isLatin1(text))
        return addCopy(m_latin1, text.utf16(), length);
    widen();
    return addCopy(m_utf16, text.utf16(), length);
}

TextStart ColumnTexts::addUtf8(const char *utf8, size_t bytes)
{
    if (bytes == 0)
        return 0;
    // Codes, phone numbers and the like are plain ASCII: copied as they are.
    const auto *in = reinterpret_cast<const unsigned char *>(utf8);
    if (std::all_of(in, in + bytes, [](unsigned char byte) { return byte < 0x80; }))
        return m_wide ? addCopy(m_utf16, in, bytes) : addCopy(m_latin1, in, bytes);
    widen();
    // Never more UTF-16 units than UTF-8 bytes: decoded in place, then
    // trimmed. One decoder per thread (the loaders decode on a worker thread
    // too); stateless, so no text carries anything over to the next.
    thread_local QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    TextStart start = 0;
    char16_t *out = reserveText(m_utf16, bytes, start);
    auto *begin = reinterpret_cast<QChar *>(out);
    const QChar *end = decoder.appendToBuffer(begin, QByteArrayView(utf8, qsizetype(bytes)));
    endText(m_utf16, out, start, bytes, size_t(end - begin));
    return start;
}

} // namespace dbkit
