#include "suite/report/PageComposer.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPen>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace report {

namespace {

constexpr qreal twipsPerInch = 1440.0;
constexpr int framePen = 12;  // twips
constexpr int gridPen = 8;    // twips

// Song-style faces asked for by a layout map to the serif CJK face, the rest
// to the sans one; either way Chinese text always has glyphs.
bool wantsSerif(const QString &family)
{
    static const QStringList serif = {QStringLiteral("宋体"), QStringLiteral("新宋体"),
        QStringLiteral("仿宋"), QStringLiteral("楷体"), QStringLiteral("SimSun"),
        QStringLiteral("NSimSun"), QStringLiteral("FangSong"), QStringLiteral("KaiTi")};
    return serif.contains(family.trimmed(), Qt::CaseInsensitive);
}

Qt::Alignment horizontalAlignment(int code)
{
    switch (code) {
    case 1: return Qt::AlignRight;
    case 2: return Qt::AlignHCenter;
    default: return Qt::AlignLeft;
    }
}

} // namespace

PageComposer::PageComposer(const ReportView &view, const LayoutItems &items)
    : m_view(view), m_items(items), m_bodyFont(reportFont(QString(), bodyPoints)),
      m_titleFont(reportFont(QString(), bodyPoints, true))
{
}

QFont PageComposer::reportFont(const QString &family, qreal points, bool bold, bool underline)
{
    QStringList families;
    if (!family.trimmed().isEmpty())
        families << family.trimmed();
    if (wantsSerif(family))
        families << QStringLiteral("Noto Serif CJK SC");
    families << QStringLiteral("Noto Sans CJK SC") << QStringLiteral("Noto Serif CJK SC")
             << QStringLiteral("WenQuanYi Zen Hei") << QStringLiteral("Droid Sans Fallback");
    QFont font;
    font.setFamilies(families);
    // Painters here work in twips: a point is 20 twips.
    font.setPixelSize(std::max(1, int(std::lround(points * 20))));
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}

qreal PageComposer::sectionHeight(int section) const
{
    qreal bottom = 0;
    for (const LayoutItem &item : m_items) {
        if (item.section == section)
            bottom = std::max<qreal>(bottom, item.y + item.height);
    }
    return bottom;
}

// The layout was drawn for the width of the list window; its items are
// stretched or narrowed to the printable width, keeping their proportions
// across the page (fonts keep their size).
qreal PageComposer::sectionScale(int section) const
{
    qreal frameRight = 0;
    qreal itemRight = 0;
    for (const LayoutItem &item : m_items) {
        if (item.section != section)
            continue;
        itemRight = std::max<qreal>(itemRight, item.x + item.width);
        if (item.kind == LayoutItem::Frame)
            frameRight = std::max<qreal>(frameRight, item.x + item.width);
    }
    const qreal right = frameRight > 0 ? frameRight : itemRight;
    return right > 0 ? m_printable.width() / right : 1.0;
}

bool PageComposer::paginate(const QSizeF &printableTwips)
{
    m_printable = printableTwips;
    const qreal titleBlock = sectionHeight(0);
    m_tableTop = titleBlock > 0 ? titleBlock + gap : 0;
    const qreal band = std::max<qreal>(sectionHeight(1), rowHeight);
    m_bandTop = m_printable.height() - band;

    m_fit = fitColumns(m_view, m_printable.width(), bodyPoints, minimumPoints, cellPadding);
    m_bodyFont = reportFont(QString(), m_fit.points);
    m_titleFont = reportFont(QString(), m_fit.points, true);
    const qreal lineSpacing = QFontMetricsF(m_bodyFont).lineSpacing();
    m_rowHeight = std::max<qreal>(rowHeight, m_fit.lines * lineSpacing + 2 * cellPadding);
    m_columnX.assign(1, 0);
    for (const qreal width : m_fit.widths)
        m_columnX.push_back(m_columnX.back() + width);

    const qreal tableRoom = m_bandTop - gap - m_tableTop;
    m_rowsPerPage = int(std::floor(tableRoom / m_rowHeight)) - m_view.titleRows;
    if (m_rowsPerPage < 1 || m_printable.width() <= 0) {
        m_rowsPerPage = 0;
        m_pages = 0;
        return false;
    }
    const int dataRows = m_view.dataRows();
    m_pages = std::max(1, (dataRows + m_rowsPerPage - 1) / m_rowsPerPage);
    return true;
}

