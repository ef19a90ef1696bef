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

QFont PageComposer::reportFont(const QString &family, int points, bool bold, bool underline)
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
    font.setPixelSize(std::max(1, points * 20));
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

    qreal total = 0;
    for (const ReportColumn &column : m_view.columns)
        total += column.widthTwips;
    // Columns wider than the page are narrowed together to fit it.
    const qreal scale = total > m_printable.width() ? m_printable.width() / total : 1.0;
    m_columnX.assign(1, 0);
    for (const ReportColumn &column : m_view.columns)
        m_columnX.push_back(m_columnX.back() + column.widthTwips * scale);

    const qreal tableRoom = m_bandTop - gap - m_tableTop;
    m_rowsPerPage = int(std::floor(tableRoom / rowHeight)) - m_view.titleRows;
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
    painter.drawText(QRectF(0, m_bandTop, m_printable.width(), band), Qt::AlignCenter, number);
}

void PageComposer::paintSection(QPainter &painter, int section, qreal top)
{
    const qreal scale = sectionScale(section);
    for (const LayoutItem &item : m_items) {
        if (item.section != section)
            continue;
        const QRectF rect(item.x * scale, top + item.y, item.width * scale, item.height);
        if (item.kind == LayoutItem::Frame) {
            painter.setPen(QPen(Qt::black, framePen));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(rect);
        } else if (item.kind == LayoutItem::Text && !item.text.isEmpty()) {
            painter.setPen(QPen(Qt::black));
            painter.setFont(reportFont(item.fontName, item.fontSize, item.bold(),
                                       item.underline()));
            painter.drawText(rect,
                             horizontalAlignment(item.alignment) | Qt::AlignVCenter
                                 | Qt::TextDontClip | Qt::TextSingleLine,
                             item.text);
        }
    }
}

void PageComposer::paintTable(QPainter &painter, int page)
{
    const int first = m_view.titleRows + page * m_rowsPerPage;
    const int last = std::min(m_view.rows(), first + m_rowsPerPage);
    qreal y = m_tableTop;
    for (int row = 0; row < m_view.titleRows && row < m_view.rows(); ++row, y += rowHeight)
        paintRow(painter, row, y, true);
    for (int row = first; row < last; ++row, y += rowHeight)
        paintRow(painter, row, y, false);

    // Grid lines once per page rather than a rectangle per cell.
    painter.setPen(QPen(Qt::black, gridPen));
    const qreal right = m_columnX.back();
    for (qreal lineY = m_tableTop; lineY <= y + 0.5; lineY += rowHeight)
        painter.drawLine(QPointF(0, lineY), QPointF(right, lineY));
    for (const qreal x : m_columnX)
        painter.drawLine(QPointF(x, m_tableTop), QPointF(x, y));
}

void PageComposer::paintRow(QPainter &painter, int row, qreal y, bool title)
{
    const QFont &font = title ? m_titleFont : m_bodyFont;
    painter.setFont(font);
    const QFontMetricsF metrics(font, painter.device());
    if (title)
        painter.fillRect(QRectF(0, y, m_columnX.back(), rowHeight), QColor(0xe8, 0xe8, 0xe8));
    painter.setPen(QPen(Qt::black));
    for (size_t c = 0; c + 1 < m_columnX.size(); ++c) {
        const qreal width = m_columnX[c + 1] - m_columnX[c] - 2 * cellPadding;
        if (width <= 0)
            continue;
        const QString text = metrics.elidedText(m_view.text(row, int(c)), Qt::ElideRight, width);
        Qt::Alignment align = Qt::AlignLeft;
        if (title)
            align = Qt::AlignHCenter;
        else if (isNumericKind(m_view.columns[c].kind))
            align = Qt::AlignRight;
        painter.drawText(QRectF(m_columnX[c] + cellPadding, y, width, rowHeight),
                         align | Qt::AlignVCenter | Qt::TextSingleLine, text);
    }
}

} // namespace report
