#pragma once

#include <QByteArray>
#include <QString>

namespace report {

// Makes a PDF written by Qt searchable for the ideographs it printed.
//
// The CJK fonts draw a Kangxi radical (U+2F00–U+2FDF) or a CJK radical
// supplement character (U+2E80–U+2EFF) and the ideograph it stands for with
// one glyph, and Qt names each glyph in the PDF's text map (the ToUnicode
// CMap) by the lowest code point the font draws with it: the radical. Copied
// or searched, "打印日期" then reads "打印⽇期". These functions rename such a
// glyph after the ideograph it was printed for: the one of the radical's
// ideographs (its Unicode equivalent and that one's simplified forms) that
// the pages show and no other glyph of the font is named after. One glyph
// has one name: when the radical itself was printed too, the ideograph wins,
// being what the words around it are made of.
//
// `printedText` is every text the pages show, in any order.

// Repairs the document in memory; true when it is repaired or needs nothing,
// false with the reason (and `pdf` unchanged) when its layout is not the plain
// one Qt writes.
bool repairPdfTextLayer(QByteArray &pdf, const QString &printedText, QString *error = nullptr);

// Repairs a PDF file in place. On failure the file stays as it was written and
// the reason is given.
bool repairPdfTextLayerFile(const QString &path, const QString &printedText,
                            QString *error = nullptr);

} // namespace report