bool PageComposer::render(QPagedPaintDevice *device, QString *error)
{
    const qreal dpiX = device->logicalDpiX();
    const qreal dpiY = device->logicalDpiY();
    if (!paginate(QSizeF(device->width() * twipsPerInch / dpiX,
                         device->height() * twipsPerInch / dpiY))) {
        if (error)
            *error = QStringLiteral("the page is too small for the report");
        return false;
    }
    QPainter painter;
    if (!painter.begin(device)) {
        if (error)
            *error = QStringLiteral("cannot paint on the output device");
        return false;
    }
    painter.setRenderHint(QPainter::TextAntialiasing);
    m_printed.clear();
    for (int page = 0; page < m_pages; ++page) {
        if (page > 0 && !device->newPage()) {
            if (error)
                *error = QStringLiteral("cannot start page %1").arg(page + 1);
            return false;
        }
        painter.save();
        painter.scale(dpiX / twipsPerInch, dpiY / twipsPerInch);
        painter.translate(m_offset);
        paintPage(painter, page);
        painter.restore();
    }
    return painter.end();
}

void PageComposer::paintPage(QPainter &painter, int page)
{
    paintSection(painter, 0, 0);
    paintTable(painter, page);
    paintSection(painter, 1, m_bandTop);
    painter.setFont(m_bodyFont);
    painter.setPen(QPen(Qt::black));
    const QString number = QStringLiteral("第 %1 页  共 %2 页").arg(page + 1).arg(m_pages);
    const qreal band = m_printable.height() - m_bandTop;
    drawText(painter, QRectF(0, m_bandTop, m_printable.width(), band), Qt::AlignCenter, number);
}

void PageComposer::drawText(QPainter &painter, const QRectF &rect, int flags, const QString &text)
{
    painter.drawText(rect, flags, text);
    m_printed += text;
}

// The section's frame on the page, or the printable width when it has none.
QRectF PageComposer::sectionFrame(int section, qreal top) const
{
    const qreal scale = sectionScale(section);
    QRectF frame;
    for (const LayoutItem &item : m_items) {
        if (item.section == section && item.kind == LayoutItem::Frame)
            frame |= QRectF(item.x * scale, top + item.y, item.width * scale, item.height);
    }
    if (frame.isNull())
        frame = QRectF(0, top, m_printable.width(), sectionHeight(section));
    return frame;
}

void PageComposer::paintSection(QPainter &painter, int section, qreal top)
{
    const qreal scale = sectionScale(section);
    const QRectF frame = sectionFrame(section, top);
    for (const LayoutItem &item : m_items) {
        if (item.section != section)
            continue;
        const QRectF rect(item.x * scale, top + item.y, item.width * scale, item.height);
        if (item.kind == LayoutItem::Frame) {
            painter.setPen(QPen(Qt::black, framePen));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(rect);
        } else if (item.kind == LayoutItem::Text && !item.text.isEmpty()) {
            paintItem(painter, item, rect, frame);
        }
    }
}

// A text item of the title block or the band, whole and inside the frame: the
// layout places it for the window's width, so on a narrower page it is moved
// in from the edge, and made smaller only when the frame is narrower than it.
void PageComposer::paintItem(QPainter &painter, const LayoutItem &item, QRectF rect,
                             const QRectF &frame)
{
    QFont font = reportFont(item.fontName, item.fontSize, item.bold(), item.underline());
    const QRectF inside = frame.adjusted(cellPadding, 0, -cellPadding, 0);
    const qreal textWidth = QFontMetricsF(font).horizontalAdvance(item.text);
    if (textWidth > inside.width() && inside.width() > 0) {
        font.setPixelSize(std::max(1, int(font.pixelSize() * inside.width() / textWidth)));
        rect.setLeft(inside.left());
        rect.setWidth(inside.width());
    } else if (textWidth > rect.width()) {
        const Qt::Alignment align = horizontalAlignment(item.alignment);
        const qreal grow = textWidth - rect.width();
        rect.adjust(align == Qt::AlignLeft ? 0 : align == Qt::AlignRight ? -grow : -grow / 2, 0,
                    align == Qt::AlignLeft ? grow : align == Qt::AlignRight ? 0 : grow / 2, 0);
    }
    if (rect.right() > inside.right())
        rect.moveRight(inside.right());
    if (rect.left() < inside.left())
        rect.moveLeft(inside.left());
    if (rect.top() < frame.top())
        rect.moveTop(frame.top());
    if (rect.bottom() > frame.bottom())
        rect.moveBottom(std::max(frame.top() + rect.height(), frame.bottom()));
    painter.setPen(QPen(Qt::black));
    painter.setFont(font);
    drawText(painter, rect,
             int(horizontalAlignment(item.alignment) | Qt::AlignVCenter | Qt::TextDontClip
                 | Qt::TextSingleLine),
             item.text);
}

