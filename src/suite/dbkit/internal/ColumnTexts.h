#pragma once

// Internal: the texts of one column, one byte a character while every text
// is Latin-1 (codes, phone numbers, dates), else as UTF-16.
//
// A row names its text by its position in the column's buffer (a
// TextStart). The text's length stands in the units just before it, seven
// bits a unit, the low bits next to the text and the top bit of a unit set
// where another unit precedes it; most texts need one unit. The first text
// that needs UTF-16 widens every text in place: positions are counted in
// characters either way, so every row's position and every TextCache entry
// stays valid.

#include "ColumnBuffers.h"

#include <QAnyStringView>
#include <QLatin1StringView>
#include <QStringView>
#include <cstddef>
#include <cstdint>

namespace dbkit {

// Where a text stands in its column's buffer: the place of its first
// character. 0 is the empty text.
using TextStart = uint32_t;

class ColumnTexts {
public:
    // A text's characters without a copy, valid until the next add.
    QAnyStringView at(TextStart start) const
    {
        if (start == 0)
            return QStringView(u"");
        if (m_wide) {
            const char16_t *text = m_utf16.at(start);
            return QStringView(text, qsizetype(lengthBefore(text)));
        }
        const unsigned char *text = m_latin1.at(start);
        return QLatin1StringView(reinterpret_cast<const char *>(text),
                                 qsizetype(lengthBefore(text)));
    }
    TextStart add(QStringView text);
    TextStart addUtf8(const char *utf8, size_t bytes);
    // Whether the texts are kept as UTF-16.
    bool wide() const { return m_wide; }

private:
    template <class Unit>
    static size_t lengthBefore(const Unit *text)
    {
        if (text[-1] < 0x80)
            return text[-1];
        size_t length = 0;
        for (std::ptrdiff_t before = 1;; ++before) {
            const size_t unit = text[-before];
            length |= (unit & 0x7f) << (7 * (before - 1));
            if (unit < 0x80)
                return length;
        }
    }
    void widen();

    bool m_wide = false;
    TextBuffer<unsigned char> m_latin1;   // while every text is Latin-1
    TextBuffer<char16_t> m_utf16;         // once one is not
};

} // namespace dbkit
