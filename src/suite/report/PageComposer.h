#pragma once

#include "suite/report/ColumnFit.h"
#include "suite/report/LayoutItems.h"
#include "suite/report/ReportColumns.h"

#include <QFont>
#include <QPoint>
#include <QRectF>
#include <QSizeF>
#include <QString>

class QPainter;
class QPagedPaintDevice;

namespace report {

// Composes the pages of a report: the layout's title block at the top of every
// page, the page band (print date and the page number) at its foot, and
// between them the visible columns fitted to the printable width, the column
// titles repeated on every page. Everything is laid out in twips inside the
// printable area of the device's page layout; the margins are the page
// layout's. No text is ever shortened: a cell whose text does not fit is
// drawn smaller, and every header and footer item stays inside its frame.
class PageComposer {
public:
    PageComposer(const ReportView &view, const LayoutItems &items);

    // Moves everything on the page by this many twips (for printers whose
    // paper feed is off).
    void setOffset(QPoint offsetTwips) { m_offset = offsetTwips; }

    // Lays the rows out for pages with this printable size in twips; false
    // when not a single data row fits between the title block and the band.
    bool paginate(const QSizeF &printableTwips);
    int pageCount() const { return m_pages; }
    int rowsPerPage() const { return m_rowsPerPage; }

    // Paints all pages onto a printer or PDF writer; false with a reason when
    // the device cannot be painted on or the page is too small.
    bool render(QPagedPaintDevice *device, QString *error = nullptr);
    // Every text the last render painted, one after the other.
    const QString &printedText() const { return m_printed; }

    // A font of the requested family with Chinese fallbacks, sized in points
    // for a painter working in twips.
    static QFont reportFont(const QString &family, qreal points, bool bold = false,
                            bool underline = false);

    // The body font's size and the smallest it is shrunk to for the columns
    // to fit before text cells take a second line.
    static constexpr qreal bodyPoints = 9;
    static constexpr qreal minimumPoints = 7;
    static constexpr int rowHeight = 300;   // twips, at least
    static constexpr int cellPadding = 45;  // twips
    static constexpr int gap = 120;         // twips between the blocks

private:
    void paintPage(QPainter &painter, int page);
    void paintSection(QPainter &painter, int section, qreal top);
    void paintTable(QPainter &painter, int page);
    void paintRow(QPainter &painter, int row, qreal y, bool title);
    void paintCell(QPainter &painter, const QRectF &cell, const QString &text,
                   Qt::Alignment align, QFont font, int lines);
    void drawText(QPainter &painter, const QRectF &rect, int flags, const QString &text);
    void paintItem(QPainter &painter, const LayoutItem &item, QRectF rect, const QRectF &frame);
    QRectF sectionFrame(int section, qreal top) const;
    qreal sectionHeight(int section) const;
    qreal sectionScale(int section) const;

    const ReportView &m_view;
    const LayoutItems &m_items;
    QFont m_bodyFont;
    QFont m_titleFont;
    ColumnFit m_fit;
    qreal m_rowHeight = rowHeight;
    QPoint m_offset;
    QSizeF m_printable;
    std::vector<qreal> m_columnX;  // left edges plus the right edge of the last column
    qreal m_tableTop = 0;
    qreal m_bandTop = 0;
    int m_rowsPerPage = 0;
    int m_pages = 0;
    QString m_printed;
};

} // namespace report