void PageComposer::paintTable(QPainter &painter, int page)
{
    const int first = m_view.titleRows + page * m_rowsPerPage;
    const int last = std::min(m_view.rows(), first + m_rowsPerPage);
    qreal y = m_tableTop;
    for (int row = 0; row < m_view.titleRows && row < m_view.rows(); ++row, y += m_rowHeight)
        paintRow(painter, row, y, true);
    for (int row = first; row < last; ++row, y += m_rowHeight)
        paintRow(painter, row, y, false);

    // Grid lines once per page rather than a rectangle per cell.
    painter.setPen(QPen(Qt::black, gridPen));
    const qreal right = m_columnX.back();
    for (qreal lineY = m_tableTop; lineY <= y + 0.5; lineY += m_rowHeight)
        painter.drawLine(QPointF(0, lineY), QPointF(right, lineY));
    for (const qreal x : m_columnX)
        painter.drawLine(QPointF(x, m_tableTop), QPointF(x, y));
}

void PageComposer::paintRow(QPainter &painter, int row, qreal y, bool title)
{
    if (title)
        painter.fillRect(QRectF(0, y, m_columnX.back(), m_rowHeight), QColor(0xe8, 0xe8, 0xe8));
    painter.setPen(QPen(Qt::black));
    for (size_t c = 0; c + 1 < m_columnX.size(); ++c) {
        const qreal width = m_columnX[c + 1] - m_columnX[c] - 2 * cellPadding;
        if (width <= 0)
            continue;
        // Numbers to the right and texts to the left by the column's kind;
        // a number always on one line.
        const bool numeric = m_view.columns[c].numeric;
        const Qt::Alignment align = title ? Qt::AlignHCenter
                                          : (numeric ? Qt::AlignRight : Qt::AlignLeft);
        paintCell(painter, QRectF(m_columnX[c] + cellPadding, y, width, m_rowHeight),
                  m_view.text(row, int(c)), align, title ? m_titleFont : m_bodyFont,
                  numeric && !title ? 1 : m_fit.lines);
    }
}

// One cell's text whole: on one line, wrapped onto the lines allowed, or else
// in a font made smaller until it fits. Never shortened.
void PageComposer::paintCell(QPainter &painter, const QRectF &cell, const QString &text,
                             Qt::Alignment align, QFont font, int lines)
{
    if (text.isEmpty())
        return;
    const int wrap = lines > 1 ? int(Qt::TextWordWrap) : int(Qt::TextSingleLine);
    for (int attempt = 0; attempt < 20 && font.pixelSize() > 1; ++attempt) {
        const QFontMetricsF metrics(font);
        const QRectF needed = metrics.boundingRect(
            QRectF(0, 0, cell.width(), 1e6), int(align) | wrap, text);
        const bool fitsWidth = metrics.horizontalAdvance(text) <= cell.width() + 0.5
                               || (lines > 1 && needed.width() <= cell.width() + 0.5);
        if (fitsWidth && needed.height() <= cell.height() + 0.5)
            break;
        font.setPixelSize(std::max(1, int(font.pixelSize() * 0.92)));
    }
    painter.setFont(font);
    drawText(painter, cell, int(align) | Qt::AlignVCenter | wrap | Qt::TextDontClip, text);
}

} // namespace report
