#pragma once

#include <QByteArray>

#include <vector>

namespace report {

// A PDF file as Qt writes it (one cross-reference table, no incremental
// update) with some of its bytes replaced: its objects are found through the
// table, and the edited file gets a table giving their new places.
class PdfEditor {
public:
    // False when the file has no cross-reference table of that plain form.
    bool read(const QByteArray &pdf);

    // Where object `number` starts ("N 0 obj"), or -1 when the table does not
    // place it there.
    qsizetype objectAt(qsizetype number) const;

    // Replaces `length` bytes at `at` of the file as read with `bytes`.
    // Replacements never overlap one another nor the table.
    void replace(qsizetype at, qsizetype length, const QByteArray &bytes);
    bool edited() const { return !m_edits.empty(); }

    // The file with its replacements and the table that goes with them.
    QByteArray written() const;

private:
    struct Edit {
        qsizetype at;
        qsizetype length;
        QByteArray bytes;
    };
    struct XrefEntry {
        qsizetype at;      // where its ten-digit offset is written
        qsizetype offset;  // the object's place in the file; -1 for a free entry
    };

    bool readTable();
    qsizetype shifted(qsizetype offset) const;

    QByteArray m_pdf;
    std::vector<XrefEntry> m_table;
    qsizetype m_tableAt = -1;
    qsizetype m_tableNumberAt = 0;  // the digits after "startxref"
    qsizetype m_tableNumberLength = 0;
    std::vector<Edit> m_edits;
};

} // namespace report
