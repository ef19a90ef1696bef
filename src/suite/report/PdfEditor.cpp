#include "suite/report/PdfEditor.h"

#include <algorithm>

namespace report {

namespace {

// The decimal number at or after `from` (past blanks and line ends).
struct Number {
    qsizetype value = -1;  // -1: none there
    qsizetype start = 0;
    qsizetype end = 0;
};

bool isBlank(char c)
{
    return c == ' ' || c == '\r' || c == '\n';
}

Number numberAt(const QByteArray &pdf, qsizetype from)
{
    Number number;
    while (from < pdf.size() && isBlank(pdf[from]))
        ++from;
    number.start = number.end = from;
    while (number.end < pdf.size() && pdf[number.end] >= '0' && pdf[number.end] <= '9')
        ++number.end;
    if (number.end > number.start)
        number.value = pdf.mid(number.start, number.end - number.start).toLongLong();
    return number;
}

} // namespace

bool PdfEditor::read(const QByteArray &pdf)
{
    m_pdf = pdf;
    m_table.clear();
    m_edits.clear();
    if (readTable())
        return true;
    m_table.clear();
    return false;
}

bool PdfEditor::readTable()
{
    const qsizetype keyword = m_pdf.lastIndexOf("startxref");
    if (keyword < 0)
        return false;
    const Number tableAt = numberAt(m_pdf, keyword + 9);
    m_tableAt = tableAt.value;
    m_tableNumberAt = tableAt.start;
    m_tableNumberLength = tableAt.end - tableAt.start;
    if (m_tableAt < 0 || !m_pdf.mid(m_tableAt, 4).startsWith("xref"))
        return false;
    const qsizetype trailer = m_pdf.indexOf("trailer", m_tableAt);
    if (trailer < 0 || m_pdf.indexOf("/Prev", trailer) >= 0)
        return false;
    // Subsections "first count", each followed by 20-byte entries
    // "oooooooooo ggggg n\r\n", up to the trailer.
    qsizetype at = m_tableAt + 4;
    while (true) {
        const Number first = numberAt(m_pdf, at);
        if (first.value < 0)
            return first.start == trailer;
        const Number count = numberAt(m_pdf, first.end);
        if (count.value < 0 || qsizetype(m_table.size()) != first.value)
            return false;
        at = count.end;
        while (at < trailer && !isBlank(m_pdf[at]))
            ++at;
        while (at < trailer && isBlank(m_pdf[at]))
            ++at;
        for (qsizetype i = 0; i < count.value; ++i, at += 20) {
            if (at + 20 > trailer)
                return false;
            const bool used = m_pdf[at + 17] == 'n';
            m_table.push_back({at, used ? m_pdf.mid(at, 10).toLongLong() : -1});
        }
    }
}

qsizetype PdfEditor::objectAt(qsizetype number) const
{
    if (number < 0 || number >= qsizetype(m_table.size()))
        return -1;
    const qsizetype at = m_table[number].offset;
    const QByteArray opening = QByteArray::number(number) + " 0 obj";
    if (at < 0 || at >= m_pdf.size() || !QByteArrayView(m_pdf).sliced(at).startsWith(opening))
        return -1;
    return at;
}

void PdfEditor::replace(qsizetype at, qsizetype length, const QByteArray &bytes)
{
    m_edits.push_back({at, length, bytes});
}

// Where the byte at `offset` of the file as read lands after the replacements.
qsizetype PdfEditor::shifted(qsizetype offset) const
{
    qsizetype moved = offset;
    for (const Edit &edit : m_edits) {
        if (edit.at < offset)
            moved += edit.bytes.size() - edit.length;
    }
    return moved;
}

QByteArray PdfEditor::written() const
{
    std::vector<Edit> edits = m_edits;
    for (const XrefEntry &entry : m_table) {
        if (entry.offset >= 0) {
            const QByteArray offset = QByteArray::number(shifted(entry.offset));
            edits.push_back({entry.at, 10, offset.rightJustified(10, '0')});
        }
    }
    edits.push_back({m_tableNumberAt, m_tableNumberLength,
                     QByteArray::number(shifted(m_tableAt))});
    std::sort(edits.begin(), edits.end(),
              [](const Edit &a, const Edit &b) { return a.at < b.at; });

    QByteArray pdf;
    pdf.reserve(m_pdf.size() + 1024);
    qsizetype copied = 0;
    for (const Edit &edit : edits) {
        pdf += QByteArrayView(m_pdf).sliced(copied, edit.at - copied);
        pdf += edit.bytes;
        copied = edit.at + edit.length;
    }
    pdf += QByteArrayView(m_pdf).sliced(copied);
    return pdf;
}

} // namespace report
